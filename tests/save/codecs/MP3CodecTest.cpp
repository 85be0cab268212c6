#include "platform/compression/DriverCompressionManager.h"
#include "platform/fakes/FakeCompressionDriver.h"
#include "platform/fakes/FakeSettingsStore.h"
#include "platform/files/PosixTargetFiles.h"
#include "save/codecs/MP2Codec.h"
#include "tests/save/FakeCodecOptionsUi.h"
#include "tests/save/RaisedBy.h"
#include "tests/save/codecs/Tone.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

namespace sorvella::test {
namespace {

constexpr const char* kSetting = "MP3Codec Quick Compression";

// Codecs over fake drivers for both tags: 64 and 128 kBit/s at 44100 and
// 22050 Hz, stereo before mono, so four formats per rate.
class MP3CodecTest : public ::testing::Test {
protected:
    std::shared_ptr<FakeCompressionDriver> layer3 = std::make_shared<FakeCompressionDriver>(
        kFormatTagMpegLayer3, std::vector<std::uint32_t>{44100, 22050},
        std::vector<std::int32_t>{64, 128});
    std::shared_ptr<FakeCompressionDriver> layer2 = std::make_shared<FakeCompressionDriver>(
        kFormatTagMpeg, std::vector<std::uint32_t>{44100, 22050},
        std::vector<std::int32_t>{64, 128});
    std::shared_ptr<CompressionManager> manager = std::make_shared<DriverCompressionManager>(
        std::vector<std::shared_ptr<CompressionDriver>>{layer3, layer2});
    MP3Codec mp3{manager};
    MP2Codec mp2{manager};
    const WaveFormat stereo = pcmFormat(44100, 2);
    const WaveFormat mono = pcmFormat(44100, 1);

