#pragma once

#include "engine/LeftRecording.h"

#include <string>

namespace sorvella {

// "1:02:03" (hours only when there are any).
std::string lengthText(std::int64_t milliseconds);
// The local date and time "2026-12-08 14:02:11".
std::string dateTimeText(std::int64_t epochMs);
// One line of a list: its date and time, its length and its format.
std::string recordingLine(const LeftRecording& left);
// What became of a save that was cut short; empty when none was.
std::string cutSaveText(const LeftRecording& left);
// The offer of a recording at start.
std::string offerText(const LeftRecording& left);
// A directory with sound that no journal describes.
std::string unreadableText(const std::string& dir);

} // namespace sorvella
