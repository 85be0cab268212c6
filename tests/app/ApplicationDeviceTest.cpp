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
#include <numbers>

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

// The program on the real input, which hears the test server's tone, saving
// into a documents folder of its own.
class ToneRecording : public ::testing::Test {
protected:
    // The folder is looked up when the program starts up.
    ToneRecording() { test::setDocumentsFolder(documents.path()); }

    QApplication qt{argc, argv};
    const test::SineInput sine;
    test::TempDir documents{"documents"};
    AlsaWaveInSystem soundCards;
    PosixBlockFiles blockFiles;
    Application application{qt, soundCards, blockFiles};
};

TEST_F(ToneRecording, RecordsAToneSavesItAndClosesCleanly)
{
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

// How far sample n of the first channel strays from the 1 kHz sine that its
// two neighbours describe: a missing or doubled frame shows as a jump.
double sineResidual(const std::vector<std::uint8_t>& data, std::size_t frame)
{
    const auto at = [&](std::size_t f) {
        return static_cast<double>(static_cast<std::int16_t>(data[4 * f] | data[4 * f + 1] << 8));
    };
    const double twoCos = 2 * std::cos(2 * std::numbers::pi * 1000 / 44100);
    return std::abs(at(frame + 1) - twoCos * at(frame) + at(frame - 1));
}

// Archive mode with a 10 s interval and no margins: the tone runs on across
// every join of consecutive files.
TEST_F(ToneRecording, ArchiveFilesOfAToneJoinWithoutAGap)
{
    application.startUp();
    Settings& settings = application.settings();
    settings.loopMode = 1;
    settings.archiverInterval = 10;
    settings.archiverOverlap = 0;
    settings.archiverDelay = 0;
    settings.target.fileName = (documents.path() / "part%n.wav").string();

    const auto part = [&](int n) {
        return documents.path() / ("part" + std::to_string(n) + ".wav");
    };
    ASSERT_TRUE(test::waitFor(
        [&] {
            QCoreApplication::processEvents();
            return std::filesystem::exists(part(3));
        },
        std::chrono::seconds(60)));
    ASSERT_TRUE(test::savesFinished(application));
    application.window().close();

    std::vector<std::uint8_t> joined;
    std::vector<std::size_t> joins; // frames where a file after a full one begins
    for (int n = 1; n <= 3; ++n) {
        const std::vector<std::uint8_t> data = test::readWav(part(n)).data;
        if (n > 1 && joined.size() >= 176400) {
            joins.push_back(joined.size() / 4);
        }
        joined.insert(joined.end(), data.begin(), data.end());
    }
    ASSERT_FALSE(joins.empty());
    // A file ends where the due time falls in what the device has delivered;
    // sound still on its way (a period, and more on a busy machine) goes to
    // the next file, so a file may be short of the interval by that much.
    EXPECT_GE(joined.size() / 4 - joins.back(), 8u * 44100);
    // Within one file the tone follows the sine closely; at each join too.
    EXPECT_LT(sineResidual(joined, joins.back() - 22050), 64);
    for (const std::size_t join : joins) {
        for (std::size_t frame = join - 2; frame <= join + 2; ++frame) {
            EXPECT_LT(sineResidual(joined, frame), 64) << "frame " << frame - join << " of a join";
        }
    }
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
