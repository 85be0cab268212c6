#pragma once

#include <cstdint>
#include <string>

namespace sorvella {

enum class TimeStyle {
    Short, // "m:ss", or "h:mm:ss" from an hour
    Long,  // "5 seconds", "1 minute", "1:30 minutes", or "h:mm:ss" from an hour
};

// A length of sound for the status fields; `seconds` >= 0.
std::string timeText(std::int64_t seconds, TimeStyle style);

} // namespace sorvella
