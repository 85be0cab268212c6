#pragma once

#include "engine/InputHealth.h"

#include <cstdint>
#include <string>

namespace sorvella {

// How long digital silence lasts before the status warns of it.
constexpr std::int64_t kSilenceWarningSeconds = 60;

// The main window's warning line about the input (dropouts, a lost device,
// silence, clipping), the warnings joined by "; "; empty when all is well.
// Dropout times are shown in local time.
std::string inputHealthText(const InputHealth::Reading& reading, std::int64_t bytesPerSecond);

} // namespace sorvella
