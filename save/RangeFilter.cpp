#include "save/RangeFilter.h"

#include <algorithm>

namespace sorvella {

bool RangeFilter::selects(std::int64_t offset, std::int32_t length) const
{
    return offset < m_end && offset + length > m_start;
}

void RangeFilter::cut(std::int64_t offset, std::uint8_t*& data, std::int32_t& length)
{
    const std::int64_t from = std::clamp<std::int64_t>(m_start - offset, 0, length);
    const std::int64_t to = std::clamp<std::int64_t>(m_end - offset, from, length);
    data += from;
    // Whole samples only.
    length = static_cast<std::int32_t>((to - from) & ~std::int64_t{1});
}

std::unique_ptr<BlockFilter> RangeFilter::clone() const
{
    return std::make_unique<RangeFilter>(*this);
}

} // namespace sorvella
