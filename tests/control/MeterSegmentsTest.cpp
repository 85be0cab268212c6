#include "control/MeterSegments.h"

#include <gtest/gtest.h>

namespace sorvella {
namespace {

constexpr SegmentColour kGrey{150, 150, 150};
constexpr SegmentColour kLightGrey{176, 176, 176};

int litCount(const std::vector<SegmentColour>& segments)
{
    int lit = 0;
    for (const SegmentColour& s : segments) {
        lit += (s != kGrey && s != kLightGrey && s.blue == 0) ? 1 : 0;
    }
    return lit;
}

class MeterWidthTest : public ::testing::TestWithParam<int> {};

TEST_P(MeterWidthTest, FullScaleLightsEverySegmentEndingInRed)
{
    const int width = GetParam();
    const auto segments = meterSegments(width, {kMeterRange, -1, true});
    ASSERT_EQ(segments.size(), static_cast<std::size_t>(width / 4));
    EXPECT_EQ(litCount(segments), width / 4);
    EXPECT_EQ(segments.front(), (SegmentColour{0, 255, 0}));
    EXPECT_EQ(segments.back().red, 255);
    EXPECT_EQ(segments.back().blue, 0);
    EXPECT_LT(segments.back().green, 30);
}

TEST_P(MeterWidthTest, LitSegmentsGrowWithTheLevelAndSilenceLightsNone)
{
    const int width = GetParam();
    int previous = -1;
    for (std::int32_t value = 0; value <= kMeterRange; value += kMeterRange / 8) {
        const int lit = litCount(meterSegments(width, {value, -1, true}));
        EXPECT_GE(lit, previous) << value;
        previous = lit;
    }
    EXPECT_EQ(litCount(meterSegments(width, {0, -1, true})), 0);
    EXPECT_NEAR(litCount(meterSegments(width, {kMeterRange / 2, -1, true})), width / 4 / 2, 1);
}

INSTANTIATE_TEST_SUITE_P(Widths, MeterWidthTest, ::testing::Values(8, 12, 40, 100, 196));

TEST(MeterSegmentsTest, UnlitSegmentsAreGreyAndLighterWithoutAValue)
{
    for (const SegmentColour& s : meterSegments(40, {-1, -1, true})) {
        EXPECT_EQ(s, kLightGrey);
    }
    const auto quiet = meterSegments(40, {100, -1, true});
    EXPECT_EQ(quiet.back(), kGrey);
}

TEST(MeterSegmentsTest, SegmentsBelowTheMarkerAreBluish)
{
    // Ten segments; a marker at half scale.
    const auto withValue = meterSegments(40, {0, kMeterRange / 2, true});
    for (std::size_t i = 0; i < withValue.size(); ++i) {
        const int blue = i < 5 ? 255 : 150;
        EXPECT_EQ(withValue[i], (SegmentColour{150, 150, blue})) << i;
    }
    const auto noValue = meterSegments(40, {-1, kMeterRange / 2, true});
    EXPECT_EQ(noValue.front(), (SegmentColour{176, 176, 255}));
    EXPECT_EQ(noValue.back(), kLightGrey);
    // A lit segment stays lit below the marker.
    EXPECT_EQ(meterSegments(40, {kMeterRange, kMeterRange / 2, true}).front(),
              (SegmentColour{0, 255, 0}));
}

TEST(MeterSegmentsTest, InactiveMeterIsHalved)
{
    const auto active = meterSegments(40, {kMeterRange / 2, kMeterRange / 4, true});
    const auto inactive = meterSegments(40, {kMeterRange / 2, kMeterRange / 4, false});
    ASSERT_EQ(active.size(), inactive.size());
    for (std::size_t i = 0; i < active.size(); ++i) {
        EXPECT_EQ(inactive[i],
                  (SegmentColour{active[i].red / 2, active[i].green / 2, active[i].blue / 2}));
    }
}

TEST(MeterSegmentsTest, TooNarrowForASegmentDrawsNothing)
{
    EXPECT_TRUE(meterSegments(3, {kMeterRange, -1, true}).empty());
    EXPECT_TRUE(meterSegments(-2, {kMeterRange, -1, true}).empty());
}

} // namespace
} // namespace sorvella
