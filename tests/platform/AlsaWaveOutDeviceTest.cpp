// Plays into the real ALSA "default" device and records its monitor. Needs
// the PulseAudio test input: eval "$(scripts/test-input.sh start)".

#include "platform/audio/AlsaFrameSource.h"
#include "platform/audio/AlsaWaveOut.h"
#include "tests/support/WaitFor.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdlib>

namespace sorvella {
namespace {

using namespace std::chrono_literals;

constexpr std::uint32_t kPiece = 32768;

// About a second of stereo sound no two stretches of which are alike, ending
// in a piece shorter than the others.
std::vector<std::uint8_t> knownSound()
{
    std::vector<std::uint8_t> sound(176400);
    std::uint32_t state = 12345;
    for (std::size_t i = 0; i < sound.size(); i += 2) {
        state = state * 1664525 + 1013904223;
        const auto sample =
            static_cast<std::int16_t>(static_cast<std::int32_t>(state >> 16) / 4 - 4096);
        sound[i] = static_cast<std::uint8_t>(sample & 0xff);
        sound[i + 1] = static_cast<std::uint8_t>(static_cast<std::uint16_t>(sample) >> 8);
    }
    return sound;
}

// The test server's default input records what its default output plays.
TEST(AlsaWaveOutDeviceTest, TheOutputPlaysTheQueuedSoundBitExact)
{
    ASSERT_NE(std::getenv("PULSE_SERVER"), nullptr)
        << "start the test input: eval \"$(scripts/test-input.sh start)\"";
    const WaveFormat format;
    const std::vector<std::uint8_t> sound = knownSound();
    AlsaWaveOutSystem system;
    const std::unique_ptr<FrameSource> monitor = openAlsaCapture("default", format);
    std::vector<std::uint8_t> captured;
    std::array<std::uint8_t, 8192> chunk{};
    monitor->start(chunk.size());
    const auto record = [&] {
        const std::size_t bytes = monitor->read(chunk.data(), chunk.size(), 10ms).bytes;
        captured.insert(captured.end(), chunk.begin(), chunk.begin() + bytes);
    };
    // The recording's stream must run before anything plays, or it misses the
    // beginning.
    ASSERT_TRUE(test::waitFor([&] {
        record();
        return captured.size() >= format.avgBytesPerSec / 5;
    }));

    const std::unique_ptr<WaveOut> out = system.open(format);
    std::vector<PlayBuffer> buffers(5, PlayBuffer(kPiece));
    std::size_t next = 0;
    const auto allFree = [&] {
        return std::none_of(buffers.begin(), buffers.end(),
                            [](const PlayBuffer& b) { return b.queued; });
    };
    ASSERT_TRUE(test::waitFor([&] {
        record();
        out->poll();
        for (PlayBuffer& buffer : buffers) {
            if (!buffer.queued && next < sound.size()) {
                buffer.length =
                    static_cast<std::uint32_t>(std::min<std::size_t>(kPiece, sound.size() - next));
                std::copy_n(sound.begin() + static_cast<std::ptrdiff_t>(next), buffer.length,
                            buffer.data.begin());
                out->write(buffer);
                next += buffer.length;
            }
        }
        return next == sound.size() && allFree();
    }));
    // The monitor lags behind what was played by the server's latency.
    const std::size_t whenPlayed = captured.size();
    ASSERT_TRUE(test::waitFor([&] {
        record();
        return captured.size() >= whenPlayed + sound.size();
    }));
    EXPECT_NE(std::search(captured.begin(), captured.end(), sound.begin(), sound.end()),
              captured.end());
}

} // namespace
} // namespace sorvella
