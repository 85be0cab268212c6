// The main window's commands on the target file, the mixer and the rest,
// with a fake launcher and file manager standing in for the desktop.

#include "control/MainCommands.h"
#include "control/FileManager.h"
#include "platform/fakes/FakeMixerSystem.h"
#include "platform/fakes/FakeProcessLauncher.h"
#include "platform/fakes/FakeSettingsStore.h"
#include "save/CodecCatalogue.h"
#include "tests/control/ControllerFixture.h"
#include "tests/save/FakeSaveAsWindows.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace sorvella {
namespace {

using Answer = Prompter::Answer;
using Command = std::vector<std::string>;

class FakeFileManager : public FileManager {
public:
    bool showItem(const std::string& path) override
    {
        shown.push_back(path);
        return available;
    }
    bool available = true;
    std::vector<std::string> shown;
};

class MainCommandsTest : public test::ControllerFixture, public ::testing::Test {
protected:
    MainCommandsTest()
    {
        settings.target.fileName = (targets.path() / "take.wav").string();
        make();
        commands = std::make_unique<MainCommands>(MainCommands::Services{
            .controller = *controller,
            .closer = *closer,
            .settings = settings,
            .saveSettings = [] {},
            .prompter = prompter,
            .view = view,
            .status = status,
            .launcher = launcher,
            .mixers = mixers,
            .fileManager = fileManager,
            .targetFiles = targetFiles,
            .catalogue = catalogue,
            .saveAs = saveAs.windows(),
            .targetWizard = [this](SaveTarget& target) { wizard(target); },
            .timeSettings = [this] { return timeSettings(); },
            .help = [](std::int32_t) {},
            .session = session,
            .configure = [this](Settings& working) { return configure(working); },
            .storeShowWarningMixer = [this] { ++mixerHintStores; },
        });
    }

    void createTarget() { std::ofstream(settings.target.fileName) << "RIFF"; }

