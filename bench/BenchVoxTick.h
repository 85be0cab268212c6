#pragma once

#include <string>

namespace sorvella::bench {

// The sound-activated step of a timer tick on a two-hour store with a piece
// to cut, repeated on copies of that store; prints its median and p99 on a
// line of its own. Needs the application object. False when it failed.
bool voxTickLine(const std::string& directory);

} // namespace sorvella::bench
