#include "platform/fakes/FakeProcessLauncher.h"

namespace sorvella {

bool FakeProcessLauncher::startDetached(const std::vector<std::string>& command)
{
    m_started.push_back(command);
    return !m_failStarts;
}

bool FakeProcessLauncher::isInstalled(const std::string& program) const
{
    return m_installed.contains(program);
}

} // namespace sorvella
