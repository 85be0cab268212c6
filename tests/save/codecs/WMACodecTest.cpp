// The Windows Media codec over fake media writers: its formats, texts and
// setting, what it asks of the writer and how each failure reaches the user.

#include "save/codecs/WMACodec.h"
#include "platform/fakes/FakeMediaWriters.h"
#include "platform/fakes/FakeSettingsStore.h"
#include "platform/files/PosixTargetFiles.h"
#include "save/CodecCatalogue.h"
#include "tests/save/FakeCodecOptionsUi.h"
#include "tests/save/RaisedBy.h"
#include "tests/save/codecs/Tone.h"
#include "tests/support/FakePrompter.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <ostream>

namespace sorvella::test {
namespace {

using Step = FakeMediaWriters::Step;

const char* const kSetting = "WMACodec Extension";
const char* const kDescription = "Windows Media Codec (Asf/Wma Format)";

class WMACodecTest : public ::testing::Test {
protected:
    std::string target() const { return (dir.path() / "take.wma").string(); }
    std::shared_ptr<WMACodec> makeCodec() const
    {
        return std::make_shared<WMACodec>(writers, extension);
    }
    // A catalogue whose number 6 is a codec over the fake writers.
    CodecCatalogue catalogueOver(const SettingsStore& settings) const
    {
        return CodecCatalogue(settings, {{}, {}, {}, {}, {}, [this]() -> std::unique_ptr<Codec> {
                                             return std::make_unique<WMACodec>(writers, extension);
                                         }});
    }
    std::vector<std::string> labels(const WaveFormat& input)
    {
        std::vector<std::string> out;
        for (std::int32_t n = 1;; ++n) {
            try {
                out.push_back(codec->queryFormat(n, input));
            } catch (const RecException& e) {
                EXPECT_EQ(e.message(), "Asf codec: invalid bitrate");
                return out;
            }
        }
    }
    const FakeMediaWriters::Record& onlyWriter() const
    {
        EXPECT_EQ(writers->records().size(), 1U);
        return *writers->records().front();
    }

