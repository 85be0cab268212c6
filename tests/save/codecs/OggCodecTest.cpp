// The Ogg Vorbis codec with the real encoder: its formats, the stream it
// writes, and whole saves through the save job decoded back by ffmpeg.

#include "save/codecs/OggCodec.h"
#include "platform/files/PosixTargetFiles.h"
#include "save/codecs/OggPageOutput.h"
#include "tests/save/FakeCodecOptionsUi.h"
#include "tests/save/RaisedBy.h"
#include "tests/save/codecs/EncodedSaveFixture.h"
#include "tests/save/codecs/OggStream.h"
#include "tests/save/codecs/Tone.h"
#include "tests/support/FakePrompter.h"

#include <vorbis/codec.h>

#include <gtest/gtest.h>

#include <array>
#include <filesystem>

namespace sorvella::test {
namespace {

const char* const kEncoderComment = "ENCODER=Sorvella internal OGG/VORBIS encoder";

std::vector<std::string> labels(Codec& codec, const WaveFormat& input)
{
    std::vector<std::string> out;
    for (std::int32_t n = 1;; ++n) {
        try {
            out.push_back(codec.queryFormat(n, input));
        } catch (const RecException& e) {
            EXPECT_EQ(e.message(), "Ogg codec: unsupported bitrate");
            return out;
        }
    }
}

// The three header packets as a decoder reads them; the comments they carry.
std::vector<std::string> headerComments(const OggStream& stream, const WaveFormat& format)
{
    vorbis_info info;
    vorbis_comment comment;
    vorbis_info_init(&info);
    vorbis_comment_init(&comment);
    std::vector<std::string> comments;
    bool valid = stream.packets.size() >= 3;
    for (std::size_t i = 0; valid && i < 3; ++i) {
        std::vector<std::uint8_t> bytes = stream.packets[i];
        ogg_packet packet{};
        packet.packet = bytes.data();
        packet.bytes = static_cast<long>(bytes.size());
        packet.b_o_s = i == 0 ? 1 : 0;
        valid = vorbis_synthesis_headerin(&info, &comment, &packet) == 0;
    }
    EXPECT_TRUE(valid) << "the headers are no Vorbis headers";
    if (valid) {
        EXPECT_EQ(info.channels, format.channels);
        EXPECT_EQ(info.rate, static_cast<long>(format.samplesPerSec));
        for (int i = 0; i < comment.comments; ++i) {
            comments.emplace_back(comment.user_comments[i],
                                  static_cast<std::size_t>(comment.comment_lengths[i]));
        }
    }
    vorbis_comment_clear(&comment);
    vorbis_info_clear(&info);
    return comments;
}

class OggCodecTest : public ::testing::Test {
protected:
    std::string target() const { return (dir.path() / "take.ogg").string(); }
    OggStream written() const { return OggStream::parse(fileBytes(target())); }

