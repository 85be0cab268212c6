#include "platform/fakes/FaultTargetFiles.h"
#include "platform/files/PosixTargetFiles.h"
#include "save/OptionalCodec.h"
#include "tests/save/RaisedBy.h"
#include "tests/save/RecordingCodec.h"
#include "tests/support/ConfigFiles.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <numeric>

namespace sorvella::test {
namespace {

std::vector<std::uint8_t> stream(std::size_t length)
{
    std::vector<std::uint8_t> bytes(length);
    std::iota(bytes.begin(), bytes.end(), std::uint8_t{1});
    return bytes;
}

std::vector<std::uint8_t> fileBytes(const std::filesystem::path& path)
{
    const std::string text = readText(path);
    return {text.begin(), text.end()};
}

class CodecTest : public ::testing::Test {
protected:
    std::string target() const { return (dir.path() / "take.mp3").string(); }

    TempDir dir;
    PosixTargetFiles realFiles;
    FaultTargetFiles files{realFiles};
    RecordingCodec codec;
    const WaveFormat pcm;
};

struct Cutting {
    const char* name;
    std::int32_t blockSize;
    std::int32_t leaveUnconsumed;
    std::vector<std::size_t> writes;
    std::vector<std::int32_t> expectedFills; // the last one is the last block
};

class BlockCutting : public CodecTest, public ::testing::WithParamInterface<Cutting> {};

// Every block is cut from the stream where the previous one stopped taking
// bytes; only the last block is short, and its rest is zero.
TEST_P(BlockCutting, CutsTheStreamIntoBlocks)
{
    const Cutting& c = GetParam();
    codec.blockSize = c.blockSize;
    codec.leaveUnconsumed = c.leaveUnconsumed;
    const std::size_t total = std::accumulate(c.writes.begin(), c.writes.end(), std::size_t{0});
    const std::vector<std::uint8_t> data = stream(total);

    codec.open(files, 1, pcm, target());
    std::size_t offset = 0;
    for (const std::size_t length : c.writes) {
        codec.write(data.data() + offset, length);
        offset += length;
    }
    codec.close();

    ASSERT_EQ(codec.blocks.size(), c.expectedFills.size());
    std::vector<std::uint8_t> expectedFile;
    std::size_t start = 0;
    for (std::size_t i = 0; i < codec.blocks.size(); ++i) {
        const RecordingCodec::Block& block = codec.blocks[i];
        SCOPED_TRACE(i);
        ASSERT_EQ(static_cast<std::int32_t>(block.bytes.size()), c.expectedFills[i]);
        EXPECT_EQ(block.isLast, i + 1 == codec.blocks.size());
        // Past the end of the stream (an empty one) the block holds zeros.
        std::vector<std::uint8_t> expected(block.bytes.size());
        std::copy(data.begin() + start,
                  data.begin() + std::min(start + expected.size(), data.size()), expected.begin());
        EXPECT_EQ(block.bytes, expected);
        const std::size_t taken =
            block.bytes.size() - std::min<std::size_t>(c.leaveUnconsumed, block.bytes.size());
        expectedFile.insert(expectedFile.end(), block.bytes.begin(), block.bytes.begin() + taken);
        start += taken;
    }
    EXPECT_EQ(codec.blocks.back().rest, std::vector<std::uint8_t>(codec.blocks.back().rest.size()));
    EXPECT_EQ(fileBytes(target()), expectedFile);
    EXPECT_EQ(codec.finishCalls, 1);
}

INSTANTIATE_TEST_SUITE_P(
    Writes, BlockCutting,
    ::testing::Values(Cutting{"CloseRightAfterOpenEncodesFourZeroBytes", 8, 0, {}, {4}},
                      Cutting{"ExactFillWaitsForClose", 8, 0, {8}, {8}},
                      Cutting{"FullBlockEncodedByNextWrite", 8, 0, {8, 1}, {8, 1}},
                      Cutting{"SmallWritesFillOneBlock", 8, 0, {3, 3, 3}, {8, 1}},
                      Cutting{"OneWriteSpansBlocks", 8, 0, {20}, {8, 8, 4}},
                      Cutting{"ByteByByte", 4, 0, std::vector<std::size_t>(10, 1), {4, 4, 2}},
                      Cutting{"UnconsumedBytesStartTheNextBlock", 8, 3, {8, 8}, {8, 8, 6}},
                      Cutting{"UnconsumedRestOfTheLastBlockIsDropped", 8, 3, {5}, {5}}),
    [](const auto& info) { return std::string(info.param.name); });

struct RunFailure {
    const char* name;
    std::function<void(RecordingCodec&, FaultTargetFiles&)> arrange;
    std::vector<std::size_t> writes;
    RecException expected;
    bool targetFull;
    std::size_t bytesInFile;
};

class RunFailures : public CodecTest, public ::testing::WithParamInterface<RunFailure> {};

// Whatever ends the run, the codec is closed, finished once, and the file is
// complete up to the failure and let go.
TEST_P(RunFailures, CloseTheCodecAndTheFile)
{
    const RunFailure& f = GetParam();
    f.arrange(codec, files);
    const std::vector<std::uint8_t> data = stream(16);
    codec.open(files, 1, pcm, target());
    const RecException e = raisedBy([&] {
        std::size_t offset = 0;
        for (const std::size_t length : f.writes) {
            codec.write(data.data() + offset, length);
            offset += length;
        }
        codec.close();
    });
    EXPECT_EQ(e.message(), f.expected.message());
    EXPECT_EQ(e.kind(), f.expected.kind());
    EXPECT_FALSE(codec.isOpen());
    EXPECT_EQ(codec.targetFull(), f.targetFull);
    EXPECT_EQ(codec.blocks.size(), 1U); // nothing is encoded after a short write
    EXPECT_EQ(codec.releasingCalls, 1);
    EXPECT_EQ(codec.finishCalls, 1);
    EXPECT_EQ(fileBytes(target()),
              std::vector<std::uint8_t>(data.begin(), data.begin() + f.bytesInFile));
    EXPECT_NE(realFiles.create(target()), nullptr);
    EXPECT_NO_THROW(codec.close());
}

INSTANTIATE_TEST_SUITE_P(
    Steps, RunFailures,
    ::testing::Values(
        RunFailure{"ShortWriteOfABlock",
                   [](RecordingCodec&, FaultTargetFiles& files) { files.setDiskFull(5); },
                   {8, 8},
                   RecException("Write failed. Disk full?"),
                   true,
                   5},
        RunFailure{"ShortWriteOfTheLastBlock",
                   [](RecordingCodec&, FaultTargetFiles& files) { files.setDiskFull(3); },
                   {4},
                   RecException("Write failed. Disk full?"),
                   true,
                   3},
        RunFailure{"FinishFails",
                   [](RecordingCodec& codec, FaultTargetFiles&) {
                       codec.finishFailure =
                           RecException(RecException::OpenFailure, "finish failed");
                   },
                   {3},
                   RecException(RecException::OpenFailure, "finish failed"),
                   false,
                   3}),
    [](const auto& info) { return std::string(info.param.name); });

struct OpenFailure {
    const char* name;
    std::function<void(RecordingCodec&, FaultTargetFiles&)> arrange;
    RecException expected;
    bool started;
    bool openAfterwards; // then close only finishes
};

class CodecOpenFailures : public CodecTest, public ::testing::WithParamInterface<OpenFailure> {};

TEST_P(CodecOpenFailures, RaiseAndLetTheFileGo)
{
    const OpenFailure& f = GetParam();
    f.arrange(codec, files);
    const RecException e = raisedBy([&] { codec.open(files, 1, pcm, target()); });
    // Only the failure to create the file names it.
    EXPECT_EQ(e.message(), f.expected.message() + (f.started ? "" : target()));
    EXPECT_EQ(e.kind(), f.expected.kind());
    EXPECT_EQ(codec.startCalls, f.started ? 1 : 0);
    EXPECT_EQ(codec.isOpen(), f.openAfterwards);
    files.failCreates(false);
    EXPECT_NE(realFiles.create(target()), nullptr);

    codec.close();
    EXPECT_TRUE(codec.blocks.empty());
    EXPECT_EQ(codec.finishCalls, f.openAfterwards ? 1 : 0);
    EXPECT_FALSE(codec.isOpen());
}

INSTANTIATE_TEST_SUITE_P(
    Steps, CodecOpenFailures,
    ::testing::Values(
        OpenFailure{"TargetNotCreated",
                    [](RecordingCodec&, FaultTargetFiles& files) { files.failCreates(true); },
                    RecException("Cannot open file: "), false, false},
        OpenFailure{"StartFails",
                    [](RecordingCodec& codec, FaultTargetFiles&) {
                        codec.startFailure = RecException(RecException::OpenFailure, "busy");
                    },
                    RecException(RecException::OpenFailure, "busy"), true, false},
        OpenFailure{"BuffersAllocatedFails",
                    [](RecordingCodec& codec, FaultTargetFiles&) {
                        codec.buffersAllocatedFailure = RecException("prepareHeader failed");
                    },
                    RecException("prepareHeader failed"), true, true},
        OpenFailure{"ZeroBlockSize",
                    [](RecordingCodec& codec, FaultTargetFiles&) { codec.blockSize = 0; },
                    RecException("Codec error: invalid block size"), true, true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(CodecTest, CodecWritingItsOwnFileGetsNoFileFromTheBase)
{
    codec.ownFile = true;
    const std::vector<std::uint8_t> data = stream(10);
    codec.open(files, 1, pcm, target());
    codec.write(data.data(), data.size());
    codec.close();

    EXPECT_FALSE(std::filesystem::exists(target()));
    ASSERT_EQ(codec.blocks.size(), 2U);
    EXPECT_EQ(codec.blocks[1].bytes, std::vector<std::uint8_t>(data.begin() + 8, data.end()));
}

struct BadLengths {
    const char* name;
    std::int32_t leaveUnconsumed;
    std::int32_t extraOutputReported;
};

class BadEncodeResults : public CodecTest, public ::testing::WithParamInterface<BadLengths> {};

TEST_P(BadEncodeResults, AreRefused)
{
    codec.leaveUnconsumed = GetParam().leaveUnconsumed;
    codec.extraOutputReported = GetParam().extraOutputReported;
    const std::vector<std::uint8_t> data = stream(16);
    codec.open(files, 1, pcm, target());
    const RecException e = raisedBy([&] { codec.write(data.data(), data.size()); });
    EXPECT_EQ(e.message(), "Codec error: invalid block lengths");
    EXPECT_EQ(codec.blocks.size(), 1U);
}

INSTANTIATE_TEST_SUITE_P(Encode, BadEncodeResults,
                         ::testing::Values(BadLengths{"TakesNothingOfAFullBlock", 8, 0},
                                           BadLengths{"ReportsMoreOutputThanFits", 0, 10001}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(CodecTest, QueryFormatHandsTheCodecAZeroBufferAndCopiesTheResult)
{
    std::optional<WaveFormat> format;
    EXPECT_EQ(codec.queryFormat(2, pcm, &format), "REC [2]");
    EXPECT_EQ(codec.describedBufferOnEntry, (WaveFormat{0, 0, 0, 0, 0, 0, {}}));
    EXPECT_EQ(codec.describedBufferSize, 1800);
    ASSERT_TRUE(format.has_value());
    EXPECT_EQ(*format, (WaveFormat{85, 2, 0, 2000, 0, 0, {1, 2, 3}}));

    EXPECT_THROW(codec.queryFormat(3, pcm, &format), RecException);
    EXPECT_FALSE(format.has_value());
}

TEST_F(CodecTest, TestAsksForFormatOneOfCdQualityStereo)
{
    codec.test();
    EXPECT_EQ(codec.describedNumber, 1);
    EXPECT_EQ(codec.describedInput, (WaveFormat{1, 2, 44100, 176400, 4, 16, {}}));
    codec.formatCount = 0;
    EXPECT_THROW(codec.test(), RecException);
}

TEST_F(CodecTest, MissingCodecHasTheMp3ExtensionAndNoFormats)
{
    EXPECT_EQ(codecExtension(nullptr), "mp3");
    EXPECT_EQ(codecExtension(&codec), "rec");

    std::optional<WaveFormat> format = pcm;
    const RecException e = raisedBy([&] { queryCodecFormat(nullptr, 1, pcm, &format); });
    EXPECT_EQ(e.message(), "Error: no codec");
    EXPECT_FALSE(format.has_value());
    EXPECT_EQ(queryCodecFormat(&codec, 1, pcm), "REC [1]");
}

} // namespace
} // namespace sorvella::test
