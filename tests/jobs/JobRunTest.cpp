// A job's run at start-up: its line (or the default line) over the process's
// options, and what happens when there is none.

#include "jobs/JobRun.h"
#include "platform/fakes/FakeJobStore.h"
#include "tests/app/CommandLineFixture.h"

namespace sorvella {
namespace {

constexpr const char* kNoLine =
    "Please set task options before starting a Sorvella Job (read manual!)";

class JobRunTest : public test::CommandLineFixture {
protected:
    JobRunTest() { settings.jobRunId = 3; }

    bool run(bool canConfigure)
    {
        return applyJobRunLine(settings, jobs, store, services(), canConfigure);
    }

    FakeJobStore jobs;
};

// A bad option is told each run; the rest of the line still applies.
TEST_F(JobRunTest, TheJobsLineOverridesAndItsBadOptionIsTold)
{
    jobs.lines[3] = "-q:m:22050 -y:1 -c:0:3 -f:\"/tmp/my take.wav\"";
    store.writeString("SAGE Profiles", "default", "-q:s:48000");
    EXPECT_TRUE(run(false));
    expectCommandLineError("Invalid Parameter: 'y:1'");
    EXPECT_EQ(settings.format.samplesPerSec, 22050u);
    EXPECT_EQ(settings.format.channels, 1);
    EXPECT_EQ(settings.autoSaveTime, 3);
    EXPECT_EQ(settings.autoSaveAction, 2);
    EXPECT_EQ(settings.target.fileName, "/tmp/my take.wav");
}

TEST_F(JobRunTest, AJobWithoutLineTakesTheDefaultLine)
{
    store.writeString("SAGE Profiles", "default", "-q:m:16000 -e:1");
    EXPECT_TRUE(run(false));
    EXPECT_EQ(settings.format.samplesPerSec, 16000u);
    EXPECT_EQ(settings.autoSaveAction, 3);
    EXPECT_TRUE(prompter.boxes.empty());
}

// With nobody to set the job up (cron), the run fails instead of ending
// with success and nothing recorded.
TEST_F(JobRunTest, NoLineAtAllConfiguresTheJobOrRefusesTheRun)
{
    EXPECT_TRUE(run(true));
    EXPECT_EQ(settings.jobConfigureId, 3);
    EXPECT_EQ(settings.jobRunId, -1);
    expectBoxes({kNoLine}, "");

    settings = Settings{};
    settings.jobRunId = 3;
    EXPECT_FALSE(run(false));
    EXPECT_EQ(settings.jobConfigureId, -1);
}

} // namespace
} // namespace sorvella
