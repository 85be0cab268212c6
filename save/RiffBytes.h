#pragma once

#include "core/LittleEndian.h"

#include <cstdint>
#include <string_view>
#include <vector>

namespace sorvella {

// Bytes of a RIFF header record, built field by field: four-character tags
// and little-endian numbers.
class RiffBytes {
public:
    RiffBytes& tag(std::string_view fourCharacters)
    {
        m_bytes.insert(m_bytes.end(), fourCharacters.begin(), fourCharacters.end());
        return *this;
    }
    RiffBytes& u8(std::uint8_t value) { return little(value, 1); }
    RiffBytes& u16(std::uint16_t value) { return little(value, 2); }
    RiffBytes& u32(std::uint32_t value) { return little(value, 4); }
    RiffBytes& u64(std::uint64_t value) { return little(value, 8); }

    const std::vector<std::uint8_t>& bytes() const { return m_bytes; }

private:
    RiffBytes& little(std::uint64_t value, int size)
    {
        le::append(m_bytes, value, size);
        return *this;
    }

    std::vector<std::uint8_t> m_bytes;
};

} // namespace sorvella
