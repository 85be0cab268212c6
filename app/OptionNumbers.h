#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace sorvella {

// Numbers of command-line options are read the way atoi reads them: leading
// white space, a sign, then the leading digits; 0 when there are none, and
// anything after the digits is ignored. Unlike atoi, a number that does not
// fit in 32 bits is refused (nothing) instead of being undefined.
std::optional<std::int32_t> leadingNumber(std::string_view text);

// A recording time in seconds. Without ':' the text is minutes; otherwise
// the part after the last ':' is seconds and each part before counts 60
// times the part to its right ("1:30" is 90, "1:00:00" is 3600). Each part
// is read by leadingNumber. Nothing when a part or the result does not fit in
// 32 bits.
std::optional<std::int32_t> timeInSeconds(std::string_view text);

} // namespace sorvella
