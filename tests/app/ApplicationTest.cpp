// The program in-process from start-up to its end, with the simulated input
// device: commands arrive through the real window's buttons, termination
// signals through the real self-pipe.

#include "platform/fakes/SimulatedWaveInSystem.h"
#include "platform/files/PosixBlockFiles.h"
#include "tests/app/ApplicationDriving.h"
#include "tests/save/SaveJobFixture.h"
#include "tests/support/ConfigFiles.h"
#include "tests/support/TempDir.h"

#include <QSessionManager>
#include <QTimer>

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <utility>
#include <vector>

namespace sorvella {
namespace {

int argc = 1;
char programName[] = "sorvella_application_tests";
char* argv[] = {programName, nullptr};

class ApplicationTest : public ::testing::Test {
protected:
    ApplicationTest() { test::setDocumentsFolder(documents.path()); }

    void writeSettings(const std::string& values)
    {
        test::writeText(test::settingsFile(QCoreApplication::applicationName().toStdString()),
                        "[Default Settings]\n" + values);
    }

    Application& makeApplication()
    {
        application = std::make_unique<Application>(qt, waveIn, blockFiles);
        return *application;
    }

    std::filesystem::path savedFile() const { return documents.path() / "recording.wav"; }

    QApplication qt{argc, argv};
    test::TempDir documents{"documents"};
    SimulatedSignal signal{{.pace = SimulatedPace::RealTime, .speed = 8.0}};
    SimulatedWaveInSystem waveIn{signal};
    PosixBlockFiles blockFiles;
    std::unique_ptr<Application> application;
};

// A settings file written by hand, with values no dialog would store.
TEST_F(ApplicationTest, NonsensicalSettingsStartRecordAndCloseCleanly)
{
    writeSettings("Time Loop=-5\nArchiver Interval=0\nArchiver Overlap=-99999\nLoop Mode=1\n"
                  "Buffer Size Total=-1\nBuffer Granularity=99\nTimingProfile=-4\n"
                  "Save Mode Quick Save=17\nAuto save mode follow=9\nAuto save time=-3\n"
                  "Vox Volume=-1\nSound Card=42\nAnimation Mode Enum=-2\n");
    makeApplication();
    QTimer::singleShot(0, [this] {
        if (!test::recordedAtLeast(*application, 2)) {
            ADD_FAILURE() << "no recording";
        }
        application->window().close();
    });

    EXPECT_EQ(application->run(), 0);
    EXPECT_TRUE(application->closed());
    EXPECT_FALSE(application->controller().hasRecorder());
    EXPECT_TRUE(test::noSessionDirectories());
}

TEST_F(ApplicationTest, QuickSaveFromTheWindow)
{
    makeApplication().startUp();
    ASSERT_TRUE(test::recordedAtLeast(*application, 2));

    test::click(*application, "formButton"); // "&Quick Save" is in the large form
    EXPECT_TRUE(application->window().findChild<QPushButton*>("quickSaveButton")->isEnabled());
    EXPECT_TRUE(application->window().findChild<QPushButton*>("editAndSaveButton")->isEnabled());
    test::click(*application, "quickSaveButton");
    ASSERT_TRUE(test::savesFinished(*application));
    EXPECT_GE(static_cast<std::int64_t>(test::readWav(savedFile()).data.size()),
              2 * application->settings().format.avgBytesPerSec);

    application->window().close();
    EXPECT_TRUE(application->closed());
    EXPECT_TRUE(test::noSessionDirectories());
}

// A "Recording Stereo" no device records in: the reader records what it can,
// and the saved header must say so, or players refuse the file.
class ApplicationChannelsTest : public ApplicationTest,
                                public ::testing::WithParamInterface<std::pair<int, int>> {};

TEST_P(ApplicationChannelsTest, QuickSaveHeaderDescribesTheRecording)
{
    const auto [stored, recorded] = GetParam();
    writeSettings("Recording Stereo=" + std::to_string(stored) + "\n");
    makeApplication().startUp();
    ASSERT_TRUE(test::recordedAtLeast(*application, 1));
    test::click(*application, "formButton");
    test::click(*application, "quickSaveButton");
    ASSERT_TRUE(test::savesFinished(*application));

    const std::vector<std::uint8_t> bytes = test::fileBytes(savedFile());
    ASSERT_GE(bytes.size(), static_cast<std::size_t>(test::kWavHeader));
    const auto u16 = [&](std::size_t at) { return bytes[at] | bytes[at + 1] << 8; };
    EXPECT_EQ(u16(22), recorded);     // channels
    EXPECT_EQ(u16(32), 2 * recorded); // block align
    EXPECT_EQ(waveIn.lastFormat().channels, recorded);
    application->window().close();
}

INSTANTIATE_TEST_SUITE_P(StoredChannels, ApplicationChannelsTest,
                         ::testing::Values(std::pair{0, 1}, std::pair{3, 2}));

// How the program is told to end without anyone being asked.
enum class Ending { TerminationSignal, SessionEnd };

class ForcedEndTest : public ApplicationTest, public ::testing::WithParamInterface<Ending> {
protected:
    void end()
    {
        if (GetParam() == Ending::TerminationSignal) {
            std::raise(SIGTERM);
            return;
        }
        // The session manager asks at every checkpoint as before a logout:
        // the program goes on until the quit at the session's real end.
        auto* manager = qt.findChild<QSessionManager*>();
        ASSERT_NE(manager, nullptr);
        emit qt.commitDataRequest(*manager);
        QCoreApplication::processEvents();
        EXPECT_FALSE(application->closed());
        EXPECT_TRUE(application->controller().hasRecorder());
        QEvent quit(QEvent::Quit);
        QCoreApplication::sendEvent(&qt, &quit);
    }
};

// With "Save on application close" in continuous mode the held sound is
// saved before the program ends.
TEST_P(ForcedEndTest, SavesOnCloseFirst)
{
    makeApplication().startUp();
    application->settings().autoSaveAction = 1;
    test::click(*application, "continuousButton");
    ASSERT_TRUE(test::recordedAtLeast(*application, 2));

    end();
    ASSERT_TRUE(test::processUntil([&] { return application->closed(); }));
    const test::WavContent saved = test::readWav(savedFile());
    EXPECT_TRUE(saved.valid());
    EXPECT_GE(static_cast<std::int64_t>(saved.data.size()),
              2 * application->settings().format.avgBytesPerSec);
    EXPECT_TRUE(test::noSessionDirectories());
}

INSTANTIATE_TEST_SUITE_P(Endings, ForcedEndTest,
                         ::testing::Values(Ending::TerminationSignal, Ending::SessionEnd),
                         [](const ::testing::TestParamInfo<Ending>& info) {
                             return info.param == Ending::SessionEnd ? "SessionEnd"
                                                                     : "TerminationSignal";
                         });

// A signal while a message box waits: the box is closed as if cancelled and
// the program ends.
TEST_F(ApplicationTest, TerminationSignalClosesAnOpenMessageBox)
{
    makeApplication().startUp();
    ASSERT_TRUE(test::recordedAtLeast(*application, 1));
    QTimer::singleShot(50, [] { std::raise(SIGTERM); });

    test::click(*application, "changeButton"); // returns when its box has gone
    ASSERT_TRUE(test::processUntil([&] { return application->closed(); }));
    EXPECT_TRUE(test::noSessionDirectories());
}

} // namespace
} // namespace sorvella
