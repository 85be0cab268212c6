#pragma once

#include "editor/EditMode.h"
#include "editor/WaveformMapping.h"

#include <string>

namespace sorvella {

// What the editor's row of controls shows.
struct EditorDisplays {
    EditMode mode = EditMode::Play;
    // The fade length of the end being adjusted ("L" or "R"); in "P" the
    // field is empty, the slider at 0 and both disabled.
    std::string fadeText;
    int fadeStep = 0;
    bool fadeEnabled = false;
    std::string fadeToolTip;
    bool playDown = false;
    std::string amplifyToolTip;
    std::string selectedRange;

    bool operator==(const EditorDisplays&) const = default;
};

// The editor's window as its document sees it. Window thread.
class EditorView {
public:
    virtual ~EditorView() = default;

    virtual void showDisplays(const EditorDisplays& displays) = 0;
    // The clock time of what is heard; empty when not playing.
    virtual void showPlayTime(const std::string& text) = 0;
    // The selection or its fades changed: redraw the waveform.
    virtual void showSelection() = 0;
    // The visible range changed: the scroll bar and the waveform follow.
    virtual void showRange(const ScrollBarState& scrollBar) = 0;
};

} // namespace sorvella
