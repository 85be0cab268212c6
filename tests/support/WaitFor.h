#pragma once

#include <chrono>
#include <functional>
#include <thread>

namespace sorvella::test {

// Polls a condition until it holds or the (generous) limit passes; returns
// whether it held. Tests wait on conditions with this, never on a fixed sleep.
inline bool waitFor(const std::function<bool()>& condition,
                    std::chrono::milliseconds limit = std::chrono::seconds(30))
{
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return true;
}

} // namespace sorvella::test
