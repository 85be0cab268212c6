#include "app/LinuxCodecServices.h"
#include "platform/fakes/FakeSettingsStore.h"
#include "save/CodecCatalogue.h"
#include "save/FormatLabels.h"
#include "tests/save/codecs/EncodedSaveFixture.h"
#include "tests/save/codecs/Tone.h"

#include <gtest/gtest.h>

namespace sorvella::test {
namespace {

constexpr std::int32_t kMp3 = 1;
constexpr std::int32_t kLame = 3;
constexpr std::int32_t kMp2 = 4;
constexpr double kToneSeconds = 5;

// About five seconds that end on a whole MPEG frame of 1152 samples: the
// encoder's flush then has no frame of its own to pad, so whatever sound it
// holds back is lost unless it is pushed out.
double frameToneSeconds(std::uint32_t samplesPerSec)
{
    constexpr double kMpegFrame = 1152;
    return std::floor(kToneSeconds * samplesPerSec / kMpegFrame) * kMpegFrame / samplesPerSec;
}

// The program's codecs (real encoders, liblame_enc.so from the build) saving
// a tone through the save job.
class EncodedSave : public ::testing::Test, public EncodedSaveFixture {
protected:
    // Saves `seconds` of the tone as "<name>.<extension>" in format
    // `formatNumber` of codec `codecNumber`.
    Result saveTone(std::int32_t codecNumber, std::int32_t formatNumber, const WaveFormat& input,
                    double seconds, const std::string& name)
    {
        const std::shared_ptr<Codec> codec = catalogue.createCodec(codecNumber);
        return save(name + "." + codec->extension(), codec, formatNumber, input,
                    tone(input, seconds, kLeadIn), codecNumber);
    }

