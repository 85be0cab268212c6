#pragma once

#include "control/EventPump.h"

namespace sorvella {

// Runs the main thread's waiting Qt events, including the deletion of
// windows that closed themselves (a finished save leaves the open windows
// only when it is deleted).
class QtEventPump : public EventPump {
public:
    void pump(std::chrono::milliseconds pause) override;
    bool insideModalLoop() const override;
    void runLater(std::chrono::milliseconds delay, std::function<void()> action) override;
};

} // namespace sorvella
