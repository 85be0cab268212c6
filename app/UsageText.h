#pragma once

#include <string>

namespace sorvella {

// The text of "sorvella --help": every option, one or two lines each.
std::string usageText();

} // namespace sorvella
