// The program recording the test server's tone is killed; "--recover" saves
// the sound up to the last buffer that reached the block files.

#include "tests/app/KilledRun.h"

#include <algorithm>

namespace sorvella::test {
namespace {

TEST_F(KilledRun, RecoverSavesTheRecordingUpToTheLastBufferOnDisk)
{
    recordAndKill(SORVELLA_EXECUTABLE, 3);
    const std::int64_t held = heldBytes();
    EXPECT_EQ(recover(SORVELLA_EXECUTABLE, "recovered.wav"), 0) << errors;
    const auto sound = soundOf(target.path() / "recovered.wav");
    EXPECT_EQ(static_cast<std::int64_t>(sound.size()), held);
    // The tone, not silence, throughout its last second.
    const auto lastSecond = sound.end() - std::min<std::ptrdiff_t>(176400, std::ssize(sound));
    EXPECT_GT(std::count_if(lastSecond, sound.end(), [](std::uint8_t b) { return b != 0; }),
              176400 / 2);
}

} // namespace
} // namespace sorvella::test
