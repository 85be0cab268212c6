#include "save/codecs/CallbackTarget.h"

#include "core/RecException.h"

namespace sorvella {

namespace {

const char* const kWriteFailed = "Write failed. Disk full?";

} // namespace

CallbackTarget::CallbackTarget(TargetFiles& files, const std::string& fileName)
    : m_file(files.create(fileName))
{
    if (!m_file) {
        throw RecException("Cannot open file: " + fileName);
    }
}

bool CallbackTarget::write(const void* data, std::size_t bytes)
{
    if (m_failed) {
        return false;
    }
    const std::int64_t written = m_file->write(data, bytes);
    if (written > 0) {
        m_position += written;
    }
    m_failed = written != static_cast<std::int64_t>(bytes);
    return !m_failed;
}

bool CallbackTarget::seek(std::int64_t position)
{
    if (m_failed || !m_file->seek(position)) {
        return false;
    }
    m_position = position;
    return true;
}

void CallbackTarget::raiseIfFailed() const
{
    if (m_failed) {
        throw RecException(kWriteFailed);
    }
}

void CallbackTarget::close()
{
    const bool closed = m_file->close();
    m_file.reset();
    if (!closed || m_failed) {
        throw RecException(kWriteFailed);
    }
}

} // namespace sorvella
