#include "engine/SoundReader.h"
#include "tests/engine/ReaderFixture.h"
#include "tests/support/WaitFor.h"

#include <gtest/gtest.h>

#include <sys/mount.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <thread>

namespace sorvella {
namespace {

using test::holdsCounter;
using test::isCounterRun;
using test::readAll;
using test::ReaderFixture;
using test::waitFor;

std::vector<std::string> boxTexts(const test::FakePrompter& prompts)
{
    std::vector<std::string> texts;
    for (const auto& box : prompts.boxes) {
        texts.push_back(box.text);
    }
    return texts;
}

// ---- Which device opens

struct DeviceChoice {
    std::int32_t soundCard;
    int openedDevice;
};

class SoundCardSetting : public ::testing::TestWithParam<DeviceChoice> {};

TEST_P(SoundCardSetting, OpensTheListedDeviceOrElseTheDefault)
{
    ReaderFixture fx;
    fx.settings.soundCard = GetParam().soundCard;
    fx.makeReader()->shutDown();
    EXPECT_EQ(fx.waveIn.lastDevice(), GetParam().openedDevice);
}

INSTANTIATE_TEST_SUITE_P(Indexes, SoundCardSetting,
                         ::testing::Values(DeviceChoice{0, WaveInSystem::kDefaultDevice},
                                           DeviceChoice{1, 0}, DeviceChoice{2, 1},
                                           DeviceChoice{3, WaveInSystem::kDefaultDevice},
                                           DeviceChoice{-4, WaveInSystem::kDefaultDevice}));

TEST(SoundReader, InputDeviceNamesFollowTheDeviceList)
{
    ReaderFixture fx;
    EXPECT_EQ(SoundReader::inputDeviceName(fx.waveIn, 0), "Default Audio Device");
    EXPECT_EQ(SoundReader::inputDeviceName(fx.waveIn, 1), "Card A");
    EXPECT_EQ(SoundReader::inputDeviceName(fx.waveIn, 2), "Card B");
    EXPECT_EQ(SoundReader::inputDeviceName(fx.waveIn, 3), "");
    EXPECT_EQ(SoundReader::inputDeviceName(fx.waveIn, -1), "");
}

TEST(SoundReader, OutOfRangeChannelCountsRecordWithTheNearestOne)
{
    for (const auto& [stored, opened] : {std::pair{0, 1}, std::pair{9, 2}}) {
        ReaderFixture fx;
        fx.settings.format.channels = static_cast<std::uint16_t>(stored);
        auto reader = fx.makeReader();
        EXPECT_EQ(fx.waveIn.lastFormat().channels, opened);
        EXPECT_EQ(fx.waveIn.lastFormat().blockAlign, 2 * opened);
        fx.signal.step(fx.framesPerBuffer());
        EXPECT_TRUE(waitFor([&] { return reader->heldBytes() > 0; }));
        reader->shutDown();
    }
}

// ---- Failures while starting

TEST(SoundReader, StartFailuresAreRetryableAndLeaveNothingOpen)
{
    ReaderFixture fx;
    const auto expectFailure = [&](const char* text) {
        try {
            fx.makeReader();
            ADD_FAILURE() << "no exception, expected " << text;
        } catch (const RecException& e) {
            EXPECT_EQ(e.kind(), RecException::OpenFailure);
            EXPECT_EQ(e.message(), text);
        }
    };

    fx.waveIn.failOpens(true);
    expectFailure(SoundReader::kOpenError);
    fx.waveIn.failOpens(false);

    fx.signal.failStarts(true);
    expectFailure(SoundReader::kStartError);
    fx.signal.failStarts(false);

    fx.waveIn.refuseAddBuffers(1000);
    expectFailure(SoundReader::kStartError);
    fx.waveIn.refuseAddBuffers(0);

    const int opens = fx.waveIn.openCount();
    fx.settings.format.samplesPerSec = 0;
    expectFailure(SoundReader::kOpenError);
    EXPECT_EQ(fx.waveIn.openCount(), opens) << "an unusable rate never reaches the device";
    EXPECT_EQ(fx.session.outstanding(), 0);
}

TEST(SoundReader, RefusedBuffersAreToldAboutAndRecordingGoesOnWithTheOthers)
{
    ReaderFixture fx;
    fx.waveIn.refuseAddBuffers(2);
    auto reader = fx.makeReader();
    EXPECT_EQ(boxTexts(fx.owner.prompts),
              std::vector<std::string>(2, SoundReader::kAddBufferPanic));

    fx.signal.step(100 * fx.framesPerBuffer());
    ASSERT_TRUE(waitFor([&] {
        return reader->store()->totalBytes() ==
               static_cast<std::int64_t>(100 * fx.framesPerBuffer() * 4);
    }));
    reader->shutDown();
    EXPECT_EQ(fx.owner.prompts.boxes.size(), 2u) << "no buffer is reported missing at shutdown";
}

TEST(SoundReader, ABufferRefusedWhileRecordingIsReportedAndRecordingGoesOn)
{
    ReaderFixture fx;
    auto reader = fx.makeReader();
    fx.waveIn.refuseAddBuffers(1);
    fx.signal.step(40 * fx.framesPerBuffer());
    ASSERT_TRUE(waitFor([&] {
        return reader->store()->totalBytes() ==
               static_cast<std::int64_t>(40 * fx.framesPerBuffer() * 4);
    }));
    EXPECT_EQ(reader->claimPendingError().message(), SoundReader::kAddBufferPanic);
    reader->shutDown();
    EXPECT_TRUE(fx.owner.prompts.boxes.empty());
}

// ---- Peaks

class Peaks : public ::testing::TestWithParam<std::uint16_t> {};

TEST_P(Peaks, EachChannelsLargestSampleOnceThenMinusOne)
{
    SimulatedSignal::Options options{SimulatedPace::Stepped};
    // Even samples (left) swing to 1000, odd ones (right) to -2000.
    options.sample = [](std::uint64_t n) -> std::int16_t {
        return n % 2 == 0 ? static_cast<std::int16_t>(n % 1001) : -2000;
    };
    ReaderFixture fx(options);
    fx.settings.format.channels = GetParam();
    auto reader = fx.makeReader();

    std::int32_t left = 0;
    std::int32_t right = 0;
    reader->takePeaks(left, right);
    fx.signal.step(2 * fx.framesPerBuffer());
    ASSERT_TRUE(waitFor([&] {
        return reader->heldBytes() == static_cast<std::int64_t>(2 * fx.framesPerBuffer()) *
                                          fx.waveIn.lastFormat().blockAlign;
    }));
    reader->takePeaks(left, right);
    if (GetParam() == 2) {
        EXPECT_EQ(left, 1000);
        EXPECT_EQ(right, 2000);
    } else {
        EXPECT_EQ(left, 2000);
        EXPECT_EQ(right, 2000);
    }
    reader->takePeaks(left, right);
    EXPECT_EQ(left, -1);
    EXPECT_EQ(right, -1);
    reader->shutDown();
}

INSTANTIATE_TEST_SUITE_P(BothChannelCounts, Peaks, ::testing::Values(1, 2));

// ---- Errors during recording

// A full disk pauses the recording without a pending error and without
// losing what is held; it goes on by itself once space is back. A loop first
// gives up its oldest block, whose file makes room, and does not pause.
class FullDisk : public ::testing::TestWithParam<bool> {};

TEST_P(FullDisk, PausesKeepingWhatIsHeldAndGoesOnWhenThereIsRoom)
{
    const bool loop = GetParam();
    ReaderFixture fx;
    fx.owner.keep = loop ? 3600 : -1;
    auto reader = fx.makeReader();
    const std::uint64_t frames = fx.framesPerBuffer();
    const auto blockFrames = static_cast<std::uint64_t>(RingStore::kBlockSize / 4);
    const std::uint64_t before = blockFrames + frames; // two blocks
    fx.signal.step(before);
    ASSERT_TRUE(
        waitFor([&] { return reader->heldBytes() == static_cast<std::int64_t>(before) * 4; }));
    const std::int64_t removes = fx.files.removeCalls();

    fx.files.setDiskFull(0);
    fx.signal.step(frames);
    if (loop) {
        ASSERT_TRUE(waitFor([&] { return fx.files.removeCalls() > removes; }));
    } else {
        ASSERT_TRUE(waitFor([&] { return reader->diskFull(); }));
        EXPECT_EQ(reader->heldBytes(), static_cast<std::int64_t>(before) * 4);
        fx.files.spaceIsBack();
    }
    const std::int64_t keptBytes = reader->heldBytes();
    ASSERT_TRUE(waitFor([&] {
        fx.signal.step(frames);
        return reader->heldBytes() > keptBytes;
    }));
    EXPECT_FALSE(reader->diskFull());
    EXPECT_EQ(reader->claimPendingError().kind(), RecException::None);

    reader->stop();
    auto store = reader->detachStore();
    reader->shutDown();
    // Everything held before the disk filled, up to the gap it left.
    const std::int64_t dropped = loop ? RingStore::kBlockSize : 0;
    std::vector<std::uint8_t> held = readAll(*store);
    held.resize(static_cast<std::size_t>(static_cast<std::int64_t>(before) * 4 - dropped));
    EXPECT_TRUE(isCounterRun(held, static_cast<std::uint64_t>(dropped / 2)));
}

INSTANTIATE_TEST_SUITE_P(ContinuousAndLoop, FullDisk, ::testing::Bool());

// A small real file system (tmpfs, where the machine lets the test mount
// one) for the temporary directory, unmounted when the object goes.
class SmallFileSystem {
public:
    explicit SmallFileSystem(const std::string& size)
    {
        const std::string options = "size=" + size;
        m_mounted = ::mount("tmpfs", m_dir.path().c_str(), "tmpfs", 0, options.c_str()) == 0;
    }
    ~SmallFileSystem()
    {
        if (m_mounted) {
            ::umount2(m_dir.path().c_str(), MNT_DETACH);
        }
    }
    SmallFileSystem(const SmallFileSystem&) = delete;
    SmallFileSystem& operator=(const SmallFileSystem&) = delete;

