#include "save/SaveOutput.h"

#include "core/RecException.h"
#include "core/SaveTarget.h"
#include "save/Codec.h"
#include "save/HeldTarget.h"

namespace sorvella {

SaveOutput::SaveOutput(HeldTarget& file, SaveTarget& target, std::int64_t plannedBytes)
    : m_target(target)
{
    try {
        if (target.formatNumber == 0) {
            m_wavWriter.open(file, target.fileName, target.sourceFormat, plannedBytes);
        } else if (!target.codec) {
            throw RecException("Error: no codec");
        } else {
            target.codec->open(file, target.formatNumber, target.sourceFormat, target.fileName);
        }
    } catch (...) {
        closeAfterFailure();
        throw;
    }
}

SaveOutput::~SaveOutput()
{
    closeAfterFailure();
}

void SaveOutput::write(const std::uint8_t* data, std::size_t length)
{
    if (m_target.formatNumber == 0) {
        m_wavWriter.write(data, length);
    } else {
        m_target.codec->write(data, length);
    }
}

std::int64_t SaveOutput::bytesWritten() const
{
    if (m_target.formatNumber == 0) {
        return m_wavWriter.dataSize();
    }
    return m_target.codec ? m_target.codec->bytesWritten() : 0;
}

void SaveOutput::close()
{
    m_closed = true;
    closeTarget();
}

void SaveOutput::closeTarget()
{
    if (m_target.formatNumber == 0) {
        m_wavWriter.close();
    } else if (m_target.codec) {
        m_target.codec->close();
    }
}

void SaveOutput::closeAfterFailure() noexcept
{
    if (m_closed) {
        return;
    }
    m_closed = true;
    try {
        closeTarget();
    } catch (...) {
        // The failure that ended the save is the one reported.
    }
}

} // namespace sorvella
