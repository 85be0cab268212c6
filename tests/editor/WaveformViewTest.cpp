// The waveform view as a real widget drawn offscreen.

#include "editor/ui/WaveformView.h"
#include "editor/WaveformMapping.h"
#include "tests/engine/StoreFixture.h"
#include "tests/support/WaitFor.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QWheelEvent>

#include <gtest/gtest.h>

#include <string>

namespace sorvella::test {
namespace {

int argc = 1;
char programName[] = "sorvella_waveform_view_tests";
char* argv[] = {programName, nullptr};

constexpr int kWidth = 200;
constexpr int kHeight = 100;

// Remembers what each paint event had to repaint.
class CountingView : public WaveformView {
public:
    using WaveformView::WaveformView;
    std::vector<QRegion> painted;

protected:
    void paintEvent(QPaintEvent* event) override
    {
        painted.push_back(event->region());
        WaveformView::paintEvent(event);
    }
};

class WaveformViewTest : public ::testing::Test, public StoreFixture {
protected:
    WaveformViewTest()
    {
        // Four blocks of a loud constant: every column gets a tall bar.
        appendBytes(*store, samples(std::vector<std::int16_t>(2 * RingStore::kBlockSize, 30000)));
        mapping.emplace(store->heldBytes());
        view.emplace(*store, *mapping);
        view->resize(kWidth, kHeight);
        view->show();
    }

    QRgb pixel(int x, int y) { return view->grab().toImage().pixel(x, y); }

    QApplication qt{argc, argv};
    std::unique_ptr<RingStore> store = makeStore();
    std::optional<WaveformMapping> mapping;
    std::optional<CountingView> view;
};

TEST_F(WaveformViewTest, DrawsFrameMiddleLineAndTheSelectionInGreen)
{
    mapping->selectStartAt(50);
    mapping->selectEndAt(150);
    view->refresh();
    const QImage image = view->grab().toImage();

    const QRgb black = qRgb(0, 0, 0);
    const QRgb grey = qRgb(128, 128, 128);
    EXPECT_EQ(image.pixel(0, 0), black);
    EXPECT_EQ(image.pixel(kWidth - 1, kHeight - 1), black);
    EXPECT_EQ(image.pixel(100, 2), qRgb(17, 17, 17));
    EXPECT_EQ(image.pixel(100, kHeight / 2), grey);
    EXPECT_EQ(image.pixel(100, 30), qRgb(0, 255, 0));
    EXPECT_EQ(image.pixel(20, 30), grey);
    EXPECT_EQ(image.pixel(180, 30), grey);
}

TEST_F(WaveformViewTest, CursorRepaintsOnlyItsOldAndNewColumnsInverted)
{
    // What the view repaints after moving the cursor to x, once earlier
    // paints are done.
    auto damageOf = [&](int x) {
        const bool drawn = waitFor([&] {
            QCoreApplication::processEvents();
            return !view->painted.empty();
        });
        view->painted.clear();
        view->drawCursor(x);
        QRegion damage;
        if (drawn && waitFor([&] {
                QCoreApplication::processEvents();
                return !view->painted.empty();
            })) {
            for (const QRegion& r : view->painted) {
                damage += r;
            }
        }
        return damage;
    };
    EXPECT_EQ(damageOf(10), QRegion(10, 0, 1, kHeight));
    EXPECT_EQ(damageOf(30), QRegion(10, 0, 1, kHeight) + QRegion(30, 0, 1, kHeight));
    EXPECT_EQ(pixel(30, 2), qRgb(238, 238, 238));
    EXPECT_EQ(pixel(10, 2), qRgb(17, 17, 17));
}

TEST_F(WaveformViewTest, ForwardsMouseAndWheelAsSignals)
{
    std::vector<std::string> seen;
    auto note = [&seen](const std::string& what) { seen.push_back(what); };
    QObject::connect(&*view, &WaveformView::pressed,
                     [&](int x) { note("pressed " + std::to_string(x)); });
    QObject::connect(&*view, &WaveformView::dragged,
                     [&](int x) { note("dragged " + std::to_string(x)); });
    QObject::connect(&*view, &WaveformView::doubleClicked,
                     [&](int x) { note("double " + std::to_string(x)); });
    QObject::connect(&*view, &WaveformView::rightClicked, [&] { note("right"); });
    QObject::connect(&*view, &WaveformView::wheelScrolled,
                     [&](int lines) { note("scrolled " + std::to_string(lines)); });
    QObject::connect(&*view, &WaveformView::wheelZoomed, [&](int x, int steps) {
        note("zoomed " + std::to_string(x) + " " + std::to_string(steps));
    });

    auto mouse = [&](QEvent::Type type, int x, Qt::MouseButton button, Qt::MouseButtons held) {
        QMouseEvent event(type, QPointF(x, 40), view->mapToGlobal(QPointF(x, 40)), button, held,
                          Qt::NoModifier);
        QCoreApplication::sendEvent(&*view, &event);
    };
    auto wheel = [&](int x, int angle, Qt::KeyboardModifiers modifiers) {
        QWheelEvent event(QPointF(x, 40), view->mapToGlobal(QPointF(x, 40)), QPoint(),
                          QPoint(0, angle), Qt::NoButton, modifiers, Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(&*view, &event);
    };
    mouse(QEvent::MouseMove, 5, Qt::NoButton, Qt::NoButton);
    mouse(QEvent::MouseButtonPress, 42, Qt::LeftButton, Qt::LeftButton);
    mouse(QEvent::MouseMove, 57, Qt::NoButton, Qt::LeftButton);
    mouse(QEvent::MouseButtonRelease, 57, Qt::LeftButton, Qt::NoButton);
    mouse(QEvent::MouseButtonDblClick, 61, Qt::LeftButton, Qt::LeftButton);
    mouse(QEvent::MouseButtonPress, 70, Qt::RightButton, Qt::RightButton);
    wheel(80, -120, Qt::NoModifier);
    wheel(80, 60, Qt::ControlModifier); // half a notch: nothing yet
    wheel(90, 60, Qt::ControlModifier);

    const std::string lines = std::to_string(QApplication::wheelScrollLines());
    EXPECT_EQ(seen, (std::vector<std::string>{"pressed 42", "dragged 57", "double 61", "right",
                                              "scrolled " + lines, "zoomed 90 1"}));
}

} // namespace
} // namespace sorvella::test
