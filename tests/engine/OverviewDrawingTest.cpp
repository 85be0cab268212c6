#include "tests/engine/StoreFixture.h"

#include <gtest/gtest.h>

#include <map>

namespace sorvella::test {
namespace {

constexpr std::int64_t kSlice = 1024;
const OverviewColour kGrey{128, 128, 128};
const OverviewColour kGreen{0, 255, 0};

struct Bar {
    int top;
    int height;
    OverviewColour colour;
};

class RecordingPainter : public OverviewPainter {
public:
    void fillBar(int x, int top, int height, OverviewColour colour) override
    {
        ++calls[x];
        bars[x] = Bar{top, height, colour};
    }
    std::map<int, Bar> bars;
    std::map<int, int> calls;
};

class OverviewDrawingTest : public ::testing::Test, public StoreFixture {
protected:
    // One block whose slice s has the overview value peakOf(s).
    static std::uint8_t peakOf(std::int64_t s) { return static_cast<std::uint8_t>(s % 256); }

    void SetUp() override
    {
        store = makeStore();
        std::vector<std::int16_t> values(RingStore::kBlockSize / 2, 0);
        for (std::int64_t s = 0; s < 512; ++s) {
            values[static_cast<std::size_t>(s * kSlice / 2)] =
                static_cast<std::int16_t>(peakOf(s) * 128);
        }
        appendBytes(*store, samples(values));
    }

    static OverviewRequest request(std::int64_t from, std::int64_t to, int width, int height)
    {
        OverviewRequest r;
        r.from = from;
        r.to = to;
        r.rect = OverviewRect{10, 20, width, height};
        r.selectionStart = 1; // empty selection: everything grey
        r.selectionEnd = 0;
        return r;
    }

    std::unique_ptr<RingStore> store;
};

TEST_F(OverviewDrawingTest, OneSlicePerColumnGivesCentredBars)
{
    RecordingPainter painter;
    store->drawOverview(request(0, RingStore::kBlockSize, 512, 100), painter);
    ASSERT_EQ(painter.bars.size(), 512u);
    for (int x = 0; x < 512; ++x) {
        const int half = 100 * peakOf(x) / 510;
        const Bar& bar = painter.bars.at(10 + x);
        EXPECT_EQ(bar.top, 20 + 50 - half) << x;
        EXPECT_EQ(bar.height, 2 * half + 1) << x;
        EXPECT_EQ(bar.colour, kGrey);
        EXPECT_EQ(painter.calls.at(10 + x), 1);
    }
}

TEST_F(OverviewDrawingTest, SlicesInOneColumnTakeTheirLargestPeak)
{
    RecordingPainter painter;
    // Height 510 makes the half-height equal to the peak.
    store->drawOverview(request(0, RingStore::kBlockSize, 128, 510), painter);
    ASSERT_EQ(painter.bars.size(), 128u);
    for (int x = 0; x < 128; ++x) {
        const int half = peakOf(4 * x + 3); // the largest of slices 4x .. 4x+3
        EXPECT_EQ(painter.bars.at(10 + x).height, 2 * half + 1) << x;
    }
}

TEST_F(OverviewDrawingTest, BarsBetweenColumnsAreInterpolated)
{
    RecordingPainter painter;
    // Four pixels per slice over slices 100..149; peaks rise by one per slice.
    store->drawOverview(request(100 * kSlice, 150 * kSlice, 200, 510), painter);
    ASSERT_EQ(painter.bars.size(), 200u);
    for (int x = 0; x < 200; ++x) {
        EXPECT_EQ(painter.bars.at(10 + x).height, 2 * (100 + x / 4) + 1) << x;
    }
    // From slice 255 (peak 255) to slice 256 (peak 0) the half-height falls linearly.
    RecordingPainter steep;
    store->drawOverview(request(255 * kSlice, 257 * kSlice, 8, 510), steep);
    EXPECT_EQ(steep.bars.at(10 + 0).height, 2 * 255 + 1);
    EXPECT_EQ(steep.bars.at(10 + 1).height, 2 * 192 + 1);
    EXPECT_EQ(steep.bars.at(10 + 2).height, 2 * 128 + 1);
    EXPECT_EQ(steep.bars.at(10 + 3).height, 2 * 64 + 1);
    EXPECT_EQ(steep.bars.at(10 + 4).height, 1);
    EXPECT_EQ(steep.bars.at(10 + 4).top, 20 + 255);
}

TEST_F(OverviewDrawingTest, OnlyColumnsInsideTheRectangleArePainted)
{
    RecordingPainter painter;
    store->drawOverview(request(300 * kSlice, 310 * kSlice, 10, 100), painter);
    ASSERT_FALSE(painter.bars.empty());
    EXPECT_EQ(painter.bars.begin()->first, 10);
    EXPECT_EQ(painter.bars.rbegin()->first, 19);
    for (const auto& [x, n] : painter.calls) {
        EXPECT_EQ(n, 1) << x;
    }
}

TEST_F(OverviewDrawingTest, SelectionIsGreenWithRedRisingTowardsFadeEdges)
{
    RecordingPainter painter;
    OverviewRequest r = request(0, RingStore::kBlockSize, 512, 100);
    r.selectionStart = 100 * kSlice;
    r.selectionEnd = 300 * kSlice;
    r.fadeIn = 10 * kSlice;
    r.fadeOut = 20 * kSlice;
    store->drawOverview(r, painter);
    EXPECT_EQ(painter.bars.at(10 + 99).colour, kGrey);
    EXPECT_EQ(painter.bars.at(10 + 100).colour, (OverviewColour{99 * 240 / 100, 255, 0}));
    EXPECT_EQ(painter.bars.at(10 + 105).colour, (OverviewColour{50 * 240 / 100, 255, 0}));
    EXPECT_EQ(painter.bars.at(10 + 110).colour, kGreen);
    EXPECT_EQ(painter.bars.at(10 + 200).colour, kGreen);
    EXPECT_EQ(painter.bars.at(10 + 290).colour, (OverviewColour{50 * 240 / 100, 255, 0}));
    EXPECT_EQ(painter.bars.at(10 + 300).colour, (OverviewColour{99 * 240 / 100, 255, 0}));
    EXPECT_EQ(painter.bars.at(10 + 301).colour, kGrey);
}

TEST_F(OverviewDrawingTest, EmptyOrInvertedRequestsPaintNothing)
{
    RecordingPainter painter;
    store->drawOverview(request(5000, 5000, 100, 100), painter);
    store->drawOverview(request(9000, 100, 100, 100), painter);
    store->drawOverview(request(0, 5000, 0, 100), painter);
    store->drawOverview(request(0, 5000, 100, -3), painter);
    EXPECT_TRUE(painter.bars.empty());
}

} // namespace
} // namespace sorvella::test
