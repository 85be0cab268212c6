// FFmpeg's media writer on its own: what it takes, the rate it encodes at,
// and a writer abandoned halfway, which lets go of its file.

#include "platform/media/FfmpegMediaWriter.h"
#include "platform/files/PosixTargetFiles.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

namespace sorvella::test {
namespace {

WaveFormat pcm(std::uint32_t rate, std::uint16_t channels)
{
    WaveFormat format;
    format.samplesPerSec = rate;
    format.channels = channels;
    format.deriveFields();
    return format;
}

class FfmpegMediaWriterTest : public ::testing::Test {
protected:
    std::string target() const { return (dir.path() / "take.wma").string(); }

    TempDir dir;
    PosixTargetFiles files;
    FfmpegMediaWriter writer;
};

TEST_F(FfmpegMediaWriterTest, TakesOnlyWhatItCanWrite)
{
    EXPECT_FALSE(writer.setProfile(MediaProfile{0, 2}));
    EXPECT_FALSE(writer.setProfile(MediaProfile{128000, 3}));
    WaveFormat eightBit = pcm(44100, 2);
    eightBit.bitsPerSample = 8;
    eightBit.deriveFields();
    EXPECT_FALSE(writer.setInputFormat(eightBit));
    EXPECT_FALSE(writer.setInputFormat(pcm(0, 2)));
    // Nothing starts before the profile, the file and the format are set.
    EXPECT_FALSE(writer.beginWriting());
    EXPECT_NE(writer.writeSample(nullptr, 0, 0), 0);
    EXPECT_FALSE(writer.writeFailed());
}

TEST(FfmpegMediaWriterRate, FollowsTheBitRateAndNeverRises)
{
    EXPECT_EQ(FfmpegMediaWriter::encoderRate(44100, 128000), 44100);
    EXPECT_EQ(FfmpegMediaWriter::encoderRate(48000, 48000), 48000);
    EXPECT_EQ(FfmpegMediaWriter::encoderRate(96000, 128000), 48000);
    EXPECT_EQ(FfmpegMediaWriter::encoderRate(44100, 32000), 32000);
    EXPECT_EQ(FfmpegMediaWriter::encoderRate(44100, 28800), 22050);
    EXPECT_EQ(FfmpegMediaWriter::encoderRate(11025, 28800), 11025);
}

// A writer dropped while writing (its save went away) closes the file and
// releases it: the same name can be taken again at once.
TEST_F(FfmpegMediaWriterTest, AnAbandonedWriterLetsGoOfItsFile)
{
    {
        FfmpegMediaWriter abandoned;
        ASSERT_TRUE(abandoned.setProfile(MediaProfile{64000, 2}));
        ASSERT_TRUE(abandoned.setOutputFilename(files, target()));
        EXPECT_EQ(files.create(target()), nullptr);
        ASSERT_TRUE(abandoned.setInputFormat(pcm(48000, 1)));
        ASSERT_TRUE(abandoned.beginWriting());
        const std::vector<std::uint8_t> silence(48000 * 2, 0);
        EXPECT_EQ(abandoned.writeSample(silence.data(), silence.size(), 0), 0);
    }
    EXPECT_TRUE(std::filesystem::exists(target()));
    EXPECT_NE(files.create(target()), nullptr);
}

} // namespace
} // namespace sorvella::test
