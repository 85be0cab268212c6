#include "save/codecs/FlacCodec.h"
#include "core/RecException.h"
#include "tests/save/codecs/DecodedBytes.h"
#include "tests/save/codecs/EncodedSaveFixture.h"
#include "tests/save/codecs/Tone.h"
#include "tests/support/CounterRun.h"

#include <gtest/gtest.h>

namespace sorvella::test {
namespace {

constexpr std::int32_t kFlacNumber = 7;

// The simulated input's counter: every sample differs from its neighbours,
// so a lost, added or changed sample shows.
std::vector<std::uint8_t> counterBytes(const WaveFormat& format, double seconds)
{
    const auto samples =
        static_cast<std::uint64_t>(seconds * format.samplesPerSec) * format.channels;
    std::vector<std::uint8_t> bytes;
    bytes.reserve(samples * 2);
    for (std::uint64_t n = 0; n < samples; ++n) {
        const auto v = static_cast<std::uint16_t>(SimulatedSignal::counterSample(n));
        bytes.push_back(static_cast<std::uint8_t>(v & 0xFF));
        bytes.push_back(static_cast<std::uint8_t>(v >> 8));
    }
    return bytes;
}

struct LosslessCase {
    std::uint32_t rate;
    std::uint16_t channels;
    std::int32_t formatNumber;
    const char* label;
};

void PrintTo(const LosslessCase& c, std::ostream* out)
{
    *out << c.rate << " Hz, " << c.channels << " channels, " << c.label;
}

class FlacLossless : public ::testing::Test,
                     public EncodedSaveFixture,
                     public ::testing::WithParamInterface<LosslessCase> {};

// What was recorded comes back from both decoders byte for byte, and the
// file's STREAMINFO (length and MD5 signature) passes the flac tool's test.
TEST_P(FlacLossless, DecodesToTheRecordedBytes)
{
    const LosslessCase c = GetParam();
    const WaveFormat format = pcmFormat(c.rate, c.channels);
    const auto codec = std::make_shared<FlacCodec>();
    EXPECT_EQ(codec->queryFormat(c.formatNumber, format), c.label);
    const std::vector<std::uint8_t> sound = counterBytes(format, 3.3);

    const Result result = save("count.flac", codec, c.formatNumber, format, sound, kFlacNumber);
    ASSERT_EQ(result.failure, "");
    const std::string file = targetPath("count.flac");
    EXPECT_EQ(std::system(("flac -s -t '" + file + "'").c_str()), 0);
    const std::optional<std::vector<std::uint8_t>> flac =
        decodedBytes("flac -s -d -f --force-raw-format --endian=little --sign=signed -o '" + file +
                         ".raw' '" + file + "'",
                     file + ".raw");
    ASSERT_TRUE(flac);
    EXPECT_TRUE(*flac == sound) << flac->size() << " bytes of " << sound.size();
    const std::optional<std::vector<std::uint8_t>> ffmpeg = ffmpegBytes(file);
    ASSERT_TRUE(ffmpeg);
    EXPECT_TRUE(*ffmpeg == sound) << ffmpeg->size() << " bytes of " << sound.size();
}

INSTANTIATE_TEST_SUITE_P(Formats, FlacLossless,
                         ::testing::Values(LosslessCase{44100, 2, 1, "FLAC [level 5]"},
                                           LosslessCase{44100, 1, 1, "FLAC [level 5]"},
                                           LosslessCase{22050, 1, 2, "FLAC [level 0]"},
                                           LosslessCase{48000, 2, 3, "FLAC [level 8]"}));

class FlacRefused : public ::testing::Test, public EncodedSaveFixture {};

// A format libFLAC does not take is refused with a message the user may act
// on, before the save writes anything.
TEST_F(FlacRefused, EightBitSoundBeforeAnyFileIsWritten)
{
    WaveFormat format = pcmFormat(44100, 2);
    format.bitsPerSample = 8;
    format.deriveFields();
    FlacCodec codec;
    try {
        codec.open(targetFiles, 1, format, targetPath("eight.flac"));
        ADD_FAILURE() << "opened";
    } catch (const RecException& e) {
        EXPECT_EQ(e.kind(), RecException::OpenFailure);
        EXPECT_EQ(e.message(),
                  "FLAC codec: FLAC cannot store sound of 44100 Hz, 8 bits, 2 channels");
    }
    EXPECT_FALSE(codec.isOpen());
    EXPECT_TRUE(targetNames().empty());
}

} // namespace
} // namespace sorvella::test
