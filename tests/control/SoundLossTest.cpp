// Sound lost on the way in never stops the recording nor brings up a box:
// overruns are counted and announced once, a failed device is reopened into
// the same store.

#include "tests/control/ControllerFixture.h"
#include "tests/support/CounterRun.h"

#include <gtest/gtest.h>

#include <regex>

namespace sorvella {
namespace {

using test::waitFor;

class SoundLossTest : public test::ControllerFixture, public ::testing::Test {
protected:
    SoundLossTest()
    {
        useWholeSecondBuffers();
        startRecording();
    }

    InputHealth::Reading health() const { return controller->recorder()->health(); }
};

TEST_F(SoundLossTest, EveryOverrunIsCountedAndOneNoticeTellsOfThem)
{
    for (int i = 0; i < 5; ++i) {
        signal.injectOverrun();
        ASSERT_TRUE(record(1));
        controller->onTimer();
    }
    EXPECT_EQ(health().dropouts, 5);
    EXPECT_EQ(signal.overruns(), 5);
    EXPECT_TRUE(std::regex_match(view.texts.inputHealth,
                                 std::regex("Dropouts: 5, last at \\d\\d:\\d\\d:\\d\\d")))
        << view.texts.inputHealth;
    EXPECT_EQ(view.notices.size(), 1u);
    EXPECT_TRUE(prompter.boxes.empty());
    EXPECT_TRUE(controller->hasRecorder());
}

TEST_F(SoundLossTest, ALostDeviceIsReopenedIntoTheSameStore)
{
    ASSERT_TRUE(record(2));
    const RingStore* store = controller->recorder()->store();
    waveIn.failOpens(true);
    signal.failAfter(signal.framesDelivered());
    ASSERT_TRUE(waitFor([&] { return health().deviceLost; }));
    controller->onTimer();
    controller->onTimer();
    EXPECT_EQ(view.texts.inputHealth.rfind("Input lost", 0), 0u) << view.texts.inputHealth;
    EXPECT_EQ(controller->recorder()->heldBytes(), 2 * bytesPerSecond());

    waveIn.failOpens(false);
    signal.endFailure();
    controller->onTimer();
    ASSERT_FALSE(health().deviceLost);
    ASSERT_TRUE(record(1));
    EXPECT_EQ(controller->recorder()->store(), store);
    EXPECT_EQ(health().dropouts, 1);
    EXPECT_EQ(health().lastDropoutPosition, 2 * bytesPerSecond());
    const std::unique_ptr<RingStore> held = controller->recorder()->store()->snapshot();
    const std::vector<std::uint8_t> bytes = test::readAll(*held);
    EXPECT_EQ(bytes.size(), static_cast<std::size_t>(3 * bytesPerSecond()));
    EXPECT_TRUE(test::isCounterRun(bytes, 0));
    EXPECT_EQ(view.notices.size(), 1u);
    EXPECT_TRUE(prompter.boxes.empty());
}

} // namespace
} // namespace sorvella
