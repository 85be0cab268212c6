#pragma once

#include "core/OpenWindow.h"
#include "editor/EditorDocument.h"
#include "editor/PlaybackEvents.h"
#include "save/ui/HelpTopicOpener.h"

#include <QWidget>

#include <functional>
#include <memory>

class QAbstractButton;
class QButtonGroup;
class QLineEdit;
class QPushButton;
class QScrollBar;
class QSlider;

namespace sorvella {

class OpenWindows;
class WaveformView;

// The editor's window: a modeless top-level window with a row of controls,
// the waveform and a scroll bar. It only draws what its document decides and
// forwards the user's input to it. Joins the open windows while it exists and
// deletes itself (with its sound) when it closes.
class EditorWindow final : public QWidget,
                           public OpenWindow,
                           private EditorView,
                           private PlaybackEvents {
    Q_OBJECT

public:
    // The help topic of the editor.
    static constexpr std::int32_t kHelpTopic = 162;

    struct Services {
        Settings& mainSettings;
        Prompter& prompter;
        const Clock& clock;
        OpenWindows& openWindows;
        // The saves of an editor, with the editor window as parent of its
        // dialogs.
        std::function<std::unique_ptr<SelectionSaves>(QWidget& editor)> makeSaves;
        PlaybackFactory makePlayback;
        HelpTopicOpener help;
        const FreeSpace& freeSpace;
    };

    EditorWindow(const Services& services, std::unique_ptr<RingStore> store,
                 QWidget* parent = nullptr);
    ~EditorWindow() override;

    EditorDocument& document() { return *m_document; }

    // OpenWindow
    void showWindow() override;
    void closeWindow() override;
    bool closesByItself() const override { return false; }

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    // EditorView
    void showDisplays(const EditorDisplays& displays) override;
    void showPlayTime(const std::string& text) override;
    void showSelection() override;
    void showRange(const ScrollBarState& scrollBar) override;
    // PlaybackEvents, on the play thread: queued to this window.
    void cursorAt(int x) override;
    void playbackEnded() override;

    void buildControls();
    void connectControls();
    void connectView();
    void scrollAction(int action);
    void saveAndClose();
    // Runs a command of the document; nothing it throws may leave the event
    // handler.
    void forward(const std::function<void()>& command);

    Services m_services;
    std::unique_ptr<SelectionSaves> m_saves;
    std::unique_ptr<EditorDocument> m_document;
    bool m_closeDecided = false;

    QWidget* m_row = nullptr;
    QPushButton* m_zoomIn = nullptr;
    QPushButton* m_zoomOut = nullptr;
    QButtonGroup* m_modes = nullptr;
    QSlider* m_fadeSlider = nullptr;
    QLineEdit* m_fadeText = nullptr;
    QPushButton* m_playFaded = nullptr;
    QPushButton* m_play = nullptr;
    QLineEdit* m_playTime = nullptr;
    QPushButton* m_amplify = nullptr;
    QPushButton* m_save = nullptr;
    QPushButton* m_saveAndClose = nullptr;
    QLineEdit* m_selectedRange = nullptr;
    QPushButton* m_help = nullptr;
    WaveformView* m_view = nullptr;
    QScrollBar* m_scrollBar = nullptr;
};

} // namespace sorvella
