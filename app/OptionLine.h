#pragma once

#include "core/Settings.h"

#include <string>

namespace sorvella {

// The option line that gives `settings` back when it is parsed (onto a
// record whose target has the same codec): the recording format, the timed
// save or edit, "-i", "-n", the mixer string and the target file, as in
// "-q:s:44100 -c:0:600 -i -f:128:\"/home/me/take.mp3\"". A file name that
// holds a double quote cannot be written in a line.
std::string buildOptionLine(const Settings& settings);

} // namespace sorvella
