// The second stage over the program's real codecs and a fake mixer: the
// compressed target's codec search, the mixer, "installconfig", and the
// start-up stage that joins them.

#include "app/CommandLineParser.h"
#include "app/WindowsMediaCheck.h"
#include "save/Codec.h"
#include "save/TargetRecord.h"
#include "tests/app/CommandLineFixture.h"
#include "tests/mixer/MixerFixture.h"

namespace sorvella {
namespace {

using test::CommandLineFixture;
using Selection = FakeMixerState::Selection;

constexpr std::int32_t kMp3Codec = 1;
constexpr std::int32_t kOggCodec = 5;
constexpr std::int32_t kWmaCodec = 6;
constexpr const char* kNotAvailable = "Error: Selected Compression-Format not available";

class CommandLineApplyTest : public CommandLineFixture {
protected:
    void selectCodec(std::int32_t number, std::int32_t formatNumber)
    {
        settings.target.codec = catalogue.createCodec(number);
        ASSERT_NE(settings.target.codec, nullptr) << "codec " << number;
        settings.target.codecNumber = number;
        settings.target.formatNumber = formatNumber;
    }

    // The target's selected format.
    WaveFormat selectedFormat()
    {
        SaveTarget described = settings.target;
        const WaveFormat format = codecFormat(described);
        EXPECT_EQ(described.formatNumber, settings.target.formatNumber);
        return format;
    }
};

TEST_F(CommandLineApplyTest, AnyFormatKeepsACurrentCodecOfTheExtension)
{
    selectCodec(kMp3Codec, 0);
    const Codec* current = settings.target.codec.get();
    parseAndApply({"-f:/tmp/x.MP3"});
    EXPECT_EQ(settings.target.codec.get(), current);
    EXPECT_EQ(settings.target.formatNumber, 1);
    EXPECT_EQ(settings.target.fileName, "/tmp/x.MP3");

    settings.target.formatNumber = 4;
    parseAndApply({"-f:/tmp/y.mp3"});
    EXPECT_EQ(settings.target.codec.get(), current);
    EXPECT_EQ(settings.target.formatNumber, 4);
    EXPECT_TRUE(prompter.boxes.empty());
}

TEST_F(CommandLineApplyTest, AnyFormatOtherwiseTakesTheFirstCodecOfTheExtension)
{
    selectCodec(kOggCodec, 3);
    parseAndApply({"-f:/tmp/x.mp3"});
    EXPECT_EQ(settings.target.codecNumber, kMp3Codec);
    EXPECT_EQ(settings.target.codec->extension(), "mp3");
    EXPECT_EQ(settings.target.formatNumber, 1);

    parseAndApply({"-f:/tmp/x.ogg"});
    EXPECT_EQ(settings.target.codecNumber, kOggCodec);
    EXPECT_EQ(settings.target.formatNumber, 1);
    EXPECT_EQ(settings.target.fileName, "/tmp/x.ogg");
    EXPECT_TRUE(prompter.boxes.empty());
}

TEST_F(CommandLineApplyTest, FiveCharacterWmaNamesAreCompressed)
{
    selectCodec(kMp3Codec, 2);
    parseAndApply({"-f:x.wma"});
    EXPECT_EQ(settings.target.codecNumber, kWmaCodec);
    EXPECT_EQ(settings.target.formatNumber, 1);
}

class BitrateTest : public CommandLineApplyTest,
                    public ::testing::WithParamInterface<std::uint16_t> {};

// The wanted bit rate is found with the recording's channel count.
TEST_P(BitrateTest, SelectsTheFirstFormatOfThatRateAndChannels)
{
    const std::uint16_t channels = GetParam();
    selectCodec(kOggCodec, 1);
    parseAndApply({channels == 2 ? "-q:s:44100" : "-q:m:44100", "-f:64:/tmp/take.mp3"});
    EXPECT_EQ(settings.target.codecNumber, kMp3Codec);
    EXPECT_EQ(selectedFormat().avgBytesPerSec * 8 / 1000, 64u);
    EXPECT_EQ(selectedFormat().channels, channels);
    EXPECT_EQ(settings.target.fileName, "/tmp/take.mp3");
    EXPECT_EQ(settings.target.sourceFormat, settings.format);
    EXPECT_TRUE(prompter.boxes.empty());
}

INSTANTIATE_TEST_SUITE_P(Channels, BitrateTest, ::testing::Values(1, 2));

// The current codec is asked first; its kBit may count 1024 bits.
TEST_F(CommandLineApplyTest, ARateOfTheCurrentCodecKeepsIt)
{
    selectCodec(kOggCodec, 1);
    const Codec* current = settings.target.codec.get();
    parseAndApply({"-f:128:/tmp/take.ogg"});
    EXPECT_EQ(settings.target.codec.get(), current);
    EXPECT_EQ(selectedFormat().avgBytesPerSec * 8 / 1024, 128u);
}

class UnavailableRateTest : public CommandLineApplyTest,
                            public ::testing::WithParamInterface<std::string> {};

TEST_P(UnavailableRateTest, IsToldAndKeepsCodecAndFormatWithTheNewName)
{
    selectCodec(kOggCodec, 3);
    const Codec* current = settings.target.codec.get();
    parseAndApply({"-f:" + GetParam() + ":/tmp/take.mp3"});
    expectBoxes({kNotAvailable}, "Error parsing options");
    EXPECT_EQ(settings.target.codec.get(), current);
    EXPECT_EQ(settings.target.codecNumber, kOggCodec);
    EXPECT_EQ(settings.target.formatNumber, 3);
    EXPECT_EQ(settings.target.fileName, "/tmp/take.mp3");
}

// 0 kBit/s is a rate no format has; it must not drop the file name.
INSTANTIATE_TEST_SUITE_P(Rates, UnavailableRateTest, ::testing::Values("999", "0", "2147483647"));

TEST_F(CommandLineApplyTest, AnUnavailableRateOnAWavTargetFallsBackToFormatOne)
{
    selectCodec(kMp3Codec, 0);
    parseAndApply({"-f:999:/tmp/take.mp3"});
    expectBoxes({kNotAvailable}, "Error parsing options");
    EXPECT_EQ(settings.target.codecNumber, kMp3Codec);
    EXPECT_EQ(settings.target.formatNumber, 1);
}

class MixerApplyTest : public CommandLineApplyTest {
protected:
    // Four sources, 0 and 3 selected.
    void SetUp() override
    {
        test::setUpSources(mixers.mixer, Selection::Multiple, 65535, {32768, 0, 65535, 32768},
                           {0, 3});
        before = mixers.mixer;
    }

