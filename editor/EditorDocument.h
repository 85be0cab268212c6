#pragma once

#include "core/Settings.h"
#include "editor/EditMode.h"
#include "editor/EditorView.h"
#include "editor/Playback.h"
#include "editor/WaveformMapping.h"

#include <cstdint>
#include <memory>
#include <string>

namespace sorvella {

class Clock;
class FreeSpace;
class Prompter;
class RingStore;
class SelectionSaves;

// One editor's sound and what the user does with it: the selection, the fade
// lengths, the amplification, playback, saving and closing. The sound itself
// is never changed; fades and gain are applied only while playing and saving.
// Window thread; the play thread sees only the mapping and the store.
class EditorDocument {
public:
    static constexpr const char* kCloseQuestion = "Do you want to save?";
    static constexpr const char* kCloseCaption = "Closing Editor";

    struct Services {
        // Read live for the stop rule and the timing profile; receives the
        // fade lengths and the auto-amplify choice.
        Settings& mainSettings;
        EditorView& view;
        Prompter& prompter;
        const Clock& clock;
        SelectionSaves& saves;
        PlaybackEvents& events;
        PlaybackFactory makePlayback;
        // Where a save's target lies: too little room asks first.
        const FreeSpace& freeSpace;
    };

    // Takes the store (heldBytes > 0), which ends now; copies the main
    // settings, whose format is the sound's.
    EditorDocument(Services services, std::unique_ptr<RingStore> store);
    // Stops playback before the store goes.
    ~EditorDocument();
    EditorDocument(const EditorDocument&) = delete;
    EditorDocument& operator=(const EditorDocument&) = delete;

    const RingStore& store() const { return *m_store; }
    WaveformMapping& mapping() { return m_mapping; }
    const Settings& settings() const { return m_settings; }
    EditMode mode() const { return m_mode; }
    bool saved() const { return m_saved; }
    std::int64_t recordingStart() const { return m_recordingStart; }
    std::string title() const;

    // The displays of the controls, and sending them with an empty play time.
    EditorDisplays displays() const;
    void updateDisplays();
    // The range changed: scroll bar, waveform and displays.
    void layout();
    // The play time: the clock time of what is heard now (the queued
    // buffers ahead of it are not heard yet), or empty.
    void showPlayTime(bool show);

    // Mouse in the view: a button-down, a move with the button held.
    void pressAt(int x);
    void dragTo(int x);
    void clickAt(int x);

    // "+Zoom": centred as the mode says.
    void zoomIn();
    // Any other zoom or scroll of the mapping; the scroll bar, the waveform
    // and the displays follow.
    template <typename Change> void changeView(Change change)
    {
        change(m_mapping);
        layout();
    }

    void setMode(EditMode mode);
    void moveFadeSlider(int step);
    void setPlayFaded(bool faded) { m_playFaded = faded; }
    bool autoAmplify() const { return m_settings.autoAmplify; }
    void setAutoAmplify(bool amplify);

    // The "Play" button (and Space).
    void pressPlay();
    // Escape.
    void stopPlayback();
    // The play thread has ended: its failure, if any, is shown.
    void playbackEnded();
    // The window lost the focus or was minimised: "Graphical Editor Stop
    // Playing Automatically" decides.
    void deactivated();
    void minimised();

    // "Save": false when nothing was started (cancelled, or the job could
    // not start, which is shown).
    bool saveSelection();
    // "saveandclose": true when the editor may close.
    bool saveAndClose();
    // A close request from the window: true when the editor may close.
    bool requestClose();
    // A close nobody is asked about (the program closes).
    void closeNow();

private:
    void beforeClose();
    bool playing() const;
    std::int32_t currentFade() const;
    std::int32_t amplification() const;

    Services m_services;
    Settings m_settings;
    std::unique_ptr<RingStore> m_store;
    WaveformMapping m_mapping;
    std::int64_t m_recordingEnd;
    std::int64_t m_recordingStart;
    EditMode m_mode = EditMode::Play;
    bool m_playFaded = false;
    bool m_saved = false;
    std::string m_playTime;
    // Last, so that it stops before the mapping and the store go.
    std::unique_ptr<Playback> m_playback;
};

} // namespace sorvella