    bool mounted() const { return m_mounted; }
    const std::filesystem::path& path() const { return m_dir.path(); }

private:
    test::TempDir m_dir{"tmpfs"};
    bool m_mounted = false;
};

// The simulated device records into a real 4 MiB file system until it is
// full: the recording pauses with everything held intact, and goes on once
// another file there gives its space back.
TEST(SoundReader, RecordsIntoASmallRealFileSystemUntilFullAndGoesOnWhenThereIsRoom)
{
    const SmallFileSystem disk("4m");
    if (!disk.mounted()) {
        GTEST_SKIP() << "this machine does not let the test mount a tmpfs";
    }
    const std::filesystem::path ballast = disk.path() / "ballast";
    {
        std::ofstream out(ballast, std::ios::binary);
        const std::vector<char> megabyte(1 << 20, 'x');
        out.write(megabyte.data(), static_cast<std::streamsize>(megabyte.size()));
    }
    ReaderFixture fx;
    fx.settings.tempDirectory = disk.path().string();
    ASSERT_EQ(fx.session.setUp(), "");
    auto reader = fx.makeReader();
    const std::uint64_t frames = fx.framesPerBuffer();

    ASSERT_TRUE(waitFor([&] {
        fx.signal.step(16 * frames);
        return reader->diskFull();
    }));
    const std::int64_t held = reader->heldBytes();
    EXPECT_GT(held, 0);
    // Files made ahead set space aside: none may be in the making when the
    // ballast goes, or it could take the space before the recording does.
    fx.session.finishFileWork();
    std::filesystem::remove(ballast);
    auto nextBuffer = std::chrono::steady_clock::now();
    ASSERT_TRUE(waitFor([&] {
        if (std::chrono::steady_clock::now() >= nextBuffer) {
            fx.signal.step(frames);
            nextBuffer += std::chrono::milliseconds(50);
        }
        return reader->heldBytes() > held;
    }));
    EXPECT_FALSE(reader->diskFull());

    reader->stop();
    auto store = reader->detachStore();
    reader->shutDown();
    std::vector<std::uint8_t> bytes = readAll(*store);
    bytes.resize(static_cast<std::size_t>(held));
    EXPECT_TRUE(isCounterRun(bytes, 0));
}

TEST(SoundReader, AnErrorBeingShownIsNotOverwritten)
{
    ReaderFixture fx;
    auto reader = fx.makeReader();
    fx.files.failNextCreates(1);
    fx.signal.step(fx.framesPerBuffer());
    RecException shown;
    ASSERT_TRUE(waitFor([&] {
        shown = reader->claimPendingError();
        return shown.kind() != RecException::None;
    }));
    EXPECT_EQ(shown.message(), "Cannot create temp file...");

    fx.waveIn.refuseAddBuffers(1);
    fx.signal.step(fx.framesPerBuffer());
    ASSERT_TRUE(waitFor([&] { return reader->heldBytes() > 0; }));
    EXPECT_EQ(reader->claimPendingError().kind(), RecException::None);

    reader->clearPendingError();
    fx.waveIn.refuseAddBuffers(1);
    fx.signal.step(fx.framesPerBuffer());
    RecException next;
    ASSERT_TRUE(waitFor([&] {
        next = reader->claimPendingError();
        return next.kind() != RecException::None;
    }));
    EXPECT_EQ(next.message(), SoundReader::kAddBufferPanic);
    reader->shutDown();
}

// A failed input is a lost device to reopen, not an error to stop for.
TEST(SoundReader, AFailedInputIsALostDeviceAndStoppingStillWorks)
{
    ReaderFixture fx;
    auto reader = fx.makeReader();
    fx.signal.failAfter(fx.framesPerBuffer() / 2);
    fx.signal.step(fx.framesPerBuffer());
    ASSERT_TRUE(waitFor([&] { return reader->health().deviceLost; }));
    EXPECT_EQ(reader->deviceLossReason(), "Simulated input failure");
    EXPECT_EQ(reader->claimPendingError().kind(), RecException::None);
    reader->shutDown();
    EXPECT_EQ(reader->state(), SoundReader::Stopped);
}

// ---- Stopping

// Buffers that the device filled while the store was stalled still reach the
// store when recording stops; only the partly filled one is dropped.
TEST(SoundReader, StopKeepsEveryCompleteBufferAlreadyFilled)
{
    ReaderFixture fx;
    auto reader = fx.makeReader();
    const std::uint64_t frames = fx.framesPerBuffer();
    fx.files.holdWrites();
    fx.signal.step(3 * frames + frames / 2);
    ASSERT_TRUE(fx.files.waitForHeldWriter(std::chrono::seconds(30)));
    ASSERT_TRUE(waitFor([&] { return fx.signal.framesDelivered() == 3 * frames + frames / 2; }));

    std::thread stopper([&] { reader->stop(); });
    ASSERT_TRUE(waitFor([&] { return reader->state() != SoundReader::Running; }));
    fx.files.releaseWrites();
    stopper.join();

    EXPECT_EQ(reader->state(), SoundReader::Stopped);
    auto store = reader->detachStore();
    reader->shutDown();
    EXPECT_EQ(store->totalBytes(), static_cast<std::int64_t>(3 * frames * 4));
    EXPECT_TRUE(holdsCounter(*store));
    EXPECT_TRUE(fx.owner.prompts.boxes.empty());
}

// The disk stalls the append of the second buffer; the first one is in the
// store. The stall is released only by the test.
struct StalledReader : ReaderFixture {
    StalledReader() : reader(makeReader())
    {
        signal.step(framesPerBuffer());
        EXPECT_TRUE(waitFor([&] { return reader->heldBytes() == bufferBytes(); }));
        files.holdWrites();
        signal.step(2 * framesPerBuffer());
        EXPECT_TRUE(files.waitForHeldWriter(std::chrono::seconds(30)));
    }