    FakeMixerState before;
};

TEST_F(MixerApplyTest, VolumeItemsSetTheMixerOfTheChosenDevice)
{
    parseAndApply({"-S:2", "-v:3-50"});
    EXPECT_EQ(mixers.lastCard(), 2);
    EXPECT_EQ(test::selectedSources(mixers.mixer), std::vector<int>{2});
    EXPECT_NEAR(static_cast<double>(*mixers.mixer.sources[2].volume), 65535 / 2.0, 1);
    EXPECT_TRUE(prompter.boxes.empty());
}

TEST_F(MixerApplyTest, AWrongItemChangesNothingAtAll)
{
    parseAndApply({"-v:abc"});
    expectCommandLineError(
        "Error: You supplied wrong arguments to -v Option. Please check Manual!");
    EXPECT_EQ(mixers.mixer, before);
}

TEST_F(MixerApplyTest, AMixerThatCannotBeOpenedIsToldAndTheRestStillApplies)
{
    mixers.failOpen = true;
    EXPECT_TRUE(applyProcessArguments(std::vector<std::string>{"-v:3-50", "-i", "-f:/tmp/x.ogg"},
                                      settings, services()));
    expectCommandLineError("Sorry, could not set Mixer: cannot open Mixer device");
    EXPECT_TRUE(settings.startMinimized);
    EXPECT_EQ(settings.target.codecNumber, kOggCodec);
}

TEST_F(MixerApplyTest, AVolumeThatCannotBeSetIsToldAndTheMixerPutBack)
{
    mixers.mixer.sources[2].failVolumeWrite = true;
    parseAndApply({"-v:1-20:3-50"});
    expectCommandLineError(
        "Sorry, could not set Mixer: Mixer-GetControlDetails: cannot get/set value");
    EXPECT_EQ(test::selectedSources(mixers.mixer), test::selectedSources(before));
}

TEST_F(MixerApplyTest, ConfiguringAJobLeavesTheMixerAlone)
{
    parseAndApply({"/SAGESET:4", "-v:3-50"});
    EXPECT_EQ(mixers.lastCard(), -1);
    EXPECT_EQ(mixers.mixer, before);
}

TEST_F(MixerApplyTest, RunningAJobLeavesTheMixerToTheJobsOwnLine)
{
    settings.volumeSettings = "-v:1-20";
    EXPECT_TRUE(applyProcessArguments(std::vector<std::string>{"-v:3-50", "/SAGERUN:4"}, settings,
                                      services()));
    EXPECT_EQ(settings.volumeSettings, "");
    EXPECT_EQ(mixers.lastCard(), -1);
}

TEST_F(MixerApplyTest, StoredMixerTextWithoutItsPrefixIsWarnedAbout)
{
    settings.volumeSettings = "xx:3-50";
    parseAndApply({});
    expectBoxes({"Warning: internal error in parsing -v option"}, "Error");
    EXPECT_EQ(test::selectedSources(mixers.mixer), std::vector<int>{2});

    prompter.boxes.clear();
    const int writes = mixers.writeCount();
    settings.volumeSettings = "-v:";
    parseAndApply({});
    EXPECT_TRUE(prompter.boxes.empty());
    EXPECT_EQ(mixers.writeCount(), writes);
}

TEST_F(CommandLineApplyTest, InstallconfigConfirmsAWorkingWindowsMediaCodec)
{
    CommandLineParser parser(settings, services());
    parser.parseArguments(std::vector<std::string>{"installconfig", "-i"});
    EXPECT_TRUE(parser.ended());
    EXPECT_FALSE(settings.startMinimized);
    EXPECT_EQ(out.str(), "Windows Media Audio Codec works fine. You can save windows media files "
                         "with Sorvella.\n");
    EXPECT_TRUE(prompter.boxes.empty());
}

TEST_F(CommandLineApplyTest, InstallconfigWithoutTheCodecSaysWhatToInstall)
{
    std::vector<CodecCatalogue::Factory> withoutWindowsMedia =
        installedCodecs(linuxCodecServices());
    withoutWindowsMedia.resize(kWindowsMediaCodecNumber - 1);
    const CodecCatalogue shortCatalogue(store, withoutWindowsMedia);
    CommandLineParser parser(settings, {prompter, shortCatalogue, mixers, out});
    parser.parseParam("installconfig", false);
    EXPECT_TRUE(parser.ended());
    EXPECT_EQ(out.str(), "");
    expectBoxes({"Windows Media Audio Codec (wma/asf) not found. If you do not have this codec, "
                 "you cannot save windows media files with Sorvella.\nInstall FFmpeg's "
                 "libavcodec and libavformat (Debian packages libavcodec59 and libavformat59) "
                 "to save windows media files."},
                "Warning");
}

} // namespace
} // namespace sorvella
