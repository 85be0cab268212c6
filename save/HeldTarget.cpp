#include "save/HeldTarget.h"

#include "core/RecException.h"

namespace sorvella {

HeldTarget::HeldTarget(TargetFiles& files, std::string fileName)
    : m_files(files), m_fileName(std::move(fileName)), m_held(files.create(m_fileName))
{
    if (!m_held) {
        throw RecException(RecException::OpenFailure, "Cannot open targetfile: " + m_fileName);
    }
}

std::unique_ptr<TargetFile> HeldTarget::create(const std::string& path)
{
    if (path == m_fileName && m_held) {
        return std::move(m_held);
    }
    return m_files.create(path);
}

} // namespace sorvella
