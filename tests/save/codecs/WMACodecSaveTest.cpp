// Windows Media saves through the save job with FFmpeg's writer: every
// profile decodes back to the recorded tone, and a full disk ends the save.

#include "app/LinuxCodecServices.h"
#include "platform/fakes/FakeSettingsStore.h"
#include "platform/media/FfmpegMediaWriter.h"
#include "platform/media/FfmpegMediaWriters.h"
#include "save/CodecCatalogue.h"
#include "save/codecs/WMACodec.h"
#include "tests/save/codecs/EncodedSaveFixture.h"
#include "tests/save/codecs/Tone.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace sorvella::test {
namespace {

struct ProfileCase {
    std::int32_t formatNumber;
    std::uint32_t rate;
    std::uint16_t channels;
    std::int32_t bitsPerSecond;
    std::uint16_t outputChannels;
};

class WMASave : public ::testing::Test, public EncodedSaveFixture {
protected:
    std::shared_ptr<WMACodec> makeCodec()
    {
        return std::make_shared<WMACodec>(std::make_shared<FfmpegMediaWriters>(),
                                          std::make_shared<WmaExtension>());
    }
};

class WMAToneSave : public WMASave, public ::testing::WithParamInterface<ProfileCase> {};

// Five seconds of a 1 kHz tone come back as long, as high and as loud, in
// the profile's channels, at the rate its bit rate carries, and loud up to
// its last recorded sample.
TEST_P(WMAToneSave, DecodesBackToTheTone)
{
    const ProfileCase c = GetParam();
    const WaveFormat format = pcmFormat(c.rate, c.channels);
    const Result result =
        save("tone.wma", makeCodec(), c.formatNumber, format, tone(format, 5.0, kLeadIn), 6);
    EXPECT_EQ(result.failure, "");
    const auto decoded = decodeWithFfmpeg(targetPath("tone.wma"));
    ASSERT_TRUE(decoded);
    EXPECT_EQ(decoded->channels, c.outputChannels);
    EXPECT_EQ(decoded->samplesPerSec, static_cast<std::uint32_t>(FfmpegMediaWriter::encoderRate(
                                          static_cast<int>(c.rate), c.bitsPerSecond)));
    EXPECT_NEAR(decoded->seconds(), 5.0, 0.1);
    EXPECT_NEAR(decoded->frequency(), 1000.0, 20.0);
    EXPECT_NEAR(decoded->levelAgainstTone(), 0.0, 2.0);
    // A tenth of a dB: a last frame without the one that overlaps it comes
    // out garbled, yet barely quieter.
    EXPECT_NEAR(decoded->tailLevelAgainstTone(5.0 - kLeadIn), 0.0, 0.1);
    EXPECT_EQ(session.outstanding(), 0);
}

std::vector<ProfileCase> profileCases()
{
    const std::vector<std::pair<std::int32_t, std::uint16_t>> profiles = {
        {128000, 2}, {96000, 2}, {64000, 2}, {48000, 2}, {32000, 2}, {28800, 2}, {28800, 1}};
    std::vector<ProfileCase> cases;
    for (const std::uint32_t rate : {44100U, 48000U}) {
        for (std::size_t i = 0; i < profiles.size(); ++i) {
            cases.push_back(
                {static_cast<std::int32_t>(i + 1), rate, 2, profiles[i].first, profiles[i].second});
        }
    }
    // Mono recordings are heard in both channels of a stereo profile.
    cases.push_back({1, 44100, 1, 128000, 2});
    cases.push_back({7, 22050, 1, 28800, 1});
    cases.push_back({3, 22050, 2, 64000, 2});
    return cases;
}

INSTANTIATE_TEST_SUITE_P(Profiles, WMAToneSave, ::testing::ValuesIn(profileCases()));

// The disk fills up halfway: the writer's error status ends the save with
// the codec's message, and the partial file is kept under its incomplete name,
// still a file a player reads, with a header that tells its length.
TEST_F(WMASave, FullDiskEndsTheSave)
{
    // 128 kBit/s: the room holds about 1.8 s.
    constexpr std::uintmax_t kRoom = 30000;
    const WaveFormat format = pcmFormat(44100, 2);
    beforeRun = [this] { targetFiles.setDiskFull(kRoom); };
    const Result result = save("full.wma", makeCodec(), 1, format, tone(format, 5.0), 6);
    EXPECT_EQ(result.failure.rfind("ASF-Codec: Write failed; disk full?", 0), 0U) << result.failure;
    EXPECT_EQ(result.files, std::vector<std::string>{"full (incomplete).wma"});
    EXPECT_EQ(std::filesystem::file_size(targetPath("full (incomplete).wma")), kRoom);
    EXPECT_EQ(session.outstanding(), 0);
    const auto decoded = decodeWithFfmpeg(targetPath("full (incomplete).wma"));
    ASSERT_TRUE(decoded);
    EXPECT_GT(decoded->seconds(), 1.0);
    EXPECT_LT(decoded->seconds(), 5.0);
    EXPECT_NEAR(headerSeconds(targetPath("full (incomplete).wma")), decoded->seconds(), 0.5);
}

// The save holds its target from creation to close: the writer is handed the
// held file and creates none of its own, so no other save can take the name.
TEST_F(WMASave, TheWriterGetsTheHeldTarget)
{
    const WaveFormat format = pcmFormat(44100, 2);
    beforeRun = [this] { targetFiles.failCreates(true); };
    const Result result = save("held.wma", makeCodec(), 1, format, tone(format, 1.0), 6);
    EXPECT_EQ(result.failure, "");
    EXPECT_EQ(result.files, std::vector<std::string>{"held.wma"});
}

// A target that another save holds is refused before anything is written.
TEST_F(WMASave, AHeldTargetIsAnInvalidOutputFile)
{
    const auto held = targetFiles.create(targetPath("held.wma"));
    ASSERT_NE(held, nullptr);
    const auto codec = makeCodec();
    const WaveFormat format = pcmFormat(44100, 2);
    try {
        codec->open(targetFiles, 1, format, targetPath("held.wma"));
        ADD_FAILURE() << "opened a held file";
    } catch (const RecException& e) {
        EXPECT_EQ(e.message(), "ASF-Codec: invalid output file");
    }
    EXPECT_FALSE(codec->isOpen());
}

// On this system both Ogg Vorbis and Windows Media pass "Test all Codecs".
TEST(InstalledCodecsTest, OggAndWindowsMediaAreInstalled)
{
    FakeSettingsStore settings;
    const CodecCatalogue catalogue(settings, installedCodecs(linuxCodecServices()));
    const std::vector<std::string> lines = catalogue.listLines(true);
    ASSERT_GE(lines.size(), 6U);
    EXPECT_EQ(lines[4], "Internal Ogg-Vorbis Codec (installed)");
    EXPECT_EQ(lines[5], "Windows Media Codec (Asf/Wma Format) (installed)");
    const auto wma = catalogue.createCodec(6);
    ASSERT_NE(wma, nullptr);
    EXPECT_EQ(wma->queryFormat(3, WaveFormat{}), "Windows Media (.wma) [64kBit/s Stereo]");
}

} // namespace
} // namespace sorvella::test
