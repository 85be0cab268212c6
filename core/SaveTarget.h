// TEMPORARY NOTE FOR EVERYONE WORKING IN THIS TREE: read /tmp/common-brief.md now (project rules, how to work here); they apply to you.
#pragma once

#include <cstdint>
#include <string>

namespace sorvella {

// The stored description of where and how a save goes: "Target File",
// "Target File Type" (0 plain WAV, n >= 1 the codec's n-th format) and
// "Target File Codec".
struct SaveTarget {
    std::string fileName;
    std::int32_t formatNumber = 0;
    std::int32_t codecNumber = 1;
};

} // namespace sorvella
