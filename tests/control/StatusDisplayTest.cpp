#include "control/StatusDisplay.h"
#include "control/Clock.h"
#include "tests/control/RecordingMainView.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <fstream>

namespace sorvella {
namespace {

class FixedClock : public Clock {
public:
    std::int64_t now() const override { return 1'700'000'000; }
};

class StatusDisplayTest : public ::testing::Test {
protected:
    StatusDisplayTest()
    {
        settings.target.fileName = (folder.path() / "take%n.wav").string();
        input.format = settings.format;
    }

    void recording(bool continuous)
    {
        input.hasRecorder = true;
        input.continuousMode = continuous;
        input.keepSeconds = continuous ? -1 : 600;
    }

    void createTargetFile() { std::ofstream(settings.target.fileName) << "RIFF"; }

    test::TempDir folder;
    test::RecordingMainView view;
    FixedClock clock;
    StatusDisplay display{view, clock};
    Settings settings;
    StatusInput input;
};

TEST_F(StatusDisplayTest, LoopTimeAndFormatTexts)
{
    recording(false);
    display.refreshStatus(input, settings, false);
    EXPECT_EQ(view.texts.loopTime, "10 minutes");
    EXPECT_EQ(view.texts.format, "stereo, 44100 Hz");

    input.keepSeconds = 600 - 0 + 60 + 60; // archive: interval - delay + overlap + 60
    input.format.channels = 1;
    input.format.samplesPerSec = 22050;
    display.refreshStatus(input, settings, false);
    EXPECT_EQ(view.texts.loopTime, "12 minutes");
    EXPECT_EQ(view.texts.format, "mono, 22050 Hz");

    input.keepSeconds = -1;
    display.refreshStatus(input, settings, false);
    EXPECT_EQ(view.texts.loopTime, "--:--");

    recording(true);
    display.refreshStatus(input, settings, false);
    EXPECT_EQ(view.texts.loopTime, "None");
}

TEST_F(StatusDisplayTest, TickTextsAndStopAfter)
{
    recording(true);
    input.totalSeconds = 3725;
    input.recordedSeconds = 90;
    input.heldBytes = 5 * 1024 * 1024 + 1024 * 1024 - 1;
    display.updateTickTexts(input, settings);
    display.showTexts();
    EXPECT_EQ(view.texts.timeRunning, "1:02:05");
    EXPECT_EQ(view.texts.recordedTime, "1:30");
    EXPECT_EQ(view.texts.usedSpace, "5 MB");
    EXPECT_EQ(view.texts.stopAfter, "Infinite");

    settings.autoSaveAction = 2;
    settings.autoSaveTime = 600;
    display.updateTickTexts(input, settings);
    EXPECT_EQ(display.texts().stopAfter, "8:30 minutes");

    input.recordedSeconds = 700; // past the time: never negative
    display.updateTickTexts(input, settings);
    EXPECT_EQ(display.texts().stopAfter, "0 seconds");

    input.continuousMode = false;
    settings.autoSaveAction = 1; // save on close: no countdown
    display.updateTickTexts(input, settings);
    EXPECT_EQ(display.texts().stopAfter, "(Infinite)");
}

TEST_F(StatusDisplayTest, CheckStatesFollowTheRecordingState)
{
    view.checked[RecordingButton::Loop] = true;
    display.refreshStatus(input, settings, false);
    EXPECT_FALSE(view.checked[RecordingButton::Loop]);
    EXPECT_FALSE(view.checked[RecordingButton::Continuous]);

    recording(false);
    display.refreshStatus(input, settings, false);
    EXPECT_TRUE(view.checked[RecordingButton::Loop]);
    EXPECT_FALSE(view.checked[RecordingButton::Continuous]);

    recording(true);
    display.refreshStatus(input, settings, false);
    EXPECT_FALSE(view.checked[RecordingButton::Loop]);
    EXPECT_TRUE(view.checked[RecordingButton::Continuous]);
}

struct EnablingCase {
    bool recorder;
    bool editor;
    bool large;
    bool fileExists;
};

class EnablingTest : public StatusDisplayTest,
                     public ::testing::WithParamInterface<EnablingCase> {};

TEST_P(EnablingTest, PerStateFormAndTargetFile)
{
    const EnablingCase c = GetParam();
    input.hasRecorder = c.recorder;
    input.editorAvailable = c.editor;
    settings.showModeLarge = c.large;
    if (c.fileExists) {
        settings.target.fileName = (folder.path() / "take.wav").string();
        createTargetFile();
    }
    display.refreshStatus(input, settings, false);
    const ControlEnabling& e = view.enabling;
    EXPECT_EQ(e.quickSave, c.recorder && c.large);
    EXPECT_EQ(e.editAndSave, c.recorder && c.editor);
    EXPECT_EQ(e.trayEditAndSave, c.recorder && c.editor);
    EXPECT_EQ(e.trayQuickSave, c.recorder);
    for (bool enabled : {e.browse, e.advanced, e.showFolder, e.config, e.about}) {
        EXPECT_EQ(enabled, c.large);
    }
    for (bool enabled : {e.increment, e.open, e.edit, e.deleteTarget}) {
        EXPECT_EQ(enabled, c.large && c.fileExists);
    }
}

INSTANTIATE_TEST_SUITE_P(
    AllCombinations, EnablingTest,
    ::testing::Values(EnablingCase{false, true, false, false},
                      EnablingCase{false, true, true, false}, EnablingCase{false, true, true, true},
                      EnablingCase{true, true, false, true}, EnablingCase{true, true, true, false},
                      EnablingCase{true, true, true, true}, EnablingCase{true, false, true, true},
                      EnablingCase{true, false, false, false}));

TEST_F(StatusDisplayTest, TargetShowsTheTemplateWhileIdleAndTheNameOfASaveNow)
{
    display.refreshStatus(input, settings, false);
    EXPECT_EQ(view.texts.target, settings.target.fileName);

    recording(false);
    display.updateTargetDisplay(input, settings);
    EXPECT_EQ(view.texts.target, (folder.path() / "take1.wav").string());
}

TEST_F(StatusDisplayTest, TargetTimesRunFromTheHeldSoundToNow)
{
    settings.target.fileName = (folder.path() / "%h%m%s-%H%M%S.wav").string();
    recording(false);
    input.heldBytes = 61 * std::int64_t{input.format.avgBytesPerSec};
    display.updateTargetDisplay(input, settings);
    const std::string name = std::filesystem::path(view.texts.target).filename().string();
    ASSERT_EQ(name.size(), 17u) << name;
    const auto seconds = [](const std::string& hms) {
        return std::stoi(hms.substr(0, 2)) * 3600 + std::stoi(hms.substr(2, 2)) * 60 +
               std::stoi(hms.substr(4, 2));
    };
    EXPECT_EQ((seconds(name.substr(7, 6)) - seconds(name.substr(0, 6)) + 86400) % 86400, 61);
}

TEST_F(StatusDisplayTest, ExistingTargetIsMarked)
{
    settings.target.fileName = (folder.path() / "take.wav").string();
    createTargetFile();
    display.refreshStatus(input, settings, false);
    EXPECT_EQ(view.texts.target, settings.target.fileName + " (exists)");
}

TEST_F(StatusDisplayTest, FullRefreshShowsFormStateAndWindowEnabling)
{
    settings.showModeLarge = true;
    input.retryDialogOpen = true;
    display.refreshStatus(input, settings, true);
    EXPECT_TRUE(view.largeForm);
    EXPECT_FALSE(view.windowEnabled);
    EXPECT_EQ(view.windowIcon, StateIcon::Idle);
    EXPECT_EQ(view.animation, (AnimationRun{4, 4, false}));

    input.retryDialogOpen = false;
    recording(false);
    display.refreshStatus(input, settings, true);
    EXPECT_TRUE(view.windowEnabled);
    EXPECT_EQ(view.windowIcon, StateIcon::Loop);
    EXPECT_EQ(view.animation, (AnimationRun{0, 3, true}));

    recording(true);
    display.refreshStatus(input, settings, true);
    EXPECT_EQ(view.windowIcon, StateIcon::Continuous);
    EXPECT_EQ(view.animation, (AnimationRun{5, 10, true}));

    settings.animationMode = 0;
    display.refreshStatus(input, settings, true);
    EXPECT_EQ(view.animation, (AnimationRun{5, 5, false}));
    recording(false);
    display.refreshStatus(input, settings, true);
    EXPECT_EQ(view.animation, (AnimationRun{0, 0, false}));
}

TEST_F(StatusDisplayTest, PartialRefreshLeavesFormAndIconAlone)
{
    settings.showModeLarge = true;
    recording(true);
    display.refreshStatus(input, settings, false);
    EXPECT_FALSE(view.largeForm);
    EXPECT_EQ(view.windowIcon, StateIcon::Loop);
    EXPECT_TRUE(view.trayCalls.empty());
}

TEST_F(StatusDisplayTest, TrayIconOnlyWhenSetAndWithTheStateIcon)
{
    display.trayCreate(settings);
    EXPECT_FALSE(view.trayIcon);

    settings.iconInTray = true;
    recording(true);
    display.refreshStatus(input, settings, true);
    display.trayCreate(settings);
    EXPECT_TRUE(view.trayIcon);
    EXPECT_EQ(view.trayIconState, StateIcon::Continuous);
    EXPECT_EQ(view.trayTip, "Sorvella Studio");

    input.hasRecorder = false;
    display.refreshStatus(input, settings, true);
    EXPECT_EQ(view.trayIconState, StateIcon::Idle);

    display.trayRemove();
    EXPECT_FALSE(view.trayIcon);
}

TEST_F(StatusDisplayTest, LostTrayIconIsCreatedOnceMore)
{
    settings.iconInTray = true;
    display.trayCreate(settings);
    view.trayIcon = false; // the tray host went away and came back
    view.trayCalls.clear();
    display.trayUpdate(settings);
    EXPECT_EQ(view.trayCalls, (std::vector<std::string>{"update", "remove", "create", "update"}));
    EXPECT_TRUE(view.trayIcon);

    view.trayAvailable = false;
    view.trayIcon = false;
    view.trayCalls.clear();
    display.trayUpdate(settings);
    EXPECT_EQ(view.trayCalls, (std::vector<std::string>{"update", "remove", "create"}));
}

TEST_F(StatusDisplayTest, MinimisedWindowGoesIntoTheTrayOnlyWhenThereIsOne)
{
    settings.iconInTray = true;
    view.trayAvailable = false;
    display.trayCreate(settings);
    view.minimised = true;
    display.trayUpdate(settings);
    EXPECT_TRUE(view.visible) << "hidden without a tray icon: unreachable";

    view.trayAvailable = true;
    display.trayCreate(settings);
    EXPECT_FALSE(view.visible);

    view.restoreWindow();
    settings.iconInTray = false;
    view.minimised = true;
    display.trayUpdate(settings);
    EXPECT_TRUE(view.visible);
}

} // namespace
} // namespace sorvella
