// The test-only executable recording the simulated counter signal is killed;
// the recovered file holds the counter from the first byte to the last the
// block files received, no sample twice or out of order.

#include "tests/app/KilledRun.h"
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

} // namespace
} // namespace sorvella::test
