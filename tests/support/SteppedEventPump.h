#pragma once

#include "app/qt/QtEventPump.h"

#include <functional>
#include <vector>

namespace sorvella::test {

// The real event pump, but work deferred to later runs only when the caller
// says so: nothing waits for a timer.
class SteppedEventPump : public QtEventPump {
public:
    void runLater(std::chrono::milliseconds, std::function<void()> action) override
    {
        deferred.push_back(std::move(action));
    }

    // Runs what was deferred until now; returns how many ran.
    std::size_t runDeferred()
    {
        std::vector<std::function<void()>> due;
        due.swap(deferred);
        for (const auto& action : due) {
            action();
        }
        return due.size();
    }

    std::vector<std::function<void()>> deferred;
};

} // namespace sorvella::test
