#pragma once

#include "save/BlockFilter.h"

#include <cstdint>

namespace sorvella {

// Keeps the store range [start, end) exactly as recorded, every sample of it:
// files cut from one recording at the same positions join without a gap.
class RangeFilter final : public BlockFilter {
public:
    RangeFilter(std::int64_t start, std::int64_t end) : m_start(start), m_end(end) {}

    bool selects(std::int64_t offset, std::int32_t length) const override;
    void cut(std::int64_t offset, std::uint8_t*& data, std::int32_t& length) override;
    std::unique_ptr<BlockFilter> clone() const override;

private:
    std::int64_t m_start;
    std::int64_t m_end;
};

} // namespace sorvella
