// Save jobs on their own threads, beside a recording and beside each other:
// built for ThreadSanitizer as well.

#include "tests/save/RaisedBy.h"
#include "tests/save/RecordingView.h"
#include "tests/save/SaveJobFixture.h"
#include "tests/support/WaitFor.h"

#include <gtest/gtest.h>

#include <atomic>

namespace sorvella::test {
namespace {

class SaveJobThreadedTest : public ::testing::Test, public SaveJobFixture {};

TEST_F(SaveJobThreadedTest, SnapshotSavedWhileRecordingGoesOn)
{
    auto live = makeStore();
    std::atomic<bool> stop{false};
    std::atomic<std::int64_t> appended{0};
    std::thread recording([&] {
        constexpr std::uint32_t kBuffer = 65536;
        for (std::int64_t at = 0; !stop.load(); at += kBuffer) {
            appendBytes(*live, pattern(at, kBuffer));
            appended.store(at + kBuffer);
        }
    });
    ASSERT_TRUE(waitFor([&] { return appended.load() >= 2 * kBlock + 70000; }));
    auto snapshot = live->snapshot();
    const std::int64_t held = snapshot->heldBytes();
    auto saving = job(std::move(snapshot), wavTarget("snap.wav"));
    RecordingView view;
    saving->start(view, ThreadPriority::Normal);
    ASSERT_TRUE(waitFor([&] { return view.ended(); }));
    ASSERT_TRUE(waitFor([&] { return appended.load() >= held + 2 * kBlock; }));
    stop = true;
    recording.join();

    EXPECT_EQ(view.failure(), "");
    EXPECT_EQ(readWav(targetPath("snap.wav")).data, pattern(0, static_cast<std::size_t>(held)));
    EXPECT_EQ(live->heldBytes(), appended.load());
    EXPECT_EQ(readAll(*live), pattern(0, static_cast<std::size_t>(live->heldBytes())));
}

// Each job holds the other at its first block until both are inside their
// files: WAV saves do not wait for each other.
TEST_F(SaveJobThreadedTest, TwoWavSavesRunSideBySide)
{
    auto first = job(storeWith(2 * kBlock), wavTarget("a.wav"));
    auto second = job(storeWith(kBlock + 10), wavTarget("b.wav"));
    std::atomic<int> inside{0};
    const auto meet = [&](int thousandths) {
        if (thousandths > 0 && thousandths < 1000) {
            ++inside;
            EXPECT_TRUE(waitFor([&] { return inside.load() >= 2; }));
        }
    };
    RecordingView firstView;
    RecordingView secondView;
    firstView.onProgress = meet;
    secondView.onProgress = meet;
    first->start(firstView, ThreadPriority::Normal);
    second->start(secondView, ThreadPriority::Normal);
    ASSERT_TRUE(waitFor([&] { return firstView.ended() && secondView.ended(); }));

    EXPECT_EQ(readWav(targetPath("a.wav")).data, pattern(0, 2 * kBlock));
    EXPECT_EQ(readWav(targetPath("b.wav")).data, pattern(0, kBlock + 10));
    EXPECT_EQ(session.outstanding(), 0);
}

TEST_F(SaveJobThreadedTest, SecondCodecSaveWaitsForTheFirst)
{
    auto gate = std::make_shared<Gate>();
    const std::size_t bytes = kBlock + kBlock / 2 + 1000;
    auto first = job(storeWith(bytes), codecTarget("a.rec", gate));
    auto second = job(storeWith(bytes), codecTarget("b.rec", gate));
    RecordingView firstView;
    RecordingView secondView;
    first->start(firstView, ThreadPriority::Normal);
    ASSERT_TRUE(waitFor([&] { return gate->held(); }));
    second->start(secondView, ThreadPriority::Normal);
    ASSERT_TRUE(waitFor([&] { return secondView.showedTitle("codec busy, waiting..."); }));
    EXPECT_FALSE(secondView.showedTitle("Saving: " + targetPath("b.rec")));
    gate->open();
    ASSERT_TRUE(waitFor([&] { return firstView.ended() && secondView.ended(); }));

    EXPECT_EQ(secondView.titles().front(), "(Saving: " + targetPath("b.rec") + ")");
    EXPECT_EQ(secondView.titles().back(), "Saving: " + targetPath("b.rec"));
    EXPECT_EQ(fileBytes(targetPath("a.rec")), pattern(0, bytes));
    EXPECT_EQ(fileBytes(targetPath("b.rec")), pattern(0, bytes));
    EXPECT_EQ(secondView.failure(), "");
    EXPECT_FALSE(environment.codecOpen());
}

TEST_F(SaveJobThreadedTest, CancelWhileWaitingForTheCodecDeletesTheTarget)
{
    ASSERT_TRUE(environment.claimCodec()); // another save encodes
    auto gate = std::make_shared<Gate>();
    auto waiting = job(storeWith(kBlock), codecTarget("wait.rec", gate));
    RecordingView view;
    waiting->start(view, ThreadPriority::Normal);
    ASSERT_TRUE(waitFor([&] { return !view.titles().empty(); }));
    ASSERT_EQ(targetNames(), std::vector<std::string>{"wait.rec"});
    auto second = storeWith(1000);
    EXPECT_EQ(raisedBy([&] {
                  SaveJob created(environment, second, codecTarget("wait.rec", gate), nullptr);
              }).message(),
              "Cannot open targetfile: " + targetPath("wait.rec"));
    second.reset();
    waiting->cancel();
    ASSERT_TRUE(waitFor([&] { return waiting->state() == SaveJob::Finished; }));
    environment.releaseCodec();

    EXPECT_EQ(view.failure(), "");
    EXPECT_TRUE(view.progress().empty());
    EXPECT_TRUE(targetNames().empty());
    EXPECT_EQ(session.outstanding(), 0);
}

// A running save holds its file from the moment it is started, waiting for
// the codec or writing; a second save of that file never touches it.
TEST_F(SaveJobThreadedTest, SecondSaveOfAHeldFileFails)
{
    auto gate = std::make_shared<Gate>();
    auto running = job(storeWith(2 * kBlock), wavTarget("held.wav"));
    RecordingView view;
    view.onProgress = [&](int thousandths) {
        if (thousandths == 1000) {
            gate->pass();
        }
    };
    running->start(view, ThreadPriority::Normal);
    ASSERT_TRUE(waitFor([&] { return gate->held(); }));

    const std::string name = targetPath("held.wav");
    for (const std::string& sameFile : {name, targets.path().string() + "/./held.wav"}) {
        auto store = storeWith(1000);
        SaveTarget target = wavTarget("held.wav");
        target.fileName = sameFile;
        const RecException e =
            raisedBy([&] { SaveJob created(environment, store, target, nullptr); });
        EXPECT_EQ(e.message(), "Cannot open targetfile: " + sameFile);
        EXPECT_NE(store, nullptr);
    }
    gate->open();
    ASSERT_TRUE(waitFor([&] { return view.ended(); }));
    EXPECT_EQ(view.failure(), "");
    EXPECT_EQ(readWav(name).data, pattern(0, 2 * kBlock));
}

} // namespace
} // namespace sorvella::test
