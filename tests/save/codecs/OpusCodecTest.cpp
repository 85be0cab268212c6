#include "save/codecs/OpusCodec.h"
#include "tests/save/codecs/EncodedSaveFixture.h"
#include "tests/save/codecs/Tone.h"

#include <gtest/gtest.h>

namespace sorvella::test {
namespace {

constexpr std::int32_t kOpusNumber = 8;
constexpr double kSeconds = 5.0;

struct OpusCase {
    std::uint32_t rate;
    std::uint16_t channels;
    std::int32_t formatNumber;
    const char* label;
};

void PrintTo(const OpusCase& c, std::ostream* out)
{
    *out << c.rate << " Hz, " << c.channels << " channels, " << c.label;
}

class OpusToneSave : public ::testing::Test,
                     public EncodedSaveFixture,
                     public ::testing::WithParamInterface<OpusCase> {};

// The tone comes back from ffmpeg and from opusdec at 48 kHz, as high and as
// long as it was (the pre-skip and the end trimming take off what the
// encoder adds) and loud to its last recorded sample; opusinfo finds nothing
// to warn about.
TEST_P(OpusToneSave, DecodesBackToTheToneWithBothDecoders)
{
    const OpusCase c = GetParam();
    const WaveFormat format = pcmFormat(c.rate, c.channels);
    const auto codec = std::make_shared<OpusCodec>();
    EXPECT_EQ(codec->queryFormat(c.formatNumber, format), c.label);
    const Result result = save("tone.opus", codec, c.formatNumber, format,
                               tone(format, kSeconds, kLeadIn), kOpusNumber);
    ASSERT_EQ(result.failure, "");
    const std::string file = targetPath("tone.opus");
    EXPECT_NE(std::system(("opusinfo '" + file + "' 2>&1 | grep -qi warning").c_str()), 0);

    const std::string opusdec = file + ".opusdec.wav";
    ASSERT_EQ(
        std::system(("opusdec --quiet --rate 48000 '" + file + "' '" + opusdec + "'").c_str()), 0);
    for (const std::string& decoded : {file, opusdec}) {
        const std::optional<DecodedSound> sound = decodeWithFfmpeg(decoded);
        ASSERT_TRUE(sound) << decoded;
        EXPECT_EQ(sound->samplesPerSec, 48000U) << decoded;
        EXPECT_EQ(sound->channels, c.channels) << decoded;
        EXPECT_NEAR(sound->seconds(), kSeconds, 0.002) << decoded;
        EXPECT_NEAR(sound->frequency(), kToneHz, 5) << decoded;
        EXPECT_NEAR(sound->tailLevelAgainstTone(kSeconds - kLeadIn), 0, 1) << decoded;
    }
}

INSTANTIATE_TEST_SUITE_P(Formats, OpusToneSave,
                         ::testing::Values(OpusCase{44100, 2, 1, "Opus [96 kBit/s]"},
                                           OpusCase{48000, 1, 1, "Opus [64 kBit/s]"},
                                           OpusCase{22050, 2, 2, "Opus [32 kBit/s]"}));

} // namespace
} // namespace sorvella::test
