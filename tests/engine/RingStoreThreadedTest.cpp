// Snapshots, counters and set-ups while other threads work: built for
// ThreadSanitizer as well.

#include "tests/engine/StoreFixture.h"
#include "tests/support/WaitFor.h"

#include <gtest/gtest.h>

#include <atomic>
#include <set>
#include <thread>

namespace sorvella::test {
namespace {

constexpr std::int64_t kBlock = RingStore::kBlockSize;

class RingStoreThreadedTest : public ::testing::Test, public StoreFixture {};

// What a snapshot holds must be the newest stretch of the stream, whole and
// unshifted, with counters that match its blocks.
void expectConsistent(RingStore& copy, bool readContent)
{
    std::int64_t fills = 0;
    for (std::size_t k = 0; k < copy.blockCount(); ++k) {
        fills += copy.block(k).fill();
        if (k + 1 < copy.blockCount()) {
            ASSERT_TRUE(copy.block(k).full());
        }
    }
    ASSERT_EQ(copy.heldBytes(), fills);
    if (readContent) {
        const std::int64_t held = copy.heldBytes();
        ASSERT_EQ(readAll(copy), pattern(copy.totalBytes() - held, static_cast<std::size_t>(held)));
    }
}

TEST_F(RingStoreThreadedTest, SnapshotsDuringAppendsAreConsistentAndOutliveTheSource)
{
    settings.voxVolume = 0;
    auto store = makeStore();
    std::atomic<bool> stop{false};
    std::atomic<std::int64_t> appended{0};
    std::thread appender([&] {
        const std::uint32_t buffer = 65536;
        std::int64_t at = 0;
        while (!stop.load()) {
            const auto bytes = pattern(at, buffer);
            store->append(bytes.data(), buffer);
            at += buffer;
            store->trimTo(3 * kBlock);
            appended.store(at);
        }
    });

    std::vector<std::unique_ptr<RingStore>> kept;
    Settings trigger;
    for (int i = 0; i < 60; ++i) {
        ASSERT_TRUE(waitFor([&] { return appended.load() >= (i + 1) * 40000; }));
        auto copy = store->snapshot();
        EXPECT_LE(store->heldBytes(), store->totalBytes());
        trigger.voxVolume = i * 100;
        store->setTriggerLevel(trigger);
        store->firstLoudPosition();
        store->lastLoudPosition();
        if (i % 20 == 19) {
            store->dropOldestBlock();
        }
        expectConsistent(*copy, i % 6 == 0);
        if (i % 15 == 0) {
            kept.push_back(std::move(copy));
        }
    }
    stop.store(true);
    appender.join();
    store.reset();
    for (auto& copy : kept) {
        expectConsistent(*copy, true);
    }
    kept.clear();
    EXPECT_EQ(session.outstanding(), 0);
}

TEST(TempSessionThreadedTest, SessionsSetUpTogetherNeverShareADirectory)
{
    for (int round = 0; round < 10; ++round) {
        TempDir base("race");
        Settings settings;
        settings.tempDirectoryUseWindows = false;
        settings.tempDirectory = base.path().string();
        PosixBlockFiles files;
        std::vector<std::unique_ptr<TempSession>> sessions;
        for (int i = 0; i < 6; ++i) {
            sessions.push_back(std::make_unique<TempSession>(settings, files));
        }
        std::atomic<bool> go{false};
        std::vector<std::thread> threads;
        for (auto& session : sessions) {
            threads.emplace_back([&go, s = session.get()] {
                while (!go.load()) {
                    std::this_thread::yield();
                }
                s->setUp();
            });
        }
        go.store(true);
        for (auto& t : threads) {
            t.join();
        }
        std::set<std::string> dirs;
        for (auto& session : sessions) {
            EXPECT_TRUE(session->lockHeld());
            dirs.insert(session->sessionDir());
        }
        EXPECT_EQ(dirs.size(), sessions.size());
        EXPECT_EQ(dirs.count(""), 0u);
    }
}

} // namespace
} // namespace sorvella::test
