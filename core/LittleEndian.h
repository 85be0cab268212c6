#pragma once

#include <cstdint>
#include <vector>

namespace sorvella::le {

// Little-endian numbers in byte buffers: 16-bit PCM samples, RIFF and format
// records, the encoder libraries' configuration record.

inline std::uint64_t read(const std::uint8_t* at, int bytes)
{
    std::uint64_t value = 0;
    for (int i = bytes - 1; i >= 0; --i) {
        value = (value << 8) | at[i];
    }
    return value;
}

inline void write(std::uint8_t* at, std::uint64_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i) {
        at[i] = static_cast<std::uint8_t>(value >> (8 * i));
    }
}

inline void append(std::vector<std::uint8_t>& out, std::uint64_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i) {
        out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
    }
}

// One signed 16-bit sample.
inline std::int16_t sample(const std::uint8_t* at)
{
    return static_cast<std::int16_t>(static_cast<std::uint16_t>(at[0] | (at[1] << 8)));
}

inline void writeSample(std::uint8_t* at, std::int16_t value)
{
    write(at, static_cast<std::uint16_t>(value), 2);
}

} // namespace sorvella::le
