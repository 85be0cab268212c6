// The "Saving..." window over a real job, drawn offscreen.

#include "save/ui/SaveProgressWindow.h"
#include "core/OpenWindows.h"
#include "engine/RingStore.h"
#include "save/ui/StartSave.h"
#include "tests/save/RaisedBy.h"
#include "tests/save/SaveJobFixture.h"
#include "tests/save/ui/WidgetTest.h"
#include "tests/support/FakePrompter.h"
#include "tests/support/WaitFor.h"

#include <QApplication>
#include <QProgressBar>
#include <QPushButton>

namespace sorvella::test {
namespace {

class CountedOpenWindows : public OpenWindows {
public:
    void add(OpenWindow&) override { ++count; }
    void remove(OpenWindow&) override { --count; }
    int count = 0;
};

// Lets queued signals and deferred deletions through, as the main loop would.
void pumpEvents()
{
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

bool pumpUntil(const std::function<bool()>& condition)
{
    return waitFor([&] {
        pumpEvents();
        return condition();
    });
}

class SaveProgressWindowTest : public WidgetTest, public SaveJobFixture {
protected:
    QPointer<SaveProgressWindow> start(std::size_t bytes, const SaveTarget& target,
                                       QWidget* parent = nullptr)
    {
        auto store = storeWith(bytes);
        return startSave(services, store, parent, target, nullptr, 2);
    }

    FakePrompter prompter;
    CountedOpenWindows openWindows;
    SaveWindowServices services{environment, openWindows, prompter};
    std::shared_ptr<Gate> gate = std::make_shared<Gate>();
};

TEST_F(SaveProgressWindowTest, ShowsProgressAndClosesItselfWhenSaved)
{
    const QPointer<SaveProgressWindow> window = start(3 * kBlock, codecTarget("a.rec", gate));
    ASSERT_TRUE(window);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(openWindows.count, 1);
    auto* bar = window->findChild<QProgressBar*>();
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(bar->maximum(), 1000);
    // Held inside the codec at the first block.
    ASSERT_TRUE(pumpUntil([&] { return gate->held() && bar->value() == 333; }));
    EXPECT_EQ(window->windowTitle().toStdString(), "Saving: " + targetPath("a.rec"));

    gate->open();
    ASSERT_TRUE(pumpUntil([&] { return window.isNull(); }));
    EXPECT_EQ(openWindows.count, 0);
    EXPECT_TRUE(prompter.boxes.empty());
    EXPECT_EQ(fileBytes(targetPath("a.rec")), pattern(0, 3 * kBlock));
}

TEST_F(SaveProgressWindowTest, CancelDeletesTheFileAndClosesWithoutAMessage)
{
    const QPointer<SaveProgressWindow> window = start(3 * kBlock, codecTarget("c.rec", gate));
    ASSERT_TRUE(pumpUntil([&] { return gate->held(); }));
    window->findChild<QPushButton*>()->click();
    EXPECT_TRUE(window->isVisible()); // until the job has stopped
    gate->open();
    ASSERT_TRUE(pumpUntil([&] { return window.isNull(); }));
    EXPECT_TRUE(prompter.boxes.empty());
    EXPECT_TRUE(targetNames().empty());
    EXPECT_EQ(session.outstanding(), 0);
}

TEST_F(SaveProgressWindowTest, FailureIsShownUnderSavingFailed)
{
    targetFiles.setDiskFull(kWavHeader + 1000);
    const QPointer<SaveProgressWindow> window = start(kBlock, wavTarget("f.wav"));
    ASSERT_TRUE(pumpUntil([&] { return window.isNull(); }));
    ASSERT_EQ(prompter.boxes.size(), 1u);
    EXPECT_EQ(prompter.boxes[0].caption, "Saving failed...");
    EXPECT_EQ(prompter.boxes[0].text, "Disk full!\n\nThe sound saved until then is kept in \"" +
                                          targetPath("f (incomplete).wav") + "\".");
    EXPECT_EQ(openWindows.count, 0);
}

TEST_F(SaveProgressWindowTest, TargetThatCannotBeCreatedOpensNoWindow)
{
    auto store = storeWith(1000);
    SaveTarget target = wavTarget("missing/f.wav");
    const RecException e =
        raisedBy([&] { startSave(services, store, nullptr, target, nullptr, 0); });
    EXPECT_EQ(e.kind(), RecException::OpenFailure);
    EXPECT_EQ(e.message(), "Cannot open targetfile: " + target.fileName);
    EXPECT_NE(store, nullptr);
    EXPECT_TRUE(QApplication::topLevelWidgets().isEmpty());
    EXPECT_EQ(openWindows.count, 0);
}

TEST_F(SaveProgressWindowTest, StaysHiddenUnderAHiddenParent)
{
    QWidget hiddenParent;
    const QPointer<SaveProgressWindow> window = start(kBlock, wavTarget("h.wav"), &hiddenParent);
    EXPECT_FALSE(window->isVisible());
    ASSERT_TRUE(pumpUntil([&] { return window.isNull(); }));
    EXPECT_EQ(readWav(targetPath("h.wav")).data, pattern(0, kBlock));
}

// As when the main window closes while a save waits for the codec.
TEST_F(SaveProgressWindowTest, ClosingTheWindowCancelsTheJob)
{
    ASSERT_TRUE(environment.claimCodec());
    const QPointer<SaveProgressWindow> window = start(kBlock, codecTarget("w.rec", gate));
    ASSERT_TRUE(pumpUntil([&] { return window->windowTitle().startsWith("(Saving: "); }));
    window->close();
    EXPECT_TRUE(window->isVisible());
    ASSERT_TRUE(pumpUntil([&] { return window.isNull(); }));
    environment.releaseCodec();
    EXPECT_TRUE(targetNames().empty());

    ASSERT_TRUE(environment.claimCodec());
    const QPointer<SaveProgressWindow> closed = start(kBlock, codecTarget("x.rec", gate));
    closed->closeWindow();
    EXPECT_TRUE(closed.isNull());
    EXPECT_EQ(openWindows.count, 0);
    environment.releaseCodec();
    EXPECT_TRUE(targetNames().empty());
    EXPECT_EQ(session.outstanding(), 0);
}

} // namespace
} // namespace sorvella::test
