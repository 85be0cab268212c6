// Placeholder of the waveform widget until its own implementation lands:
// draws the overview and a plain cursor, and forwards the mouse.
#include "editor/ui/WaveformView.h"

#include "editor/WaveformMapping.h"
#include "engine/RingStore.h"

#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

namespace sorvella {
namespace {

class BarPainter final : public OverviewPainter {
public:
    explicit BarPainter(QPainter& painter) : m_painter(painter) {}
    void fillBar(int x, int top, int height, OverviewColour colour) override
    {
        m_painter.fillRect(x, top, 1, height, QColor(colour.red, colour.green, colour.blue));
    }

private:
    QPainter& m_painter;
};

class ViewEvents final : public QObject {
public:
    ViewEvents(WaveformView& view, const RingStore& store, WaveformMapping& mapping)
        : QObject(&view), m_view(view), m_store(store), m_mapping(mapping)
    {
        setObjectName(QStringLiteral("waveformEvents"));
        view.installEventFilter(this);
    }

    int cursor = -1;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        switch (event->type()) {
        case QEvent::Paint:
            paint();
            return true;
        case QEvent::Resize:
            m_mapping.setWidth(m_view.width());
            emit m_view.widthChanged(m_view.width());
            return false;
        case QEvent::MouseButtonPress:
            press(static_cast<QMouseEvent&>(*event));
            return true;
        case QEvent::MouseMove:
            if (static_cast<QMouseEvent*>(event)->buttons() & Qt::LeftButton) {
                emit m_view.dragged(column(static_cast<QMouseEvent&>(*event)));
            }
            return true;
        case QEvent::MouseButtonDblClick:
            if (static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
                emit m_view.doubleClicked(column(static_cast<QMouseEvent&>(*event)));
            }
            return true;
        case QEvent::Wheel:
            wheel(static_cast<QWheelEvent&>(*event));
            return true;
        default:
            return false;
        }
    }

private:
    static int column(const QMouseEvent& event) { return static_cast<int>(event.position().x()); }

    void press(const QMouseEvent& event)
    {
        if (event.button() == Qt::LeftButton) {
            emit m_view.pressed(column(event));
        } else if (event.button() == Qt::RightButton) {
            emit m_view.rightClicked();
        }
    }

    void wheel(const QWheelEvent& event)
    {
        const int steps = event.angleDelta().y() / 120;
        if (event.modifiers() & Qt::ControlModifier) {
            emit m_view.wheelZoomed(static_cast<int>(event.position().x()), steps);
        } else {
            emit m_view.wheelScrolled(-steps);
        }
    }

    void paint()
    {
        QPainter painter(&m_view);
        const QRect area = m_view.rect();
        painter.fillRect(area, QColor(17, 17, 17));
        OverviewRequest request;
        request.from = m_mapping.viewStart();
        request.to = m_mapping.viewEnd();
        request.rect = {0, 0, area.width(), area.height()};
        request.selectionStart = m_mapping.selectionStart();
        request.selectionEnd = m_mapping.selectionEnd();
        request.fadeIn = m_mapping.fadeInBytes();
        request.fadeOut = m_mapping.fadeOutBytes();
        BarPainter bars(painter);
        m_store.drawOverview(request, bars);
        painter.setPen(Qt::black);
        painter.drawRect(area.adjusted(0, 0, -1, -1));
        painter.fillRect(1, area.height() / 2, area.width() - 2, 1, QColor(128, 128, 128));
        if (cursor >= 0 && cursor < area.width()) {
            painter.fillRect(cursor, 0, 1, area.height(), Qt::white);
        }
    }

    WaveformView& m_view;
    const RingStore& m_store;
    WaveformMapping& m_mapping;
};

} // namespace

WaveformView::WaveformView(const RingStore& store, WaveformMapping& mapping, QWidget* parent)
    : QWidget(parent)
{
    new ViewEvents(*this, store, mapping);
}

void WaveformView::drawCursor(int x)
{
    static_cast<ViewEvents*>(
        findChild<QObject*>(QStringLiteral("waveformEvents"), Qt::FindDirectChildrenOnly))
        ->cursor = x;
    update();
}

void WaveformView::refresh()
{
    update();
}

} // namespace sorvella