    TempDir dir;
    PosixTargetFiles files;
    std::shared_ptr<FakeMediaWriters> writers = std::make_shared<FakeMediaWriters>();
    std::shared_ptr<WmaExtension> extension = std::make_shared<WmaExtension>();
    std::shared_ptr<WMACodec> codec = makeCodec();
};

TEST_F(WMACodecTest, OffersTheSevenProfilesUnderTheChosenExtension)
{
    std::vector<std::string> wma = labels(pcmFormat(44100, 2));
    ASSERT_EQ(wma.size(), 7U);
    EXPECT_EQ(wma[0], "Windows Media (.wma) [128kBit/s Stereo]");
    EXPECT_EQ(wma[1], "Windows Media (.wma) [96kBit/s Stereo]");
    EXPECT_EQ(wma[2], "Windows Media (.wma) [64kBit/s Stereo]");
    EXPECT_EQ(wma[3], "Windows Media (.wma) [48kBit/s Stereo]");
    EXPECT_EQ(wma[4], "Windows Media (.wma) [32kBit/s Stereo]");
    EXPECT_EQ(wma[5], "Windows Media (.wma) [28kBit/s Stereo]");
    EXPECT_EQ(wma[6], "Windows Media (.wma) [28kBit/s Mono]");
    EXPECT_EQ(codec->extension(), "wma");

    extension->set(1);
    EXPECT_EQ(codec->queryFormat(3, pcmFormat(44100, 2)), "Windows Media (.asf) [64kBit/s Stereo]");
    EXPECT_EQ(codec->extension(), "asf");
    EXPECT_EQ(codec->description(), kDescription);
    EXPECT_EQ(codec->fileTypeName(), "Windows Media Format");
    EXPECT_TRUE(codec->writesOwnFile());
    // No format asks anything of a writer.
    EXPECT_TRUE(writers->records().empty());
}

struct Described {
    std::int32_t formatNumber;
    std::uint16_t inputChannels;
    std::uint16_t channels;
    std::uint32_t avgBytesPerSec;
};

class WMAFormats : public WMACodecTest, public ::testing::WithParamInterface<Described> {};

// A stereo profile describes the recording's channels; the mono one, one.
TEST_P(WMAFormats, DescribeTheProfilesOutput)
{
    const Described d = GetParam();
    std::optional<WaveFormat> output;
    codec->queryFormat(d.formatNumber, pcmFormat(44100, d.inputChannels), &output);
    ASSERT_TRUE(output);
    EXPECT_EQ(output->channels, d.channels);
    EXPECT_EQ(output->avgBytesPerSec, d.avgBytesPerSec);
    EXPECT_EQ(output->bitsPerSample, 1);
    EXPECT_EQ(output->samplesPerSec, 0U);
    EXPECT_EQ(output->cbSize(), 0);
}

INSTANTIATE_TEST_SUITE_P(Profiles, WMAFormats,
                         ::testing::Values(Described{1, 2, 2, 16000}, Described{1, 1, 1, 16000},
                                           Described{5, 2, 2, 4000}, Described{6, 1, 1, 3600},
                                           Described{7, 2, 1, 3600}, Described{7, 1, 1, 3600}));

// Without the writer the codec fails its test with the message the
// catalogue shows, and the catalogue marks it.
TEST_F(WMACodecTest, WithoutWritersTheCodecIsNotInstalled)
{
    writers->isInstalled = false;
    EXPECT_EQ(raisedBy([&] { codec->test(); }).message(), "ASF-Codec: codec not installed");
    EXPECT_EQ(raisedBy([&] { codec->open(files, 1, pcmFormat(44100, 2), target()); }).message(),
              "ASF-Codec: codec not installed");
    EXPECT_TRUE(writers->records().empty());

    FakeSettingsStore settings;
    const CodecCatalogue catalogue = catalogueOver(settings);
    EXPECT_EQ(catalogue.testCodec(6), std::string("Error initializing Codec:\n") +
                                          "ASF-Codec: codec not installed" + " while testing " +
                                          kDescription);
}

TEST_F(WMACodecTest, AFormatPastTheProfilesFailsBeforeAnyWriterIsMade)
{
    const RecException e = raisedBy([&] { codec->open(files, 8, pcmFormat(44100, 2), target()); });
    EXPECT_EQ(e.message(), "Asf codec: invalid bitrate");
    EXPECT_EQ(e.kind(), RecException::Failure);
    EXPECT_FALSE(codec->isOpen());
    EXPECT_TRUE(writers->records().empty());
}

// The writer gets the profile's bit rate and channels, the target's name and
// the recording format; each 4096-byte block is stamped with its start in
// 100-nanosecond units (232199 units per block of 44100 Hz stereo).
TEST_F(WMACodecTest, HandsTheBlocksToTheWriterWithTheirTimes)
{
    const WaveFormat format = pcmFormat(44100, 2);
    const std::vector<std::uint8_t> sound(3 * 4096 + 100, 0);
    codec->open(files, 1, format, target());
    codec->write(sound.data(), sound.size());
    codec->close();

    const FakeMediaWriters::Record& writer = onlyWriter();
    ASSERT_TRUE(writer.profile);
    EXPECT_EQ(writer.profile->bitsPerSecond, 128000);
    EXPECT_EQ(writer.profile->channels, 2);
    EXPECT_EQ(writer.path, target());
    EXPECT_EQ(writer.input, format);
    EXPECT_TRUE(writer.began);
    EXPECT_TRUE(writer.ended);
    EXPECT_TRUE(writer.destroyed);
    EXPECT_EQ(writer.sampleTimes, (std::vector<std::uint64_t>{0, 232199, 464398, 696597}));
    EXPECT_EQ(writer.sampleBytes, (std::vector<std::size_t>{4096, 4096, 4096, 100}));
    // The codec writes its own file: the base made none.
    EXPECT_FALSE(std::filesystem::exists(target()));
}

struct FailingStep {
    Step step;
    const char* message;
};

// Names the case by its message, so the test's name stays the same from run to run.
void PrintTo(const FailingStep& failing, std::ostream* out)
{
    *out << failing.message;
}

class WMAStartFailures : public WMACodecTest, public ::testing::WithParamInterface<FailingStep> {};

TEST_P(WMAStartFailures, EndTheOpenAndReleaseTheWriter)
{
    writers->failAt = GetParam().step;
    const RecException e = raisedBy([&] { codec->open(files, 2, pcmFormat(22050, 1), target()); });
    EXPECT_EQ(e.message(), GetParam().message);
    EXPECT_EQ(e.kind(), RecException::Failure);
    EXPECT_FALSE(codec->isOpen());
    for (const auto& writer : writers->records()) {
        EXPECT_TRUE(writer->destroyed);
        EXPECT_FALSE(writer->ended);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Steps, WMAStartFailures,
    ::testing::Values(FailingStep{Step::Create, "ASF-Codec: cannot create Writer"},
                      FailingStep{Step::SetProfile, "ASF-Codec: cannot set compression profile"},
                      FailingStep{Step::SetOutputFilename, "ASF-Codec: invalid output file"},
                      FailingStep{Step::SetInputFormat, "ASF-Codec: cannot set media type"},
                      FailingStep{Step::BeginWriting, "ASF-Codec: begin compression"}));

TEST_F(WMACodecTest, AFailedSampleNamesTheWritersCode)
{
    writers->writeSampleResult = -22;
    const std::vector<std::uint8_t> sound(5000, 0);
    codec->open(files, 1, pcmFormat(44100, 2), target());
    const RecException e = raisedBy([&] { codec->write(sound.data(), sound.size()); });
    EXPECT_EQ(e.message(), "ASF-Codec: Write Samples ffffffea");
    EXPECT_THROW(codec->close(), RecException);
    EXPECT_TRUE(onlyWriter().ended);
    EXPECT_TRUE(onlyWriter().destroyed);
}

// The writer's error status, reported while writing or at its end, is the
// full disk of the user's message; a save stops at the first block after it.
TEST_F(WMACodecTest, TheErrorStatusIsAFullDisk)
{
    const std::vector<std::uint8_t> sound(10 * 4096, 0);
    writers->errorStatusAtSample = 2;
    codec->open(files, 1, pcmFormat(44100, 2), target());
    const RecException during = raisedBy([&] { codec->write(sound.data(), sound.size()); });
    EXPECT_EQ(during.message(), "ASF-Codec: Write failed; disk full?");
    EXPECT_EQ(raisedBy([&] { codec->close(); }).message(), "ASF-Codec: Write failed; disk full?");
    EXPECT_FALSE(codec->isOpen());
    EXPECT_TRUE(onlyWriter().destroyed);

    writers->errorStatusAtSample.reset();
    writers->errorStatusAtEnd = true;
    codec->open(files, 1, pcmFormat(44100, 2), target());
    codec->write(sound.data(), sound.size());
    EXPECT_EQ(raisedBy([&] { codec->close(); }).message(), "ASF-Codec: Write failed; disk full?");
}

// One extension choice for the whole process: read from the settings when a
// codec is made, changed by the options dialog, stored by saveSettings.
TEST_F(WMACodecTest, TheExtensionIsOneSettingForEveryCodec)
{
    FakeSettingsStore settings;
    const CodecCatalogue catalogue = catalogueOver(settings);
    settings.writeInt(kDefaultSettingsSection, kSetting, 1);
    const auto made = catalogue.createCodec(6);
    ASSERT_NE(made, nullptr);
    EXPECT_EQ(made->extension(), "asf");
    EXPECT_EQ(codec->extension(), "asf");
    EXPECT_EQ(made->clone()->extension(), "asf");

    FakePrompter prompter;
    FakeCodecOptionsUi ui(prompter);
    ui.wmaAnswers = {0, std::nullopt, 1, -1};
    made->configure(ui); // OK with ".wma"
    EXPECT_EQ(codec->extension(), "wma");
    made->saveSettings(settings);
    std::int32_t stored = -5;
    settings.readInt(kDefaultSettingsSection, kSetting, stored);
    EXPECT_EQ(stored, 0);

    made->configure(ui); // Cancel
    EXPECT_EQ(extension->value(), 0);
    made->configure(ui); // OK with ".asf"
    EXPECT_EQ(extension->value(), 1);
    made->configure(ui); // OK with nothing chosen
    EXPECT_EQ(extension->value(), 0);
    EXPECT_EQ(ui.wmaOptionsShown, (std::vector<std::int32_t>{1, 0, 0, 1}));
    EXPECT_TRUE(prompter.boxes.empty());
}

} // namespace
} // namespace sorvella::test
