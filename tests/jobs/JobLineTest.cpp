// A job line built from settings parses back into the same settings: a
// stored job line must reproduce what was configured.

#include "core/RecException.h"
#include "jobs/JobLines.h"
#include "tests/app/CommandLineFixture.h"

namespace sorvella {
namespace {

struct RoundTrip {
    const char* name;
    std::uint16_t channels;
    std::uint32_t rate;
    std::int32_t autoSaveAction;
    std::int32_t autoSaveTime;
    bool flags;
    std::string volumeSettings;
    std::int32_t codecNumber;
    std::int32_t formatNumber; // 0: plain WAV
    std::string fileName;
};

class JobLineTest : public test::CommandLineFixture,
                    public ::testing::WithParamInterface<RoundTrip> {};

TEST_P(JobLineTest, ParsesBackIntoTheSameSettings)
{
    const RoundTrip& trip = GetParam();
    Settings original;
    original.format.channels = trip.channels;
    original.format.samplesPerSec = trip.rate;
    original.format.deriveFields();
    original.autoSaveAction = trip.autoSaveAction;
    original.autoSaveTime = trip.autoSaveTime;
    original.startMinimized = trip.flags;
    original.incrementAtStart = trip.flags;
    original.volumeSettings = trip.volumeSettings;
    original.target.sourceFormat = original.format;
    original.target.codec = catalogue.createCodec(trip.codecNumber);
    original.target.codecNumber = trip.codecNumber;
    original.target.formatNumber = trip.formatNumber;
    original.target.fileName = trip.fileName;

    const std::string line = buildJobLine(original);
    // As a job's line is checked: a record with the stored target's codec,
    // a job being configured so that the mixer stays as it is.
    settings.target.codec = catalogue.createCodec(trip.codecNumber);
    settings.target.codecNumber = trip.codecNumber;
    settings.jobConfigureId = 1;
    CommandLineParser parser(settings, services());
    parser.parseLine(line);
    parser.apply();

    EXPECT_TRUE(prompter.boxes.empty()) << line;
    EXPECT_EQ(settings.format, original.format) << line;
    EXPECT_EQ(settings.startMinimized, original.startMinimized) << line;
    EXPECT_EQ(settings.incrementAtStart, original.incrementAtStart) << line;
    EXPECT_EQ(settings.volumeSettings, original.volumeSettings) << line;
    EXPECT_EQ(settings.target.fileName, original.target.fileName) << line;
    EXPECT_EQ(settings.target.codecNumber, original.target.codecNumber) << line;
    EXPECT_EQ(settings.target.formatNumber, original.target.formatNumber) << line;
    if (original.autoSaveAction >= 2) {
        EXPECT_EQ(settings.autoSaveAction, original.autoSaveAction) << line;
        EXPECT_EQ(settings.autoSaveTime, original.autoSaveTime) << line;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Lines, JobLineTest,
    ::testing::Values(RoundTrip{"wav", 2, 44100, 2, 600, true, "", 1, 0, "/tmp/take.wav"},
                      RoundTrip{"mp3", 1, 22050, 3, 5400, false, "-v:0-80:3-", 1, 3,
                                "/tmp/my takes/-take %n:1.mp3"},
                      RoundTrip{"ogg", 2, 48000, 0, 600, true, "-v:2-", 5, 2, "/tmp/take.OGG"},
                      RoundTrip{"wma", 2, 44100, 2, 0, false, "", 6, 3, "/tmp/take %Y-%O-%D.wma"},
                      RoundTrip{"flac", 1, 44100, 2, 60, false, "", 7, 1, "/tmp/take.flac"},
                      RoundTrip{"opus", 2, 44100, 0, 600, false, "", 8, 4, "/tmp/take.Opus"}),
    [](const auto& info) { return std::string(info.param.name); });

// A double quote would end the name early and let its rest be read as
// options.
TEST(JobLine, TakesTheFormOfAJobLineAndRefusesAQuoteInTheName)
{
    Settings settings;
    settings.autoSaveAction = 2;
    settings.startMinimized = true;
    settings.target.fileName = "/tmp/take.wav";
    EXPECT_EQ(buildJobLine(settings), "-q:s:44100 -c:0:600 -i -f:\"/tmp/take.wav\"");
    settings.target.fileName = "/tmp/a\" -v:1-100 \"b.wav";
    EXPECT_THROW(buildJobLine(settings), RecException);
}

} // namespace
} // namespace sorvella
