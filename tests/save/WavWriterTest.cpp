#include "save/WavWriter.h"
#include "platform/fakes/FaultTargetFiles.h"
#include "platform/files/PosixTargetFiles.h"
#include "tests/save/RaisedBy.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>

namespace sorvella::test {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes readAt(const std::filesystem::path& path, std::int64_t offset, std::size_t count)
{
    std::ifstream in(path, std::ios::binary);
    in.seekg(offset);
    Bytes bytes(count);
    in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(count));
    bytes.resize(static_cast<std::size_t>(in.gcount()));
    return bytes;
}

void append(Bytes& bytes, std::initializer_list<std::uint8_t> more)
{
    bytes.insert(bytes.end(), more);
}

void appendLittle(Bytes& bytes, std::uint64_t value, int size)
{
    for (int i = 0; i < size; ++i) {
        bytes.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
    }
}

// 22050 Hz mono, 16 bits, with codec bytes that must not reach the file.
const WaveFormat kMono{1, 1, 22050, 44100, 2, 16, {9, 9}};

Bytes formatAndDataChunks(std::uint32_t dataSize)
{
    Bytes bytes{'f', 'm', 't', ' ', 16, 0, 0, 0};
    append(bytes, {1, 0, 1, 0, 0x22, 0x56, 0, 0, 0x44, 0xAC, 0, 0, 2, 0, 16, 0});
    append(bytes, {'d', 'a', 't', 'a'});
    appendLittle(bytes, dataSize, 4);
    return bytes;
}

Bytes plainHeader(std::uint32_t riffSize, std::uint32_t dataSize)
{
    Bytes header{'R', 'I', 'F', 'F'};
    appendLittle(header, riffSize, 4);
    append(header, {'W', 'A', 'V', 'E'});
    const Bytes chunks = formatAndDataChunks(dataSize);
    header.insert(header.end(), chunks.begin(), chunks.end());
    return header;
}

Bytes rf64Header(std::uint64_t riffSize, std::uint64_t dataSize)
{
    Bytes header{'R', 'F', '6', '4', 0xFF, 0xFF, 0xFF, 0xFF, 'W', 'A',
                 'V', 'E', 'd', 's', '6',  '4',  28,   0,    0,   0};
    appendLittle(header, riffSize, 8);
    appendLittle(header, dataSize, 8);
    appendLittle(header, dataSize / 2, 8); // sample count
    appendLittle(header, 0, 4);            // no table
    const Bytes chunks = formatAndDataChunks(0xFFFFFFFF);
    header.insert(header.end(), chunks.begin(), chunks.end());
    return header;
}

class WavWriterTest : public ::testing::Test {
protected:
    std::filesystem::path target() const { return dir.path() / "take.wav"; }
    Bytes file() const { return readAt(target(), 0, 1 << 20); }
    void open(std::int64_t expectedDataSize = 0)
    {
        writer.open(files, target(), kMono, expectedDataSize);
    }
    void write(const Bytes& data) { writer.write(data.data(), data.size()); }

    TempDir dir;
    PosixTargetFiles realFiles;
    FaultTargetFiles files{realFiles};
    WavWriter writer;
};

struct Layout {
    const char* name;
    Bytes data;
    Bytes expectedAfterHeader; // data and pad byte
    std::uint32_t riffSize;
};

class PlainWavLayout : public WavWriterTest, public ::testing::WithParamInterface<Layout> {};

TEST_P(PlainWavLayout, IsByteExact)
{
    const Layout& l = GetParam();
    open(static_cast<std::int64_t>(l.data.size()));
    EXPECT_EQ(file(), plainHeader(0, 0)); // sizes are set only at close
    write(l.data);
    writer.close();
    EXPECT_NO_THROW(writer.close());

    Bytes expected = plainHeader(l.riffSize, static_cast<std::uint32_t>(l.data.size()));
    expected.insert(expected.end(), l.expectedAfterHeader.begin(), l.expectedAfterHeader.end());
    EXPECT_EQ(file(), expected);
}

