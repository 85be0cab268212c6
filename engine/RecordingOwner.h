#pragma once

#include "core/Prompter.h"

#include <cstdint>

namespace sorvella {

// What a SoundReader asks of whoever runs the recording (the main window).
class RecordingOwner {
public:
    virtual ~RecordingOwner() = default;

    // Device callback thread, after every buffer; must not block. The seconds
    // of sound the store must keep; -1 (or 0) for no limit.
    virtual std::int32_t keepSeconds() const = 0;

    // Main thread: where the reader's message boxes go.
    virtual Prompter& prompter() = 0;
};

} // namespace sorvella
