// Writes held by the fault layer while other threads wait on them: built for
// ThreadSanitizer as well.

#include "platform/fakes/FaultBlockFiles.h"
#include "platform/files/PosixBlockFiles.h"
#include "tests/support/TempDir.h"
#include "tests/support/WaitFor.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace sorvella::test {
namespace {

using namespace std::chrono_literals;

class HeldWritesTest : public ::testing::Test {
protected:
    TempDir dir{"held"};
    PosixBlockFiles posix;
    FaultBlockFiles faults{posix};
};

TEST_F(HeldWritesTest, AWriteWaitsUntilReleased)
{
    auto file = faults.createExclusive((dir.path() / "a").string());
    faults.holdWrites();
    std::atomic<std::size_t> written{0};
    std::thread writer([&] { written.store(file->writeAt(0, "abcd", 4)); });
    ASSERT_TRUE(faults.waitForHeldWriter(30s));
    EXPECT_EQ(faults.heldWriters(), 1);
    EXPECT_EQ(written.load(), 0u);
    faults.releaseWrites();
    writer.join();
    EXPECT_EQ(written.load(), 4u);
    EXPECT_EQ(faults.heldWriters(), 0);
}

TEST_F(HeldWritesTest, AHoldWithALimitEndsByItself)
{
    auto file = faults.createExclusive((dir.path() / "a").string());
    const auto start = std::chrono::steady_clock::now();
    faults.holdWrites(200ms);
    std::atomic<bool> done{false};
    std::thread writer([&] {
        file->writeAt(0, "abcd", 4);
        done.store(true);
    });
    ASSERT_TRUE(waitFor([&] { return done.load(); }));
    writer.join();
    EXPECT_GE(std::chrono::steady_clock::now() - start, 200ms);
    EXPECT_EQ(file->writeAt(4, "e", 1), 1u); // the hold is over
}

} // namespace
} // namespace sorvella::test
