#pragma once

#include <chrono>
#include <functional>

namespace sorvella {

// Lets the main thread's events run while it waits on other windows (the
// wait for running saves before the program closes). Main thread.
class EventPump {
public:
    virtual ~EventPump() = default;

    // Handles the events that are waiting, then pauses for about `pause`.
    virtual void pump(std::chrono::milliseconds pause) = 0;

    // True while a modal box or dialog of ours runs its own event loop below
    // the caller: a wait for windows started there could wait on that box.
    virtual bool insideModalLoop() const = 0;

    // Runs `action` once from the event loop after about `delay`, so that
    // the caller does not hold the main thread while it waits.
    virtual void runLater(std::chrono::milliseconds delay, std::function<void()> action) = 0;
};

} // namespace sorvella