    TempDir dir;
    PosixTargetFiles files;
    std::string target() const { return (dir.path() / "take.mp3").string(); }
    std::vector<std::uint8_t> targetBytes() const
    {
        std::ifstream in(target(), std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
};

std::vector<std::string> labels(Codec& codec, const WaveFormat& input)
{
    std::vector<std::string> out;
    for (std::int32_t n = 1;; ++n) {
        try {
            out.push_back(codec.queryFormat(n, input));
        } catch (const RecException&) {
            return out;
        }
    }
}

TEST_F(MP3CodecTest, Mp3NumbersRunOnIntoTheHalfRateFormatsAndMp2StopsAtTheFullRate)
{
    const std::vector<std::string> full = {
        "64 kBit/s, 44100 Hz, Stereo", "128 kBit/s, 44100 Hz, Stereo", "64 kBit/s, 44100 Hz, Mono",
        "128 kBit/s, 44100 Hz, Mono"};
    const std::vector<std::string> half = {
        "64 kBit/s, 22050 Hz, Stereo", "128 kBit/s, 22050 Hz, Stereo", "64 kBit/s, 22050 Hz, Mono",
        "128 kBit/s, 22050 Hz, Mono"};
    std::vector<std::string> mp3Expected;
    std::vector<std::string> mp2Expected;
    for (const auto& l : full) {
        mp3Expected.push_back("MP3 [" + l + "]");
        mp2Expected.push_back("MP2 [" + l + "]");
    }
    for (const auto& l : half) {
        mp3Expected.push_back("MP3 [" + l + "]");
    }
    EXPECT_EQ(labels(mp3, stereo), mp3Expected);
    EXPECT_EQ(labels(mp2, stereo), mp2Expected);

    // Number 5 is the first format at 22050 Hz, with the driver's record.
    std::optional<WaveFormat> format;
    mp3.queryFormat(5, stereo, &format);
    ASSERT_TRUE(format);
    EXPECT_EQ(format->formatTag, kFormatTagMpegLayer3);
    EXPECT_EQ(format->samplesPerSec, 22050U);
    EXPECT_EQ(format->channels, 2);
    EXPECT_EQ(format->avgBytesPerSec, 8000U);
    EXPECT_EQ(format->cbSize(), 12);

    for (const std::int32_t beyond : {0, -1, 9}) {
        const RecException e = raisedBy([&] { mp3.queryFormat(beyond, stereo, &format); });
        EXPECT_EQ(e.message(), "MP3-Codec: no such Format");
        EXPECT_EQ(e.kind(), RecException::Failure);
        EXPECT_FALSE(format);
    }
    EXPECT_EQ(raisedBy([&] { mp2.queryFormat(5, stereo); }).message(), "MP3-Codec: no such Format");
}

TEST_F(MP3CodecTest, MonoRecordingsGetMonoFormatsOnly)
{
    EXPECT_EQ(labels(mp3, mono), (std::vector<std::string>{"MP3 [64 kBit/s, 44100 Hz, Mono]",
                                                           "MP3 [128 kBit/s, 44100 Hz, Mono]",
                                                           "MP3 [64 kBit/s, 22050 Hz, Mono]",
                                                           "MP3 [128 kBit/s, 22050 Hz, Mono]"}));
    EXPECT_EQ(labels(mp2, mono), (std::vector<std::string>{"MP2 [64 kBit/s, 44100 Hz, Mono]",
                                                           "MP2 [128 kBit/s, 44100 Hz, Mono]"}));
}

TEST_F(MP3CodecTest, WithoutADriverForTheTagTheTestFails)
{
    MP3Codec without(std::make_shared<DriverCompressionManager>(
        std::vector<std::shared_ptr<CompressionDriver>>{layer2}));
    EXPECT_EQ(raisedBy([&] { without.test(); }).message(), "MP3-Codec: no such Format");
    EXPECT_NO_THROW(mp2.test());
    EXPECT_NO_THROW(mp3.test());
}

// Every block but the last is converted whole-block aligned; the last one
// ends the stream, even when it is only the four zero bytes of close. The
// driver's output (here the PCM itself) is the file.
TEST_F(MP3CodecTest, BlocksAreConvertedAndTheLastEndsTheStream)
{
    const std::vector<std::uint8_t> pcm = tone(stereo, 0.1); // 17640 bytes
    mp3.open(files, 2, stereo, target());
    mp3.write(pcm.data(), pcm.size());
    mp3.close();
    ASSERT_EQ(layer3->conversions.size(), 4U);
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(layer3->conversions[i].sourceLength, 5000U);
        EXPECT_FALSE(layer3->conversions[i].end);
    }
    EXPECT_EQ(layer3->conversions[3].sourceLength, 2640U);
    EXPECT_TRUE(layer3->conversions[3].end);
    EXPECT_EQ(targetBytes(), pcm);
    EXPECT_EQ(layer3->closes, 1);

    layer3->conversions.clear();
    mp3.open(files, 2, stereo, target());
    mp3.close();
    ASSERT_EQ(layer3->conversions.size(), 1U);
    EXPECT_EQ(layer3->conversions[0].sourceLength, 4U);
    EXPECT_TRUE(layer3->conversions[0].end);
    EXPECT_EQ(layer3->closes, 2);
}

TEST_F(MP3CodecTest, QuickCompressionFallsBackWhenTheDriverRefusesRealTime)
{
    layer3->refuseRealTime = true;
    mp3.open(files, 2, stereo, target());
    mp3.close();
    ASSERT_EQ(layer3->opens.size(), 2U);
    EXPECT_TRUE(layer3->opens[0].realTime);
    EXPECT_FALSE(layer3->opens[1].realTime);
    EXPECT_TRUE(layer3->opens[1].accepted);

    // Without quick compression the stream is asked for once, not real time;
    // a refusal is an open failure the user may retry.
    FakeSettingsStore settings;
    settings.writeInt("Default Settings", kSetting, 0);
    mp3.loadSettings(settings);
    layer3->refuseStreams = true;
    layer3->opens.clear();
    const RecException e = raisedBy([&] { mp3.open(files, 2, stereo, target()); });
    EXPECT_EQ(e.message(), "ACM codec: unable to start compression (2:512-176400:16000)");
    EXPECT_EQ(e.kind(), RecException::OpenFailure);
    EXPECT_FALSE(mp3.isOpen());
    ASSERT_EQ(layer3->opens.size(), 1U);
    EXPECT_FALSE(layer3->opens[0].realTime);
    // The file was let go: it can be created again at once.
    EXPECT_TRUE(files.create(target()));

    // A driver that takes real time gets a real-time stream.
    layer3->refuseRealTime = false;
    layer3->refuseStreams = false;
    MP3Codec quick(manager);
    quick.open(files, 1, stereo, target());
    quick.close();
    EXPECT_TRUE(layer3->opens.back().realTime);
    EXPECT_TRUE(layer3->opens.back().accepted);
}

TEST_F(MP3CodecTest, FailedConversionsRaiseAndAFailedStreamCloseOnlyTellsOfIt)
{
    const std::vector<std::uint8_t> pcm = tone(stereo, 0.1);
    layer3->failConverts = true;
    mp3.open(files, 1, stereo, target());
    EXPECT_EQ(raisedBy([&] { mp3.write(pcm.data(), pcm.size()); }).message(), "conversion failed");
    EXPECT_EQ(raisedBy([&] { mp3.close(); }).message(), "conversion failed");
    EXPECT_FALSE(mp3.isOpen());

    layer3->failConverts = false;
    layer3->failCloses = true;
    mp3.open(files, 1, stereo, target());
    mp3.write(pcm.data(), pcm.size());
    testing::internal::CaptureStderr();
    EXPECT_NO_THROW(mp3.close());
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "ACM-Conversion: ACM-Close-Error\n");
    EXPECT_EQ(targetBytes(), pcm);
    // The stream is gone all the same: the next run opens a new one.
    layer3->failCloses = false;
    mp3.open(files, 1, stereo, target());
    mp3.close();
    EXPECT_EQ(layer3->closes, 2);
}

TEST_F(MP3CodecTest, QuickCompressionIsAnOptionOfMp3Only)
{
    FakeSettingsStore settings;
    mp3.loadSettings(settings); // absent: stays on
    mp3.saveSettings(settings);
    EXPECT_EQ(settings.values().at({"Default Settings", kSetting}), "1");

    FakePrompter prompter;
    FakeCodecOptionsUi ui(prompter);
    ui.mp3Answers = {std::nullopt, false};
    mp3.configure(ui); // Cancel
    mp3.saveSettings(settings);
    EXPECT_EQ(settings.values().at({"Default Settings", kSetting}), "1");
    mp3.configure(ui); // OK with the box cleared
    EXPECT_EQ(ui.mp3OptionsShown, (std::vector<bool>{true, true}));
    mp3.saveSettings(settings);
    EXPECT_EQ(settings.values().at({"Default Settings", kSetting}), "0");

    // A clone keeps the option; any non-zero value reads as on.
    FakeCodecOptionsUi cloneUi(prompter);
    mp3.clone()->configure(cloneUi);
    EXPECT_EQ(cloneUi.mp3OptionsShown, std::vector<bool>{false});
    settings.writeInt("Default Settings", kSetting, 7);
    mp3.loadSettings(settings);
    mp3.configure(cloneUi);
    EXPECT_EQ(cloneUi.mp3OptionsShown.back(), true);

    FakeSettingsStore untouched;
    mp2.saveSettings(untouched);
    EXPECT_TRUE(untouched.values().empty());
    mp2.configure(ui);
    ASSERT_EQ(prompter.boxes.size(), 1U);
    EXPECT_EQ(prompter.boxes[0].text, "This Codec does not have configurable options.");
}

TEST_F(MP3CodecTest, Texts)
{
    EXPECT_EQ(mp3.description(), "MP3 ACM Codec");
    EXPECT_EQ(mp3.fileTypeName(), "MP3 Format / system codec");
    EXPECT_EQ(mp3.extension(), "mp3");
    EXPECT_EQ(mp2.description(), "MP2 ACM Codec");
    EXPECT_EQ(mp2.fileTypeName(), "MP2 format via codec");
    EXPECT_EQ(mp2.extension(), "mp2");
    EXPECT_EQ(mp2.clone()->extension(), "mp2");
}

} // namespace
} // namespace sorvella::test
