#pragma once

#include <QImage>
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

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    // Draws the waveform without the cursor into m_cache.
    void render();

    const RingStore& m_store;
    WaveformMapping& m_mapping;
    QImage m_cache;
    bool m_stale = true; // m_cache no longer shows the mapping
    int m_cursorX = -1;  // column of the cursor on screen; -1: none
    // Wheel angle not yet worth a whole step (high-resolution wheels).
    int m_scrollAngle = 0;
    int m_zoomAngle = 0;
};

} // namespace sorvella
