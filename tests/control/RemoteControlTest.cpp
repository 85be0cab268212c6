// Commands from other programs: they run the window's own commands, say what
// was saved or why not, and are refused at once while a box is open.

#include "control/RemoteControl.h"
#include "control/SaveStartWatch.h"
#include "core/RecException.h"
#include "core/SaveTarget.h"
#include "engine/RingStore.h"
#include "tests/control/RecordingCommands.h"
#include "tests/control/RecordingMainView.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace sorvella {
namespace {

// Starts every save, or refuses it with `refusal` when one is set.
class FakeSaves : public SaveStarter {
public:
    std::string refusal;

    void startSave(std::unique_ptr<RingStore>&, const SaveTarget&, const BlockFilter*) override
    {
        if (!refusal.empty()) {
            throw RecException(RecException::OpenFailure, refusal);
        }
    }
};

// Quick Save as the controller does it: one save of the target, a refusal
// shown and swallowed.
class SavingCommands : public test::RecordingCommands {
public:
    SavingCommands(MainView& view, Settings& settings, StatusInput& input, SaveStarter& saves)
        : RecordingCommands(view, settings, input), m_settings(settings), m_saves(saves)
    {
    }

    void quickSave() override
    {
        RecordingCommands::quickSave();
        std::unique_ptr<RingStore> held;
        try {
            m_saves.startSave(held, m_settings.target, nullptr);
        } catch (const RecException&) {
        }
    }

private:
    Settings& m_settings;
    SaveStarter& m_saves;
};

struct Busy {
    const char* name;
    std::optional<std::string> modalWindow;
    bool retryDialogOpen;
    bool commandRunning;
    const char* message;
};

void PrintTo(const Busy& busy, std::ostream* out)
{
    *out << busy.name;
}

class RemoteControlTest : public ::testing::Test {
protected:
    RemoteControlTest()
    {
        settings.target.fileName = "/music/take.wav";
        input.hasRecorder = true;
    }

    // The message the command fails with; nothing when it succeeds.
    template <typename Command> std::optional<std::string> failure(Command command)
    {
        try {
            command();
        } catch (const RecException& error) {
            return error.message();
        }
        return std::nullopt;
    }

    Settings settings;
    StatusInput input;
    std::optional<std::string> modalWindow;
    bool commandRunning = false;
    test::RecordingMainView view;
    FakeSaves saves;
    SaveStartWatch watch{saves};
    SavingCommands commands{view, settings, input, watch};
    RemoteControl remote{RemoteControl::Services{
        .commands = commands,
        .saves = watch,
        .recording = [this] { return input; },
        .settings = settings,
        .targetText = [] { return std::string("/music/take.wav"); },
        .modalWindow = [this] { return modalWindow; },
        .commandRunning = [this] { return commandRunning; },
    }};
};

TEST_F(RemoteControlTest, QuickSaveAnswersTheFileItSavesTo)
{
    EXPECT_EQ(remote.quickSave(), "/music/take.wav");
    EXPECT_EQ(commands.calls, std::vector<std::string>{"quickSave"});
}

TEST_F(RemoteControlTest, AFailedQuickSaveAnswersWhatTheUserWasTold)
{
    saves.refusal = "Cannot open targetfile: /music/take.wav";
    EXPECT_EQ(failure([this] { remote.quickSave(); }), saves.refusal);

    input.hasRecorder = false;
    EXPECT_EQ(failure([this] { remote.quickSave(); }), "Sorvella is not recording.");
    EXPECT_EQ(failure([this] { remote.editAndSave(); }), "Sorvella is not recording.");
    EXPECT_EQ(commands.calls, std::vector<std::string>{"quickSave"});
}

class RemoteControlBusyTest : public RemoteControlTest,
                              public ::testing::WithParamInterface<Busy> {};

// Nothing runs and nothing waits: the key press is answered at once.
TEST_P(RemoteControlBusyTest, CommandsAreRefusedWhileSomethingIsOpen)
{
    modalWindow = GetParam().modalWindow;
    input.retryDialogOpen = GetParam().retryDialogOpen;
    commandRunning = GetParam().commandRunning;
    EXPECT_EQ(failure([this] { remote.quickSave(); }), GetParam().message);
    EXPECT_EQ(failure([this] { remote.editAndSave(); }), GetParam().message);
    EXPECT_TRUE(commands.calls.empty());

    modalWindow.reset();
    input.retryDialogOpen = false;
    commandRunning = false;
    EXPECT_EQ(remote.quickSave(), "/music/take.wav");
}

INSTANTIATE_TEST_SUITE_P(Open, RemoteControlBusyTest,
                         ::testing::Values(Busy{"SaveErrorBox", "Save error", false, false,
                                                "Sorvella is busy: Save error"},
                                           Busy{"BoxWithoutCaption", "", false, false,
                                                "Sorvella is busy: a message is open"},
                                           Busy{
                                               "RetryDialog", std::nullopt, true, false,
                                               "Sorvella is busy: Trying to open Wav-In-Device..."},
                                           Busy{"CommandRunning", std::nullopt, false, true,
                                                "Sorvella is busy: another command is running"}),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace sorvella
