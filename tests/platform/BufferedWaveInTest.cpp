#include "platform/audio/BufferedWaveIn.h"
#include "platform/fakes/SimulatedWaveInSystem.h"
#include "tests/support/CounterRun.h"
#include "tests/support/WaitFor.h"

#include <gtest/gtest.h>

#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>

namespace sorvella {
namespace {

using test::isCounterRun;
using test::waitFor;

constexpr std::uint32_t kBufferBytes = 512;
constexpr std::chrono::seconds kStopLimit{30};

// Records what the device hands over; can hold the callback thread to play a
// slow disk.
class RecordingClient : public WaveInClient {
public:
    void bufferFilled(WaveBuffer& buffer) noexcept override
    {
        std::unique_lock lock(m_mutex);
        m_changed.wait(lock, [this] { return !m_held; });
        filled.push_back(&buffer);
        contents.emplace_back(buffer.data.begin(), buffer.data.begin() + buffer.bytesRecorded);
        m_changed.notify_all();
    }
    void soundLost(std::int64_t count, std::int64_t position) noexcept override
    {
        std::lock_guard lock(m_mutex);
        faults.push_back("lost " + std::to_string(count) + " at " + std::to_string(position));
    }
    void inputFault(const RecException& fault) noexcept override
    {
        std::lock_guard lock(m_mutex);
        faults.push_back(fault.message());
    }

    void hold()
    {
        std::lock_guard lock(m_mutex);
        m_held = true;
    }
    void release()
    {
        std::lock_guard lock(m_mutex);
        m_held = false;
        m_changed.notify_all();
    }
    std::size_t filledCount()
    {
        std::lock_guard lock(m_mutex);
        return filled.size();
    }
    std::size_t faultCount()
    {
        std::lock_guard lock(m_mutex);
        return faults.size();
    }

    std::vector<WaveBuffer*> filled;
    std::vector<std::vector<std::uint8_t>> contents;
    std::vector<std::string> faults;

private:
    std::mutex m_mutex;
    std::condition_variable m_changed;
    bool m_held = false;
};

WaveFormat formatWith(std::uint16_t channels)
{
    WaveFormat format;
    format.channels = channels;
    format.deriveFields();
    return format;
}

class SimulatedDevice : public ::testing::TestWithParam<std::uint16_t> {
protected:
    std::uint16_t channels() const { return GetParam(); }
    std::uint32_t frameBytes() const { return 2u * channels(); }
    std::uint64_t framesPerBuffer() const { return kBufferBytes / frameBytes(); }

    std::unique_ptr<WaveIn> openWithBuffers(std::size_t count)
    {
        auto device = system.open(WaveInSystem::kDefaultDevice, formatWith(channels()), client);
        for (std::size_t i = 0; i < count; ++i) {
            buffers.emplace_back(kBufferBytes);
        }
        for (WaveBuffer& buffer : buffers) {
            device->addBuffer(buffer);
        }
        return device;
    }

