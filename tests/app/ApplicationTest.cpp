// The program in-process from start-up to its end, with the simulated input
// device: commands arrive through the real window's buttons, termination
// signals through the real self-pipe.

#include "platform/fakes/SimulatedWaveInSystem.h"
#include "tests/app/ApplicationDriving.h"
#include "tests/save/SaveJobFixture.h"
#include "tests/support/ConfigFiles.h"
#include "tests/support/TempDir.h"

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

    std::filesystem::path savedFile() const { return documents.path() / "recording.wav"; }

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
    // No editor yet: nothing may stop the recording for one.
    EXPECT_FALSE(application->window().findChild<QPushButton*>("editAndSaveButton")->isEnabled());
    test::click(*application, "quickSaveButton");
    ASSERT_TRUE(test::savesFinished(*application));
    EXPECT_GE(static_cast<std::int64_t>(test::readWav(savedFile()).data.size()),
              2 * application->settings().format.avgBytesPerSec);

    application->window().close();
    EXPECT_TRUE(application->closed());
    EXPECT_TRUE(test::noSessionDirectories());
}

// A kill with "Save on application close" in continuous mode: the held sound
// is saved before the program ends.
TEST_F(ApplicationTest, TerminationSignalSavesOnCloseFirst)
{
    makeApplication().startUp();
    application->settings().autoSaveAction = 1;
    test::click(*application, "continuousButton");
    ASSERT_TRUE(test::recordedAtLeast(*application, 2));

    std::raise(SIGTERM);
    ASSERT_TRUE(test::processUntil([&] { return application->closed(); }));
    const test::WavContent saved = test::readWav(savedFile());
    EXPECT_TRUE(saved.valid());
    EXPECT_GE(static_cast<std::int64_t>(saved.data.size()),
              2 * application->settings().format.avgBytesPerSec);
    EXPECT_TRUE(test::noSessionDirectories());
}

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
