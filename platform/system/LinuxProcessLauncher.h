#pragma once

#include "platform/system/ProcessLauncher.h"

namespace sorvella {

// posix_spawn in a new session, with standard input from /dev/null and every
// descriptor above standard error closed. A thread of its own reaps each
// child, so no zombie is left behind.
class LinuxProcessLauncher : public ProcessLauncher {
public:
    bool startDetached(const std::vector<std::string>& command) override;
    bool isInstalled(const std::string& program) const override;
};

} // namespace sorvella
