#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace sorvella {

// Whether something already has the name.
using NameTaken = std::function<bool(const std::string& name)>;

// The file system's answer for NameTaken: true when anything (a file, a
// folder, even a dangling link) stands under the name as written.
bool nameExists(const std::string& name);

// Expands a target file name template for a save of the sound from `start`
// to `end` (calendar times, broken down as local time):
//   %s %m %h %d %o %y  second, minute, hour, day, month, year - 2000 of the
//   %S %M %H %D %O %Y  start (lower case) or end (upper case), two digits
//   %n  the smallest number from 1 that gives a free name
//   %N  nothing when that gives a free name, else as %n
// Any other "%" sequence stays. When both %N and %n occur, %N is numbered and
// %n stays. Every occurrence of a number variable gets the same number. Never
// fails: when no free name turns up within a million numbers, the last one
// tried is used.
std::string expandTemplate(const std::string& nameTemplate, std::int64_t start, std::int64_t end,
                           const NameTaken& taken = nameExists);

} // namespace sorvella
