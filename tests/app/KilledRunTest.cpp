// The test-only executable recording the simulated counter signal is killed;
// the recovered file holds the counter from the first byte to the last the
// block files received, no sample twice or out of order.

#include "tests/app/KilledRun.h"
#include "tests/support/ConfigFiles.h"
#include "tests/support/CounterRun.h"

namespace sorvella::test {
namespace {

TEST_F(KilledRun, RecoverSavesTheCounterUpToTheLastByteOnDisk)
{
    recordAndKill(SORVELLA_TESTBED, 3);
    const std::int64_t held = heldBytes();
    EXPECT_EQ(recover(SORVELLA_TESTBED, "recovered.wav"), 0) << errors;
    const auto sound = soundOf(target.path() / "recovered.wav");
    EXPECT_EQ(static_cast<std::int64_t>(sound.size()), held);
    EXPECT_TRUE(isCounterRun(sound, 0));
    EXPECT_TRUE(sessionFiles(".tmp").empty()); // the dead run's directory went with the saved sound
}

// The program dies reading the third block of its closing save: the target
// is kept as a failed save's, and the blocks not yet saved are recovered, so
// that the two together hold the whole take.
TEST_F(KilledRun, ASaveCutShortIsKeptIncompleteAndTheRestRecovered)
{
    QProcess run;
    QProcessEnvironment environment = this->environment();
    environment.insert("SORVELLA_TESTBED_ABORT_AT", "read:3");
    run.setProcessEnvironment(environment);
    run.start(SORVELLA_TESTBED, {"-q:s:44100", "-c:0:6", fileOption("take.wav")});
    ASSERT_TRUE(run.waitForFinished(60000));
    ASSERT_EQ(run.exitStatus(), QProcess::CrashExit) << run.readAllStandardError().toStdString();

    EXPECT_EQ(recover(SORVELLA_TESTBED, "rest.wav"), 0) << errors;
    EXPECT_FALSE(std::filesystem::exists(target.path() / "take.wav"));
    auto sound = soundOf(target.path() / "take (incomplete).wav");
    const auto rest = soundOf(target.path() / "rest.wav");
    EXPECT_GE(sound.size(), 2u * 0x80000);
    EXPECT_FALSE(rest.empty());
    sound.insert(sound.end(), rest.begin(), rest.end());
    EXPECT_GE(sound.size(), 6u * 176400);
    EXPECT_TRUE(isCounterRun(sound, 0));
}

// In loop mode with a one-second limit, the program dies as the first trim
// deletes the oldest block: the sound recovered is the counter without a
// gap, and nothing of the dead run is left behind.
TEST_F(KilledRun, ADeathDuringALoopTrimRecoversTheHeldSound)
{
    writeText(settingsFile("sorvella-testbed"), "[Default Settings]\nTime Loop=1\nLoop Mode=0\n");
    QProcess run;
    QProcessEnvironment environment = this->environment();
    environment.insert("SORVELLA_TESTBED_ABORT_AT", "remove:1");
    run.setProcessEnvironment(environment);
    run.start(SORVELLA_TESTBED, {"-q:s:44100", fileOption("never.wav")});
    ASSERT_TRUE(run.waitForFinished(60000));
    ASSERT_EQ(run.exitStatus(), QProcess::CrashExit) << run.readAllStandardError().toStdString();

    EXPECT_EQ(recover(SORVELLA_TESTBED, "recovered.wav"), 0) << errors;
    const auto sound = soundOf(target.path() / "recovered.wav");
    EXPECT_GE(sound.size(), 2u * 0x80000);
    // A block holds a whole number of counter cycles: every block begins at 0.
    EXPECT_TRUE(isCounterRun(sound, 0));
    EXPECT_TRUE(sessionFiles(".tmp").empty());
}

} // namespace
} // namespace sorvella::test
