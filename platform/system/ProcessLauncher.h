#pragma once

#include <string>
#include <vector>

namespace sorvella {

// Starts outside programs (the file's program, the edit program, the mixer,
// the web browser) for the main window's commands.
class ProcessLauncher {
public:
    virtual ~ProcessLauncher() = default;

    // Starts `command` (the program, looked up on PATH, then its arguments)
    // as a detached process in a session of its own that inherits none of our
    // open files and never waits on us. False when it could not be started.
    virtual bool startDetached(const std::vector<std::string>& command) = 0;

    // Whether `program` is an executable file on PATH.
    virtual bool isInstalled(const std::string& program) const = 0;
};

} // namespace sorvella
