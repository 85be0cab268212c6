#pragma once

namespace sorvella {

// A window that holds sound of its own: a save's progress window or an editor
// window. While it is open the main window asks before the program closes.
class OpenWindow {
public:
    virtual ~OpenWindow() = default;

    // Shown again, not minimised, and usable.
    virtual void showWindow() = 0;
    // Closes the window at once: an editor's sound is lost, a running save is
    // cancelled and its file deleted.
    virtual void closeWindow() = 0;
    // True for a running save: it closes by itself once its file is written.
    virtual bool closesByItself() const = 0;
};

} // namespace sorvella
