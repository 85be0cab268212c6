#include "control/ui/LevelMeter.h"

#include "control/MeterSegments.h"

#include <QPainter>

namespace sorvella {

LevelMeter::LevelMeter(QWidget* parent) : QWidget(parent)
{
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

void LevelMeter::setReading(const MeterReading& reading)
{
    if (reading == m_reading) {
        return;
    }
    m_reading = reading;
    update();
}

QSize LevelMeter::sizeHint() const
{
    // 49 segments: up to 50 the first one stays dark in silence.
    return {2 + 49 * (kSegmentWidth + kSegmentGap), 12};
}

void LevelMeter::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Mid));
    const QRect inner = rect().adjusted(1, 1, -1, -1);
    int x = inner.left();
    for (const SegmentColour& colour : meterSegments(inner.width(), m_reading)) {
        painter.fillRect(QRect(x, inner.top(), kSegmentWidth, inner.height()),
                         QColor(colour.red, colour.green, colour.blue));
        x += kSegmentWidth + kSegmentGap;
    }
}

} // namespace sorvella
