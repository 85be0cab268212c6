// Closing the program: the question about open windows, the save on close,
// and the forced close that asks nothing but lets running saves finish.

#include "tests/control/ControllerFixture.h"
#include "tests/save/RecordingCodec.h"

#include <QTimer>

#include <gtest/gtest.h>

#include <filesystem>

namespace sorvella {
namespace {

using test::ControllerFixture;
using Answer = Prompter::Answer;

// An editor-like window: it stays until it is closed.
class StayingWindow : public OpenWindow {
public:
    explicit StayingWindow(OpenWindowList& list) : m_list(list) { m_list.add(*this); }
    ~StayingWindow() override { m_list.remove(*this); }
    void showWindow() override { ++shown; }
    void closeWindow() override
    {
        closed = true;
        m_list.remove(*this);
    }
    bool closesByItself() const override { return false; }

    int shown = 0;
    bool closed = false;

private:
    OpenWindowList& m_list;
};

// An editor window as Qt closes it: it goes, with its sound, only with the
// events that run after the close.
class DeferredEditorWindow : public QObject, public OpenWindow {
public:
    DeferredEditorWindow(OpenWindowList& list, std::unique_ptr<RingStore> store)
        : m_list(list), m_store(std::move(store))
    {
        m_list.add(*this);
    }
    ~DeferredEditorWindow() override { m_list.remove(*this); }
    void showWindow() override {}
    void closeWindow() override { deleteLater(); }
    bool closesByItself() const override { return false; }

private:
    OpenWindowList& m_list;
    std::unique_ptr<RingStore> m_store;
};

class DeferredEditors : public EditorOpener {
public:
    explicit DeferredEditors(OpenWindowList& list) : m_list(list) {}
    void openEditor(std::unique_ptr<RingStore> store) override
    {
        new DeferredEditorWindow(m_list, std::move(store)); // deletes itself when closed
    }

private:
    OpenWindowList& m_list;
};

class ApplicationCloserTest : public ControllerFixture, public ::testing::Test {
protected:
    ApplicationCloserTest() { useWholeSecondBuffers(); }

    // A save that waits for the codec this test holds: it runs until the
    // test lets it go on.
    void startHeldSave()
    {
        auto codec = std::make_shared<test::RecordingCodec>();
        codec->blockSize = 4096;
        settings.target.codec = codec;
        settings.target.formatNumber = 1;
        settings.target.fileName = heldSaveFile().string();
        ASSERT_TRUE(jobs.claimCodec());
        controller->quickSave(true);
        ASSERT_FALSE(openWindows.empty());
    }

    // The codec place goes back `afterMs` into the wait that follows.
    void releaseCodecLater(int afterMs)
    {
        QTimer::singleShot(afterMs, [this] { jobs.releaseCodec(); });
    }

