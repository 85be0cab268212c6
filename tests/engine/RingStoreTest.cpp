#include "core/RecException.h"
#include "tests/engine/StoreFixture.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <limits>
#include <ostream>

namespace sorvella::test {
namespace {

constexpr std::int64_t kBlock = RingStore::kBlockSize;

class RingStoreTest : public ::testing::Test, public StoreFixture {
protected:
    // Block files on disk once the file thread is done, without the empty ones
    // it made ahead.
    std::size_t blockFilesOnDisk()
    {
        session.finishFileWork();
        std::size_t n = 0;
        for (const auto& entry :
             std::filesystem::recursive_directory_iterator(session.sessionDir())) {
            n += entry.path().extension() == ".tmp" ? 1 : 0;
        }
        return n - session.filesMadeAhead();
    }
};

// --- Content: whatever the append sizes, the store holds exactly the stream.

class AppendSizes : public RingStoreTest, public ::testing::WithParamInterface<std::uint32_t> {};

TEST_P(AppendSizes, HoldsTheStreamByteForByte)
{
    auto store = makeStore();
    const std::uint32_t size = GetParam();
    const std::int64_t total = 2 * kBlock + kBlock / 2 + 7;
    std::int64_t at = 0;
    while (at < total) {
        const auto n = static_cast<std::uint32_t>(std::min<std::int64_t>(size, total - at));
        appendBytes(*store, pattern(at, n));
        at += n;
    }
    EXPECT_EQ(store->totalBytes(), total);
    EXPECT_EQ(store->heldBytes(), total);
    ASSERT_EQ(store->blockCount(), 3u);
    EXPECT_EQ(store->block(0).fill(), kBlock);
    EXPECT_EQ(store->block(1).fill(), kBlock);
    EXPECT_EQ(store->block(1).number(), store->block(0).number() + 1);
    EXPECT_EQ(store->block(2).number(), store->block(1).number() + 1);
    EXPECT_EQ(readAll(*store), pattern(0, static_cast<std::size_t>(total)));
}

INSTANTIATE_TEST_SUITE_P(Sizes, AppendSizes,
                         ::testing::Values(7u, 1023u, 4096u, 65536u, 65537u, 524287u, 524288u,
                                           524289u, 1500000u));

TEST_F(RingStoreTest, HundredsOfOddAppendsKeepEveryByteInPlace)
{
    auto store = makeStore();
    std::uint32_t seed = 12345;
    std::int64_t at = 0;
    for (int i = 0; i < 400; ++i) {
        seed = seed * 1103515245u + 12345u;
        const std::uint32_t n = 1 + (seed >> 8) % 9000 * 2 + (i % 2); // odd and even sizes
        appendBytes(*store, pattern(at, n));
        at += n;
    }
    EXPECT_EQ(store->heldBytes(), at);
    EXPECT_EQ(readAll(*store), pattern(0, static_cast<std::size_t>(at)));
    EXPECT_EQ(session.outstanding(), static_cast<std::int64_t>(store->blockCount()));
}

TEST_F(RingStoreTest, DeletingTheStoreDeletesItsFiles)
{
    {
        auto store = makeStore();
        appendBytes(*store, pattern(0, kBlock * 2 + 10));
        EXPECT_EQ(blockFilesOnDisk(), 3u);
        EXPECT_EQ(session.outstanding(), 3);
    }
    EXPECT_EQ(blockFilesOnDisk(), 0u);
    EXPECT_EQ(session.outstanding(), 0);
}

TEST_F(RingStoreTest, DirectToDiskDropsWrittenPagesAndCanBeOff)
{
    auto store = makeStore();
    appendBytes(*store, pattern(0, 4096));
    EXPECT_GT(files.dropCacheCalls(), 0);

    settings.directToDisk = false;
    const auto before = files.dropCacheCalls();
    auto cached = makeStore();
    appendBytes(*cached, pattern(0, kBlock + 10));
    EXPECT_EQ(files.dropCacheCalls(), before);
}

TEST_F(RingStoreTest, AppendAfterEndOfRecordingGoesOnInTheSameBlock)
{
    auto store = makeStore();
    appendBytes(*store, pattern(0, 1000));
    store->endRecording();
    EXPECT_FALSE(store->block(0).writing());
    appendBytes(*store, pattern(1000, 3000));
    ASSERT_EQ(store->blockCount(), 1u);
    EXPECT_EQ(readAll(*store), pattern(0, 4000));
}

// --- Trimming

class TrimLimits : public RingStoreTest, public ::testing::WithParamInterface<std::int64_t> {};

TEST_P(TrimLimits, ConvergesOnTheLimitPlusAtMostTwoBlocks)
{
    auto store = makeStore();
    const std::int64_t limit = GetParam();
    const std::uint32_t buffer = 65536;
    std::int64_t at = 0;
    while (at < 14 * kBlock) {
        appendBytes(*store, pattern(at, buffer));
        at += buffer;
        store->trimTo(limit);
        ASSERT_LE(store->heldBytes(), limit + 2 * kBlock);
        ASSERT_GE(store->heldBytes(), std::min(at, limit));
    }
    // What is held is the newest stretch of the stream, unshifted.
    const std::int64_t held = store->heldBytes();
    EXPECT_EQ(readAll(*store), pattern(at - held, static_cast<std::size_t>(held)));
    EXPECT_EQ(blockFilesOnDisk(), store->blockCount());
    EXPECT_EQ(session.outstanding(), static_cast<std::int64_t>(store->blockCount()));
    EXPECT_EQ(store->totalBytes(), at);
}

INSTANTIATE_TEST_SUITE_P(Limits, TrimLimits,
                         ::testing::Values(0, 1, kBlock - 1, kBlock, 3 * kBlock + 5, 10 * kBlock));

TEST_F(RingStoreTest, TrimStartsOnlyWithThreeBlocksBeyondTheLimit)
{
    auto store = makeStore();
    appendBytes(*store, pattern(0, 2 * kBlock));
    store->trimTo(0);
    EXPECT_EQ(store->blockCount(), 2u); // (2 - 2) * fill is never above a limit of 0
    appendBytes(*store, pattern(2 * kBlock, 1));
    store->trimTo(kBlock); // 1 * kBlock is not above kBlock
    EXPECT_EQ(store->blockCount(), 3u);
    store->trimTo(kBlock - 1);
    EXPECT_EQ(store->blockCount(), 2u);
    EXPECT_EQ(store->heldBytes(), kBlock + 1);
}

TEST_F(RingStoreTest, DropOldestBlockSubtractsItsFill)
{
    auto store = makeStore();
    store->dropOldestBlock(); // empty: nothing happens
    appendBytes(*store, pattern(0, kBlock + 100));
    store->dropOldestBlock();
    EXPECT_EQ(store->heldBytes(), 100);
    EXPECT_EQ(store->totalBytes(), kBlock + 100);
    EXPECT_EQ(readAll(*store), pattern(kBlock, 100));
}

// --- Vox marks and overview

class LoudSampleAt : public RingStoreTest, public ::testing::WithParamInterface<std::int32_t> {};

TEST_P(LoudSampleAt, MarksItsStartAndEnd)
{
    settings.voxVolume = 1000;
    auto store = makeStore();
    const std::int32_t i = GetParam();
    std::vector<std::uint8_t> block(kBlock, 0);
    block[static_cast<std::size_t>(i)] = 0xE9; // 1001 = 0x03E9
    block[static_cast<std::size_t>(i) + 1] = 0x03;
    for (std::size_t at = 0; at < block.size(); at += 4096) {
        store->append(block.data() + at, 4096);
    }
    const StoreBlock& b = store->block(0);
    EXPECT_EQ(b.loudCount(), 1);
    EXPECT_EQ(b.firstLoud(), i + 2);
    EXPECT_EQ(b.lastLoud(), i);
}

INSTANTIATE_TEST_SUITE_P(Offsets, LoudSampleAt,
                         ::testing::Values(0, 2, 4094, 4096, 65534, 300000, kBlock - 2));

TEST_F(RingStoreTest, ASampleEqualToTheTriggerIsNotLoud)
{
    settings.voxVolume = 1000;
    auto store = makeStore();
    appendBytes(*store, samples({1000, -1000, 999, 0}));
    EXPECT_EQ(store->block(0).loudCount(), 0);
    EXPECT_EQ(store->block(0).firstLoud(), -1);
    EXPECT_EQ(store->block(0).lastLoud(), -1);
    appendBytes(*store, samples({1001, -1001, -32768}));
    EXPECT_EQ(store->block(0).loudCount(), 3);
    EXPECT_EQ(store->block(0).firstLoud(), 10);
    EXPECT_EQ(store->block(0).lastLoud(), 12);
}

TEST_F(RingStoreTest, TriggerLevelChangesForLaterAppends)
{
    settings.voxVolume = 30000;
    auto store = makeStore();
    appendBytes(*store, samples({20000}));
    Settings lower;
    lower.voxVolume = 100;
    store->setTriggerLevel(lower);
    EXPECT_EQ(store->triggerLevel(), 100);
    appendBytes(*store, samples({20000}));
    EXPECT_EQ(store->block(0).loudCount(), 1);
    EXPECT_EQ(store->block(0).firstLoud(), 4);
}

// Marks and peaks against a sample-by-sample reference, for trigger levels at
// the edges and appends that end inside and between eight-sample groups.
struct ScanCase {
    std::int32_t trigger;
    std::uint32_t appendBytes;
};

class ScanAgainstReference : public RingStoreTest,
                             public ::testing::WithParamInterface<ScanCase> {};

TEST_P(ScanAgainstReference, MarksAndPeaksMatch)
{
    const ScanCase c = GetParam();
    settings.voxVolume = c.trigger;
    auto store = makeStore();
    const std::vector<std::int16_t> values = mixedSamples(64 * 1024);
    const std::vector<std::uint8_t> bytes = samples(values);
    for (std::size_t at = 0; at < bytes.size(); at += c.appendBytes) {
        const auto n = std::min<std::size_t>(c.appendBytes, bytes.size() - at);
        store->append(bytes.data() + at, static_cast<std::uint32_t>(n));
    }

    std::int32_t loud = 0;
    std::int32_t first = -1;
    std::int32_t last = -1;
    std::vector<int> peaks(values.size() * 2 / 1024, 0);
    for (std::size_t k = 0; k < values.size(); ++k) {
        const int magnitude = std::abs(static_cast<int>(values[k]));
        peaks[k * 2 / 1024] = std::max(peaks[k * 2 / 1024], magnitude);
        if (magnitude > c.trigger) {
            ++loud;
            first = first < 0 ? static_cast<std::int32_t>(2 * k + 2) : first;
            last = static_cast<std::int32_t>(2 * k);
        }
    }
    const StoreBlock& b = store->block(0);
    EXPECT_EQ(b.loudCount(), loud);
    EXPECT_EQ(b.firstLoud(), first);
    EXPECT_EQ(b.lastLoud(), last);
    if (c.appendBytes % 1024 == 0) { // an append starts a slice of its own
        for (std::size_t s = 0; s < peaks.size(); ++s) {
            ASSERT_EQ(b.overview()[s], std::min(peaks[s] / 128, 255)) << "slice " << s;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Triggers, ScanAgainstReference,
                         ::testing::Values(ScanCase{-1, 4096}, ScanCase{0, 1024},
                                           ScanCase{1000, 4096}, ScanCase{1000, 18},
                                           ScanCase{32767, 65536}, ScanCase{32767, 1022},
                                           ScanCase{20000, 6}, ScanCase{40000, 4096}));

// Blocks count for vox only with more than 50 loud samples.
TEST_F(RingStoreTest, LoudPositionsSkipBlocksWithFewLoudSamples)
{
    settings.voxVolume = 100;
    auto store = makeStore();
    EXPECT_EQ(store->firstLoudPosition(), -1);
    EXPECT_EQ(store->lastLoudPosition(), -1);
    auto fillBlock = [&](int loud, std::int32_t from) {
        std::vector<std::int16_t> values(kBlock / 2, 0);
        for (int k = 0; k < loud; ++k) {
            values[static_cast<std::size_t>(from / 2 + k * 10)] = 5000;
        }
        appendBytes(*store, samples(values));
    };
    fillBlock(50, 0);    // exactly 50: not enough
    fillBlock(51, 1000); // first loud block: offsets 1000 .. 1000 + 50 * 20
    fillBlock(60, 2000);
    fillBlock(10, 0);
    EXPECT_EQ(store->firstLoudPosition(), kBlock + 1000 + 2);
    EXPECT_EQ(store->lastLoudPosition(), 2 * kBlock + 2000 + 59 * 20);
}

TEST_F(RingStoreTest, OverviewHoldsThePeakPerKibibyte)
{
    auto store = makeStore();
    std::vector<std::int16_t> values(2048, 0); // 4 KiB: four slices
    values[10] = 12800;                        // slice 0: 100
    values[600] = -256;                        // slice 1: 2
    values[1500] = -32768;                     // slice 2: capped at 255
    values[2047] = 127;                        // slice 3: 0
    appendBytes(*store, samples(values));
    const auto& overview = store->block(0).overview();
    EXPECT_EQ(overview[0], 100);
    EXPECT_EQ(overview[1], 2);
    EXPECT_EQ(overview[2], 255);
    EXPECT_EQ(overview[3], 0);
    EXPECT_EQ(overview[4], 0);
}

// --- Positions

TEST_F(RingStoreTest, AbsoluteAndLogicalPositions)
{
    auto store = makeStore();
    EXPECT_EQ(store->toAbsolute(0), -1); // empty store
    appendBytes(*store, pattern(0, 3 * kBlock));
    const std::int64_t first = store->block(0).number();
    EXPECT_EQ(store->toAbsolute(0), first * kBlock);
    EXPECT_EQ(store->toAbsolute(kBlock + 8), (first + 1) * kBlock + 8);
    EXPECT_EQ(store->toAbsolute(3 * kBlock), (first + 2) * kBlock + kBlock - 4); // end: last frame
    EXPECT_EQ(store->toAbsolute(3 * kBlock + 4), -1);
    EXPECT_EQ(store->toAbsolute(-4), -1);
    EXPECT_EQ(store->toAbsolute(std::numeric_limits<std::int64_t>::max()), -1);

    EXPECT_EQ(store->toLogical((first + 1) * kBlock + 8), kBlock + 8);
    store->dropOldestBlock();
    EXPECT_EQ(store->toLogical(first * kBlock + 8), -1); // trimmed
    EXPECT_EQ(store->toLogical((first + 1) * kBlock + 8), 8);
    EXPECT_EQ(store->toAbsolute(8), (first + 1) * kBlock + 8);
    EXPECT_EQ(store->toLogical(-1), -1);
    EXPECT_EQ(store->toLogical((first + 3) * kBlock), -1);

    appendBytes(*store, pattern(0, 100)); // the tail is no longer full
    EXPECT_EQ(store->toAbsolute(3 * kBlock), -1);
}

TEST_F(RingStoreTest, PeakInRangeLooksAtSlicesEndingInside)
{
    auto store = makeStore();
    EXPECT_EQ(store->peakInRange(0, kBlock), 128); // empty
    std::vector<std::int16_t> values(4096, 0);     // 8 slices
    values[512 * 2] = 64 * 128;                    // slice 2 (ends at 3072): 64
    values[512 * 5] = 10 * 128;                    // slice 5 (ends at 6144): 10
    appendBytes(*store, samples(values));
    EXPECT_EQ(store->peakInRange(0, 8192), 64 * 128 + 128);
    EXPECT_EQ(store->peakInRange(3072, 8192), 10 * 128 + 128); // end 3072 is not strictly inside
    EXPECT_EQ(store->peakInRange(0, 3072), 128);
    EXPECT_EQ(store->peakInRange(0, 3073), 64 * 128 + 128);
    EXPECT_EQ(store->peakInRange(5000, 5000), 128);
    EXPECT_EQ(store->peakInRange(-100, 0), 128);
    EXPECT_EQ(store->peakInRange(9000, 100), 128);
}

// --- Loading blocks and the playback window

TEST_F(RingStoreTest, LoadingReportsAMissingOrShortFile)
{
    auto store = makeStore();
    appendBytes(*store, pattern(0, kBlock + 300));
    std::filesystem::resize_file(store->block(1).fileName(), 100);
    try {
        store->block(1).load();
        FAIL() << "no exception";
    } catch (const RecException& e) {
        EXPECT_EQ(e.kind(), RecException::Failure);
        EXPECT_EQ(e.message(), "Temorary File too short (100 300)...");
    }
    EXPECT_FALSE(store->block(1).loaded());

    std::filesystem::remove(store->block(0).fileName());
    try {
        store->block(0).load();
        FAIL() << "no exception";
    } catch (const RecException& e) {
        EXPECT_EQ(e.kind(), RecException::Failure);
        EXPECT_EQ(e.message(), "Cannot open temporary file");
    }
}

TEST_F(RingStoreTest, PlaybackKeepsOnlyTheWindowAroundThePositionLoaded)
{
    auto store = makeStore();
    const auto stream = pattern(0, 5 * kBlock);
    appendBytes(*store, stream);
    auto loaded = [&] {
        std::vector<bool> out;
        for (std::size_t k = 0; k < store->blockCount(); ++k) {
            out.push_back(store->block(k).loaded());
        }
        return out;
    };
    EXPECT_EQ(*store->dataAt(5), stream[5]);
    EXPECT_EQ(*store->dataAt(kBlock + 7), stream[kBlock + 7]);
    EXPECT_EQ(loaded(), (std::vector<bool>{true, true, false, false, false}));
    EXPECT_EQ(*store->dataAt(3 * kBlock), stream[3 * kBlock]);
    // Block 0 starts 1.5 MiB before, block 1 exactly 1 MiB before: it stays.
    EXPECT_EQ(loaded(), (std::vector<bool>{false, true, false, true, false}));
    EXPECT_EQ(*store->dataAt(kBlock - 1), stream[kBlock - 1]);
    EXPECT_EQ(loaded(), (std::vector<bool>{true, true, false, false, false}));
    EXPECT_EQ(store->dataAt(5 * kBlock), nullptr);
    EXPECT_EQ(store->dataAt(-1), nullptr);
}

// --- Faults

TEST_F(RingStoreTest, FailedBlockCreationLeavesTheChainUnchanged)
{
    auto store = makeStore();
    files.failNextCreates(1);
    try {
        appendBytes(*store, pattern(0, 100));
        FAIL() << "no exception";
    } catch (const RecException& e) {
        EXPECT_EQ(e.kind(), RecException::Failure);
        EXPECT_EQ(e.message(), "Cannot create temp file...");
    }
    EXPECT_EQ(store->blockCount(), 0u);
    EXPECT_EQ(store->totalBytes(), 0);
    EXPECT_EQ(session.outstanding(), 0);

    // Once the disk takes no new files, recording goes on into the files made
    // ahead, and fails only when they are used up.
    appendBytes(*store, pattern(0, kBlock));
    session.finishFileWork();
    files.failCreates(true);
    const std::int64_t ahead = static_cast<std::int64_t>(BlockFileWorker::kSpares) * kBlock;
    appendBytes(*store, pattern(kBlock, static_cast<std::size_t>(ahead)));
    EXPECT_THROW(appendBytes(*store, pattern(kBlock + ahead, 100)), RecException);
    EXPECT_EQ(store->blockCount(), 1u + BlockFileWorker::kSpares);
    EXPECT_EQ(store->heldBytes(), kBlock + ahead);
    files.failCreates(false);
    appendBytes(*store, pattern(kBlock + ahead, 100));
    EXPECT_EQ(readAll(*store), pattern(0, static_cast<std::size_t>(kBlock + ahead + 100)));
}

struct DiskFullCase {
    std::int64_t before;    // bytes appended before the disk fills
    std::uint32_t failing;  // size of the append that meets the full disk
    std::int64_t spaceLeft; // what the disk still takes of it

    friend void PrintTo(const DiskFullCase& c, std::ostream* os)
    {
        *os << "{before " << c.before << ", failing " << c.failing << ", space " << c.spaceLeft
            << "}";
    }
};

class DiskFull : public RingStoreTest, public ::testing::WithParamInterface<DiskFullCase> {};

// A short write commits nothing of its piece: no counters, no marks, no
// overview, no fill. Once space is back the stream goes on at the block's
// fill, with nothing held lost and nothing shifted.
TEST_P(DiskFull, KeepsTheBlockAsItWasAndGoesOnOnceSpaceIsBack)
{
    const auto c = GetParam();
    settings.voxVolume = 1000;
    auto store = makeStore();
    const auto quiet = std::vector<std::uint8_t>(static_cast<std::size_t>(c.before), 0);
    appendBytes(*store, quiet);
    const auto loud = samples(std::vector<std::int16_t>(c.failing / 2, 20000));

    // Bytes of the failing append that land in a block that fills up are kept.
    const std::int64_t roomInTail = c.before % kBlock == 0 ? kBlock : kBlock - c.before % kBlock;
    const std::int64_t kept = roomInTail <= c.spaceLeft && roomInTail < c.failing ? roomInTail : 0;

    files.setDiskFull(c.spaceLeft);
    EXPECT_FALSE(store->append(loud.data(), static_cast<std::uint32_t>(loud.size())));
    EXPECT_EQ(store->heldBytes(), c.before + kept);
    EXPECT_EQ(store->totalBytes(), c.before + kept);
    const StoreBlock& tail = store->block(store->blockCount() - 1);
    EXPECT_EQ(tail.loudCount(), 0);
    EXPECT_EQ(tail.overview()[tail.fill() / 1024], 0);

    files.spaceIsBack();
    const auto after = pattern(0, 3000);
    appendBytes(*store, after);
    std::vector<std::uint8_t> expected = quiet;
    expected.insert(expected.end(), loud.begin(), loud.begin() + kept);
    expected.insert(expected.end(), after.begin(), after.end());
    EXPECT_EQ(readAll(*store), expected);
    EXPECT_EQ(store->heldBytes(), static_cast<std::int64_t>(expected.size()));
}

INSTANTIATE_TEST_SUITE_P(Cases, DiskFull,
                         ::testing::Values(DiskFullCase{0, 4096, 0}, DiskFullCase{1000, 4096, 1},
                                           DiskFullCase{1000, 4096, 4095},
                                           DiskFullCase{kBlock, 65536, 3},
                                           DiskFullCase{kBlock - 100, 300, 0},
                                           DiskFullCase{kBlock - 100, 300, 150},
                                           DiskFullCase{kBlock - 100, 300, 299}));

// --- Snapshots

TEST_F(RingStoreTest, SnapshotSharesFilesThatOutliveTheSource)
{
    auto store = makeStore();
    appendBytes(*store, pattern(0, 2 * kBlock + 500));
    auto copy = store->snapshot();
    EXPECT_EQ(copy->heldBytes(), store->heldBytes());
    EXPECT_EQ(copy->totalBytes(), store->totalBytes());
    ASSERT_EQ(copy->blockCount(), 3u);
    for (std::size_t k = 0; k < 3; ++k) {
        EXPECT_EQ(copy->block(k).number(), store->block(k).number());
        EXPECT_EQ(copy->block(k).fileName(), store->block(k).fileName());
        EXPECT_EQ(copy->block(k).shareCount(), 2);
        EXPECT_FALSE(copy->block(k).writing());
    }
    store.reset();
    EXPECT_EQ(blockFilesOnDisk(), 3u);
    EXPECT_EQ(copy->block(0).shareCount(), 1);
    EXPECT_EQ(readAll(*copy), pattern(0, 2 * kBlock + 500));
    copy.reset();
    EXPECT_EQ(blockFilesOnDisk(), 0u);
    EXPECT_EQ(session.outstanding(), 0);
}

TEST_F(RingStoreTest, SnapshotFreezesTheTailAndItsOverview)
{
    auto store = makeStore();
    appendBytes(*store, std::vector<std::uint8_t>(kBlock + 4096, 0));
    auto copy = store->snapshot();
    // Full blocks never change again: their overview is shared.
    EXPECT_EQ(&copy->block(0).overview(), &store->block(0).overview());
    EXPECT_NE(&copy->block(1).overview(), &store->block(1).overview());

    appendBytes(*store, samples(std::vector<std::int16_t>(4096, 25600)));
    EXPECT_EQ(store->block(1).overview()[4], 200);
    EXPECT_EQ(copy->block(1).overview()[4], 0);
    EXPECT_EQ(copy->block(1).fill(), 4096u);
    EXPECT_EQ(copy->heldBytes(), kBlock + 4096);
    EXPECT_EQ(readAll(*copy), std::vector<std::uint8_t>(kBlock + 4096, 0));
}

// --- Odd settings come unchecked from the settings file.

class OddSettings : public RingStoreTest,
                    public ::testing::WithParamInterface<std::tuple<std::int32_t, std::int32_t>> {};

TEST_P(OddSettings, StoreStillHoldsTheStream)
{
    settings.voxVolume = std::get<0>(GetParam());
    settings.voxProfile = std::get<1>(GetParam());
    auto store = makeStore();
    const auto stream = samples(std::vector<std::int16_t>{0, -32768, 32767, 5, -5, 0});
    appendBytes(*store, stream);
    store->trimTo(-1);
    store->trimTo(std::numeric_limits<std::int64_t>::max());
    EXPECT_EQ(readAll(*store), stream);
    EXPECT_GE(store->block(0).loudCount(), 0);
    EXPECT_LE(store->block(0).loudCount(), 6);
    EXPECT_EQ(store->firstLoudPosition(), -1); // never more than 50 loud samples here
}

INSTANTIATE_TEST_SUITE_P(
    Values, OddSettings,
    ::testing::Combine(::testing::Values(std::numeric_limits<std::int32_t>::min(), -1, 0, 32768,
                                         std::numeric_limits<std::int32_t>::max()),
                       ::testing::Values(-1, 1001, 123456)));

} // namespace
} // namespace sorvella::test
