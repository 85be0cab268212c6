#include "editor/ui/WaveformView.h"

#include "editor/WaveformMapping.h"
#include "engine/RingStore.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QWheelEvent>

#include <algorithm>

namespace sorvella {

namespace {

const QColor kBackground(17, 17, 17);
const QColor kMiddleLine(128, 128, 128);
constexpr int kWheelStep = 120; // angle of one wheel notch, in eighths of a degree

// Writes the overview's bars straight into the image's pixels: a full view
// has thousands of them, too many for a QPainter call each.
class ImageBarPainter : public OverviewPainter {
public:
    explicit ImageBarPainter(QImage& image)
        : m_pixels(reinterpret_cast<QRgb*>(image.bits())),
          m_stride(image.bytesPerLine() / static_cast<int>(sizeof(QRgb))), m_width(image.width()),
          m_height(image.height())
    {
    }

    void fillBar(int x, int top, int height, OverviewColour colour) override
    {
        if (x < 0 || x >= m_width) {
            return;
        }
        const QRgb rgb = qRgb(colour.red, colour.green, colour.blue);
        const int end = std::min(top + height, m_height);
        for (int y = std::max(top, 0); y < end; ++y) {
            m_pixels[static_cast<std::ptrdiff_t>(y) * m_stride + x] = rgb;
        }
    }

private:
    QRgb* m_pixels;
    int m_stride;
    int m_width;
    int m_height;
};

// Whole wheel notches in `angle` plus `delta`; the rest stays in `angle`.
int takeNotches(int& angle, int delta)
{
    angle += delta;
    const int notches = angle / kWheelStep;
    angle -= notches * kWheelStep;
    return notches;
}

} // namespace

WaveformView::WaveformView(const RingStore& store, WaveformMapping& mapping, QWidget* parent)
    : QWidget(parent), m_store(store), m_mapping(mapping)
{
    // Every pixel comes from the cache: Qt need not clear the background first.
    setAttribute(Qt::WA_OpaquePaintEvent);
    m_mapping.setWidth(width());
}

void WaveformView::drawCursor(int x)
{
    const int column = x >= 0 && x < width() ? x : -1;
    if (column == m_cursorX) {
        return;
    }
    if (m_cursorX >= 0) {
        update(m_cursorX, 0, 1, height());
    }
    m_cursorX = column;
    if (m_cursorX >= 0) {
        update(m_cursorX, 0, 1, height());
    }
}

void WaveformView::refresh()
{
    // The cursor's column belongs to the old range; the player draws it anew.
    m_cursorX = -1;
    m_stale = true;
    update();
}

void WaveformView::render()
{
    if (m_cache.size() != size()) {
        m_cache = QImage(size(), QImage::Format_RGB32);
    }
    m_stale = false;
    if (m_cache.isNull()) {
        return;
    }
    m_cache.fill(kBackground);
    OverviewRequest request;
    request.from = m_mapping.viewStart();
    request.to = m_mapping.viewEnd();
    request.rect = OverviewRect{0, 0, width(), height()};
    request.selectionStart = m_mapping.selectionStart();
    request.fadeIn = m_mapping.fadeInBytes();
    request.selectionEnd = m_mapping.selectionEnd();
    request.fadeOut = m_mapping.fadeOutBytes();
    ImageBarPainter bars(m_cache);
    m_store.drawOverview(request, bars);

    QPainter painter(&m_cache);
    painter.setPen(Qt::black);
    painter.drawRect(0, 0, width() - 1, height() - 1);
    painter.fillRect(1, height() / 2, width() - 2, 1, kMiddleLine);
}

void WaveformView::paintEvent(QPaintEvent* event)
{
    if (m_stale) {
        render();
    }
    QPainter painter(this);
    for (const QRect& damaged : event->region()) {
        painter.drawImage(damaged, m_cache, damaged);
    }
    if (m_cursorX >= 0 && event->region().intersects(QRect(m_cursorX, 0, 1, height()))) {
        QImage column = m_cache.copy(m_cursorX, 0, 1, height());
        column.invertPixels();
        painter.drawImage(m_cursorX, 0, column);
    }
}

void WaveformView::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    m_mapping.setWidth(width());
    m_cursorX = -1;
    m_stale = true;
    emit widthChanged(width());
}

void WaveformView::mousePressEvent(QMouseEvent* event)
{
    const int x = event->position().toPoint().x();
    if (event->button() == Qt::LeftButton) {
        emit pressed(x);
    } else if (event->button() == Qt::RightButton) {
        emit rightClicked();
    }
}

void WaveformView::mouseMoveEvent(QMouseEvent* event)
{
    if (event->buttons() & Qt::LeftButton) {
        emit dragged(event->position().toPoint().x());
    }
}

void WaveformView::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) {
        emit doubleClicked(event->position().toPoint().x());
    }
}

void WaveformView::wheelEvent(QWheelEvent* event)
{
    const QPoint angle = event->angleDelta();
    if (event->modifiers() & Qt::ControlModifier) {
        // Away from the user zooms in.
        const int steps = takeNotches(m_zoomAngle, angle.y());
        if (steps != 0) {
            emit wheelZoomed(event->position().toPoint().x(), steps);
        }
    } else {
        // Towards the user, or a sideways swipe to the left, moves to the right.
        const int notches = takeNotches(m_scrollAngle, -(angle.y() != 0 ? angle.y() : angle.x()));
        if (notches != 0) {
            emit wheelScrolled(notches * QApplication::wheelScrollLines());
        }
    }
    event->accept();
}

} // namespace sorvella
