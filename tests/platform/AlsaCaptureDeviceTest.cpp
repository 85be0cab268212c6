// Captures from the real ALSA "default" device. Needs the PulseAudio test
// input: eval "$(scripts/test-input.sh start)".

#include "platform/audio/AlsaWaveInSystem.h"
#include "tests/support/WaitFor.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <sys/resource.h>

namespace sorvella {
namespace {

class CountingClient : public WaveInClient {
public:
    void bufferFilled(WaveBuffer&) noexcept override { ++filled; }
    void inputFault(const RecException&) noexcept override { ++faults; }

    std::atomic<int> filled{0};
    std::atomic<int> faults{0};
};

// Voluntary context switches of every thread but the calling one.
long otherThreadsWakeUps()
{
    rusage process{};
    rusage self{};
    ::getrusage(RUSAGE_SELF, &process);
    ::getrusage(RUSAGE_THREAD, &self);
    return process.ru_nvcsw - self.ru_nvcsw;
}

// A laptop recording for days pays for every wake-up: capture, the sound
// server's client thread and the callback wake about once per buffer, not
// once per few milliseconds.
TEST(AlsaCaptureDevice, WakesAboutOncePerFilledBuffer)
{
    ASSERT_NE(std::getenv("PULSE_SERVER"), nullptr)
        << "No PulseAudio test input: run eval \"$(scripts/test-input.sh start)\" first";
    WaveFormat format;
    format.deriveFields();
    constexpr int kBuffers = 12;
    constexpr int kMeasured = 8;
    std::vector<WaveBuffer> buffers(kBuffers, WaveBuffer(65536));

    CountingClient client;
    AlsaWaveInSystem alsa;
    const std::unique_ptr<WaveIn> device = alsa.open(WaveInSystem::kDefaultDevice, format, client);
    for (WaveBuffer& buffer : buffers) {
        device->addBuffer(buffer);
    }
    device->start();
    ASSERT_TRUE(test::waitFor([&] { return client.filled.load() >= 1; }));
    const long before = otherThreadsWakeUps();
    ASSERT_TRUE(test::waitFor([&] { return client.filled.load() >= 1 + kMeasured; }));
    const long perBuffer = (otherThreadsWakeUps() - before) / kMeasured;
    device->stop(std::chrono::seconds(30));

    EXPECT_EQ(client.faults.load(), 0);
    EXPECT_LE(perBuffer, 6) << "wake-ups per 64 KiB buffer";
}

} // namespace
} // namespace sorvella