INSTANTIATE_TEST_SUITE_P(Data, PlainWavLayout,
                         ::testing::Values(Layout{"Empty", {}, {}, 36},
                                           Layout{"OddGetsAPadByte", {7, 8, 9}, {7, 8, 9, 0}, 40},
                                           Layout{"Even", {7, 8, 9, 10}, {7, 8, 9, 10}, 40}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(WavWriterTest, CloseWithoutAnOpenFileDoesNothing)
{
    EXPECT_NO_THROW(writer.close());
    EXPECT_FALSE(std::filesystem::exists(target()));
}

struct WriteFault {
    const char* name;
    std::function<void(FaultTargetFiles&, bool)> set;
    const char* message;
    bool targetFull;
    std::size_t bytesKept;
};

class WavWriteFailures : public WavWriterTest, public ::testing::WithParamInterface<WriteFault> {};

// After a failed write, close still makes a valid file of what was written.
TEST_P(WavWriteFailures, KeepWhatWasWritten)
{
    const WriteFault& f = GetParam();
    open(8);
    f.set(files, true);
    const RecException e = raisedBy([&] { write({1, 2, 3, 4, 5, 6, 7, 8}); });
    EXPECT_EQ(e.message(), f.message);
    EXPECT_EQ(e.kind(), RecException::Failure);
    EXPECT_EQ(writer.targetFull(), f.targetFull);
    f.set(files, false);
    writer.close();

    Bytes expected = plainHeader(36 + f.bytesKept, f.bytesKept);
    append(expected, {1, 2, 3, 4, 5, 6, 7, 8});
    expected.resize(44 + f.bytesKept);
    EXPECT_EQ(file(), expected);
}

INSTANTIATE_TEST_SUITE_P(
    Data, WavWriteFailures,
    ::testing::Values(
        WriteFault{"DiskFull",
                   [](FaultTargetFiles& files, bool on) { files.setDiskFull(on ? 6 : 1000); },
                   "Disk full!", true, 6},
        WriteFault{"WriteError", [](FaultTargetFiles& files, bool on) { files.failWrites(on); },
                   "Fatal Error Writing File. Disk Full?", false, 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(WavWriterTest, TargetHeldByAnotherWriterCannotBeOpened)
{
    open();
    WavWriter second;
    const RecException e = raisedBy([&] { second.open(files, target(), kMono, 0); });
    EXPECT_EQ(e.message(), "Cannot open targetfile " + target().string());
    EXPECT_EQ(e.kind(), RecException::OpenFailure);
    EXPECT_FALSE(second.isOpen());
    writer.close();
    EXPECT_EQ(file(), plainHeader(36, 0));
}

struct HeaderShortfall {
    const char* name;
    std::int64_t diskSpace;
    const char* message;
};

class WavOpenFailures : public WavWriterTest,
                        public ::testing::WithParamInterface<HeaderShortfall> {};

TEST_P(WavOpenFailures, NameTheHeaderPartThatDidNotFit)
{
    files.setDiskFull(GetParam().diskSpace);
    const RecException e = raisedBy([&] { open(); });
    EXPECT_EQ(e.message(), GetParam().message);
    EXPECT_EQ(e.kind(), RecException::OpenFailure);
    EXPECT_TRUE(writer.isOpen());
    EXPECT_THROW(writer.close(), RecException);
    EXPECT_FALSE(writer.isOpen());
    EXPECT_NE(realFiles.create(target()), nullptr);
}

INSTANTIATE_TEST_SUITE_P(
    Header, WavOpenFailures,
    ::testing::Values(
        HeaderShortfall{"RiffChunk", 0, "Not enough memory while crating RIFF-chunks"},
        HeaderShortfall{"FormatChunk", 12, "Not enough memory while creating RIFF-chunks"},
        HeaderShortfall{"FormatBytes", 20, "Not enough disk space"},
        HeaderShortfall{"DataChunk", 36, "Not enough memory while creating RIFF-chunks"}),
    [](const auto& info) { return std::string(info.param.name); });

struct CloseFault {
    const char* name;
    std::function<void(FaultTargetFiles&)> arrange;
    const char* message;
    std::uint32_t riffSize;
    std::uint32_t dataSize;
};

class WavCloseFailures : public WavWriterTest, public ::testing::WithParamInterface<CloseFault> {};

TEST_P(WavCloseFailures, RaiseAfterTheFileIsClosed)
{
    GetParam().arrange(files);
    open();
    write({1, 2, 3});
    const RecException e = raisedBy([&] { writer.close(); });
    EXPECT_EQ(e.message(), GetParam().message);
    EXPECT_EQ(e.kind(), RecException::Failure);
    EXPECT_FALSE(writer.isOpen());
    Bytes expected = plainHeader(GetParam().riffSize, GetParam().dataSize);
    append(expected, {1, 2, 3});
    EXPECT_EQ(readAt(target(), 0, 47), expected);
    EXPECT_NE(realFiles.create(target()), nullptr);
}

INSTANTIATE_TEST_SUITE_P(
    Steps, WavCloseFailures,
    ::testing::Values(
        CloseFault{"PadByteDoesNotFit", [](FaultTargetFiles& files) { files.setDiskFull(44 + 3); },
                   "could not close inner RIFF chunk", 39, 3},
        CloseFault{"SizesCannotBeSet", [](FaultTargetFiles& files) { files.failSeeks(true); },
                   "could not close outer RIFF chunk", 0, 0},
        CloseFault{"CloseReportsLoss", [](FaultTargetFiles& files) { files.failCloses(true); },
                   "could not close target", 40, 3}),
    [](const auto& info) { return std::string(info.param.name); });

// More than 4 GiB of data, written into a sparse file: every write leaves a
// hole but for its last byte.
class LargeWavTest : public WavWriterTest {
protected:
    void writeUpTo(std::int64_t total)
    {
        constexpr std::size_t kChunk = 16 << 20;
        Bytes chunk(kChunk);
        chunk.back() = 0xAB;
        for (std::int64_t done = 0; done < total; done += kChunk) {
            const auto size =
                static_cast<std::size_t>(std::min<std::int64_t>(kChunk, total - done));
            writer.write(chunk.data() + (kChunk - size), size); // every write ends in 0xAB
        }
    }
};

TEST_F(LargeWavTest, Rf64CarriesTheSizesInDs64)
{
    open(WavWriter::kMaxRiffDataSize + 1);
    EXPECT_EQ(file(), rf64Header(0, 0));

    const std::int64_t dataSize = 0x100000000LL + 3; // odd: a pad byte follows
    files.leaveHolesFrom(80);
    writeUpTo(dataSize);
    writer.close();

    const std::int64_t length = 80 + dataSize + 1;
    EXPECT_EQ(static_cast<std::int64_t>(std::filesystem::file_size(target())), length);
    EXPECT_EQ(readAt(target(), 0, 80), rf64Header(length - 8, dataSize));
    EXPECT_EQ(readAt(target(), length - 2, 2), (Bytes{0xAB, 0}));
}

TEST_F(LargeWavTest, PlainRiffStopsAtItsSizeLimit)
{
    files.leaveHolesFrom(44);
    open(1000);
    const RecException e = raisedBy([&] { writeUpTo(0x100000000LL); });
    EXPECT_EQ(e.message(), "WAV file size limit reached");
    EXPECT_TRUE(writer.targetFull());
    writer.close();

    const std::int64_t dataSize = WavWriter::kMaxRiffDataSize;
    EXPECT_EQ(static_cast<std::int64_t>(std::filesystem::file_size(target())), 44 + dataSize);
    EXPECT_EQ(readAt(target(), 0, 44), plainHeader(36 + dataSize, dataSize));
}

} // namespace
} // namespace sorvella::test
