// The job dialog's logic over fake stores: which line "OK" stores, and how
// the controls, the mixer and the target become a line.

#include "jobs/JobForm.h"
#include "platform/fakes/FakeJobStore.h"
#include "tests/app/CommandLineFixture.h"
#include "tests/mixer/MixerFixture.h"

namespace sorvella {
namespace {

constexpr std::int32_t kJob = 3;

class FakeJobView : public JobSettingsView {
public:
    void showControls(const JobControls& controls) override { shown = controls; }
    JobControls controls() const override { return shown; }

    JobControls shown;
};

class JobFormTest : public test::CommandLineFixture {
protected:
    JobFormTest() { settings.jobConfigureId = kJob; }

    JobForm& open()
    {
        form.emplace(view, settings,
                     JobFormServices{jobs, store, services(), [](SaveTarget&) { return false; },
                                     [](const std::string&) { return std::nullopt; }});
        form->open();
        return *form;
    }

    // OK after the user changed the time and what follows it.
    std::string storedAfterTouching(const std::string& time, std::int32_t editAfter)
    {
        open();
        view.shown.timeText = time;
        view.shown.editAfter = editAfter;
        form->controlChanged();
        EXPECT_TRUE(form->accept());
        return jobs.lines[kJob];
    }

    FakeJobStore jobs;
    FakeJobView view;
    std::optional<JobForm> form;
};

// The line stays as loaded, even with an option the parser refuses (told
// when loaded and when checked at OK); a new job takes the default line.
TEST_F(JobFormTest, OkWithoutTouchingStoresTheLoadedOrDefaultLine)
{
    const std::string typed = "-q:m:22050 -z:1 -c:0:90 -f:\"/tmp/a b.wav\"";
    jobs.lines[kJob] = typed;
    EXPECT_TRUE(open().accept());
    EXPECT_EQ(jobs.lines[kJob], typed);
    expectBoxes({"Invalid Parameter: 'z:1'", "Invalid Parameter: 'z:1'"}, "Command line parsing");
    EXPECT_EQ(view.shown.rateText, "22050");
    EXPECT_EQ(view.shown.stereo, 0);
    EXPECT_EQ(view.shown.timeText, "1:30");
    EXPECT_EQ(view.shown.targetText, "/tmp/a b.wav");

    jobs.lines.clear();
    store.writeString("SAGE Profiles", "default", "-q:s:48000 -e:5 -f:\"/tmp/d.wav\"");
    EXPECT_TRUE(open().accept());
    EXPECT_EQ(jobs.lines[kJob], "-q:s:48000 -e:5 -f:\"/tmp/d.wav\"");
}

struct TimeCase {
    std::string time;
    std::int32_t editAfter;
    std::string option;
};

class JobTimeTest : public JobFormTest, public ::testing::WithParamInterface<TimeCase> {};

// A time without ':' counts minutes.
TEST_P(JobTimeTest, TouchedControlsStoreTheBuiltLine)
{
    const std::string line = storedAfterTouching(GetParam().time, GetParam().editAfter);
    EXPECT_TRUE(line.starts_with("-q:s:44100 " + GetParam().option + " -f:")) << line;
}

INSTANTIATE_TEST_SUITE_P(Times, JobTimeTest,
                         ::testing::Values(TimeCase{" 30:00", 0, "-c:0:1800"},
                                           TimeCase{" 30:00", 1, "-e:0:1800"},
                                           TimeCase{"90", 0, "-c:0:5400"}));

TEST_F(JobFormTest, RetrieveThenOkStoresTheMixerAfterFormatAndTime)
{
    test::setUpSources(mixers.mixer, FakeMixerState::Selection::Multiple, 52429,
                       {1000, 32768, 2000, 65535}, {1});
    settings.target.fileName = "/tmp/take.wav";
    open().retrieveVolume();
    EXPECT_EQ(view.shown.volumeText, "-v:0-80:2-50");
    EXPECT_TRUE(form->accept());
    EXPECT_EQ(jobs.lines[kJob], "-q:s:44100 -c:0:600 -v:0-80:2-50 -f:\"/tmp/take.wav\"");
}

struct TargetCase {
    std::string option;
    std::string lineEnd;
};

class JobTargetTest : public JobFormTest, public ::testing::WithParamInterface<TargetCase> {};

TEST_P(JobTargetTest, TheTargetEndsTheLineWithItsBitRate)
{
    parseAndApply({GetParam().option});
    const std::string line = storedAfterTouching("5:00", 0);
    EXPECT_TRUE(line.ends_with(GetParam().lineEnd)) << line;
}

INSTANTIATE_TEST_SUITE_P(Targets, JobTargetTest,
                         ::testing::Values(TargetCase{"-f:/tmp/take.wav", " -f:\"/tmp/take.wav\""},
                                           TargetCase{"-f:128:/tmp/take.mp3",
                                                      " -f:128:\"/tmp/take.mp3\""}));

TEST_F(JobFormTest, ATargetNameWithAQuoteIsRefusedAndNothingStored)
{
    settings.target.fileName = "/tmp/a\" -v:1-100 \"b.wav";
    open().controlChanged();
    EXPECT_FALSE(form->accept());
    EXPECT_TRUE(jobs.lines.empty());
    ASSERT_EQ(prompter.boxes.size(), 1u);
    EXPECT_NE(prompter.boxes[0].text.find("double quote"), std::string::npos);
}

TEST_F(JobFormTest, AJobFileOutOfReachIsToldOnReadingAndWriting)
{
    jobs.failing = true;
    settings.target.fileName = "/tmp/take.wav";
    open();
    EXPECT_TRUE(form->accept());
    expectBoxes({"Error: Cannot read Sage Setting", "Error: Cannot read Sage Setting"}, "Error");
}

} // namespace
} // namespace sorvella
