#pragma once

#include <cstdint>
#include <string>

namespace sorvella {

// A time typed into a time box, in seconds: with ":" read from the right as
// seconds, minutes and hours ("m:ss", "h:m:s"), without as minutes. A
// leading "-" negates the whole time; a part that is no number counts 0.
std::int32_t parseTimeEntry(const std::string& text);

// Seconds as a time box shows them: "m:ss", or "h:mm:ss" from an hour.
std::string timeEntryText(std::int64_t seconds);

} // namespace sorvella
