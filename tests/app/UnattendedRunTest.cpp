// Unattended runs of the program (no display) that cannot do what they were
// started for: they end by themselves, keep what they recorded and say with
// their exit code what happened. The test-only executable simulates the
// input and fills the temporary directory on request.

#include "tests/support/ProgramFixture.h"

#include <QProcess>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace sorvella {
namespace {

constexpr int kNeverStarted = 1;
constexpr int kSoundLost = 3;

class UnattendedRunTest : public test::ProgramFixture {
protected:
    // The exit code once the program has ended by itself (-1: it did not).
    int runToEnd(QStringList arguments, const QProcessEnvironment& faults)
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(faults);
        environment.insert("QT_QPA_PLATFORM", "offscreen");
        environment.insert("TMPDIR", QString::fromStdString(temporary.path().string()));
        arguments << QString::fromStdString("-f:" + take().string());
        QProcess program;
        program.setProcessEnvironment(environment);
        program.start(SORVELLA_TESTBED, arguments);
        const bool ended = program.waitForFinished(90000);
        errors = program.readAllStandardError().toStdString();
        return ended && program.exitStatus() == QProcess::NormalExit ? program.exitCode() : -1;
    }

    std::filesystem::path take() const { return target.path() / "take.wav"; }
};

class InputThatCannotBeOpened : public UnattendedRunTest,
                                public ::testing::WithParamInterface<const char*> {};

// With retries (the question after them answers Cancel) or without ("-x").
TEST_P(InputThatCannotBeOpened, EndsWithoutRecording)
{
    QProcessEnvironment faults;
    faults.insert("SORVELLA_TESTBED_INPUT", "missing");
    QStringList arguments{"-c:0:4"};
    if (*GetParam() != '\0') {
        arguments << GetParam();
    }
    EXPECT_EQ(runToEnd(arguments, faults), kNeverStarted) << errors;
    EXPECT_FALSE(std::filesystem::exists(take()));
}

INSTANTIATE_TEST_SUITE_P(Retries, InputThatCannotBeOpened, ::testing::Values("", "-x"));

// Nobody would see the editor that "-e:" opens: the take is saved instead,
// and the run ends by itself.
TEST_F(UnattendedRunTest, EditAfterSavesInsteadAndEnds)
{
    EXPECT_EQ(runToEnd({"-q:s:44100", "-e:0:2"}, {}), 0) << errors;
    EXPECT_NE(errors.find("the recording is saved instead"), std::string::npos) << errors;
    ASSERT_TRUE(std::filesystem::exists(take()));
    EXPECT_GE(std::filesystem::file_size(take()), 2u * 44100 * 4);
}

// The temporary directory fills up two seconds into a six-second take: the
// recording pauses without a box, the automatic save still comes on time
// with what is held, and the run ends telling that sound was lost.
TEST_F(UnattendedRunTest, FullTemporaryDirectoryPausesSavesWhatIsHeldAndEnds)
{
    QProcessEnvironment faults;
    faults.insert("SORVELLA_TESTBED_DISK_BYTES", QString::number(2 * 44100 * 4));
    EXPECT_EQ(runToEnd({"-q:s:44100", "-c:0:6"}, faults), kSoundLost) << errors;
    EXPECT_EQ(errors.find("Error recording..."), std::string::npos) << errors;
    ASSERT_TRUE(std::filesystem::exists(take()));
    EXPECT_GT(std::filesystem::file_size(take()), 44100u * 4);
    EXPECT_LE(std::filesystem::file_size(take()), 2u * 44100 * 4 + 44);
}

} // namespace
} // namespace sorvella
