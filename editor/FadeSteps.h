#pragma once

#include <array>
#include <cstdint>

namespace sorvella {

// The fade lengths the editor's slider offers, in milliseconds.
inline constexpr std::array<std::int32_t, 11> kFadeSteps = {0,    3,    50,   500,  1000, 2000,
                                                            3000, 4000, 5000, 7500, 10000};

// The slider position that shows a length: the first step at least as long;
// a length beyond the last step shows the last position.
constexpr int fadeStepOf(std::int32_t milliseconds)
{
    for (std::size_t i = 0; i < kFadeSteps.size(); ++i) {
        if (kFadeSteps[i] >= milliseconds) {
            return static_cast<int>(i);
        }
    }
    return static_cast<int>(kFadeSteps.size()) - 1;
}

// A length in milliseconds as bytes of sound at `bytesPerSecond`.
constexpr std::int32_t fadeBytes(std::int32_t milliseconds, std::uint32_t bytesPerSecond)
{
    return static_cast<std::int32_t>(static_cast<std::int64_t>(milliseconds) * bytesPerSecond /
                                     1000);
}

} // namespace sorvella
