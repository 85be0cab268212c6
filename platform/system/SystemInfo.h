#pragma once

#include <string>

namespace sorvella {

// The system class that settings and the mixer branch on: 0 for the old
// family without NT, 1 for the NT family before version 6, 2 from version 6.
// This system answers like the NT family before version 6: "Volume Settings"
// are kept and applied, and the input reader cannot bypass the message queue.
inline int windowsVersionClass()
{
    return 1;
}

// windowsVersionClass() reduced to "is of the NT family".
inline bool isNtFamily()
{
    return windowsVersionClass() != 0;
}

// The user's documents folder; the home directory when the documents folder
// is not an existing absolute directory.
std::string documentsFolder();

// The system's directory for temporary files (TMPDIR, else /tmp), without a
// trailing "/" unless it is "/".
std::string systemTempDirectory();

} // namespace sorvella
