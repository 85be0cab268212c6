#pragma once

#include <cstdint>
#include <memory>

namespace sorvella {

// Restricts a save to a selection of the store and may rework the sound on
// the way (the editor's fades and amplification). Offsets are logical store
// positions. A save job works on a clone of its own, on its own thread.
class BlockFilter {
public:
    virtual ~BlockFilter() = default;

    // Whether the store range [offset, offset + length) takes part in the save.
    virtual bool selects(std::int64_t offset, std::int32_t length) const = 0;

    // Narrows the loaded bytes of a range that starts at store position
    // `offset` to the part to save: `data` may move forward and `length`
    // shrink (a multiple of 4). The bytes may be rewritten in place.
    virtual void cut(std::int64_t offset, std::uint8_t*& data, std::int32_t& length) = 0;

    virtual std::unique_ptr<BlockFilter> clone() const = 0;
};

} // namespace sorvella