    FakeSettingsStore codecSettings;
    CodecCatalogue catalogue{codecSettings, installedCodecs(linuxCodecServices())};
};

struct EncodedFormat {
    const char* name;
    std::int32_t codec;
    std::uint32_t samplesPerSec;
    std::uint16_t channels;
    std::string label;
    std::uint32_t fileSamplesPerSec;
    std::uint16_t fileChannels;
};

void PrintTo(const EncodedFormat& f, std::ostream* out)
{
    *out << f.label;
}

class EncodedTone : public EncodedSave, public ::testing::WithParamInterface<EncodedFormat> {};

// Five seconds of 1 kHz come back from the decoder as five seconds of 1 kHz
// at the same level, at the format's rate and channel count, up to the last
// recorded sample.
TEST_P(EncodedTone, DecodesBackToTheTone)
{
    const EncodedFormat& f = GetParam();
    const WaveFormat input = pcmFormat(f.samplesPerSec, f.channels);
    const std::unique_ptr<Codec> codec = catalogue.createCodec(f.codec);
    ASSERT_TRUE(codec);
    const std::optional<std::int32_t> number = formatNumberOf(*codec, input, f.label);
    ASSERT_TRUE(number) << "no format " << f.label;
    const double seconds = frameToneSeconds(f.samplesPerSec);
    const Result saved = saveTone(f.codec, *number, input, seconds, f.name);
    ASSERT_EQ(saved.failure, "");
    ASSERT_EQ(saved.files, std::vector<std::string>{f.name + ("." + codec->extension())});

    const std::optional<DecodedSound> sound = decodeWithFfmpeg(targets.path() / saved.files[0]);
    ASSERT_TRUE(sound);
    EXPECT_EQ(sound->samplesPerSec, f.fileSamplesPerSec);
    EXPECT_EQ(sound->channels, f.fileChannels);
    EXPECT_NEAR(sound->seconds(), seconds, 0.1);
    EXPECT_NEAR(sound->frequency(), kToneHz, 5);
    EXPECT_NEAR(sound->levelAgainstTone(), 0, 2);
    EXPECT_NEAR(sound->tailLevelAgainstTone(seconds - kLeadIn), 0, 1);
}

INSTANTIATE_TEST_SUITE_P(
    Formats, EncodedTone,
    ::testing::Values(
        EncodedFormat{"mp3_128_stereo", kMp3, 44100, 2, "MP3 [128 kBit/s, 44100 Hz, Stereo]", 44100,
                      2},
        EncodedFormat{"mp3_downmix", kMp3, 44100, 2, "MP3 [64 kBit/s, 44100 Hz, Mono]", 44100, 1},
        EncodedFormat{"mp3_half_rate", kMp3, 44100, 2, "MP3 [64 kBit/s, 22050 Hz, Stereo]", 22050,
                      2},
        EncodedFormat{"mp3_mono", kMp3, 44100, 1, "MP3 [96 kBit/s, 44100 Hz, Mono]", 44100, 1},
        EncodedFormat{"mp3_22050", kMp3, 22050, 1, "MP3 [32 kBit/s, 22050 Hz, Mono]", 22050, 1},
        EncodedFormat{"mp3_22050_stereo", kMp3, 22050, 2, "MP3 [64 kBit/s, 22050 Hz, Stereo]",
                      22050, 2},
        EncodedFormat{"mp2_192_stereo", kMp2, 44100, 2, "MP2 [192 kBit/s, 44100 Hz, Stereo]", 44100,
                      2},
        EncodedFormat{"mp2_mono", kMp2, 44100, 1, "MP2 [96 kBit/s, 44100 Hz, Mono]", 44100, 1},
        EncodedFormat{"mp2_downmix", kMp2, 48000, 2, "MP2 [128 kBit/s, 48000 Hz, Mono]", 48000, 1},
        EncodedFormat{"mp2_22050", kMp2, 22050, 2, "MP2 [64 kBit/s, 22050 Hz, Stereo]", 22050, 2},
        EncodedFormat{"lame_128_stereo", kLame, 44100, 2, "MP3(Lame) [128 kBit/s,44100 kHz,stereo]",
                      44100, 2},
        EncodedFormat{"lame_mono", kLame, 44100, 1, "MP3(Lame) [64 kBit/s,44100 kHz,mono]", 44100,
                      1},
        EncodedFormat{"lame_320_48000", kLame, 48000, 2, "MP3(Lame) [320 kBit/s,48000 kHz,stereo]",
                      48000, 2},
        EncodedFormat{"lame_32000", kLame, 32000, 1, "MP3(Lame) [32 kBit/s,32000 kHz,mono]", 32000,
                      1}),
    [](const auto& info) { return std::string(info.param.name); });

// The plain WAV target too keeps the tone at full level to its last sample.
TEST_F(EncodedSave, AWavSaveKeepsTheEndOfTheTone)
{
    const WaveFormat input = pcmFormat(44100, 2);
    const Result saved = save("tone.wav", nullptr, 0, input, tone(input, kToneSeconds, kLeadIn), 0);
    ASSERT_EQ(saved.failure, "");
    const std::optional<DecodedSound> sound = decodeWithFfmpeg(targets.path() / "tone.wav");
    ASSERT_TRUE(sound);
    EXPECT_NEAR(sound->tailLevelAgainstTone(kToneSeconds - kLeadIn), 0, 0.1);
}

struct RefusedFormat {
    const char* name;
    std::int32_t codec;
    std::uint32_t samplesPerSec;
    std::int32_t formatNumber;
    std::string message;
};

void PrintTo(const RefusedFormat& f, std::ostream* out)
{
    *out << f.name;
}

class RefusedSave : public EncodedSave, public ::testing::WithParamInterface<RefusedFormat> {};

// A format the codec does not have fails the save when the codec opens:
// nothing is written and no file is left.
TEST_P(RefusedSave, FailsWithTheCodecsMessageAndLeavesNoFile)
{
    const RefusedFormat& f = GetParam();
    const WaveFormat input = pcmFormat(f.samplesPerSec, 2);
    const Result saved = saveTone(f.codec, f.formatNumber, input, 1, "refused");
    EXPECT_EQ(saved.failure, f.message);
    EXPECT_TRUE(saved.files.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Formats, RefusedSave,
    ::testing::Values(
        RefusedFormat{"lame_22050", kLame, 22050, 1,
                      "Blade-Interface supports only 32000 44100 and 48000 kbps"},
        RefusedFormat{"lame_beyond_table", kLame, 44100, 15,
                      "Blade-compatible codec: invalid bitrate"},
        RefusedFormat{"mp3_beyond_list", kMp3, 44100, 999, "MP3-Codec: no such Format"},
        RefusedFormat{"mp2_11025", kMp2, 11025, 1, "MP3-Codec: no such Format"},
        RefusedFormat{"mp2_beyond_list", kMp2, 44100, 41, "MP3-Codec: no such Format"}),
    [](const auto& info) { return std::string(info.param.name); });

class FullDisk : public EncodedSave, public ::testing::WithParamInterface<std::int32_t> {};

// The disk fills up halfway: the save fails with the codec's message and
// keeps what was written under the incomplete name, still a file a player
// reads.
TEST_P(FullDisk, KeepsThePartialFileAndSaysWhy)
{
    // Format 1 is the lowest bit rate, at least 32 kBit/s: 2.5 s at most.
    constexpr std::uintmax_t kRoom = 10000;
    const WaveFormat input = pcmFormat(44100, 2);
    targetFiles.setDiskFull(kRoom);
    const Result saved = saveTone(GetParam(), 1, input, kToneSeconds, "full");
    EXPECT_EQ(saved.failure.substr(0, saved.failure.find('\n')), "Write failed. Disk full?");
    const std::string kept = "full (incomplete)." + catalogue.createCodec(GetParam())->extension();
    ASSERT_EQ(saved.files, std::vector<std::string>{kept});
    EXPECT_EQ(std::filesystem::file_size(targets.path() / kept), kRoom);
    const std::optional<DecodedSound> sound = decodeWithFfmpeg(targets.path() / kept);
    ASSERT_TRUE(sound);
    EXPECT_GT(sound->seconds(), 0.1);
    EXPECT_LT(sound->seconds(), kToneSeconds);
}

INSTANTIATE_TEST_SUITE_P(Codecs, FullDisk, ::testing::Values(kMp3, kLame, kMp2),
                         [](const auto& info) {
                             return info.param == kMp3    ? "mp3"
                                    : info.param == kLame ? "lame"
                                                          : "mp2";
                         });

TEST_F(EncodedSave, TheCatalogueMarksTheInstalledCodecs)
{
    const std::vector<std::string> lines = catalogue.listLines(true);
    ASSERT_GE(lines.size(), 4U);
    EXPECT_EQ(std::vector<std::string>(lines.begin(), lines.begin() + 4),
              (std::vector<std::string>{
                  "MP3 ACM Codec (installed)",
                  "Blade-Encoder compatible library (libbladeenc.so) (not installed)",
                  "Lame-Encoder compatible library (liblame_enc.so) (installed)",
                  "MP2 ACM Codec (installed)"}));
    EXPECT_EQ(catalogue.testCodec(2),
              "Error initializing Codec:\ncannot load encoder library: libbladeenc.so\nNote, that "
              "you have to provide this library seperately - it is not included with Sorvella. "
              "Read Help for more details. while testing Blade-Encoder compatible library "
              "(libbladeenc.so)");
    EXPECT_EQ(catalogue.createCodec(3)->queryFormat(9, pcmFormat(44100, 2)),
              "MP3(Lame) [128 kBit/s,44100 kHz,stereo]");
}

} // namespace
} // namespace sorvella::test