    TempDir dir;
    PosixTargetFiles files;
    OggCodec codec;
};

struct FormatList {
    std::uint32_t rate;
    std::uint16_t channels;
    std::vector<int> kBits;
};

class OggFormats : public OggCodecTest, public ::testing::WithParamInterface<FormatList> {};

// The offer follows the rate and the channels; each format names the nominal
// rate in units of 1024 bits per second.
TEST_P(OggFormats, OfferTheBitRatesOfTheInput)
{
    const FormatList& list = GetParam();
    const WaveFormat input = pcmFormat(list.rate, list.channels);
    std::vector<std::string> expected;
    for (const int kBit : list.kBits) {
        expected.push_back("OGG [" + std::to_string(kBit) + " kBit/s]");
    }
    EXPECT_EQ(labels(codec, input), expected);

    std::optional<WaveFormat> output;
    codec.queryFormat(1, input, &output);
    ASSERT_TRUE(output);
    EXPECT_EQ(output->formatTag, 0);
    EXPECT_EQ(output->channels, list.channels);
    EXPECT_EQ(output->samplesPerSec, list.rate);
    EXPECT_EQ(output->blockAlign, input.blockAlign);
    EXPECT_EQ(output->avgBytesPerSec, static_cast<std::uint32_t>(list.kBits.front() * 128));
    EXPECT_EQ(output->cbSize(), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Inputs, OggFormats,
    ::testing::Values(FormatList{44100, 2, {300, 256, 192, 160, 128, 112, 96, 64, 48}},
                      FormatList{48000, 2, {300, 256, 192, 160, 128, 112, 96, 64, 48}},
                      FormatList{44100, 1, {160, 128, 112, 96, 64, 48, 32}},
                      FormatList{22050, 2, {160, 128, 112, 96, 64, 48, 32}},
                      FormatList{22050, 1, {96, 64, 48, 32, 24, 16}},
                      FormatList{11025, 1, {32, 24, 16}}, FormatList{8000, 1, {32, 24, 16}}));

TEST_F(OggCodecTest, NamesItselfAndHasNoOptions)
{
    EXPECT_EQ(codec.description(), "Internal Ogg-Vorbis Codec");
    EXPECT_EQ(codec.fileTypeName(), "OGG Format");
    EXPECT_EQ(codec.extension(), "ogg");
    EXPECT_FALSE(codec.writesOwnFile());
    FakePrompter prompter;
    FakeCodecOptionsUi ui(prompter);
    codec.configure(ui);
    ASSERT_EQ(prompter.boxes.size(), 1U);
    EXPECT_EQ(prompter.boxes[0].text, "This Codec does not have configurable options.");
}

// A format past the offer fails before anything is written; so does a
// combination the encoder does not take (96 kBit/s of 22050 Hz mono).
TEST_F(OggCodecTest, RefusedFormatsFailBeforeAnyByteIsWritten)
{
    const RecException unsupported =
        raisedBy([&] { codec.open(files, 10, pcmFormat(44100, 2), target()); });
    EXPECT_EQ(unsupported.message(), "Ogg codec: unsupported bitrate");
    EXPECT_EQ(unsupported.kind(), RecException::Failure);
    EXPECT_FALSE(codec.isOpen());
    EXPECT_EQ(std::filesystem::file_size(target()), 0U);

    const RecException refused =
        raisedBy([&] { codec.open(files, 1, pcmFormat(22050, 1), target()); });
    EXPECT_EQ(refused.message(), "Ogg codec: bitrate not supported");
    EXPECT_FALSE(codec.isOpen());
    EXPECT_EQ(std::filesystem::file_size(target()), 0U);
}

// The first block writes the three headers, on pages of their own, before
// the block has made an audio page.
TEST_F(OggCodecTest, FirstBlockWritesTheHeadersOnPagesOfTheirOwn)
{
    const WaveFormat format = pcmFormat(44100, 2);
    const std::vector<std::uint8_t> sound = tone(format, 0.2);
    codec.open(files, 5, format, target());
    codec.write(sound.data(), 5000);
    codec.write(sound.data() + 5000, 4); // the first block is encoded now

    const OggStream headers = written();
    ASSERT_TRUE(headers.whole);
    ASSERT_EQ(headers.packets.size(), 3U);
    EXPECT_EQ(headers.packetPage[0], 0U);
    EXPECT_EQ(headers.pages[0].flags, OggStream::kBeginning);
    EXPECT_GT(headers.packetPage[1], 0U);
    EXPECT_FALSE(headers.pages.back().endsInsidePacket);
    for (const OggStream::Page& page : headers.pages) {
        EXPECT_EQ(page.granule, 0);
    }
    EXPECT_EQ(headerComments(headers, format), std::vector<std::string>{kEncoderComment});
    codec.close();
}

struct StreamCase {
    std::uint16_t channels;
    std::size_t bytes;
};

class OggStreamEnds : public OggCodecTest, public ::testing::WithParamInterface<StreamCase> {};

// One logical stream from the first page to the end-of-stream page, whose
// position counts every frame handed over, the short last block included.
TEST_P(OggStreamEnds, OnAnEndOfStreamPageAfterEveryFrame)
{
    const StreamCase c = GetParam();
    const WaveFormat format = pcmFormat(44100, c.channels);
    const std::vector<std::uint8_t> sound = tone(format, 1.0);
    codec.open(files, 1, format, target());
    codec.write(sound.data(), c.bytes);
    codec.close();

    const OggStream stream = written();
    ASSERT_TRUE(stream.whole);
    ASSERT_GE(stream.pages.size(), 3U);
    EXPECT_EQ(stream.pages.front().flags & OggStream::kBeginning, OggStream::kBeginning);
    EXPECT_EQ(stream.pages.back().flags & OggStream::kEnd, OggStream::kEnd);
    for (std::size_t i = 0; i < stream.pages.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(stream.pages[i].serial, stream.pages.front().serial);
        EXPECT_EQ((stream.pages[i].flags & OggStream::kBeginning) != 0, i == 0);
        EXPECT_EQ((stream.pages[i].flags & OggStream::kEnd) != 0, i + 1 == stream.pages.size());
    }
    EXPECT_LE(stream.pages.front().serial, 32767U);
    // With no sound at all the last block is the four zero bytes of close.
    const std::size_t frames = std::max<std::size_t>(c.bytes, 4) / format.blockAlign;
    EXPECT_EQ(stream.pages.back().granule, static_cast<std::int64_t>(frames));
    EXPECT_EQ(headerComments(stream, format), std::vector<std::string>{kEncoderComment});
}

INSTANTIATE_TEST_SUITE_P(Lengths, OggStreamEnds,
                         ::testing::Values(StreamCase{2, 0}, StreamCase{1, 0}, StreamCase{2, 5000},
                                           StreamCase{1, 5000}, StreamCase{2, 176400},
                                           StreamCase{1, 88200 - 6}));

struct ToneCase {
    std::uint32_t rate;
    std::uint16_t channels;
    std::int32_t formatNumber;
    const char* label;
};

class OggToneSave : public ::testing::Test,
                    public EncodedSaveFixture,
                    public ::testing::WithParamInterface<ToneCase> {};

// Five seconds of a 1 kHz tone saved by the save job come back from the
// decoder as long, as high and as loud, at the recording's rate and channels,
// and loud up to its last recorded sample.
TEST_P(OggToneSave, DecodesBackToTheTone)
{
    const ToneCase c = GetParam();
    const WaveFormat format = pcmFormat(c.rate, c.channels);
    const auto codec = std::make_shared<OggCodec>();
    EXPECT_EQ(codec->queryFormat(c.formatNumber, format), c.label);

    const Result result =
        save("tone.ogg", codec, c.formatNumber, format, tone(format, 5.0, kLeadIn), 5);
    EXPECT_EQ(result.failure, "");
    const auto decoded = decodeWithFfmpeg(targetPath("tone.ogg"));
    ASSERT_TRUE(decoded);
    EXPECT_EQ(decoded->samplesPerSec, c.rate);
    EXPECT_EQ(decoded->channels, c.channels);
    EXPECT_NEAR(decoded->seconds(), 5.0, 0.1);
    EXPECT_NEAR(decoded->frequency(), 1000.0, 20.0);
    EXPECT_NEAR(decoded->levelAgainstTone(), 0.0, 2.0);
    EXPECT_NEAR(decoded->tailLevelAgainstTone(5.0 - kLeadIn), 0.0, 1.0);
    EXPECT_EQ(session.outstanding(), 0);
}

INSTANTIATE_TEST_SUITE_P(Formats, OggToneSave,
                         ::testing::Values(ToneCase{44100, 2, 5, "OGG [128 kBit/s]"},
                                           ToneCase{44100, 1, 5, "OGG [64 kBit/s]"},
                                           ToneCase{48000, 2, 1, "OGG [300 kBit/s]"},
                                           ToneCase{22050, 2, 7, "OGG [32 kBit/s]"},
                                           ToneCase{22050, 1, 3, "OGG [48 kBit/s]"}));

class OggSaveFaults : public ::testing::Test, public EncodedSaveFixture {};

// A disk that fills up halfway ends the save with the codec's message; what
// was written is kept under its incomplete name and the store is released.
TEST_F(OggSaveFaults, FullDiskEndsTheSave)
{
    const WaveFormat format = pcmFormat(44100, 2);
    beforeRun = [this] { targetFiles.setDiskFull(6000); };
    const Result result =
        save("full.ogg", std::make_shared<OggCodec>(), 5, format, tone(format, 5.0), 5);
    EXPECT_EQ(result.failure.rfind("Write failed. Disk full?", 0), 0U) << result.failure;
    EXPECT_EQ(result.files, std::vector<std::string>{"full (incomplete).ogg"});
    EXPECT_LE(std::filesystem::file_size(targetPath("full (incomplete).ogg")), 6000U);
    EXPECT_EQ(session.outstanding(), 0);
}

// The output of one call never goes past the buffer: what does not fit goes
// out first in the next call, in order.
TEST(OggPageOutputTest, KeepsWhatDoesNotFitForTheNextCall)
{
    const std::array<unsigned char, 7> header{1, 2, 3, 4, 5, 6, 7};
    const std::array<unsigned char, 5> body{8, 9, 10, 11, 12};
    std::array<std::uint8_t, 12> buffer{};
    buffer.fill(0xEE);

    OggPageOutput output;
    output.begin(buffer.data(), 6);
    output.append(header.data(), header.size(), body.data(), body.size());
    EXPECT_EQ(output.written(), 6);
    EXPECT_TRUE(output.hasQueued());
    EXPECT_EQ(buffer[6], 0xEE);

    buffer.fill(0xEE);
    output.begin(buffer.data(), 4);
    EXPECT_EQ(output.written(), 4);
    EXPECT_EQ((std::vector<std::uint8_t>(buffer.begin(), buffer.begin() + 4)),
              (std::vector<std::uint8_t>{7, 8, 9, 10}));
    output.append(header.data(), 1, body.data(), 0);
    EXPECT_EQ(buffer[4], 0xEE);

    output.begin(buffer.data(), 12);
    EXPECT_EQ(output.written(), 3);
    EXPECT_FALSE(output.hasQueued());
    EXPECT_EQ((std::vector<std::uint8_t>(buffer.begin(), buffer.begin() + 3)),
              (std::vector<std::uint8_t>{11, 12, 1}));
}

} // namespace
} // namespace sorvella::test
