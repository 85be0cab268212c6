// The wave-out contract as the fake keeps it, and the ALSA device's open
// failure without a sound server.

#include "platform/audio/AlsaWaveOut.h"
#include "platform/fakes/FakeWaveOut.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace sorvella {
namespace {

using namespace std::chrono_literals;

// 100 ms of 44.1 kHz stereo is 17640 bytes.
constexpr std::uint32_t kTenthSecond = 17640;

PlayBuffer filled(std::uint8_t value, std::uint32_t length)
{
    PlayBuffer buffer(32768);
    std::fill(buffer.data.begin(), buffer.data.end(), value);
    buffer.length = length;
    return buffer;
}

TEST(FakeWaveOutTest, PlaysQueuedBuffersInOrderAndFreesThemOncePlayed)
{
    FakeWaveOutSystem system;
    PlayBuffer first = filled(1, kTenthSecond);
    PlayBuffer second = filled(2, kTenthSecond);
    {
        const std::unique_ptr<WaveOut> out = system.open(WaveFormat{});
        out->write(first);
        out->write(second);
        system.advance(150ms);
        out->poll();
        EXPECT_FALSE(first.queued);
        EXPECT_TRUE(second.queued);

        out->reset();
        EXPECT_FALSE(second.queued);
        system.advance(1s);
    }
    std::vector<std::uint8_t> heard(kTenthSecond, 1);
    heard.insert(heard.end(), kTenthSecond / 2, 2);
    EXPECT_EQ(system.played(), heard);
    EXPECT_EQ(system.written().size(), 2 * kTenthSecond);
    EXPECT_FALSE(system.isOpen());
}

TEST(FakeWaveOutTest, AGoneDeviceFailsItsWritesAndFreesEveryBuffer)
{
    FakeWaveOutSystem system;
    system.failWritesAfter(1);
    PlayBuffer first = filled(1, kTenthSecond);
    PlayBuffer second = filled(2, kTenthSecond);
    const std::unique_ptr<WaveOut> out = system.open(WaveFormat{});
    out->write(first);
    EXPECT_THROW(out->write(second), RecException);
    EXPECT_FALSE(first.queued);
    EXPECT_FALSE(second.queued);
    EXPECT_THROW(out->poll(), RecException);
}

// What the editor shows when there is no output: the fake's, and ALSA's with
// no sound server behind "default".
TEST(WaveOutOpenTest, NoDeviceGivesTheBusyMessage)
{
    FakeWaveOutSystem fake;
    fake.failOpens(true);
    setenv("PULSE_SERVER", "unix:/nonexistent/sorvella-no-server", 1);
    AlsaWaveOutSystem alsa;
    for (WaveOutSystem* system :
         {static_cast<WaveOutSystem*>(&fake), static_cast<WaveOutSystem*>(&alsa)}) {
        try {
            system->open(WaveFormat{});
            ADD_FAILURE() << "opened without a device";
        } catch (const RecException& fault) {
            EXPECT_EQ(fault.kind(), RecException::OpenFailure);
            EXPECT_STREQ(fault.what(), "Wave device busy: Cannot open Wave out");
        }
    }
}

} // namespace
} // namespace sorvella
