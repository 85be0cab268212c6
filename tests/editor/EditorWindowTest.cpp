// The editor window offscreen: mouse, buttons and scroll bar reach the
// document, and "saveandclose" writes the selection as the user shaped it.

#include "editor/ui/EditorWindow.h"
#include "control/OpenWindowList.h"
#include "editor/FadeFilter.h"
#include "editor/ui/WaveformView.h"
#include "platform/fakes/FakeFreeSpace.h"
#include "save/ui/StartSave.h"
#include "tests/editor/EditorFakes.h"
#include "tests/save/SaveJobFixture.h"
#include "tests/save/ui/WidgetTest.h"
#include "tests/support/FakePrompter.h"
#include "tests/support/WaitFor.h"

#include <QMouseEvent>
#include <QPointer>
#include <QPushButton>
#include <QScrollBar>
#include <QSlider>

namespace sorvella::test {
namespace {

constexpr int kViewWidth = 1000;

// Saves without the file dialog, through real jobs and "Saving..." windows.
class DirectSaves : public SelectionSaves {
public:
    explicit DirectSaves(const SaveWindowServices& services) : m_services(services) {}
    bool chooseTarget(SaveTarget&) override { return true; }
    void startSave(std::unique_ptr<RingStore>& snapshot, const SaveTarget& target,
                   const BlockFilter& filter) override
    {
        sorvella::startSave(m_services, snapshot, nullptr, target, &filter, 0);
    }

private:
    SaveWindowServices m_services;
};

class EditorWindowTest : public WidgetTest, public SaveJobFixture {
protected:
    ~EditorWindowTest() override
    {
        delete window.data();
        openWindows.closeAll();
    }

    EditorWindow& open(const std::vector<std::uint8_t>& sound)
    {
        auto store = makeStore();
        appendBytes(*store, sound);
        store->endRecording();
        const EditorWindow::Services services{
            .mainSettings = settings,
            .prompter = prompter,
            .clock = clock,
            .openWindows = openWindows,
            .makeSaves =
                [this](QWidget&) {
                    return std::make_unique<DirectSaves>(
                        SaveWindowServices{environment, openWindows, prompter});
                },
            .makePlayback = FakePlayback::factory(played),
            .help = [](std::int32_t) {},
            .freeSpace = freeSpace,
        };
        window = new EditorWindow(services, std::move(store));
        window->resize(kViewWidth + 16, 300);
        window->show();
        return *window;
    }

    template <typename Widget> Widget& child(const char* name)
    {
        auto* widget = window->findChild<Widget*>(QLatin1String(name));
        EXPECT_NE(widget, nullptr) << name;
        return *widget;
    }

    void mouse(QEvent::Type type, int x, Qt::MouseButton button = Qt::LeftButton)
    {
        QWidget& view = child<WaveformView>("waveformView");
        const QPointF at(x, 20);
        QMouseEvent event(type, at, view.mapToGlobal(at), button,
                          type == QEvent::MouseMove ? Qt::LeftButton : button, Qt::NoModifier);
        QApplication::sendEvent(&view, &event);
    }

    void click(const char* button) { child<QPushButton>(button).click(); }

    FakePrompter prompter;
    FixedClock clock;
    OpenWindowList openWindows;
    FakeFreeSpace freeSpace;
    FakePlayback::Log played;
    QPointer<EditorWindow> window;
};

TEST_F(EditorWindowTest, MouseAndScrollBarWorkOnTheView)
{
    EditorDocument& d = open(std::vector<std::uint8_t>(1000000)).document();
    const WaveformMapping& m = d.mapping();
    ASSERT_EQ(child<WaveformView>("waveformView").width(), kViewWidth);
    EXPECT_FALSE(child<QScrollBar>("scrollBar").isEnabled());

    click("endButton");
    mouse(QEvent::MouseButtonPress, 800);
    EXPECT_EQ(m.selectionEnd(), 800000);
    click("startButton");
    mouse(QEvent::MouseButtonPress, 100);
    for (int x = 101; x <= 135; ++x) { // three steps of ten pixels
        mouse(QEvent::MouseMove, x);
    }
    EXPECT_EQ(m.selectionStart(), 130000);
    EXPECT_EQ(played.presses.size(), 5u);

    mouse(QEvent::MouseButtonDblClick, 500);
    EXPECT_EQ(m.viewStart(), 250000);
    EXPECT_EQ(m.viewEnd(), 750000);
    QScrollBar& bar = child<QScrollBar>("scrollBar");
    EXPECT_TRUE(bar.isEnabled());
    bar.triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(m.viewStart(), 300000);
    EXPECT_EQ(bar.value(), 9000);
    mouse(QEvent::MouseButtonPress, 10, Qt::RightButton);
    EXPECT_EQ(m.viewStart(), 50000);
    EXPECT_EQ(m.viewEnd(), 1000000);
}

TEST_F(EditorWindowTest, SaveAndCloseWritesTheShapedSelection)
{
    std::vector<std::int16_t> values(400000);
    for (std::size_t i = 0; i < values.size(); ++i) {
        values[i] = static_cast<std::int16_t>(static_cast<int>(i * 37 % 12000) - 6000);
    }
    const std::vector<std::uint8_t> sound = samples(values);
    settings.target = wavTarget("edited.wav");
    EditorDocument& d = open(sound).document();
    click("startButton");
    mouse(QEvent::MouseButtonPress, 200);
    child<QSlider>("fadeSlider").setValue(3); // 500 ms
    click("endButton");
    mouse(QEvent::MouseButtonPress, 700);
    child<QSlider>("fadeSlider").setValue(2); // 50 ms
    click("amplifyButton");
    EXPECT_TRUE(settings.autoAmplify);

    const WaveformMapping& m = d.mapping();
    const std::int64_t start = m.selectionStart();
    const std::int64_t end = m.selectionEnd();
    const std::int32_t gain = amplificationNow(d.store(), start, end);
    ASSERT_GT(gain, 100);
    std::vector<std::uint8_t> expected = sound;
    FadeFilter(m.fadeInBytes(), m.fadeOutBytes(), start, end, gain)
        .apply(0, expected.data(), static_cast<std::int32_t>(expected.size()));
    expected = {expected.begin() + start, expected.begin() + end};

    click("saveAndCloseButton");
    ASSERT_TRUE(waitFor([this] {
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        return window.isNull() && openWindows.empty();
    }));
    EXPECT_TRUE(prompter.boxes.empty());
    EXPECT_EQ(settings.fadeIn, 500);
    EXPECT_EQ(settings.fadeOut, 50);
    EXPECT_EQ(readWav(targetPath("edited.wav")).data, expected);
}

} // namespace
} // namespace sorvella::test
