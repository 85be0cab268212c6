// Sound-activated recording from the real default input: three spoken
// phrases, 8 s apart, become three files. Needs the PulseAudio test input
// (eval "$(scripts/test-input.sh start)") and espeak-ng.

#include "platform/audio/AlsaWaveInSystem.h"
#include "tests/control/ControllerFixture.h"

#include <QProcess>

#include <gtest/gtest.h>

#include <cstdlib>

namespace sorvella {
namespace {

using test::waitFor;

constexpr int kPhraseRate = 22050;
constexpr std::int32_t kTrigger = 8192;

bool run(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.start(program, arguments);
    return process.waitForFinished(30000) && process.exitStatus() == QProcess::NormalExit &&
           process.exitCode() == 0;
}

// Seconds from the phrase's first sample above the trigger level to its last.
double loudSpan(const std::filesystem::path& raw)
{
    const std::vector<std::uint8_t> bytes = test::fileBytes(raw);
    std::int64_t first = -1;
    std::int64_t last = -1;
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        const auto sample = static_cast<std::int16_t>(bytes[i] | bytes[i + 1] << 8);
        if (std::abs(sample) > kTrigger) {
            first = first < 0 ? static_cast<std::int64_t>(i / 2) : first;
            last = static_cast<std::int64_t>(i / 2);
        }
    }
    return static_cast<double>(last - first) / kPhraseRate;
}

class VoxDeviceTest : public test::ControllerFixture, public ::testing::Test {};

TEST_F(VoxDeviceTest, ThreeSpokenPhrasesBecomeThreeFiles)
{
    ASSERT_NE(std::getenv("PULSE_SERVER"), nullptr)
        << "No PulseAudio test input: run eval \"$(scripts/test-input.sh start)\" first";
    const std::vector<QString> phrases{"one", "two three four five", "six seven"};
    std::vector<double> spans;
    QStringList parts;
    for (std::size_t i = 0; i < phrases.size(); ++i) {
        const QString wav =
            QString::fromStdString((targets.path() / "phrase").string()) + QString::number(i);
        ASSERT_TRUE(run("espeak-ng", {"-a", "200", "-w", wav + ".wav", phrases[i]}));
        ASSERT_TRUE(run("sox", {wav + ".wav", "-r", QString::number(kPhraseRate), "-c", "1", "-b",
                                "16", "-e", "signed", wav + ".raw"}));
        spans.push_back(loudSpan(wav.toStdString() + ".raw"));
        // Two seconds of quiet before the first, 8 s after each, 6 s at the end.
        const QString pad = i == 0 ? "2 8" : (i + 1 < phrases.size() ? "0 8" : "0 6");
        parts << "|sox " + wav + ".wav -p pad " + pad;
    }
    const QString played = QString::fromStdString((targets.path() / "played.wav").string());
    ASSERT_TRUE(run("sox", parts + QStringList{played}));

    AlsaWaveInSystem alsa;
    realInput = &alsa;
    settings.loopMode = 2;
    settings.voxProfile = 0; // "Record CDs or LPs"
    startRecording();
    ASSERT_TRUE(controller->hasRecorder());
    QProcess player;
    player.start("paplay", {played});
    ASSERT_TRUE(player.waitForStarted());
    // The main timer's cadence, until the player is done and the last piece saved.
    EXPECT_TRUE(waitFor(
        [&] {
            pump.pump(std::chrono::milliseconds(300));
            controller->onTimer();
            return player.state() == QProcess::NotRunning && openWindows.empty() &&
                   std::filesystem::exists(targetFile(3));
        },
        std::chrono::seconds(90)));
    EXPECT_FALSE(std::filesystem::exists(targetFile(4)));

    const std::int64_t bytesPerSecond = controller->recorder()->format().avgBytesPerSec;
    for (int n = 1; n <= 3; ++n) {
        const test::WavContent wav = test::readWav(targetFile(n));
        ASSERT_TRUE(wav.valid()) << n;
        // The phrase and a second of margin on either side.
        const double seconds = static_cast<double>(wav.data.size()) / bytesPerSecond;
        EXPECT_NEAR(seconds, spans[static_cast<std::size_t>(n - 1)] + 2, 0.3) << n;
    }
}

} // namespace
} // namespace sorvella
