#pragma once

namespace sorvella {

// What the play thread tells its editor. Called on the play thread; an
// implementation only queues the event to the window thread (it never touches
// a widget there) and never blocks.
class PlaybackEvents {
public:
    virtual ~PlaybackEvents() = default;

    // Move the play cursor to view column x; -1 (or any column outside the
    // view) only erases it.
    virtual void cursorAt(int x) = 0;

    // The thread has played to its end, was stopped, or failed, and has
    // closed the device. The window thread answers with
    // EditorPlayer::finish(), which joins the thread and hands over its error.
    virtual void playbackEnded() = 0;
};

} // namespace sorvella