    FakeProcessLauncher launcher;
    FakeMixerSystem mixers;
    FakeFileManager fileManager;
    FakeSettingsStore store;
    CodecCatalogue catalogue{store, {}};
    test::FakeSaveAsWindows saveAs;
    std::function<void(SaveTarget&)> wizard = [](SaveTarget&) {};
    std::function<bool()> timeSettings = [] { return false; };
    std::function<bool(Settings&)> configure = [](Settings&) { return false; };
    int mixerHintStores = 0;
    std::unique_ptr<MainCommands> commands;
};

TEST_F(MainCommandsTest, TargetCommandsNeedTheFile)
{
    const std::string file = settings.target.fileName;
    commands->openTarget();
    commands->editTarget();
    commands->deleteTarget();
    commands->showTargetFolder();
    EXPECT_EQ(launcher.started(), (std::vector<Command>{{"xdg-open", targets.path().string()}}));
    EXPECT_TRUE(fileManager.shown.empty());
    EXPECT_TRUE(prompter.boxes.empty());
    EXPECT_FALSE(view.enabling.open);

    createTarget();
    settings.showModeLarge = true;
    commands->openTarget();
    commands->editTarget();
    commands->showTargetFolder();
    EXPECT_EQ(launcher.started()[1], (Command{"xdg-open", file}));
    EXPECT_EQ(launcher.started()[2], (Command{"audacity", file}));
    EXPECT_EQ(fileManager.shown, (std::vector<std::string>{file}));
    EXPECT_EQ(launcher.started().size(), 3u);
    EXPECT_TRUE(view.enabling.open);
    EXPECT_EQ(view.texts.target, file + " (exists)");
}

// Without a file manager on the bus the folder opens; a name without a
// folder opens the current one.
TEST_F(MainCommandsTest, OpenFolderFallsBackToTheFolder)
{
    createTarget();
    fileManager.available = false;
    commands->showTargetFolder();
    EXPECT_EQ(launcher.started().back(), (Command{"xdg-open", targets.path().string()}));

    settings.target.fileName = "loose.wav";
    commands->showTargetFolder();
    EXPECT_EQ(launcher.started().back(), (Command{"xdg-open", "."}));
}

TEST_F(MainCommandsTest, DeleteAsksFirst)
{
    createTarget();
    prompter.answers = {Answer::No, Answer::Yes};

    commands->deleteTarget();
    ASSERT_EQ(prompter.boxes.size(), 1u);
    EXPECT_EQ(prompter.boxes[0].text,
              "Do you really want to delete " + settings.target.fileName + "?");
    EXPECT_EQ(prompter.boxes[0].caption, "Delete...");
    EXPECT_EQ(prompter.boxes[0].buttons, Prompter::Buttons::YesNo);
    EXPECT_TRUE(std::filesystem::exists(settings.target.fileName));

    commands->deleteTarget();
    EXPECT_FALSE(std::filesystem::exists(settings.target.fileName));
    EXPECT_FALSE(view.enabling.deleteTarget);
}

TEST_F(MainCommandsTest, MixerOpensTheRecordingControls)
{
    settings.soundCard = 2;
    commands->mixer();
    EXPECT_EQ(launcher.started().back(),
              (Command{"x-terminal-emulator", "-e", "alsamixer", "-V", "capture", "-D", "fake:2"}));

    launcher.install("pavucontrol");
    commands->mixer();
    EXPECT_EQ(launcher.started().back(), (Command{"pavucontrol", "--tab=4"}));
}

// Cancel changes nothing; OK on an archive mode advises on the name and the
// mode, and a running store takes the new trigger level at once.
TEST_F(MainCommandsTest, ConfirmedTimeSettingsTakeEffect)
{
    controller->onTimer();
    ASSERT_TRUE(controller->hasRecorder());
    controller->setContinuousMode(true);
    int wizards = 0;
    wizard = [&](SaveTarget&) { ++wizards; };
    timeSettings = [this] {
        settings.loopMode = 1;
        settings.voxVolume = 1000;
        return false;
    };
    commands->changeTimeSettings();
    EXPECT_TRUE(prompter.boxes.empty());
    EXPECT_NE(controller->recorder()->store()->triggerLevel(), 1000);

    timeSettings = [] { return true; };
    prompter.answers = {Answer::Yes};
    commands->changeTimeSettings();
    ASSERT_EQ(prompter.boxes.size(), 2u);
    EXPECT_EQ(prompter.boxes[0].caption, "Warning: target file name contains no '%'");
    EXPECT_EQ(wizards, 1);
    EXPECT_EQ(prompter.boxes[1].text, "Note, that the archive settings only work in Loop Mode. "
                                      "Switch to Loop Mode to activate archiving");
    EXPECT_EQ(controller->recorder()->store()->triggerLevel(), 1000);
}

// Cancel at the question leaves recording alone. After OK the tray icon and
// the temporary directory change at once, the next recording takes the new
// format and card, and a reset mixer hint is stored.
TEST_F(MainCommandsTest, ConfirmedConfigurationTakesEffect)
{
    controller->onTimer();
    ASSERT_TRUE(controller->hasRecorder());
    settings.showWarningMixer = false;
    test::TempDir moved{"moved"};
    int sheets = 0;
    configure = [&](Settings& working) {
        ++sheets;
        working.format.channels = 1;
        working.format.samplesPerSec = 22050;
        working.format.deriveFields();
        working.soundCard = 1;
        working.iconInTray = true;
        working.tempDirectory = moved.path().string();
        working.showWarningMixer = true;
        return true;
    };
    prompter.answers = {Answer::Cancel};
    commands->config();
    EXPECT_TRUE(controller->hasRecorder());
    EXPECT_EQ(sheets, 0);

    commands->config();
    ASSERT_EQ(prompter.boxes.size(), 2u);
    EXPECT_EQ(prompter.boxes[1].caption, "Configure...");
    EXPECT_FALSE(controller->hasRecorder());
    EXPECT_TRUE(view.trayIcon);
    EXPECT_EQ(session.baseDir(), moved.path().string());
    EXPECT_EQ(mixerHintStores, 1);

    ASSERT_TRUE(controller->startRecording());
    EXPECT_EQ(waveIn.lastDevice(), 0);
    EXPECT_EQ(waveIn.lastFormat().samplesPerSec, 22050u);
    EXPECT_EQ(waveIn.lastFormat().channels, 1);
}

// A directory that takes no session gives way to the system's, and the
// setting says so.
TEST_F(MainCommandsTest, AnUnwritableTemporaryDirectoryFallsBack)
{
    test::TempDir refused{"refused"};
    files.refuseDirectoriesIn(refused.path().string());
    configure = [&](Settings& working) {
        working.tempDirectory = refused.path().string();
        return true;
    };
    commands->config();
    ASSERT_EQ(prompter.boxes.size(), 1u);
    EXPECT_NE(prompter.boxes[0].text.find(refused.path().string()), std::string::npos);
    EXPECT_TRUE(settings.tempDirectoryUseWindows);
    EXPECT_NE(session.baseDir(), refused.path().string());
}

// No exception leaves a command: it is shown, and the program goes on.
TEST_F(MainCommandsTest, FailuresAreShownNotThrown)
{
    wizard = [](SaveTarget&) { throw RecException(RecException::OpenFailure, "Broken dialog"); };
    EXPECT_NO_THROW(commands->advancedTarget());
    ASSERT_EQ(prompter.boxes.size(), 1u);
    EXPECT_EQ(prompter.boxes[0].text, "Broken dialog");
    EXPECT_FALSE(commands->busy());
}

} // namespace
} // namespace sorvella