    std::filesystem::path heldSaveFile() const { return targets.path() / "held.rec"; }
    std::int64_t fileSize(const std::filesystem::path& path) const
    {
        std::error_code error;
        const auto size = std::filesystem::file_size(path, error);
        return error ? -1 : static_cast<std::int64_t>(size);
    }
};

class ClosingWithAnEditor : public ApplicationCloserTest,
                            public ::testing::WithParamInterface<bool> {};

TEST_P(ClosingWithAnEditor, DeletesItsSoundBeforeTheSessionEnds)
{
    DeferredEditors editors(openWindows);
    startRecording(&editors);
    ASSERT_TRUE(record(1));
    controller->editAndSave();
    ASSERT_FALSE(openWindows.empty());
    const std::string sessionDir = session.sessionDir();
    prompter.answers = {Answer::Yes}; // close although an editor is open

    EXPECT_TRUE(closer->closeApplication(GetParam()));
    EXPECT_TRUE(openWindows.empty());
    EXPECT_FALSE(std::filesystem::exists(sessionDir));
    for (const auto& box : prompter.boxes) {
        EXPECT_EQ(box.text.find("Temp Files were not deleted"), std::string::npos) << box.text;
    }
}

INSTANTIATE_TEST_SUITE_P(ForcedOrAsked, ClosingWithAnEditor, ::testing::Bool());

TEST_F(ApplicationCloserTest, CloseWithoutWindowsEndsEverything)
{
    startRecording();
    ASSERT_TRUE(record(1));
    const std::string sessionDir = session.sessionDir();

    EXPECT_TRUE(closer->closeApplication(false));
    EXPECT_EQ(quits, 1);
    EXPECT_TRUE(prompter.boxes.empty());
    EXPECT_FALSE(controller->hasRecorder());
    EXPECT_EQ(view.trayCalls.back(), "remove");
    EXPECT_FALSE(std::filesystem::exists(sessionDir));

    settings.startRetryTicks = 5; // no tick may start anything now
    controller->onTimer();
    EXPECT_EQ(waveIn.openCount(), 1);
}

// A save runs: "No" keeps it and the recording running; it then finishes.
TEST_F(ApplicationCloserTest, NoKeepsTheRunningSaveAndTheRecording)
{
    startRecording();
    ASSERT_TRUE(record(2));
    startHeldSave();
    prompter.answers = {Answer::No};

    EXPECT_FALSE(closer->closeApplication(false));
    ASSERT_EQ(prompter.boxes.size(), 1u);
    EXPECT_EQ(prompter.boxes[0].caption, "Closing Sorvella");
    EXPECT_EQ(prompter.boxes[0].text, "There are open Sorvella windows. If you close Sorvella, all "
                                      "data in these windows will be lost. Close Sorvella?");
    EXPECT_EQ(prompter.boxes[0].buttons, Prompter::Buttons::YesNo);
    EXPECT_EQ(quits, 0);
    EXPECT_TRUE(controller->hasRecorder());

    jobs.releaseCodec();
    ASSERT_TRUE(savesFinished());
    EXPECT_EQ(fileSize(heldSaveFile()), 2 * bytesPerSecond());
    controller->onTimer();
    EXPECT_TRUE(controller->hasRecorder());
}

// "Yes" closes the windows: the running save is cancelled and its file goes.
TEST_F(ApplicationCloserTest, YesClosesTheWindows)
{
    startRecording();
    ASSERT_TRUE(record(2));
    StayingWindow editor(openWindows);
    startHeldSave();
    prompter.answers = {Answer::Yes};

    EXPECT_TRUE(closer->closeApplication(false));
    EXPECT_TRUE(editor.closed);
    EXPECT_TRUE(openWindows.empty());
    EXPECT_EQ(quits, 1);
    EXPECT_FALSE(std::filesystem::exists(heldSaveFile()));
    jobs.releaseCodec();
}

// A logout or a kill asks nothing: editors close, but a running save finishes
// before the program ends, and its file is complete.
TEST_F(ApplicationCloserTest, ForcedCloseLetsRunningSavesFinish)
{
    startRecording();
    ASSERT_TRUE(record(3));
    StayingWindow editor(openWindows);
    startHeldSave();
    releaseCodecLater(200);

    EXPECT_TRUE(closer->closeApplication(true));
    EXPECT_TRUE(prompter.boxes.empty());
    EXPECT_TRUE(editor.closed);
    EXPECT_TRUE(openWindows.empty());
    EXPECT_EQ(fileSize(heldSaveFile()), 3 * bytesPerSecond());
    EXPECT_EQ(quits, 1);
}

// "Save on application close" in continuous mode: the held sound is saved,
// and the close waits for that save.
TEST_F(ApplicationCloserTest, ForcedCloseSavesOnCloseFirst)
{
    settings.autoSaveAction = 1;
    make();
    controller->setContinuousMode(true);
    controller->onTimer();
    ASSERT_TRUE(record(3));

    EXPECT_TRUE(closer->closeApplication(true));
    EXPECT_EQ(settings.autoSaveAction, 0);
    EXPECT_TRUE(openWindows.empty());
    const test::WavContent wav = test::readWav(targetFile(1));
    EXPECT_TRUE(wav.valid());
    EXPECT_EQ(static_cast<std::int64_t>(wav.data.size()), 3 * bytesPerSecond());
    EXPECT_EQ(quits, 1);
}

} // namespace
} // namespace sorvella
