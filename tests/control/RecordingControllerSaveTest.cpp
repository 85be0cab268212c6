// Saving what the controller holds: Quick Save in its three modes, the
// automatic save or edit after a set time with its follow-ups, and Edit and
// Save. The files are real WAV files written by real save jobs.

#include "tests/control/ControllerFixture.h"
#include "tests/support/CounterRun.h"

#include <QDialog>

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <functional>

namespace sorvella {
namespace {

using test::ControllerFixture;
using test::readWav;
using Answer = Prompter::Answer;

enum QuickSaveMode { StopRecording = 0, RestartRecording = 1, ContinueRecording = 2 };
enum Follow {
    CloseApplication = 0,
    EnterIdle = 1,
    RestartContinuous = 2,
    RestartIncremented = 3,
    LoopMode = 4
};

class RecordingControllerSaveTest : public ControllerFixture, public ::testing::Test {
protected:
    RecordingControllerSaveTest() { useWholeSecondBuffers(); }

    // The file is a valid WAV holding `seconds` of the counter from second
    // `from` of the signal on.
    ::testing::AssertionResult holdsSeconds(const std::filesystem::path& file, std::int64_t from,
                                            std::int64_t seconds)
    {
        const test::WavContent wav = readWav(file);
        if (!wav.valid()) {
            return ::testing::AssertionFailure() << file << " is no valid WAV file";
        }
        if (static_cast<std::int64_t>(wav.data.size()) != seconds * bytesPerSecond()) {
            return ::testing::AssertionFailure()
                   << file << " holds " << wav.data.size() << " bytes, not " << seconds << " s";
        }
        return test::isCounterRun(wav.data,
                                  static_cast<std::uint64_t>(from) * settings.format.samplesPerSec);
    }

    // Continuous recording with an automatic save after `seconds`.
    void autoSave(std::int32_t action, std::int32_t seconds, std::int32_t follow)
    {
        settings.autoSaveAction = action;
        settings.autoSaveTime = seconds;
        settings.autoSaveFollow = follow;
    }

