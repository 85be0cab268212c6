#pragma once

#include <functional>

namespace sorvella {

class OpenWindowList;
class Prompter;
class RecordingController;
class StatusDisplay;
class TempSession;
struct Settings;

// The orderly end of the program: the open save and editor windows, the
// "Save on application close" action, the recording, the tray icon and the
// temporary session. Main thread.
class ApplicationCloser {
public:
    static constexpr const char* kOpenWindowsQuestion =
        "There are open Sorvella windows. If you close Sorvella, all data in these windows will "
        "be lost. Close Sorvella?";
    static constexpr const char* kOpenWindowsCaption = "Closing Sorvella";

    struct Services {
        Settings& settings;
        RecordingController& controller;
        OpenWindowList& openWindows;
        StatusDisplay& status;
        TempSession& session;
        Prompter& prompter;
        // Ends the event loop; the program exits with the run's exit code.
        std::function<void()> quit;
    };

    explicit ApplicationCloser(Services services) : m_services(std::move(services)) {}

    // Closes the program. Unless `forced`, asks first while windows are open,
    // and "No" keeps everything running (false). A forced close asks nothing;
    // it closes the editors but lets running saves finish, so that a logout
    // or a kill loses no file that was being written.
    bool closeApplication(bool forced);

    // The desktop session wants to end: while windows are open the user
    // decides, as on a close.
    bool mayEndSession();

    // From the moment a close is under way.
    bool closed() const { return m_closed; }

private:
    Services m_services;
    bool m_closed = false;
};

} // namespace sorvella
