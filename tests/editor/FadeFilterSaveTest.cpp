// The selection filter on a real store: the automatic gain from the store's
// overview, and a save job writing a faded, amplified selection.

#include "editor/FadeFilter.h"
#include "tests/save/RecordingView.h"
#include "tests/save/SaveJobFixture.h"

#include <gtest/gtest.h>

namespace sorvella::test {
namespace {

class FadeFilterStore : public ::testing::Test, public SaveJobFixture {};

struct LevelCase {
    std::int16_t level;
    std::int32_t amplification;
};

void PrintTo(const LevelCase& c, std::ostream* os)
{
    *os << "level " << c.level;
}

class AutoAmplification : public FadeFilterStore,
                          public ::testing::WithParamInterface<LevelCase> {};

TEST_P(AutoAmplification, BringsTheLoudestPartNearFullScale)
{
    const LevelCase c = GetParam();
    auto store = makeStore();
    appendBytes(*store, samples(std::vector<std::int16_t>(32768, c.level)));
    store->endRecording();
    EXPECT_EQ(amplificationNow(*store, 0, store->heldBytes()), c.amplification);
}

// Silence reads as the smallest peak; half of full scale doubles (less the
// 1 % margin); a level within about 2 % of full scale stays as it is.
INSTANTIATE_TEST_SUITE_P(Levels, AutoAmplification,
                         ::testing::Values(LevelCase{0, 25598}, LevelCase{16383, 198},
                                           LevelCase{-31000, 104}, LevelCase{32000, 100},
                                           LevelCase{32767, 100}),
                         [](const auto& info) { return "Level" + std::to_string(info.index); });

TEST_F(FadeFilterStore, SaveWritesTheFadedAmplifiedSelection)
{
    const std::vector<std::uint8_t> sound = samples(mixedSamples(3 * kBlock / 2 - 300));
    auto store = makeStore();
    appendBytes(*store, sound);
    store->endRecording();
    const std::int64_t start = kBlock - 8000;
    const std::int64_t end = 2 * kBlock + 12000;
    const FadeFilter filter(20000, 30000, start, end, 150);

    RecordingView view;
    job(std::move(store), wavTarget("faded.wav"), &filter)->run(view);

    // The filter applied to the whole sound in one piece.
    std::vector<std::uint8_t> expected = sound;
    FadeFilter(filter).apply(0, expected.data(), static_cast<std::int32_t>(expected.size()));
    const WavContent wav = readWav(targetPath("faded.wav"));
    EXPECT_TRUE(wav.valid());
    EXPECT_EQ(wav.data,
              std::vector<std::uint8_t>(expected.begin() + start, expected.begin() + end));
    EXPECT_EQ(view.failure(), "");
    EXPECT_EQ(session.outstanding(), 0);
}

} // namespace
} // namespace sorvella::test
