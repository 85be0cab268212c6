// The recording controller's timer tick: starting and retrying the input
// device, recording errors, the three-way recording switch, the keep limit
// and the status texts and meters it feeds.

#include "control/TimeText.h"
#include "tests/control/ControllerFixture.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace sorvella {
namespace {

using test::ControllerFixture;
using Answer = Prompter::Answer;

constexpr const char* kStartRecording = "Start Recording";
constexpr const char* kErrorRecording = "Error recording...";

class RecordingControllerTest : public ControllerFixture, public ::testing::Test {
protected:
    void ticks(int count)
    {
        for (int i = 0; i < count; ++i) {
            controller->onTimer();
        }
    }

    void press(RecordingButton button, bool checked)
    {
        view.checked[button] = checked;
        if (button == RecordingButton::Loop) {
            controller->onLoopButton();
        } else {
            controller->onContinuousButton();
        }
    }

    bool loopChecked() const { return view.checked.at(RecordingButton::Loop); }
    bool continuousChecked() const { return view.checked.at(RecordingButton::Continuous); }
};

TEST_F(RecordingControllerTest, FirstTickStartsLoopRecording)
{
    make();
    EXPECT_FALSE(controller->hasRecorder());

    controller->onTimer();

    ASSERT_TRUE(controller->hasRecorder());
    EXPECT_EQ(waveIn.openCount(), 1);
    EXPECT_EQ(settings.startRetryTicks, 0);
    EXPECT_TRUE(loopChecked());
    EXPECT_FALSE(continuousChecked());
    EXPECT_EQ(retries.opened, 0);
    EXPECT_TRUE(prompter.boxes.empty());
    EXPECT_EQ(view.windowIcon, StateIcon::Loop);
}

// A busy device: the retry dialog for 60 ticks (18 s), then the question;
// Cancel leaves the program idle and usable.
TEST_F(RecordingControllerTest, BusyDeviceRetriesSixtyTicksThenAsks)
{
    waveIn.failOpens(true);
    make();
    prompter.answers = {Answer::Cancel};

    ticks(59);
    EXPECT_EQ(retries.open, 1);
    EXPECT_EQ(retries.opened, 1);
    EXPECT_EQ(retries.reasons, std::vector<std::string>{"Simulated device is busy"}); // once
    EXPECT_FALSE(view.windowEnabled);
    EXPECT_TRUE(prompter.boxes.empty());
    EXPECT_EQ(waveIn.openCount(), 59);
    EXPECT_TRUE(std::is_sorted(retries.shown.rbegin(), retries.shown.rend()));

    controller->onTimer();
    EXPECT_EQ(retries.open, 0);
    EXPECT_EQ(retries.shown.back(), 0);
    EXPECT_TRUE(view.windowEnabled);
    ASSERT_EQ(prompter.boxes.size(), 1u);
    EXPECT_EQ(prompter.boxes[0].caption, kStartRecording);
    EXPECT_EQ(prompter.boxes[0].text, "Start recording failed: device busy. Maybe another program "
                                      "uses the standard sound device...\n\n"
                                      "Simulated device is busy");
    EXPECT_EQ(prompter.boxes[0].buttons, Prompter::Buttons::RetryCancel);
    EXPECT_FALSE(controller->hasRecorder());

    ticks(20);
    EXPECT_EQ(prompter.boxes.size(), 1u);
    EXPECT_EQ(retries.opened, 1);
    EXPECT_EQ(waveIn.openCount(), 59);

    waveIn.failOpens(false);
    press(RecordingButton::Loop, true);
    EXPECT_TRUE(controller->hasRecorder());
    EXPECT_TRUE(loopChecked());
}

// Retry after the question tries again at once, then for 10 more ticks.
TEST_F(RecordingControllerTest, RetryAfterTheQuestionRetriesTenTicks)
{
    waveIn.failOpens(true);
    make();
    prompter.answers = {Answer::Retry};
    ticks(60);
    EXPECT_EQ(settings.startRetryTicks, RecordingController::kRestartRetryTicks);
    EXPECT_EQ(retries.open, 1);
    EXPECT_EQ(retries.opened, 2);

    waveIn.failOpens(false);
    controller->onTimer();
    EXPECT_TRUE(controller->hasRecorder());
    EXPECT_EQ(retries.open, 0);
    EXPECT_TRUE(view.windowEnabled);
    EXPECT_EQ(prompter.boxes.size(), 1u);
}

// Without retries ("-x") the first tick still starts recording, once.
TEST_F(RecordingControllerTest, WithoutRetriesTheFirstTickTriesOnce)
{
    settings.startRetryTicks = 0;
    startRecording();
    EXPECT_TRUE(controller->hasRecorder());

    controller.reset();
    waveIn.failOpens(true);
    startRecording();
    ticks(70);
    EXPECT_FALSE(controller->hasRecorder());
    EXPECT_EQ(waveIn.openCount(), 2);
    EXPECT_EQ(retries.opened, 0);
    EXPECT_TRUE(prompter.boxes.empty());
}

TEST_F(RecordingControllerTest, CancelInTheRetryDialogEndsRetriesWithoutQuestion)
{
    waveIn.failOpens(true);
    make();
    ticks(5);
    retries.cancel = true;

    controller->onTimer();
    EXPECT_EQ(retries.open, 0);
    EXPECT_EQ(settings.startRetryTicks, 0);
    EXPECT_TRUE(view.windowEnabled);

    const int opens = waveIn.openCount();
    ticks(70);
    EXPECT_TRUE(prompter.boxes.empty());
    EXPECT_EQ(waveIn.openCount(), opens);
    EXPECT_FALSE(controller->hasRecorder());
}

// A block file that cannot be created while recording: "Error recording..."
// once while it is pending, even when ticks come in while the box is open;
// Retry goes on, Cancel stops after asking whether to keep what is held (No:
// nothing saved).
TEST_F(RecordingControllerTest, RecordingErrorIsShownOnceWhilePending)
{
    useWholeSecondBuffers();
    startRecording();
    ASSERT_TRUE(record(1));
    files.failCreates(true);

    int ticksDuringBox = 0;
    prompter.duringAsk = [&](const auto&) {
        ++ticksDuringBox;
        ticks(3);
    };
    prompter.answers = {Answer::Retry, Answer::Cancel, Answer::No};
    // The files the session made ahead are used up first.
    const auto boxesAfterTicks = [&](std::size_t count) {
        return test::waitFor([&] {
            signal.step(settings.format.samplesPerSec);
            controller->onTimer();
            return prompter.boxes.size() >= count;
        });
    };
    ASSERT_TRUE(boxesAfterTicks(1));
    ASSERT_EQ(prompter.withCaption(kErrorRecording).size(), 1u);
    EXPECT_EQ(prompter.boxes[0].text, "Cannot create temp file...");
    EXPECT_EQ(prompter.boxes[0].buttons, Prompter::Buttons::RetryCancel);
    EXPECT_TRUE(controller->hasRecorder());
    const std::int64_t held = controller->recorder()->recordedSeconds();

    ASSERT_TRUE(boxesAfterTicks(2));
    ASSERT_EQ(prompter.withCaption(kErrorRecording).size(), 3u);
    EXPECT_EQ(prompter.boxes[2].text,
              "Save the " + timeText(held, TimeStyle::Short) + " recorded so far?");
    EXPECT_EQ(prompter.boxes[2].buttons, Prompter::Buttons::YesNo);
    EXPECT_FALSE(controller->hasRecorder());
    EXPECT_FALSE(loopChecked());
    EXPECT_TRUE(std::filesystem::is_empty(targets.path()));
    EXPECT_EQ(ticksDuringBox, 3);
}

// The free space of the temporary directory against what the loop will keep
// (600 s of 32 KiB): a status line while it is short, one box a run with
// both figures, a check every 30 s; a failing query is no shortage.
TEST_F(RecordingControllerTest, FreeSpaceGuardWarnsOnceAndRechecks)
{
    useWholeSecondBuffers();
    freeSpace.setAvailable(5 * 1024 * 1024);
    startRecording();
    const std::string& line = view.texts.spaceHealth;
    const std::string shortage = "Low disk space: 5 MB free, the recording needs 19 MB";
    ticks(1);
    EXPECT_EQ(line, shortage);
    ASSERT_EQ(prompter.boxes.size(), 1u);
    EXPECT_EQ(prompter.boxes[0].text, "Only 5 MB are free for the recording in \"" +
                                          session.sessionDir() +
                                          "\"; it needs 19 MB. When the disk is full, "
                                          "recording pauses.");
    EXPECT_EQ(prompter.boxes[0].caption, SpaceGuard::kCaption);

    freeSpace.failQueries();
    clock.time += SpaceGuard::kCheckSeconds - 1;
    ticks(3);
    EXPECT_EQ(line, shortage);
    clock.time += 1;
    ticks(1);
    EXPECT_EQ(line, "");

    freeSpace.setAvailable(5 * 1024 * 1024);
    clock.time += SpaceGuard::kCheckSeconds;
    ticks(1);
    EXPECT_EQ(line, shortage);
    EXPECT_EQ(prompter.boxes.size(), 1u);
    EXPECT_TRUE(view.notices.empty());
}

// The two buttons are one switch: the other button changes the mode of the
// running recording, releasing the pressed one stops it.
TEST_F(RecordingControllerTest, LoopAndContinuousButtonsFormOneSwitch)
{
    startRecording();
    EXPECT_EQ(controller->keepSeconds(), 600);

    press(RecordingButton::Continuous, true);
    EXPECT_EQ(waveIn.openCount(), 1);
    EXPECT_EQ(controller->keepSeconds(), -1);
    EXPECT_TRUE(continuousChecked());
    EXPECT_FALSE(loopChecked());
    EXPECT_EQ(view.windowIcon, StateIcon::Continuous);

    press(RecordingButton::Loop, true);
    EXPECT_EQ(waveIn.openCount(), 1);
    EXPECT_TRUE(controller->hasRecorder());
    EXPECT_EQ(controller->keepSeconds(), 600);

    press(RecordingButton::Loop, false);
    EXPECT_FALSE(controller->hasRecorder());
    EXPECT_FALSE(loopChecked());
    EXPECT_FALSE(continuousChecked());
    EXPECT_EQ(view.windowIcon, StateIcon::Idle);

    press(RecordingButton::Continuous, true);
    EXPECT_TRUE(controller->hasRecorder());
    EXPECT_TRUE(controller->continuousMode());
    EXPECT_EQ(waveIn.openCount(), 2);
}

TEST_F(RecordingControllerTest, KeepLimitAndLoopTimeTextFollowTheLoopMode)
{
    startRecording();
    EXPECT_EQ(view.texts.loopTime, "10 minutes");

    settings.loopMode = 1; // archive: interval - delay + overlap + 60
    settings.archiverInterval = 900;
    settings.archiverDelay = -120;
    settings.archiverOverlap = 30;
    controller->refreshStatus(true);
    EXPECT_EQ(controller->keepSeconds(), 1110);
    EXPECT_EQ(view.texts.loopTime, "18:30 minutes");

    settings.loopMode = 2; // vox drops what it does not save
    EXPECT_EQ(controller->keepSeconds(), -1);
    for (const std::int32_t unusable : {-1, 81, 1000, 1001}) {
        settings.voxProfile = unusable; // vox does nothing: the loop keeps the disk free
        EXPECT_EQ(controller->keepSeconds(), 600) << unusable;
    }

    settings.loopMode = 7;
    controller->refreshStatus(true);
    EXPECT_EQ(controller->keepSeconds(), -1);
    EXPECT_EQ(view.texts.loopTime, "--:--");

    controller->setContinuousMode(true);
    controller->refreshStatus(true);
    EXPECT_EQ(view.texts.loopTime, "None");
}

// A settings file may hold anything: a loop of less than a second still
// records a (one-second) loop, and the archive sum cannot overflow.
TEST_F(RecordingControllerTest, NonsensicalLimitsKeepOneSecond)
{
    settings.loopTime = -30;
    settings.archiverInterval = 0;
    settings.archiverOverlap = -100;
    useWholeSecondBuffers();
    startRecording();
    EXPECT_EQ(controller->keepSeconds(), 1);
    EXPECT_EQ(view.texts.loopTime, "1 second");
    ASSERT_TRUE(test::waitFor([&] {
        signal.step(settings.format.samplesPerSec);
        return controller->recorder()->store()->totalBytes() >= 100 * bytesPerSecond();
    }));
    EXPECT_LT(controller->recorder()->heldBytes(), 3 * RingStore::kBlockSize); // whole blocks go

    settings.loopMode = 1;
    EXPECT_EQ(controller->keepSeconds(), 1);
    settings.archiverInterval = 2'147'483'000;
    settings.archiverOverlap = 2'000;
    EXPECT_EQ(controller->keepSeconds(), 2'147'483'647);
}

TEST_F(RecordingControllerTest, StopAfterShowsTheTimeLeftToTheAutomaticSave)
{
    useWholeSecondBuffers();
    startRecording();
    controller->onTimer();
    EXPECT_EQ(view.texts.stopAfter, "(Infinite)");

    settings.autoSaveAction = 2;
    settings.autoSaveTime = 600;
    press(RecordingButton::Continuous, true);
    controller->onTimer();
    EXPECT_EQ(view.texts.stopAfter, "10 minutes");

    settings.autoSaveTime = 65;
    ASSERT_TRUE(record(4));
    controller->onTimer();
    EXPECT_EQ(view.texts.stopAfter, "1:01 minutes");
    EXPECT_EQ(view.texts.recordedTime, "0:04");

    press(RecordingButton::Loop, true);
    controller->onTimer();
    EXPECT_EQ(view.texts.stopAfter, "(1:01 minutes)");
}

// Peaks are halved onto the meters' 0..16384; a tick without new sound keeps
// what they show; idle meters are empty. Archive vox mode marks the trigger.
TEST_F(RecordingControllerTest, LevelMetersShowHalfThePeaks)
{
    useWholeSecondBuffers();
    startRecording();
    ASSERT_TRUE(record(1)); // the counter: samples 0 .. 16383
    controller->onTimer();
    EXPECT_EQ(view.meters[Meter::Left], (MeterReading{8191, -1, true}));
    EXPECT_EQ(view.meters[Meter::Right], (MeterReading{8191, -1, true}));

    view.meters.clear();
    controller->onTimer();
    EXPECT_TRUE(view.meters.empty());

    settings.loopMode = 2;
    ASSERT_TRUE(record(1));
    controller->onTimer();
    EXPECT_EQ(view.meters[Meter::Left].marker, 4096);

    press(RecordingButton::Loop, false);
    controller->onTimer();
    EXPECT_EQ(view.meters[Meter::Left].value, -1);
}

} // namespace
} // namespace sorvella
