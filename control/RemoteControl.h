#pragma once

#include "control/StatusDisplay.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace sorvella {

class MainCommandsSink;
class SaveStartWatch;
struct Settings;

// What a running instance tells about itself.
struct RemoteStatus {
    std::string state; // "recording", "idle" or "retrying" (a busy input device)
    std::string mode;  // "loop", "archive", "vox" or "continuous"
    std::int64_t heldSeconds = 0;
    std::int32_t loopSeconds = 0;
    std::string target; // as the main window shows it
    std::int64_t dropouts = 0;
};

// The commands other programs send to a running instance (over the session
// bus). Each runs the main window's own command, so that it behaves as the
// button does. While a modal box or the retry dialog is open a command is
// refused at once with "Sorvella is busy: <what>"; nothing is kept for later,
// because a save made minutes after the key press would not hold what the
// user heard. Failures are RecException with the text the user would read.
// Main thread.
class RemoteControl {
public:
    struct Services {
        MainCommandsSink& commands;
        // The saves the main window's controller starts.
        SaveStartWatch& saves;
        std::function<StatusInput()> recording;
        const Settings& settings;
        std::function<std::string()> targetText;
        // The caption of the modal window that is open; nothing when none is.
        std::function<std::optional<std::string>()> modalWindow;
        // Whether a command of the main window is still running.
        std::function<bool()> commandRunning;
    };

    explicit RemoteControl(Services services) : m_services(std::move(services)) {}

    // The file the held sound is being saved to.
    std::string quickSave();
    void editAndSave();
    // The main window and its open windows to the front.
    void show();
    RemoteStatus status() const;

private:
    void refuseWhileBusy() const;
    void requireRecording() const;

    Services m_services;
};

} // namespace sorvella