    std::int64_t bufferBytes() const { return static_cast<std::int64_t>(framesPerBuffer() * 4); }

    // Runs the call on a thread of its own and tells whether it returned
    // while the disk still stalled; the stall ends afterwards either way.
    bool returnsDuringTheStall(const std::function<void()>& call)
    {
        std::atomic<bool> returned{false};
        std::thread caller([&] {
            call();
            returned = true;
        });
        const bool inTime = waitFor([&] { return returned.load(); });
        files.releaseWrites();
        caller.join();
        return inTime;
    }

    // What was appended before the stall, and nothing of the stalled append.
    void expectFirstBufferOnly(RingStore* store) const
    {
        ASSERT_NE(store, nullptr);
        EXPECT_EQ(store->heldBytes(), bufferBytes());
        EXPECT_TRUE(holdsCounter(*store));
    }

    std::unique_ptr<SoundReader> reader;
};

TEST(SoundReaderStalled, ASnapshotDoesNotWaitForTheDisk)
{
    StalledReader fx;
    std::unique_ptr<RingStore> copy;
    EXPECT_TRUE(fx.returnsDuringTheStall([&] { copy = fx.reader->snapshotStore(); }));
    fx.reader->shutDown();
    fx.expectFirstBufferOnly(copy.get());
}

// Stopping gives up on the stalled append after its limit and keeps what was
// appended; shutting down still waits for the write in progress.
TEST(SoundReaderStalled, StopGivesUpAndKeepsWhatWasAppended)
{
    StalledReader fx;
    std::unique_ptr<RingStore> store;
    EXPECT_TRUE(fx.returnsDuringTheStall([&] {
        fx.reader->stop();
        store = fx.reader->detachStore();
    }));
    EXPECT_EQ(boxTexts(fx.owner.prompts),
              std::vector<std::string>{"Stopping sound-input failed..."});
    fx.reader->shutDown();
    fx.expectFirstBufferOnly(store.get());
}

TEST(SoundReader, DeletingARunningReaderTellsAndStillShutsDown)
{
    ReaderFixture fx;
    auto reader = fx.makeReader();
    fx.signal.step(fx.framesPerBuffer());
    ASSERT_TRUE(waitFor([&] { return reader->heldBytes() > 0; }));
    reader.reset();
    EXPECT_EQ(boxTexts(fx.owner.prompts),
              std::vector<std::string>{"Error: ~SoundReader without stopped Reader"});
    EXPECT_EQ(fx.session.outstanding(), 0);
}

} // namespace
} // namespace sorvella
