#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace sorvella {

// The sound-activated profiles as the "Time Settings" dialog lists them:
// each "Vox Profile" key with its name, in key order.
std::vector<std::pair<std::int32_t, std::string>> voxProfileList();

} // namespace sorvella
