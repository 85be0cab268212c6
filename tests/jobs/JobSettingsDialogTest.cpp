// The job dialog drawn offscreen: filling its controls is no change by the
// user, so OK keeps the loaded line; choosing a rate is one.

#include "jobs/ui/JobSettingsDialog.h"
#include "platform/fakes/FakeJobStore.h"
#include "tests/app/CommandLineFixture.h"

#include <QApplication>
#include <QComboBox>

namespace sorvella {
namespace {

class JobSettingsDialogTest : public test::CommandLineFixture {
protected:
    JobSettingsDialogTest()
    {
        settings.jobConfigureId = 3;
        jobs.lines[3] = "-q:m:22050 -c:2 -f:\"/tmp/take.wav\"";
    }

    std::unique_ptr<JobSettingsDialog> dialog()
    {
        return std::make_unique<JobSettingsDialog>(
            nullptr, settings,
            JobFormServices{jobs, store, services(), [](SaveTarget&) { return false; }, {}},
            [](std::int32_t) {});
    }

    int argc = 1;
    char name[16] = "jobs-ui-tests";
    char* argv[2] = {name, nullptr};
    QApplication qt{argc, argv};
    FakeJobStore jobs;
};

TEST_F(JobSettingsDialogTest, OkKeepsTheLoadedLineUntilTheUserChoosesARate)
{
    dialog()->accept();
    EXPECT_EQ(jobs.lines[3], "-q:m:22050 -c:2 -f:\"/tmp/take.wav\"");

    const auto touched = dialog();
    auto* rate = touched->findChild<QComboBox*>("rate");
    ASSERT_NE(rate, nullptr);
    EXPECT_EQ(rate->currentText(), "22050");
    rate->setCurrentIndex(0);
    emit rate->activated(0);
    touched->accept();
    EXPECT_EQ(jobs.lines[3], "-q:m:48000 -c:0:120 -f:\"/tmp/take.wav\"");
}

} // namespace
} // namespace sorvella
