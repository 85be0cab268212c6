// Unattended runs of the executable as cron or a timer would start them: it
// records the test input's 1 kHz tone for four seconds in continuous mode,
// saves to the file named on the command line and ends by itself.

#include "tests/save/codecs/Tone.h"
#include "tests/support/TempDir.h"

#include <QCoreApplication>
#include <QProcess>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace sorvella {
namespace {

int argc = 1;
char programName[] = "sorvella_command_line_recording_tests";
char* argv[] = {programName, nullptr};

constexpr double kRecordedSeconds = 4;

std::vector<std::string> entryNames(const std::filesystem::path& folder)
{
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
        names.push_back(std::filesystem::relative(entry.path(), folder).string());
    }
    return names;
}

class CommandLineRecordingTest : public ::testing::Test {
protected:
    // Runs the program until it ends by itself; the tone is its default
    // input (the test server's "sine" source), for this process only. What
    // it wrote to standard error.
    std::string record(const QStringList& arguments)
    {
        QProcess program;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("PULSE_SOURCE", "sine");
        environment.insert("QT_QPA_PLATFORM", "offscreen");
        environment.insert("TMPDIR", QString::fromStdString(temporary.path().string()));
        program.setProcessEnvironment(environment);
        program.start(SORVELLA_EXECUTABLE, arguments);
        EXPECT_TRUE(program.waitForFinished(90000))
            << "the program did not end by itself; it said:\n"
            << program.readAllStandardError().toStdString();
        EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(program.exitCode(), 0);
        return program.readAllStandardError().toStdString();
    }

    QString fileOption(const std::string& prefix, const std::string& name) const
    {
        return QString::fromStdString("-f:" + prefix + (target.path() / name).string());
    }

    // The target is all the run left: no session directory, no block file,
    // no partial target.
    void expectOnly(const std::string& fileName)
    {
        EXPECT_EQ(entryNames(target.path()), std::vector<std::string>{fileName});
        for (const std::string& name : entryNames(temporary.path())) {
            EXPECT_FALSE(name.starts_with("Quillet-")) << name;
            EXPECT_FALSE(name.ends_with(".tmp")) << name;
        }
    }

    void expectTone(const std::filesystem::path& file)
    {
        const std::optional<test::DecodedSound> sound = test::decodeWithFfmpeg(file);
        ASSERT_TRUE(sound);
        EXPECT_EQ(sound->samplesPerSec, 44100u);
        EXPECT_EQ(sound->channels, 2);
        EXPECT_GE(sound->seconds(), kRecordedSeconds - 0.1);
        EXPECT_LT(sound->seconds(), kRecordedSeconds + 3);
        EXPECT_NEAR(sound->frequency(), test::kToneHz, 20);
    }

    QCoreApplication qt{argc, argv};
    test::TempDir temporary{"program-tmp"};
    test::TempDir target{"target"};
};

TEST_F(CommandLineRecordingTest, SavesFourSecondsAsWavAndEnds)
{
    record({"-q:s:44100", "-c:0:4", fileOption("", "take.wav")});
    expectOnly("take.wav");
    expectTone(target.path() / "take.wav");
}

TEST_F(CommandLineRecordingTest, SavesFourSecondsAsMp3At128KBitAndEnds)
{
    const std::filesystem::path mp3 = target.path() / "take.mp3";
    record({"-q:s:44100", "-c:0:4", fileOption("128:", "take.mp3")});
    expectOnly("take.mp3");

    QProcess probe;
    probe.start("ffprobe",
                {"-v", "error", "-select_streams", "a:0", "-show_entries", "stream=bit_rate", "-of",
                 "default=nw=1:nk=1", QString::fromStdString(mp3.string())});
    ASSERT_TRUE(probe.waitForFinished(30000));
    EXPECT_EQ(probe.readAllStandardOutput().trimmed().toStdString(), "128000");
    expectTone(mp3);
}

// Nobody could answer a box in an unattended run: the report goes to
// standard error and the recording goes on with the options that were good.
TEST_F(CommandLineRecordingTest, ABadOptionIsToldOnStandardErrorAndTheRunGoesOn)
{
    const std::string errors = record({"-q:s44000", "-c:0:4", fileOption("", "take.wav")});
    EXPECT_NE(errors.find("Command line parsing: Invalid Parameter: 'q:s44000'\n"),
              std::string::npos)
        << errors;
    expectOnly("take.wav");
    expectTone(target.path() / "take.wav");
}

} // namespace
} // namespace sorvella