    void startContinuous(EditorOpener* editor = nullptr)
    {
        make(editor);
        controller->setContinuousMode(true);
        controller->onTimer();
    }
};

// "continue recording (share data)" keeps the recording and its store;
// "stop recording" ends it. Either way the file holds what was held.
TEST_F(RecordingControllerSaveTest, QuickSaveContinuingOrStopping)
{
    startRecording();
    ASSERT_TRUE(record(3));
    controller->quickSave(true);
    ASSERT_TRUE(savesFinished());
    EXPECT_TRUE(holdsSeconds(targetFile(1), 0, 3));
    ASSERT_TRUE(controller->hasRecorder());
    EXPECT_EQ(waveIn.openCount(), 1);
    EXPECT_EQ(controller->recorder()->heldBytes(), 3 * bytesPerSecond());

    settings.quickSaveMode = StopRecording;
    ASSERT_TRUE(record(1));
    controller->quickSave(true);
    EXPECT_FALSE(controller->hasRecorder());
    ASSERT_TRUE(savesFinished());
    EXPECT_TRUE(holdsSeconds(targetFile(2), 0, 4));
    EXPECT_EQ(view.windowIcon, StateIcon::Idle);
}

// The disk stalls while the device goes on filling buffers. Quick Save that
// stops or restarts the recording must save every buffer the device filled,
// up to the last complete one, not only what reached the store in time.
class QuickSaveAfterAStall : public RecordingControllerSaveTest,
                             public ::testing::WithParamInterface<std::int32_t> {};

TEST_P(QuickSaveAfterAStall, SavesEveryBufferTheDeviceFilled)
{
    settings.quickSaveMode = GetParam();
    settings.bufferSizeTotal = 65536; // two seconds of buffers can wait for the disk
    startRecording();
    ASSERT_TRUE(record(1));

    files.holdWrites(std::chrono::milliseconds(500));
    signal.step(settings.format.samplesPerSec);
    ASSERT_TRUE(test::waitFor(
        [&] { return signal.framesDelivered() == 2u * settings.format.samplesPerSec; }));
    controller->quickSave(true);

    ASSERT_TRUE(savesFinished());
    EXPECT_TRUE(holdsSeconds(targetFile(1), 0, 2));
}

INSTANTIATE_TEST_SUITE_P(Modes, QuickSaveAfterAStall,
                         ::testing::Values(StopRecording, RestartRecording));

// The saved file keeps what was held; the new recording starts empty and
// goes on with the sound that follows.
TEST_F(RecordingControllerSaveTest, QuickSaveRestartingFlushesTheBuffer)
{
    settings.quickSaveMode = RestartRecording;
    startRecording();
    ASSERT_TRUE(record(3));

    controller->quickSave(true);
    ASSERT_TRUE(controller->hasRecorder());
    EXPECT_EQ(waveIn.openCount(), 2);
    EXPECT_EQ(controller->recorder()->heldBytes(), 0);

    ASSERT_TRUE(record(2));
    ASSERT_TRUE(savesFinished());
    EXPECT_TRUE(holdsSeconds(targetFile(1), 0, 3));
    controller->quickSave(true);
    ASSERT_TRUE(savesFinished());
    EXPECT_TRUE(holdsSeconds(targetFile(2), 3, 2));
}

// A target that cannot be created is offered again with the same snapshot.
TEST_F(RecordingControllerSaveTest, QuickSaveRetriesATargetThatCannotBeCreated)
{
    const std::filesystem::path folder = targets.path() / "later";
    settings.target.fileName = (folder / "take.wav").string();
    startRecording();
    ASSERT_TRUE(record(2));
    prompter.answers = {Answer::Retry};
    prompter.duringAsk = [&](const auto&) { std::filesystem::create_directory(folder); };

    controller->quickSave(true);
    ASSERT_EQ(prompter.boxes.size(), 1u);
    EXPECT_EQ(prompter.boxes[0].caption, "Error while saving...");
    EXPECT_EQ(prompter.boxes[0].buttons, Prompter::Buttons::RetryCancel);
    EXPECT_EQ(prompter.boxes[0].text, "Cannot open targetfile: " + (folder / "take.wav").string());
    ASSERT_TRUE(savesFinished());
    EXPECT_TRUE(holdsSeconds(folder / "take.wav", 0, 2));
}

// Before the program closes: recording stops and the call returns only when
// the save has finished.
TEST_F(RecordingControllerSaveTest, QuickSaveBeforeClosingWaitsForTheSave)
{
    startRecording();
    ASSERT_TRUE(record(3));

    controller->quickSave(false);
    EXPECT_TRUE(openWindows.empty());
    EXPECT_FALSE(controller->hasRecorder());
    EXPECT_TRUE(view.windowEnabled);
    EXPECT_TRUE(holdsSeconds(targetFile(1), 0, 3));
}

// "Save after:" 10 s with "restart continuous mode": a file for every 10 s
// of recorded sound, each recording starting empty, nothing lost between.
TEST_F(RecordingControllerSaveTest, SaveAfterTenSecondsSavesEveryTenSeconds)
{
    autoSave(2, 10, RestartContinuous);
    startContinuous();

    ASSERT_TRUE(record(9));
    controller->onTimer();
    EXPECT_TRUE(openWindows.empty());

    for (int n = 1; n <= 3; ++n) {
        ASSERT_TRUE(record(n == 1 ? 1 : 10));
        controller->onTimer();
        ASSERT_TRUE(controller->hasRecorder());
        EXPECT_TRUE(controller->continuousMode());
        EXPECT_EQ(controller->recorder()->heldBytes(), 0);
        EXPECT_EQ(settings.autoSaveAction, 2);
    }
    ASSERT_TRUE(savesFinished());
    EXPECT_TRUE(holdsSeconds(targetFile(1), 0, 10));
    EXPECT_TRUE(holdsSeconds(targetFile(2), 10, 10));
    EXPECT_TRUE(holdsSeconds(targetFile(3), 20, 10));
    EXPECT_FALSE(std::filesystem::exists(targetFile(4)));
}

TEST_F(RecordingControllerSaveTest, AutomaticSaveFollowUps)
{
    autoSave(2, 2, EnterIdle);
    startContinuous();
    ASSERT_TRUE(record(2));
    controller->onTimer();
    EXPECT_FALSE(controller->hasRecorder());
    EXPECT_EQ(settings.autoSaveAction, 0);

    autoSave(2, 2, LoopMode);
    view.checked[RecordingButton::Continuous] = true;
    controller->onContinuousButton();
    ASSERT_TRUE(record(2));
    controller->onTimer();
    EXPECT_TRUE(controller->hasRecorder());
    EXPECT_FALSE(controller->continuousMode());
    EXPECT_EQ(settings.autoSaveAction, 0);
    EXPECT_EQ(controller->recorder()->heldBytes(), 2 * bytesPerSecond());

    ASSERT_TRUE(savesFinished());
    EXPECT_TRUE(holdsSeconds(targetFile(1), 0, 2));
    EXPECT_TRUE(holdsSeconds(targetFile(2), 2, 2));
}

// "restart cont. mode and inc. filename": the next file gets the next name.
TEST_F(RecordingControllerSaveTest, RestartWithIncrementedNameNumbersTheFiles)
{
    settings.target.fileName = (targets.path() / "take.wav").string();
    autoSave(2, 2, RestartIncremented);
    startContinuous();
    ASSERT_TRUE(record(2));
    controller->onTimer();
    EXPECT_EQ(settings.target.fileName, (targets.path() / "take (1).wav").string());
    ASSERT_TRUE(record(2));
    controller->onTimer();

    ASSERT_TRUE(savesFinished());
    EXPECT_TRUE(holdsSeconds(targets.path() / "take.wav", 0, 2));
    EXPECT_TRUE(holdsSeconds(targets.path() / "take (1).wav", 2, 2));
}

// "close application" follows a save: with "Save after:" the save
// finishes, then the program closes. An action that is neither "Save
// after:" nor "Edit after:" saves nothing, so nothing may close either.
class CloseApplicationAfter : public RecordingControllerSaveTest,
                              public ::testing::WithParamInterface<std::int32_t> {};

TEST_P(CloseApplicationAfter, OnlyASaveClosesTheProgram)
{
    const bool saves = GetParam() == 2;
    autoSave(GetParam(), 3, CloseApplication);
    startContinuous();
    ASSERT_TRUE(record(3));

    controller->onTimer();
    EXPECT_EQ(quits, saves ? 1 : 0);
    EXPECT_EQ(controller->hasRecorder(), !saves);
    EXPECT_EQ(std::filesystem::exists(session.sessionDir()), !saves);
    if (saves) {
        EXPECT_TRUE(holdsSeconds(targetFile(1), 0, 3));
    }
}

INSTANTIATE_TEST_SUITE_P(Actions, CloseApplicationAfter, ::testing::Values(2, 4, 7));

// A tick inside a modal box's own event loop (a save window's "Saving
// failed..." box) leaves the save with "close application" to a later tick:
// the close's wait for windows could wait on that very box.
TEST_F(RecordingControllerSaveTest, SaveThenCloseWaitsUntilNoModalBoxIsOpen)
{
    autoSave(2, 3, CloseApplication);
    startContinuous();
    ASSERT_TRUE(record(3));
    {
        QDialog box;
        box.setWindowModality(Qt::ApplicationModal);
        box.show();
        controller->onTimer();
        EXPECT_EQ(quits, 0);
        EXPECT_TRUE(controller->hasRecorder());
    }
    controller->onTimer();
    EXPECT_EQ(quits, 1);
    EXPECT_TRUE(holdsSeconds(targetFile(1), 0, 3));
}

// Without an editor "Edit after:" neither stops nor throws away the
// recording; unattended, nobody could see an editor: the sound is saved as
// "Save after:" would, and the run ends instead of waiting for ever.
TEST_F(RecordingControllerSaveTest, EditAfterWithoutAnEditorKeepsOrSavesTheRecording)
{
    autoSave(3, 2, EnterIdle);
    startContinuous();
    ASSERT_TRUE(record(3));
    controller->onTimer();
    EXPECT_TRUE(controller->hasRecorder());
    EXPECT_EQ(settings.autoSaveAction, 3);
    EXPECT_EQ(quits, 0);

    controller->setUnattended(true);
    controller->onTimer();
    EXPECT_EQ(quits, 1);
    EXPECT_FALSE(controller->hasRecorder());
    EXPECT_TRUE(holdsSeconds(targetFile(1), 0, 3));
    ASSERT_EQ(prompter.boxes.size(), 1u);
    EXPECT_TRUE(prompter.boxes[0].text.starts_with("Edit after:"));
}

TEST_F(RecordingControllerSaveTest, EditAndSaveModes)
{
    test::FakeEditor editor;
    startRecording(&editor);
    ASSERT_TRUE(record(1));
    view.minimised = true;

    controller->editAndSave(); // continue recording: a snapshot
    EXPECT_FALSE(view.minimised);
    ASSERT_EQ(editor.stores.size(), 1u);
    EXPECT_EQ(editor.stores[0]->heldBytes(), bytesPerSecond());
    ASSERT_TRUE(controller->hasRecorder());
    EXPECT_EQ(waveIn.openCount(), 1);

    settings.editSaveMode = RestartRecording;
    controller->editAndSave();
    ASSERT_EQ(editor.stores.size(), 2u);
    EXPECT_EQ(editor.stores[1]->heldBytes(), bytesPerSecond());
    ASSERT_TRUE(controller->hasRecorder());
    EXPECT_EQ(waveIn.openCount(), 2);

    controller->editAndSave(); // nothing recorded since the restart
    EXPECT_EQ(editor.stores.size(), 2u);
    ASSERT_EQ(prompter.boxes.size(), 1u);
    EXPECT_EQ(prompter.boxes[0].text, "Error: Recorded Area is empty!");

    settings.editSaveMode = StopRecording;
    ASSERT_TRUE(record(1));
    controller->editAndSave();
    ASSERT_EQ(editor.stores.size(), 3u);
    EXPECT_EQ(editor.stores[2]->heldBytes(), bytesPerSecond());
    EXPECT_FALSE(controller->hasRecorder());
}

// ---- A full disk

// The temporary disk fills up: the recording pauses with a status line and a
// notice (once a run), never the "Error recording..." box, and goes on when
// space returns. "Save after:" still comes when the time is up, saving what
// is held, and tells that sound was lost.
TEST_F(RecordingControllerSaveTest, FullDiskPausesAndTheAutomaticSaveComesOnTime)
{
    autoSave(2, 6, EnterIdle);
    startContinuous();
    ASSERT_TRUE(record(1));
    const std::string& line = view.texts.spaceHealth;
    // A buffer now and then: a paused recording tries the store once a second.
    auto nextBuffer = std::chrono::steady_clock::now();
    const auto tickUntil = [&](const std::function<bool()>& done) {
        return test::waitFor([&] {
            if (std::chrono::steady_clock::now() >= nextBuffer) {
                signal.step(static_cast<std::uint64_t>(bytesPerSecond() / 64 / 2));
                nextBuffer += std::chrono::milliseconds(50);
            }
            controller->onTimer();
            return done();
        });
    };

    files.setDiskFull(0);
    ASSERT_TRUE(tickUntil([&] { return line == SpaceGuard::kDiskFullText; }));
    EXPECT_EQ(controller->recorder()->heldBytes(), bytesPerSecond());
    files.spaceIsBack();
    ASSERT_TRUE(tickUntil([&] { return line.empty(); }));
    EXPECT_GT(controller->recorder()->heldBytes(), bytesPerSecond());

    files.setDiskFull(0);
    ASSERT_TRUE(tickUntil([&] { return line == SpaceGuard::kDiskFullText; }));
    const std::int64_t held = controller->recorder()->heldBytes();
    signal.step(6 * settings.format.samplesPerSec);
    ASSERT_TRUE(tickUntil([&] { return !controller->hasRecorder(); }));
    ASSERT_TRUE(savesFinished());
    EXPECT_EQ(readWav(targetFile(1)).data.size(), static_cast<std::size_t>(held));
    EXPECT_EQ(view.notices,
              std::vector<std::string>{std::string("Free space: ") + SpaceGuard::kDiskFullText});
    EXPECT_TRUE(prompter.boxes.empty());
    EXPECT_EQ(controller->outcome().exitCode(), RunOutcome::SoundLost);
}

// Quick Save asks "Save anyway?" with both figures when the target's disk
// has too little room for the file; an unattended run never asks.
struct RoomCase {
    bool unattended;
    Answer answer;
    bool asked;
    bool saved;