    SimulatedSignal signal{{SimulatedPace::Stepped}};
    SimulatedWaveInSystem system{signal};
    RecordingClient client;
    std::deque<WaveBuffer> buffers;
};

TEST_P(SimulatedDevice, FillsQueuedBuffersInOrderAndResetDropsThePartlyFilledOne)
{
    auto device = openWithBuffers(4);
    device->start();
    signal.step(2 * framesPerBuffer() + framesPerBuffer() / 2);
    ASSERT_TRUE(waitFor([&] { return client.filledCount() == 2; }));
    ASSERT_TRUE(waitFor(
        [&] { return signal.framesDelivered() == 2 * framesPerBuffer() + framesPerBuffer() / 2; }));

    const std::vector<WaveBuffer*> returned = device->reset();

    ASSERT_EQ(client.filled.size(), 2u);
    EXPECT_EQ(client.filled[0], &buffers[0]);
    EXPECT_EQ(client.filled[1], &buffers[1]);
    EXPECT_TRUE(isCounterRun(client.contents[0], 0));
    EXPECT_TRUE(isCounterRun(client.contents[1], kBufferBytes / 2));
    ASSERT_EQ(returned.size(), 2u);
    EXPECT_EQ(returned[0], &buffers[2]);
    EXPECT_EQ(returned[1], &buffers[3]);
    EXPECT_EQ(returned[0]->bytesRecorded, 0u);
    EXPECT_EQ(returned[1]->bytesRecorded, 0u);
}

// The cushion: while the client is busy, capture goes on filling every queued
// buffer, and a stop still hands each filled one over before it returns.
TEST_P(SimulatedDevice, CaptureRunsOnWhileTheClientIsBusyAndStopDeliversEveryFilledBuffer)
{
    auto device = openWithBuffers(6);
    client.hold();
    device->start();
    signal.step(5 * framesPerBuffer());
    ASSERT_TRUE(waitFor([&] { return signal.framesDelivered() == 5 * framesPerBuffer(); }));

    std::thread stopper([&] { EXPECT_TRUE(device->stop(kStopLimit)); });
    client.release();
    stopper.join();

    ASSERT_EQ(client.filled.size(), 5u);
    for (std::size_t i = 0; i < 5; ++i) {
        EXPECT_EQ(client.filled[i], &buffers[i]);
        EXPECT_TRUE(isCounterRun(client.contents[i], i * kBufferBytes / 2)) << "buffer " << i;
    }
}

// Capture waits long for sound, so that an idle input costs few wake-ups; a
// command must not wait with it.
TEST_P(SimulatedDevice, AStopEndsTheWaitForSoundAtOnce)
{
    auto device = openWithBuffers(2);
    device->start();
    signal.step(framesPerBuffer() / 2);
    ASSERT_TRUE(waitFor([&] { return signal.framesDelivered() == framesPerBuffer() / 2; }));

    const auto before = std::chrono::steady_clock::now();
    EXPECT_TRUE(device->stop(kStopLimit));
    EXPECT_LT(std::chrono::steady_clock::now() - before, BufferedWaveIn::kReadWait / 2);
}

TEST_P(SimulatedDevice, ReportsLostSoundAndGoesOnRecording)
{
    auto device = openWithBuffers(2);
    device->start();
    signal.step(framesPerBuffer() / 2);
    ASSERT_TRUE(waitFor([&] { return signal.framesDelivered() == framesPerBuffer() / 2; }));
    signal.injectOverrun();
    signal.step(framesPerBuffer() / 2);
    ASSERT_TRUE(waitFor([&] { return client.filledCount() == 1 && client.faultCount() == 1; }));
    EXPECT_TRUE(device->stop(kStopLimit));
    EXPECT_EQ(client.faults[0], "lost 1 at " + std::to_string(kBufferBytes / 2));
}

INSTANTIATE_TEST_SUITE_P(BothChannelCounts, SimulatedDevice, ::testing::Values(1, 2));

TEST(BufferedWaveIn, AFailedInputIsReportedOnceAndStoppingStillWorks)
{
    SimulatedSignal signal{{SimulatedPace::Stepped}};
    SimulatedWaveInSystem system{signal};
    RecordingClient client;
    WaveBuffer buffer(kBufferBytes);
    auto device = system.open(WaveInSystem::kDefaultDevice, formatWith(2), client);
    device->addBuffer(buffer);
    signal.failAfter(10);
    signal.step(100);
    device->start();
    ASSERT_TRUE(waitFor([&] { return client.faultCount() == 1; }));
    EXPECT_TRUE(device->stop(kStopLimit));
    EXPECT_EQ(client.faults[0], "Simulated input failure");
    EXPECT_EQ(device->reset().size(), 1u);
    EXPECT_EQ(client.faultCount(), 1u);
}

TEST(BufferedWaveIn, StartAndBufferFaultsReachTheCaller)
{
    SimulatedSignal signal{{SimulatedPace::Stepped}};
    SimulatedWaveInSystem system{signal, {"A"}};
    RecordingClient client;
    WaveBuffer odd(kBufferBytes + 2);
    WaveBuffer empty(0);

    auto device = system.open(0, formatWith(2), client);
    EXPECT_THROW(device->addBuffer(odd), RecException);
    EXPECT_THROW(device->addBuffer(empty), RecException);
    signal.failStarts(true);
    EXPECT_THROW(device->start(), RecException);
    signal.failStarts(false);
    EXPECT_NO_THROW(device->start());

    EXPECT_THROW(system.open(1, formatWith(2), client), RecException);
    system.failOpens(true);
    EXPECT_THROW(system.open(WaveInSystem::kDefaultDevice, formatWith(2), client), RecException);
}

} // namespace
} // namespace sorvella
