#pragma once

#include <chrono>

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
};

} // namespace sorvella
