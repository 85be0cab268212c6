#include "save/codecs/OggPageOutput.h"

#include <algorithm>
#include <cstring>

namespace sorvella {

void OggPageOutput::begin(std::uint8_t* output, std::int32_t capacity)
{
    m_output = output;
    m_capacity = std::max(capacity, 0);
    m_written = 0;
    std::vector<std::uint8_t> queued;
    queued.swap(m_queued);
    put(queued.data(), queued.size());
}

void OggPageOutput::append(const unsigned char* header, long headerLength,
                           const unsigned char* body, long bodyLength)
{
    put(header, static_cast<std::size_t>(std::max(headerLength, 0L)));
    put(body, static_cast<std::size_t>(std::max(bodyLength, 0L)));
}

void OggPageOutput::reset()
{
    m_output = nullptr;
    m_capacity = 0;
    m_written = 0;
    m_queued.clear();
}

void OggPageOutput::put(const unsigned char* bytes, std::size_t length)
{
    // Once bytes wait, later ones wait behind them: the order is the file's.
    std::size_t now = 0;
    if (m_queued.empty()) {
        now = std::min(length, static_cast<std::size_t>(m_capacity - m_written));
        if (now > 0) {
            std::memcpy(m_output + m_written, bytes, now);
            m_written += static_cast<std::int32_t>(now);
        }
    }
    m_queued.insert(m_queued.end(), bytes + now, bytes + length);
}

} // namespace sorvella
