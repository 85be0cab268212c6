// The program in-process from start-up to its end, with the simulated input
// device: commands arrive through the real window's buttons, termination
// signals through the real self-pipe.

#include "app/Application.h"
#include "platform/SimulatedWaveInSystem.h"
#include "tests/save/SaveJobFixture.h"
#include "tests/support/ConfigFiles.h"
#include "tests/support/TempDir.h"
#include "tests/support/WaitFor.h"

#include <QProcess>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>

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
        application = std::make_unique<Application>(qt, waveIn);
        return *application;
    }

    // Runs the event loop until the condition holds.
    static bool processUntil(const std::function<bool()>& condition)
    {
        return test::waitFor([&] {
            QCoreApplication::processEvents();
            return condition();
        });
    }

    bool recordedAtLeast(std::int64_t seconds)
    {
        return processUntil([&] {
            const SoundReader* recorder = application->controller().recorder();
            return recorder != nullptr && recorder->recordedSeconds() >= seconds;
        });
    }

    void click(const char* button)
    {
        auto* found = application->window().findChild<QPushButton*>(button);
        ASSERT_NE(found, nullptr) << button;
        found->click();
    }

    std::filesystem::path savedFile() const { return documents.path() / "recording.wav"; }

    bool noTemporaryFiles() const
    {
        return std::filesystem::is_empty(std::filesystem::temp_directory_path());
    }

    QApplication qt{argc, argv};
    test::TempDir documents{"documents"};
    SimulatedSignal signal{{.pace = SimulatedPace::RealTime, .speed = 8.0}};
    SimulatedWaveInSystem waveIn{signal};
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
        if (!recordedAtLeast(2)) {
            ADD_FAILURE() << "no recording";
        }
        application->window().close();
    });

    EXPECT_EQ(application->run(), 0);
    EXPECT_TRUE(application->closed());
    EXPECT_FALSE(application->controller().hasRecorder());
    EXPECT_TRUE(noTemporaryFiles());
}

TEST_F(ApplicationTest, QuickSaveFromTheWindow)
{
    makeApplication().startUp();
    ASSERT_TRUE(recordedAtLeast(2));

    click("formButton"); // "&Quick Save" is in the large form
    click("quickSaveButton");
    ASSERT_TRUE(processUntil([&] { return test::readWav(savedFile()).valid(); }));
    EXPECT_GE(static_cast<std::int64_t>(test::readWav(savedFile()).data.size()),
              2 * application->settings().format.avgBytesPerSec);

    application->window().close();
    EXPECT_TRUE(application->closed());
    EXPECT_TRUE(noTemporaryFiles());
}

// A kill with "Save on application close" in continuous mode: the held sound
// is saved before the program ends.
TEST_F(ApplicationTest, TerminationSignalSavesOnCloseFirst)
{
    makeApplication().startUp();
    application->settings().autoSaveAction = 1;
    click("continuousButton");
    ASSERT_TRUE(recordedAtLeast(2));

    std::raise(SIGTERM);
    ASSERT_TRUE(processUntil([&] { return application->closed(); }));
    const test::WavContent saved = test::readWav(savedFile());
    EXPECT_TRUE(saved.valid());
    EXPECT_GE(static_cast<std::int64_t>(saved.data.size()),
              2 * application->settings().format.avgBytesPerSec);
    EXPECT_TRUE(noTemporaryFiles());
}

// A signal while a message box waits: the box is closed as if cancelled and
// the program ends.
TEST_F(ApplicationTest, TerminationSignalClosesAnOpenMessageBox)
{
    makeApplication().startUp();
    ASSERT_TRUE(recordedAtLeast(1));
    QTimer::singleShot(50, [] { std::raise(SIGTERM); });

    click("changeButton"); // returns when its box has gone
    ASSERT_TRUE(processUntil([&] { return application->closed(); }));
    EXPECT_TRUE(noTemporaryFiles());
}

TEST(SorvellaExecutableTest, HelpPrintsUsage)
{
    QProcess program;
    program.start(SORVELLA_EXECUTABLE, {"--help"});
    ASSERT_TRUE(program.waitForFinished(30000));
    EXPECT_EQ(program.exitCode(), 0);
    EXPECT_TRUE(program.readAllStandardOutput().startsWith("usage: "));
}

} // namespace
} // namespace sorvella
