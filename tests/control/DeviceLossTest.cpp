// The sound server ends our capture stream in the middle of a recording from
// its steady 1 kHz source: recording goes on into the same store, the gap is
// counted as a dropout, and the tone is whole on either side of it. Needs the
// PulseAudio test input (eval "$(scripts/test-input.sh start)").

#include "platform/audio/AlsaWaveInSystem.h"
#include "tests/control/ControllerFixture.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>

#include <gtest/gtest.h>

#include <cstdlib>
#include <unistd.h>

namespace sorvella {
namespace {

using test::waitFor;

QByteArray run(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(30000) || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != 0) {
        ADD_FAILURE() << program.toStdString() << " " << arguments.join(' ').toStdString()
                      << " failed";
    }
    return process.readAllStandardOutput();
}

// The index of this process's own capture stream on the server; -1 if none.
int ourCaptureStream()
{
    const QJsonArray streams =
        QJsonDocument::fromJson(run("pactl", {"-f", "json", "list", "source-outputs"})).array();
    for (const QJsonValue& stream : streams) {
        const QJsonObject object = stream.toObject();
        if (object["properties"].toObject()["application.process.id"].toString() ==
            QString::number(::getpid())) {
            return object["index"].toInt();
        }
    }
    return -1;
}

struct Tone {
    std::int32_t amplitude = 0;
    // Byte offsets where a channel jumps by more than a 1 kHz tone can
    // between two samples: breaks in the sound.
    std::vector<std::int64_t> breaks;
};

Tone toneOf(const std::vector<std::uint8_t>& bytes)
{
    std::vector<std::int16_t> samples(bytes.size() / 2);
    std::int32_t amplitude = 0;
    for (std::size_t i = 0; i < samples.size(); ++i) {
        samples[i] = static_cast<std::int16_t>(bytes[2 * i] | bytes[2 * i + 1] << 8);
        amplitude = std::max(amplitude, std::abs(static_cast<std::int32_t>(samples[i])));
    }
    Tone tone{amplitude, {}};
    for (std::size_t i = 2; i < samples.size(); ++i) {
        if (std::abs(samples[i] - samples[i - 2]) > amplitude / 4) {
            tone.breaks.push_back(static_cast<std::int64_t>(2 * i));
        }
    }
    return tone;
}

class DeviceLossTest : public test::ControllerFixture, public ::testing::Test {
protected:
    DeviceLossTest() { run("pactl", {"set-default-source", "sine"}); }
    ~DeviceLossTest() override { run("pactl", {"set-default-source", "recsrc"}); }

    bool tickUntil(const std::function<bool()>& condition)
    {
        return waitFor(
            [&] {
                pump.pump(std::chrono::milliseconds(50));
                controller->onTimer();
                return condition();
            },
            std::chrono::seconds(60));
    }
};

TEST_F(DeviceLossTest, EndingOurStreamLosesNothingHeldAndRecordingGoesOn)
{
    ASSERT_NE(std::getenv("PULSE_SERVER"), nullptr)
        << "No PulseAudio test input: run eval \"$(scripts/test-input.sh start)\" first";
    AlsaWaveInSystem alsa;
    realInput = &alsa;
    make().setContinuousMode(true);
    controller->onTimer();
    ASSERT_TRUE(controller->hasRecorder());
    const std::int64_t bytesPerSecond = controller->recorder()->format().avgBytesPerSec;
    RingStore* store = controller->recorder()->store();
    ASSERT_TRUE(tickUntil([&] { return store->heldBytes() >= 2 * bytesPerSecond; }));

    const int stream = ourCaptureStream();
    ASSERT_GE(stream, 0);
    run("pacmd", {"kill-source-output", QString::number(stream)});
    const std::int64_t killedAt = store->heldBytes();
    ASSERT_TRUE(tickUntil([&] {
        const InputHealth::Reading health = controller->recorder()->health();
        return health.dropouts >= 1 && !health.deviceLost &&
               store->heldBytes() >= killedAt + 2 * bytesPerSecond;
    }));
    EXPECT_EQ(controller->recorder()->store(), store);
    EXPECT_EQ(view.notices.size(), 1u);
    EXPECT_TRUE(prompter.boxes.empty());

    // The tone may start with the stream; after that it breaks only at the gap.
    const std::int64_t gap = controller->recorder()->health().lastDropoutPosition;
    EXPECT_GE(gap, 2 * bytesPerSecond);
    EXPECT_LE(gap, killedAt + bytesPerSecond);
    const Tone tone = toneOf(test::readAll(*store->snapshot()));
    EXPECT_GT(tone.amplitude, 1000);
    for (const std::int64_t at : tone.breaks) {
        EXPECT_TRUE(at < bytesPerSecond / 2 || (at >= gap && at < gap + bytesPerSecond / 2))
            << "the tone breaks at byte " << at << ", the gap is at " << gap;
    }
}

} // namespace
} // namespace sorvella
