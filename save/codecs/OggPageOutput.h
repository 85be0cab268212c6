#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace sorvella {

// Where the Ogg pages of one encode call go: into the codec's output buffer
// while it has room, the rest into a queue that the next call empties first,
// so that no number of pages ever writes past the buffer.
class OggPageOutput {
public:
    // Starts a call that writes into `capacity` bytes at `output`, beginning
    // with what the earlier calls left queued.
    void begin(std::uint8_t* output, std::int32_t capacity);

    // Appends one page: its header bytes, then its body bytes.
    void append(const unsigned char* header, long headerLength, const unsigned char* body,
                long bodyLength);

    // Bytes put into the output buffer in this call.
    std::int32_t written() const { return m_written; }

    // Whether bytes wait for a later call.
    bool hasQueued() const { return !m_queued.empty(); }

    // Forgets everything, for a new encoding run.
    void reset();

private:
    void put(const unsigned char* bytes, std::size_t length);

    std::uint8_t* m_output = nullptr;
    std::int32_t m_capacity = 0;
    std::int32_t m_written = 0;
    std::vector<std::uint8_t> m_queued;
};

} // namespace sorvella
