#pragma once

#include <cstdint>
#include <string>

namespace sorvella {

class FreeSpace;
class Prompter;
struct SaveTarget;

// "12 MB" (below a megabyte "640 KB"): rounded down for what is free, up
// for what is needed.
std::string sizeText(std::int64_t bytes, bool roundUp);

// The size of the file a save of `pcmBytes` bytes of the target's source
// sound makes: exact for plain WAV, from the output format's byte rate for a
// codec.
std::int64_t expectedFileSize(SaveTarget& target, std::int64_t pcmBytes);

// Before a save the user started: true when the target's file system has
// room for the expected file, when its space is unknown, or when the user
// answers "Save anyway?" (which names both figures) with Yes. Saves that
// start by themselves never ask. Main thread.
bool roomForSave(SaveTarget& target, std::int64_t pcmBytes, const FreeSpace& space,
                 Prompter& prompter);

} // namespace sorvella
