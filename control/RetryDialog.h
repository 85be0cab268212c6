#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace sorvella {

// The modeless "Trying to open Wav-In-Device..." window that stays up while a
// busy input device is retried. Main thread.
class RetryDialog {
public:
    virtual ~RetryDialog() = default;

    // `remaining` retry ticks are left; the bar fills as they run out.
    virtual void show(std::int32_t remaining) = 0;
    // Why the device would not open, under the warning; nothing for an
    // empty text.
    virtual void showReason(const std::string& reason) = 0;
    // The user pressed "Cancel".
    virtual bool cancelled() const = 0;
};

// Opens a new retry dialog over the main window.
using RetryDialogFactory = std::function<std::unique_ptr<RetryDialog>()>;

} // namespace sorvella
