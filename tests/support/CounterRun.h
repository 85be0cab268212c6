#pragma once

#include "platform/fakes/SimulatedFrameSource.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace sorvella::test {

// Whether `bytes` are the simulated signal's counter from sample number
// `first` on; names the first byte that is not.
inline ::testing::AssertionResult isCounterRun(const std::vector<std::uint8_t>& bytes,
                                               std::uint64_t first)
{
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        const auto value = static_cast<std::uint16_t>(bytes[i] | bytes[i + 1] << 8);
        const auto expected =
            static_cast<std::uint16_t>(SimulatedSignal::counterSample(first + i / 2));
        if (value != expected) {
            return ::testing::AssertionFailure() << "byte " << i << " of " << bytes.size()
                                                 << " holds " << value << ", expected " << expected;
        }
    }
    return ::testing::AssertionSuccess();
}

} // namespace sorvella::test
