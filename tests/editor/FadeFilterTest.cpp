// The editor's selection filter on sample data: what it cuts, how loud it
// leaves each frame, and that the blocks of a save give the same sound as
// one piece.

#include "editor/FadeFilter.h"
#include "tests/editor/FadeReference.h"
#include "tests/engine/StoreFixture.h"

#include <gtest/gtest.h>

#include <cmath>

namespace sorvella::test {
namespace {

constexpr std::int64_t kB = RingStore::kBlockSize;

std::vector<std::int16_t> toSamples(const std::uint8_t* data, std::int32_t length)
{
    std::vector<std::int16_t> out;
    for (std::int32_t i = 0; i + 1 < length; i += 2) {
        out.push_back(static_cast<std::int16_t>(data[i] | (data[i + 1] << 8)));
    }
    return out;
}

struct CutCase {
    const char* name;
    std::int32_t fadeIn;
    std::int32_t fadeOut;
    std::int64_t start;
    std::int64_t end;
    std::int32_t amplification;
    std::int64_t offset;
    std::vector<std::int16_t> input;
    bool selected;
    std::vector<std::int16_t> output; // the whole buffer afterwards
    std::int32_t advance;
    std::int32_t kept;
};

void PrintTo(const CutCase& c, std::ostream* os)
{
    *os << c.name;
}

class FadeFilterCut : public ::testing::TestWithParam<CutCase> {};

TEST_P(FadeFilterCut, RewritesAndNarrowsTheRange)
{
    const CutCase& c = GetParam();
    FadeFilter filter(c.fadeIn, c.fadeOut, c.start, c.end, c.amplification);
    std::vector<std::uint8_t> buffer = samples(c.input);
    const auto length = static_cast<std::int32_t>(buffer.size());
    EXPECT_EQ(filter.selects(c.offset, length), c.selected);

    std::uint8_t* data = buffer.data();
    std::int32_t kept = length;
    filter.cut(c.offset, data, kept);
    EXPECT_EQ(toSamples(buffer.data(), length), c.output);
    EXPECT_EQ(data - buffer.data(), c.advance);
    EXPECT_EQ(kept, c.kept);

    // Playback keeps the whole buffer, with the same sound in it.
    std::vector<std::uint8_t> played = samples(c.input);
    filter.apply(c.offset, played.data(), length);
    EXPECT_EQ(played, buffer);
}

// Columns: fade in, fade out, selection start, end, amplification; the
// range's offset and samples; whether it is selected; the samples afterwards,
// how far the data moved and how many bytes are kept.
// clang-format off
INSTANTIATE_TEST_SUITE_P(
    Cases, FadeFilterCut,
    ::testing::Values(
        CutCase{"ClampsAmplifiedSamples", 0, 0, 0, 1000, 200,
                400, {20000, -20000}, true, {32767, -32768}, 0, 4},
        CutCase{"CutsARangeBeforeTheSelectionOffTheFront", 0, 0, 100, 1000, 100,
                0, {5, 6}, false, {0, 0}, 4, 0},
        CutCase{"SelectsButEmptiesARangeEndingAtTheStart", 0, 0, 8, 100, 100,
                0, {1, 2, 3, 4}, true, {0, 0, 0, 0}, 8, 0},
        CutCase{"SilencesWhatLiesAfterTheEnd", 0, 0, 0, 8, 100,
                4, {1000, 1000, 7, 7}, true, {1000, 1000, 0, 0}, 0, 4},
        CutCase{"ANoFadeMutesOnlyTheFirstFrame", 0, -5, 0, 8, 100,
                0, {9, 9, 9, 9}, true, {0, 0, 9, 9}, 0, 8},
        CutCase{"AFrameInBothFadesGetsBothFactors", 16, 16, 0, 16, 100,
                4, {16000, -16000}, true, {3000, -3000}, 0, 4},
        CutCase{"KeepsALastSingleMonoSample", 0, 0, 0, 12, 200,
                4, {100, 200, 300}, true, {200, 400, 600}, 0, 6},
        CutCase{"HugeGainsFadeWithoutOverflow", 1000000, 0, 0, 2000000, 25598,
                999996, {32767, -32768}, true, {32767, -32768}, 0, 4}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

struct ShapeCase {
    const char* name;
    int channels;
    FadeShape shape;
};

void PrintTo(const ShapeCase& c, std::ostream* os)
{
    *os << c.name;
}

class FadeFilterShape : public ::testing::TestWithParam<ShapeCase> {};

// Fed block by block, as a save job feeds it, the kept bytes are the
// selection, and each sample follows the gain curve within the two
// truncations of the integer arithmetic.
TEST_P(FadeFilterShape, FollowsTheGainCurveAcrossBlocks)
{
    const ShapeCase& c = GetParam();
    const FadeShape& shape = c.shape;
    const std::vector<std::int16_t> sound = mixedSamples(3 * kB / 2);
    const std::vector<std::uint8_t> bytes = samples(sound);

    FadeFilter filter(shape.fadeIn, shape.fadeOut, shape.start, shape.end, shape.amplification);
    std::vector<std::int16_t> kept;
    for (std::int64_t offset = 0; offset < 3 * kB; offset += kB) {
        std::vector<std::uint8_t> block(bytes.begin() + offset, bytes.begin() + offset + kB);
        std::uint8_t* data = block.data();
        std::int32_t length = static_cast<std::int32_t>(kB);
        if (!filter.selects(offset, length)) {
            continue;
        }
        filter.cut(offset, data, length);
        const std::vector<std::int16_t> part = toSamples(data, length);
        kept.insert(kept.end(), part.begin(), part.end());
    }

    const std::vector<double> expected = shape.expected(sound, c.channels);
    ASSERT_EQ(kept.size(), expected.size());
    for (std::size_t i = 0; i < kept.size(); ++i) {
        ASSERT_LT(std::abs(kept[i] - expected[i]), 2.0)
            << c.channels << " channel(s), sample " << i << " of " << kept.size();
    }
}

INSTANTIATE_TEST_SUITE_P(
    Selections, FadeFilterShape,
    ::testing::Values(
        ShapeCase{"StereoFadesAcrossBoundaries", 2, {kB - 4000, 2 * kB + 8000, 10000, 20000, 100}},
        ShapeCase{"MonoFadesAcrossBoundaries", 1, {kB - 4000, 2 * kB + 8000, 10000, 20000, 100}},
        ShapeCase{"StereoAmplifiedAndClamped", 2, {4, 3 * kB - 4, 176400, 529200, 250}},
        ShapeCase{"MonoAmplifiedAndClamped", 1, {4, 3 * kB - 4, 88200, 264600, 250}},
        ShapeCase{"OverlappingFadesInOneBlock", 2, {kB + 1000, kB + 9000, 6000, 6000, 100}},
        ShapeCase{"SelectionOnBlockBoundaries", 2, {kB, 2 * kB, 1, 1, 100}},
        ShapeCase{"WholeSoundUnfaded", 1, {0, 3 * kB, 1, 1, 100}}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace sorvella::test
