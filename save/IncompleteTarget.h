#pragma once

#include <string>

namespace sorvella {

class TargetFiles;

// "<name> (incomplete).<ext>": where a save that failed halfway leaves what it
// wrote, since the store it consumed may have been the only copy.
std::string incompleteName(const std::string& fileName);

// Renames the finished partial target to its incomplete name, numbered as
// other names are when that is taken ("take (incomplete) (1).wav"), and
// returns the name it is kept under: its own only when the folder refuses
// every such name.
std::string keepIncompleteTarget(TargetFiles& files, const std::string& fileName);

} // namespace sorvella
