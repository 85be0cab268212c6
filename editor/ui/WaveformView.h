#pragma once

#include <QWidget>

namespace sorvella {

class RingStore;
class WaveformMapping;

// The editor's waveform: draws the store's overview of the mapping's visible
// range with the selection and its fades, and the one-pixel play cursor.
// Mouse input is only forwarded; the editor decides what it means. Window
// thread only.
class WaveformView : public QWidget {
    Q_OBJECT

public:
    // Neither is owned; both outlive the view.
    WaveformView(const RingStore& store, WaveformMapping& mapping, QWidget* parent = nullptr);

    // Moves the cursor to column x (outside the view: only erases it),
    // repainting just the old and the new column.
    void drawCursor(int x);
    // Redraws everything after the range, the selection or the fades changed.
    void refresh();

signals:
    void pressed(int x);             // left button down
    void dragged(int x);             // mouse moved with the left button held
    void doubleClicked(int x);       // left double click
    void rightClicked();             // right button down
    void wheelScrolled(int lines);   // wheel without Ctrl: lines to the right (negative: left)
    void wheelZoomed(int x, int steps); // Ctrl+wheel at column x: steps in (negative: out)
    void widthChanged(int width);    // the mapping's width has been set to it already
};

} // namespace sorvella