    friend void PrintTo(const RoomCase& c, std::ostream* os)
    {
        *os << (c.unattended ? "unattended" : "answer ")
            << (c.answer == Answer::Yes ? "Yes" : "No");
    }
};

class QuickSaveWithoutRoom : public RecordingControllerSaveTest,
                             public ::testing::WithParamInterface<RoomCase> {};

TEST_P(QuickSaveWithoutRoom, AsksWithBothFiguresUnlessUnattended)
{
    const RoomCase c = GetParam();
    settings.quickSaveMode = ContinueRecording;
    make();
    controller->setUnattended(c.unattended);
    controller->onTimer();
    ASSERT_TRUE(record(2));
    freeSpace.setAvailable(40000);
    prompter.answers = {c.answer};

    controller->userQuickSave();
    ASSERT_TRUE(savesFinished());

    const auto asked = prompter.withCaption("Save anyway?");
    ASSERT_EQ(asked.size(), c.asked ? 1u : 0u);
    if (c.asked) {
        // 2 s of 32 KiB and the 44-byte header; 40000 bytes free.
        EXPECT_EQ(asked[0].text, "The file will need about 65 KB, but only 39 KB are free for \"" +
                                     targetFile(1).string() + "\".\n\nSave anyway?");
        EXPECT_EQ(asked[0].buttons, Prompter::Buttons::YesNo);
    }
    EXPECT_EQ(std::filesystem::exists(targetFile(1)), c.saved);
}

INSTANTIATE_TEST_SUITE_P(Cases, QuickSaveWithoutRoom,
                         ::testing::Values(RoomCase{false, Answer::No, true, false},
                                           RoomCase{false, Answer::Yes, true, true},
                                           RoomCase{true, Answer::No, false, true}));

} // namespace
} // namespace sorvella
