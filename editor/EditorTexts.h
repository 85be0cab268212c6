#pragma once

#include <cstdint>
#include <string>

namespace sorvella {

// The editor's window title: the day the held sound began (the user's long
// date), its first and its last clock time.
std::string editorTitle(std::int64_t recordingStart, std::int64_t recordingEnd);

// A calendar time as the user's clock time with seconds (the play time).
std::string clockTimeText(std::int64_t time);

// A selection length: "m:ss", from one hour on "h:mm:ss".
std::string selectedRangeText(std::int64_t seconds);

// A fade length in milliseconds as seconds: "0.003 s", "7.5 s".
std::string fadeLengthText(std::int32_t milliseconds);

} // namespace sorvella
