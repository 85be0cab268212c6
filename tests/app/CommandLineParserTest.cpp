// The token stage: keywords, one-letter options, options with arguments,
// the time rule, recording formats, job lines, and what bad input reports.

#include "save/TargetPath.h"
#include "tests/app/CommandLineFixture.h"

#include <limits>

namespace sorvella {
namespace {

using test::CommandLineFixture;

class CommandLineParserTest : public CommandLineFixture {};

TEST_F(CommandLineParserTest, OneLetterOptionsSetTheirFlags)
{
    settings.volumeSettings = "-v:1-50";
    parseArguments({"-i", "-n", "/s", "-v", "-x"});
    EXPECT_TRUE(settings.startMinimized);
    EXPECT_TRUE(settings.incrementAtStart);
    EXPECT_EQ(settings.autoSaveAction, 1);
    EXPECT_EQ(settings.volumeSettings, "");
    EXPECT_EQ(settings.startRetryTicks, 0);
    EXPECT_TRUE(prompter.boxes.empty());
}

TEST_F(CommandLineParserTest, JobKeywordsCountWithOrWithoutMarkerButOnlyInCapitals)
{
    parseArguments({"/SAGERUN:3", "SAGESET:12"});
    EXPECT_EQ(settings.jobRunId, 3);
    EXPECT_EQ(settings.jobConfigureId, 12);
    parseArguments({"SAGERUN:7", "-SAGESET:0"});
    EXPECT_EQ(settings.jobRunId, 7);
    EXPECT_EQ(settings.jobConfigureId, 0);
    EXPECT_TRUE(prompter.boxes.empty());

    parseArguments({"sagerun:3"});
    EXPECT_EQ(settings.jobRunId, 7);
    expectCommandLineError("Invalid Parameter: sagerun:3");
}

class BadJobNumberTest : public CommandLineFixture,
                         public ::testing::WithParamInterface<const char*> {};

// Whatever follows the keyword, a job number that is not a plain 32-bit
// number names no job: it is told, and the run is refused.
TEST_P(BadJobNumberTest, IsToldAndRefusesTheRun)
{
    CommandLineParser parser(settings, services());
    parser.parseArguments(std::vector<std::string>{GetParam()});
    EXPECT_TRUE(parser.jobRefused());
    EXPECT_EQ(settings.jobRunId, -1);
    EXPECT_EQ(settings.jobConfigureId, -1);
    expectCommandLineError("Invalid Parameter: '" + std::string(GetParam()).substr(1) + "'");
}

INSTANTIATE_TEST_SUITE_P(Numbers, BadJobNumberTest,
                         ::testing::Values("/SAGERUN:", "/SAGERUN:abc", "/SAGERUN:-3",
                                           "/SAGESET:12abc", "/SAGERUN:2147483648",
                                           "/SAGESET:99999999999"));

struct BadToken {
    std::string argument;
    std::string message;
};

class BadTokenTest : public CommandLineFixture, public ::testing::WithParamInterface<BadToken> {};

// Nothing changes, and the message names the token exactly.
TEST_P(BadTokenTest, IsReportedAndChangesNothing)
{
    const Settings before = settings;
    parseArguments({GetParam().argument});
    expectCommandLineError(GetParam().message);
    EXPECT_EQ(settings.autoSaveTime, before.autoSaveTime);
    EXPECT_EQ(settings.autoSaveAction, before.autoSaveAction);
    EXPECT_EQ(settings.soundCard, before.soundCard);
    EXPECT_EQ(settings.format, before.format);
    EXPECT_EQ(settings.target.fileName, before.target.fileName);
    EXPECT_EQ(settings.volumeSettings, before.volumeSettings);
}

INSTANTIATE_TEST_SUITE_P(
    Tokens, BadTokenTest,
    ::testing::Values(BadToken{"record.wav", "Invalid Parameter: record.wav"},
                      BadToken{"", "Invalid Parameter: "}, BadToken{"-", "Invalid Parameter: ''"},
                      BadToken{"-c:", "Invalid Parameter: 'c:'"},
                      BadToken{"-c", "Invalid Parameter: 'c'"},
                      BadToken{"-k", "Invalid Parameter: 'k'"},
                      BadToken{"-k:5", "Invalid Parameter: 'k:5'"},
                      BadToken{"-cc:5", "Invalid Parameter: 'cc:5'"},
                      BadToken{"-Q:s", "Invalid Parameter: 'Q:s'"},
                      BadToken{"-q:96000", "Invalid Parameter: 'q:96000'"},
                      BadToken{"-q:99999999999", "Invalid Parameter: 'q:99999999999'"},
                      BadToken{"-c:99999999", "Invalid Parameter: 'c:99999999'"},
                      BadToken{"-e:1:0:0:0:0:0:0", "Invalid Parameter: 'e:1:0:0:0:0:0:0'"},
                      BadToken{"-S:4294967296", "Invalid Parameter: 'S:4294967296'"},
                      BadToken{"-f:99999999999:/tmp/take.mp3",
                               "Invalid Parameter: 'f:99999999999:/tmp/take.mp3'"},
                      BadToken{"-installconfig2", "Invalid Parameter: 'installconfig2'"}));

struct TimeCase {
    std::string argument;
    std::int32_t seconds;
};

class TimeRuleTest : public CommandLineFixture, public ::testing::WithParamInterface<TimeCase> {};

TEST_P(TimeRuleTest, SaveAfterClosesAndEditAfterIdles)
{
    parseArguments({"-c:" + GetParam().argument});
    EXPECT_EQ(settings.autoSaveTime, GetParam().seconds);
    EXPECT_EQ(settings.autoSaveAction, 2);
    EXPECT_EQ(settings.autoSaveFollow, 0);

    parseArguments({"-e:" + GetParam().argument});
    EXPECT_EQ(settings.autoSaveTime, GetParam().seconds);
    EXPECT_EQ(settings.autoSaveAction, 3);
    EXPECT_EQ(settings.autoSaveFollow, 1);
    EXPECT_TRUE(prompter.boxes.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Times, TimeRuleTest,
    ::testing::Values(TimeCase{"5", 300}, TimeCase{"10", 600}, TimeCase{"0:45", 45},
                      TimeCase{"0:600", 600}, TimeCase{"1:30", 90}, TimeCase{"1:00:00", 3600},
                      TimeCase{"2:x:5", 7205}, TimeCase{"::7", 7}, TimeCase{"x", 0},
                      TimeCase{"35791394", 2147483640},
                      TimeCase{"0:2147483647", std::numeric_limits<std::int32_t>::max()}));

struct FormatCase {
    std::string argument;
    std::uint16_t channels;
    std::uint32_t rate;
    bool valid;
};

class RecordingFormatTest : public CommandLineFixture,
                            public ::testing::WithParamInterface<FormatCase> {};

// Starting from 22050 Hz mono: the channel change stays even when the rate
// is refused, and the derived fields always follow.
TEST_P(RecordingFormatTest, SetsChannelsAndAcceptedRates)
{
    settings.format.channels = 1;
    settings.format.samplesPerSec = 22050;
    settings.format.deriveFields();
    parseArguments({"-" + GetParam().argument});
    EXPECT_EQ(settings.format.channels, GetParam().channels);
    EXPECT_EQ(settings.format.samplesPerSec, GetParam().rate);
    EXPECT_EQ(settings.format.blockAlign, GetParam().channels * 2);
    EXPECT_EQ(settings.format.avgBytesPerSec, GetParam().channels * GetParam().rate * 2);
    if (GetParam().valid) {
        EXPECT_TRUE(prompter.boxes.empty());
    } else {
        expectCommandLineError("Invalid Parameter: '" + GetParam().argument + "'");
    }
}

INSTANTIATE_TEST_SUITE_P(
    Formats, RecordingFormatTest,
    ::testing::Values(FormatCase{"q:s", 2, 22050, true}, FormatCase{"q:s:44100", 2, 44100, true},
                      FormatCase{"D:s48000", 2, 48000, true}, FormatCase{"q:m8000", 1, 8000, true},
                      FormatCase{"q:sm:11025", 1, 11025, true},
                      FormatCase{"q:2000001", 1, 2000001, true}, FormatCase{"q:0", 1, 22050, true},
                      FormatCase{"q:s44000", 2, 22050, false},
                      FormatCase{"q:s:-44100", 2, 22050, false},
                      FormatCase{"q:ms", 1, 22050, true}));

class AcceptedRateTest : public CommandLineFixture,
                         public ::testing::WithParamInterface<std::uint32_t> {};

TEST_P(AcceptedRateTest, IsTakenInBothChannelCounts)
{
    parseArguments({"-q:m" + std::to_string(GetParam())});
    EXPECT_EQ(settings.format.samplesPerSec, GetParam());
    EXPECT_EQ(settings.format.channels, 1);
    parseArguments({"-D:s" + std::to_string(GetParam())});
    EXPECT_EQ(settings.format.channels, 2);
    EXPECT_EQ(settings.format.avgBytesPerSec, GetParam() * 4);
    EXPECT_TRUE(prompter.boxes.empty());
}

INSTANTIATE_TEST_SUITE_P(Rates, AcceptedRateTest,
                         ::testing::Values(8000u, 11025u, 16000u, 22050u, 24000u, 32000u, 44100u,
                                           48000u, 100001u, 200001u, 300001u, 400001u, 500001u,
                                           1000001u, 2000001u));

TEST_F(CommandLineParserTest, UncompressedTargetsKeepTheCodecAndWriteWav)
{
    settings.target.codecNumber = 5;
    settings.target.formatNumber = 3;
    parseAndApply({"-f:/tmp/x.wav"});
    EXPECT_EQ(settings.target.fileName, "/tmp/x.wav");
    EXPECT_EQ(settings.target.formatNumber, 0);
    EXPECT_EQ(settings.target.codecNumber, 5);

    // Four characters are too short to be a compressed name.
    parseAndApply({"-f:.mp3"});
    EXPECT_EQ(settings.target.fileName, normaliseFileName(".mp3"));
    EXPECT_EQ(settings.target.formatNumber, 0);

    // A later plain name drops an earlier compressed one.
    parseAndApply({"-f:/tmp/a.mp3", "-f:/tmp/b.aiff"});
    EXPECT_EQ(settings.target.fileName, "/tmp/b.aiff");
    EXPECT_EQ(settings.target.formatNumber, 0);
    EXPECT_TRUE(prompter.boxes.empty());
}

TEST_F(CommandLineParserTest, JobLinesSplitAtSpacesOutsideQuotes)
{
    CommandLineParser parser(settings, services());
    parser.parseLine("  -q:m:22050   -c:0:90 -f:\"/tmp/my take-1.wav\" -i -x-y  ");
    EXPECT_EQ(settings.format.channels, 1);
    EXPECT_EQ(settings.format.samplesPerSec, 22050u);
    EXPECT_EQ(settings.autoSaveTime, 90);
    EXPECT_EQ(settings.target.fileName, "/tmp/my take-1.wav");
    EXPECT_TRUE(settings.startMinimized);
    expectCommandLineError("Invalid Parameter: 'x-y'");
}

TEST_F(CommandLineParserTest, JobLineEdgesNeitherCrashNorLoseTokens)
{
    CommandLineParser parser(settings, services());
    // A token without a marker, a lone marker, '/' (no marker in a line),
    // empty quotes, and an unbalanced quote that runs to the line's end.
    parser.parseLine("take.wav - /i \"\" -\"i\" -f:\"/tmp/open quote.wav -n");
    EXPECT_TRUE(settings.startMinimized);
    EXPECT_FALSE(settings.incrementAtStart);
    EXPECT_EQ(settings.target.fileName, "/tmp/open quote.wav -n");
    expectBoxes({"Invalid Parameter: take.wav", "Invalid Parameter: /i"}, "Command line parsing");
}

TEST_F(CommandLineParserTest, HelpPrintsEveryOptionAndEndsTheRun)
{
    CommandLineParser parser(settings, services());
    parser.parseArguments(std::vector<std::string>{"--help", "-i"});
    EXPECT_TRUE(parser.ended());
    EXPECT_FALSE(settings.startMinimized);
    for (const char* option : {"-q:", "-D:", "-S:", "-c:", "-e:", "-f:", "-v:", "-i", "-n", "-s",
                               "-x", "SAGESET:", "SAGERUN:", "installconfig", "--help"}) {
        EXPECT_NE(out.str().find(option), std::string::npos) << option;
    }
    EXPECT_TRUE(prompter.boxes.empty());
}

TEST_F(CommandLineParserTest, OnlyInstallconfigAndHelpEndTheProgram)
{
    for (const char* argument :
         {"installconfig", "/installconfig", "-installconfig", "--help", "/-help"}) {
        EXPECT_TRUE(CommandLineParser::endsProgram(argument)) << argument;
    }
    for (const char* argument : {"help", "-help", "-f:installconfig", "INSTALLCONFIG", ""}) {
        EXPECT_FALSE(CommandLineParser::endsProgram(argument)) << argument;
    }
    // In a job line "--help" loses both dashes and is an ordinary bad token.
    CommandLineParser parser(settings, services());
    parser.parseLine("--help");
    EXPECT_FALSE(parser.ended());
    expectCommandLineError("Invalid Parameter: 'help'");
}

} // namespace
} // namespace sorvella
