// The real program with the real sound input (the PulseAudio test input of
// scripts/test-input.sh): a tone recorded in loop mode, saved through the
// window, and a clean end, also of the executable on SIGTERM.

#include "platform/audio/AlsaWaveInSystem.h"
#include "platform/files/PosixBlockFiles.h"
#include "tests/app/ApplicationDriving.h"
#include "tests/save/SaveJobFixture.h"
#include "tests/support/ConfigFiles.h"
#include "tests/support/SineInput.h"
#include "tests/support/TempDir.h"
#include "tests/support/WaitFor.h"

#include <QProcess>

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>

namespace sorvella {
namespace {

int argc = 1;
char programName[] = "sorvella_application_device_tests";
char* argv[] = {programName, nullptr};

// Sign changes of the first channel per second of 16-bit stereo.
double crossingsPerSecond(const std::vector<std::uint8_t>& data, double rate)
{
    int crossings = 0;
    std::int16_t previous = 0;
    std::size_t frames = 0;
    for (std::size_t at = 0; at + 3 < data.size(); at += 4, ++frames) {
        const auto sample = static_cast<std::int16_t>(data[at] | data[at + 1] << 8);
        if ((sample < 0) != (previous < 0) && frames > 0) {
            ++crossings;
        }
        previous = sample;
    }
    return frames == 0 ? 0 : crossings * rate / static_cast<double>(frames);
}

TEST(ApplicationDeviceTest, RecordsAToneSavesItAndClosesCleanly)
{
    QApplication qt(argc, argv);
    const test::SineInput sine;
    test::TempDir documents("documents");
    test::setDocumentsFolder(documents.path());
    AlsaWaveInSystem soundCards;
    PosixBlockFiles blockFiles;
    Application application(qt, soundCards, blockFiles);
    application.startUp();

    ASSERT_TRUE(test::recordedAtLeast(application, 2));
    test::click(application, "formButton");
    test::click(application, "quickSaveButton");
    ASSERT_TRUE(test::savesFinished(application));
    const std::filesystem::path saved = documents.path() / "recording.wav";

    const test::WavContent wav = test::readWav(saved);
    EXPECT_GE(static_cast<std::int64_t>(wav.data.size()), 2 * 176400);
    // A 1 kHz tone; the input's first moments may still be the stream's
    // start-up silence, so the last second and a half is measured.
    constexpr std::size_t kMeasured = 3 * 176400 / 2;
    ASSERT_GE(wav.data.size(), kMeasured);
    const std::vector<std::uint8_t> tail(wav.data.end() - kMeasured, wav.data.end());
    EXPECT_NEAR(crossingsPerSecond(tail, 44100), 2000, 100);

    application.window().close();
    EXPECT_TRUE(application.closed());
    EXPECT_TRUE(test::noSessionDirectories());
}

// The executable itself: started, recording, ended by SIGTERM with exit code
// 0 and nothing left in its temporary directory.
TEST(ApplicationDeviceTest, ExecutableEndsCleanlyOnSigterm)
{
    QCoreApplication qt(argc, argv);
    test::TempDir temporary("program-tmp");
    QProcess program;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("TMPDIR", QString::fromStdString(temporary.path().string()));
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    program.setProcessEnvironment(environment);
    program.start(SORVELLA_EXECUTABLE, {});
    ASSERT_TRUE(program.waitForStarted());

    // Recording runs once a block file exists in the session directory.
    const auto blockFileExists = [&] {
        std::error_code error;
        for (const auto& entry :
             std::filesystem::recursive_directory_iterator(temporary.path(), error)) {
            if (entry.path().extension() == ".tmp") {
                return true;
            }
        }
        return false;
    };
    ASSERT_TRUE(test::waitFor(blockFileExists));

    program.terminate();
    ASSERT_TRUE(program.waitForFinished(30000));
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(program.exitCode(), 0);
    EXPECT_TRUE(test::noSessionDirectories(temporary.path()));
}

} // namespace
} // namespace sorvella
