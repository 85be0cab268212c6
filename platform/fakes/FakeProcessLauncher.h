#pragma once

#include "platform/system/ProcessLauncher.h"

#include <set>
#include <string>
#include <vector>

namespace sorvella {

// Records every command instead of starting it. Programs are installed only
// when a test says so; starts fail on request.
class FakeProcessLauncher : public ProcessLauncher {
public:
    void install(const std::string& program) { m_installed.insert(program); }
    void failStarts(bool fail) { m_failStarts = fail; }

    const std::vector<std::vector<std::string>>& started() const { return m_started; }

    bool startDetached(const std::vector<std::string>& command) override;
    bool isInstalled(const std::string& program) const override;

private:
    std::set<std::string> m_installed;
    bool m_failStarts = false;
    std::vector<std::vector<std::string>> m_started;
};

} // namespace sorvella
