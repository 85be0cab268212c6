#include "engine/SoundReader.h"
#include "tests/engine/ReaderFixture.h"
#include "tests/support/WaitFor.h"

#include <gtest/gtest.h>

namespace sorvella {
namespace {

using test::holdsCounter;
using test::ReaderFixture;
using test::waitFor;

constexpr std::int32_t kLoopSeconds = 2;
constexpr std::int32_t kContinuous = -1;

struct Stream {
    std::uint16_t channels;
    std::int32_t keepSeconds;
    std::int64_t blocks; // store blocks the recording fills
};

void PrintTo(const Stream& s, std::ostream* out)
{
    *out << s.channels << " channel(s), keep " << s.keepSeconds << " s, " << s.blocks << " blocks";
}

class SampleExactStream : public ::testing::TestWithParam<Stream> {};

// A counter signal recorded as fast as the disk takes it, across hundreds of
// block files, while the main thread takes snapshots: every byte held by the
// store and by each snapshot is the one expected, nothing lost or doubled.
TEST_P(SampleExactStream, EveryHeldByteIsTheCounter)
{
    const Stream& stream = GetParam();
    ReaderFixture fx({SimulatedPace::Unlimited});
    fx.settings.format.channels = stream.channels;
    fx.owner.keep = stream.keepSeconds;
    const std::int64_t total = stream.blocks * RingStore::kBlockSize;
    fx.signal.endAfter(static_cast<std::uint64_t>(total) / (2u * stream.channels));

    auto reader = fx.makeReader();
    int snapshots = 0;
    while (reader->store()->totalBytes() < total) {
        auto snapshot = reader->snapshotStore();
        ASSERT_TRUE(holdsCounter(*snapshot)) << "snapshot " << snapshots;
        ++snapshots;
    }
    reader->stop();
    auto store = reader->detachStore();
    reader->shutDown();

    EXPECT_GT(snapshots, 1);
    ASSERT_EQ(store->totalBytes(), total);
    EXPECT_TRUE(holdsCounter(*store));
    if (stream.keepSeconds == kContinuous) {
        EXPECT_EQ(store->heldBytes(), total);
    } else {
        const std::int64_t limit = std::int64_t{kLoopSeconds} * reader->format().avgBytesPerSec;
        EXPECT_GE(store->heldBytes(), limit);
        EXPECT_LE(store->heldBytes(), limit + 2 * RingStore::kBlockSize);
    }
    EXPECT_TRUE(fx.owner.prompts.boxes.empty());
    EXPECT_EQ(reader->claimPendingError().kind(), RecException::None);
}

INSTANTIATE_TEST_SUITE_P(Modes, SampleExactStream,
                         ::testing::Values(Stream{1, kLoopSeconds, 200},
                                           Stream{2, kLoopSeconds, 300}, Stream{1, kContinuous, 24},
                                           Stream{2, kContinuous, 40}));

// The disk stalls for 5 s while recording runs in real time: the queued
// kernel buffers (about 12 s with the defaults) carry the sound over it, and
// every sample arrives once the writes resume.
TEST(SoundReaderStall, AFiveSecondDiskStallLosesNothing)
{
    ReaderFixture fx({SimulatedPace::RealTime});
    const std::uint64_t frames = 20 * fx.framesPerBuffer(); // about 7.4 s
    fx.signal.endAfter(frames);
    fx.files.holdWrites(std::chrono::seconds(5));

    auto reader = fx.makeReader();
    ASSERT_TRUE(fx.files.waitForHeldWriter(std::chrono::seconds(30)));
    ASSERT_TRUE(
        waitFor([&] { return fx.signal.framesDelivered() == frames; }, std::chrono::seconds(60)));
    reader->stop(); // appends every complete buffer still waiting
    auto store = reader->detachStore();
    reader->shutDown();

    EXPECT_EQ(fx.signal.overruns(), 0);
    EXPECT_EQ(store->totalBytes(), static_cast<std::int64_t>(frames * 4));
    EXPECT_EQ(reader->claimPendingError().kind(), RecException::None);
    EXPECT_TRUE(holdsCounter(*store));
}

} // namespace
} // namespace sorvella
