// Captures from the real ALSA "default" device. Needs the PulseAudio test
// input: eval "$(scripts/test-input.sh start)".

#include "platform/audio/AlsaWaveInSystem.h"
#include "tests/support/WaitFor.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>

namespace sorvella {
namespace {

class CountingClient : public WaveInClient {
public:
    void bufferFilled(WaveBuffer&) noexcept override { ++filled; }
    void soundLost(std::int64_t, std::int64_t) noexcept override { ++faults; }
    void inputFault(const RecException&) noexcept override { ++faults; }

    std::atomic<int> filled{0};
    std::atomic<int> faults{0};
};

// Voluntary context switches of each thread of this process, by thread id.
std::map<std::string, long> wakeUpsByThread()
{
    std::map<std::string, long> wakeUps;
    for (const auto& task : std::filesystem::directory_iterator("/proc/self/task")) {
        std::ifstream status(task.path() / "status");
        std::string line;
        while (std::getline(status, line)) {
            if (line.starts_with("voluntary_ctxt_switches:")) {
                wakeUps[task.path().filename().string()] = std::stol(line.substr(24));
            }
        }
    }
    return wakeUps;
}

// Those of the threads not among `others` since `before`.
long wakeUpsSince(const std::map<std::string, long>& before,
                  const std::map<std::string, long>& others)
{
    long total = 0;
    for (const auto& [thread, count] : wakeUpsByThread()) {
        if (!others.contains(thread)) {
            const auto earlier = before.find(thread);
            total += count - (earlier == before.end() ? 0 : earlier->second);
        }
    }
    return total;
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

    // The test's own threads (and a sanitizer's) are not counted.
    const std::map<std::string, long> others = wakeUpsByThread();
    CountingClient client;
    AlsaWaveInSystem alsa;
    const std::unique_ptr<WaveIn> device = alsa.open(WaveInSystem::kDefaultDevice, format, client);
    for (WaveBuffer& buffer : buffers) {
        device->addBuffer(buffer);
    }
    device->start();
    ASSERT_TRUE(test::waitFor([&] { return client.filled.load() >= 1; }));
    const std::map<std::string, long> before = wakeUpsByThread();
    ASSERT_TRUE(test::waitFor([&] { return client.filled.load() >= 1 + kMeasured; }));
    const long perBuffer = wakeUpsSince(before, others) / kMeasured;
    device->stop(std::chrono::seconds(30));

    EXPECT_EQ(client.faults.load(), 0);
    // About five in a plain build, a few more under a sanitizer or a loaded
    // machine; more than sixty with 20 ms periods.
    EXPECT_LE(perBuffer, 30) << "wake-ups per 64 KiB buffer";
}

} // namespace
} // namespace sorvella
