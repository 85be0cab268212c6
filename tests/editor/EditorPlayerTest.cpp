// The play thread over the fake output, which plays only as the test advances
// its clock, and a real store of known sound.

#include "editor/EditorPlayer.h"
#include "editor/FadeFilter.h"
#include "editor/PlaybackEvents.h"
#include "editor/WaveformMapping.h"
#include "platform/fakes/FakeWaveOut.h"
#include "tests/engine/StoreFixture.h"
#include "tests/support/WaitFor.h"

#include <gtest/gtest.h>

#include <atomic>

namespace sorvella::test {
namespace {

using namespace std::chrono_literals;

constexpr std::int64_t kTwoSeconds = 2 * 176400;

class CountingEvents : public PlaybackEvents {
public:
    void cursorAt(int x) override { lastCursor = x; }
    void playbackEnded() override { ++ended; }

    std::atomic<int> lastCursor{0};
    std::atomic<int> ended{0};
};

class EditorPlayerTest : public ::testing::Test, public StoreFixture {
protected:
    EditorPlayerTest()
    {
        appendBytes(*store, sound);
        store->endRecording();
        mapping.setWidth(1000);
    }

    // Plays on until the thread has ended by itself and hands over its error.
    std::optional<RecException> playToEnd()
    {
        EXPECT_TRUE(waitFor([&] {
            output.advance(100ms);
            return !player->playing();
        }));
        return player->finish();
    }

    // What was written from byte `from` on: the store's [start, end) (as
    // `source` holds it), then silence only.
    void expectWritten(std::size_t from, const std::vector<std::uint8_t>& source,
                       std::int64_t start, std::int64_t end) const
    {
        const std::vector<std::uint8_t> written = output.written();
        ASSERT_GE(written.size(), from + static_cast<std::size_t>(end - start));
        EXPECT_TRUE(std::equal(source.begin() + start, source.begin() + end,
                               written.begin() + static_cast<std::ptrdiff_t>(from)));
        EXPECT_TRUE(std::all_of(written.begin() + static_cast<std::ptrdiff_t>(from) + (end - start),
                                written.end(), [](std::uint8_t b) { return b == 0; }));
    }

    const std::vector<std::uint8_t> sound = samples(mixedSamples(400000)); // 800000 bytes
    std::unique_ptr<RingStore> store = makeStore();
    WaveformMapping mapping{static_cast<std::int64_t>(sound.size())};
    FakeWaveOutSystem output;
    CountingEvents events;
    std::unique_ptr<EditorPlayer> player =
        std::make_unique<EditorPlayer>(*store, WaveFormat(), mapping, output, events);
};

TEST_F(EditorPlayerTest, PlaysFromTheStartAgainAfterTheEndAndStopsOnPlay)
{
    EXPECT_TRUE(player->pressPlay(EditMode::Play, false, 2));
    EXPECT_EQ(playToEnd(), std::nullopt);
    EXPECT_EQ(events.lastCursor, -1);
    expectWritten(0, sound, 0, store->heldBytes());
    EXPECT_GE(player->playPosition(), store->heldBytes());

    const std::size_t second = output.written().size();
    EXPECT_TRUE(player->pressPlay(EditMode::Play, false, 0));
    ASSERT_TRUE(waitFor([&] { return output.written().size() > second; }));
    EXPECT_FALSE(player->pressPlay(EditMode::Play, false, 0));
    EXPECT_FALSE(player->playing());
    EXPECT_FALSE(output.isOpen());
    const std::vector<std::uint8_t> written = output.written();
    EXPECT_TRUE(std::equal(written.begin() + static_cast<std::ptrdiff_t>(second), written.end(),
                           sound.begin()));
}

TEST_F(EditorPlayerTest, AdjustingAnEndPlaysTheTwoSecondsAtIt)
{
    // "R" with an end under two seconds in starts at 0; the end lies inside
    // the first piece.
    mapping.selectEndAt(20);
    ASSERT_LT(mapping.selectionEnd(), 32768);
    EXPECT_TRUE(player->pressPlay(EditMode::AdjustEnd, false, 0));
    EXPECT_EQ(playToEnd(), std::nullopt);
    expectWritten(0, sound, 0, mapping.selectionEnd());
}

TEST_F(EditorPlayerTest, AJumpDropsWhatWasQueuedAndPlaysFromThere)
{
    mapping.selectStartAt(300);
    player->pressPlay(EditMode::Play, false, 0);
    ASSERT_TRUE(waitFor([&] { return output.queuedBuffers() == EditorPlayer::kBufferCount; }));

    // "L" while playing jumps to the selection start and plays two seconds.
    const int resets = output.resetCount();
    EXPECT_TRUE(player->pressPlay(EditMode::AdjustStart, false, 0));
    ASSERT_TRUE(waitFor([&] { return output.resetCount() > resets; }));
    EXPECT_EQ(playToEnd(), std::nullopt);
    const std::int64_t start = mapping.selectionStart();
    const std::vector<std::uint8_t> played = output.played();
    ASSERT_GE(played.size(), static_cast<std::size_t>(kTwoSeconds));
    EXPECT_TRUE(std::equal(played.begin(), played.begin() + kTwoSeconds, sound.begin() + start));
}

TEST_F(EditorPlayerTest, PlayFadedPlaysTheFadedSelectionOnly)
{
    mapping.selectStartAt(150);
    mapping.selectEndAt(700);
    mapping.setFadeInBytes(20000);
    mapping.setFadeOutBytes(30000);
    std::vector<std::uint8_t> faded = sound;
    FadeFilter(20000, 30000, mapping.selectionStart(), mapping.selectionEnd(), 100)
        .apply(0, faded.data(), static_cast<std::int32_t>(faded.size()));

    EXPECT_TRUE(player->pressPlay(EditMode::Play, true, 0));
    EXPECT_EQ(playToEnd(), std::nullopt);
    expectWritten(0, faded, mapping.selectionStart(), mapping.selectionEnd());
}

TEST_F(EditorPlayerTest, FailuresEndTheThreadAndAreHandedOverAfterwards)
{
    output.failOpens(true);
    player->pressPlay(EditMode::Play, false, 0);
    const std::optional<RecException> busy = playToEnd();
    ASSERT_TRUE(busy.has_value());
    EXPECT_EQ(busy->message(), kWaveOutBusy);

    output.failOpens(false);
    output.failWritesAfter(2);
    // Its answer is left alone: on a busy machine the thread may have failed
    // and ended before pressPlay looks.
    player->pressPlay(EditMode::Play, false, 0);
    const std::optional<RecException> gone = playToEnd();
    ASSERT_TRUE(gone.has_value());
    EXPECT_EQ(gone->message(), "Fake wave out: the device is gone");
    EXPECT_FALSE(output.isOpen());
}

TEST_F(EditorPlayerTest, DestroyingAPlayingPlayerJoinsItsThread)
{
    player->pressPlay(EditMode::Play, false, 0);
    ASSERT_TRUE(waitFor([&] { return output.queuedBuffers() == EditorPlayer::kBufferCount; }));
    player.reset();
    EXPECT_FALSE(output.isOpen());
    EXPECT_EQ(events.ended, 1);
}

} // namespace
} // namespace sorvella::test
