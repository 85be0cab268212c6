#include "editor/WaveformMapping.h"

#include <gtest/gtest.h>

#include <functional>
#include <ostream>
#include <tuple>

namespace sorvella {
namespace {

using Action = std::function<void(WaveformMapping&)>;

void zoomInOnPlay(WaveformMapping& view)
{
    view.zoomIn(EditMode::Play, std::nullopt);
}

struct MappingCase {
    std::int64_t heldBytes;
    Action before;
    int width;
    std::int64_t position;
    int pixel;
};

void PrintTo(const MappingCase& c, std::ostream* os)
{
    *os << "held " << c.heldBytes << " width " << c.width << ": " << c.position << " at "
        << c.pixel;
}

class PixelOfTest : public ::testing::TestWithParam<MappingCase> {};

WaveformMapping shownAt(const MappingCase& c)
{
    WaveformMapping view(c.heldBytes);
    c.before(view);
    view.setWidth(c.width);
    return view;
}

TEST_P(PixelOfTest, MapsThePositionToItsColumn)
{
    EXPECT_EQ(shownAt(GetParam()).pixelOf(GetParam().position), GetParam().pixel);
}

const Action kWholeView = [](WaveformMapping&) {};

// A 1 000 000-byte view at 500 pixels, and its middle half after a zoom.
INSTANTIATE_TEST_SUITE_P(Examples, PixelOfTest,
                         ::testing::Values(MappingCase{1000000, kWholeView, 500, 1000000, 499},
                                           MappingCase{1000000, kWholeView, 500, 0, 0},
                                           MappingCase{1000000, kWholeView, 500, 500000, 250},
                                           MappingCase{1000000, kWholeView, 500, 1002000, 499},
                                           MappingCase{1000000, kWholeView, 500, 1004000, 65535},
                                           MappingCase{1000000, kWholeView, 500, -4000, -1},
                                           MappingCase{1000000, zoomInOnPlay, 500, 250000, 0},
                                           MappingCase{1000000, zoomInOnPlay, 500, 749996, 499},
                                           MappingCase{1000000, zoomInOnPlay, 500, 200000, -1},
                                           MappingCase{1000000, kWholeView, 0, 500000, 0}));

class PositionAtTest : public ::testing::TestWithParam<MappingCase> {};

TEST_P(PositionAtTest, MapsTheColumnToAWholeFrame)
{
    EXPECT_EQ(shownAt(GetParam()).positionAt(GetParam().pixel), GetParam().position);
}

INSTANTIATE_TEST_SUITE_P(Examples, PositionAtTest,
                         ::testing::Values(MappingCase{1000000, kWholeView, 500, 998000, 499},
                                           MappingCase{1000000, zoomInOnPlay, 500, 500000, 250},
                                           MappingCase{1000000, kWholeView, 500, 0, -3},
                                           MappingCase{1000000, kWholeView, 500, 1000000, 600},
                                           MappingCase{1000002, kWholeView, 500, 1000000, 500},
                                           MappingCase{1000, kWholeView, 3, 332, 1},
                                           MappingCase{1000000, kWholeView, 0, 1000000, 1}));

struct ViewCase {
    const char* name;
    std::int64_t heldBytes;
    Action before;
    Action action;
    std::int64_t viewStart, viewEnd, selectionStart, selectionEnd;
};

void PrintTo(const ViewCase& c, std::ostream* os)
{
    *os << c.name;
}

class ViewOperationTest : public ::testing::TestWithParam<ViewCase> {};

TEST_P(ViewOperationTest, ShowsAndSelects)
{
    const ViewCase& c = GetParam();
    WaveformMapping view(c.heldBytes);
    view.setWidth(1000);
    c.before(view);
    c.action(view);
    EXPECT_EQ(view.viewStart(), c.viewStart);
    EXPECT_EQ(view.viewEnd(), c.viewEnd);
    EXPECT_EQ(view.selectionStart(), c.selectionStart);
    EXPECT_EQ(view.selectionEnd(), c.selectionEnd);
}

using V = WaveformMapping;

INSTANTIATE_TEST_SUITE_P(
    Examples, ViewOperationTest,
    ::testing::Values(
        ViewCase{"PlayShowsTheMiddleHalf", 1000000, kWholeView, zoomInOnPlay, 250000, 750000, 0,
                 1000000},
        // 40000..120000, then the selection start at 50000
        ViewCase{"NarrowViewKeepsItsWidthAroundTheStart", 160000,
                 [](V& v) { zoomInOnPlay(v), v.selectStartAt(125); },
                 [](V& v) { v.zoomIn(EditMode::AdjustStart, std::nullopt); }, 10000, 90000, 50000,
                 160000},
        ViewCase{"EndCentreClampsAtTheLeft", 1000000, [](V& v) { v.selectEndAt(100); },
                 [](V& v) { v.zoomIn(EditMode::AdjustEnd, 4); }, 0, 500000, 0, 100000},
        ViewCase{"PlayPositionClampsAtTheRight", 1000000, kWholeView,
                 [](V& v) { v.zoomIn(EditMode::Play, 900000); }, 500000, 1000000, 0, 1000000},
        ViewCase{"UnderSixteenBytesKeepsTheRange", 12, kWholeView, zoomInOnPlay, 0, 12, 0, 12},
        ViewCase{"ZoomOutWidensByHalfEachSide", 1000000,
                 [](V& v) { zoomInOnPlay(v), zoomInOnPlay(v); }, [](V& v) { v.zoomOut(); }, 250000,
                 750000, 0, 1000000},
        ViewCase{"DoubleClickOnANarrowViewDoesNothing", 99996, kWholeView,
                 [](V& v) { v.zoomAt(500); }, 0, 99996, 0, 99996},
        ViewCase{"DoubleClickHalvesAroundTheColumn", 1000000, kWholeView,
                 [](V& v) { v.zoomAt(900); }, 500000, 1000000, 0, 1000000},
        ViewCase{"LineRightMovesATenth", 1000000, zoomInOnPlay, [](V& v) { v.scrollLines(1); },
                 300000, 800000, 0, 1000000},
        ViewCase{"PageLeftStopsAtTheStart", 1000000, zoomInOnPlay, [](V& v) { v.scrollPages(-1); },
                 0, 500000, 0, 1000000},
        ViewCase{"PageRightStopsAtTheEnd", 1000000, zoomInOnPlay, [](V& v) { v.scrollPages(1); },
                 500000, 1000000, 0, 1000000},
        ViewCase{"ThumbAtTheRightEndShowsTheLastRange", 1000000, zoomInOnPlay,
                 [](V& v) { v.placeThumb(v.scrollBar().limit); }, 500000, 1000000, 0, 1000000},
        ViewCase{"ThumbPlacesAWholeFrame", 1000000, zoomInOnPlay, [](V& v) { v.placeThumb(7500); },
                 249980, 749980, 0, 1000000},
        ViewCase{"StartPastTheEndMovesTheEndToTheStoreEnd", 1000000,
                 [](V& v) { v.selectEndAt(300); }, [](V& v) { v.selectStartAt(600); }, 0, 1000000,
                 600000, 1000000},
        ViewCase{"EndBeforeTheStartMovesTheStartToZero", 1000000,
                 [](V& v) { v.selectStartAt(600); }, [](V& v) { v.selectEndAt(300); }, 0, 1000000,
                 0, 300000},
        ViewCase{"StartMayMeetTheEnd", 1000000, [](V& v) { v.selectEndAt(500); },
                 [](V& v) { v.selectStartAt(500); }, 0, 1000000, 500000, 500000}),
    [](const auto& info) { return std::string(info.param.name); });

struct BarCase {
    std::int64_t heldBytes;
    Action action;
    ScrollBarState bar;
};

void PrintTo(const BarCase& c, std::ostream* os)
{
    *os << "held " << c.heldBytes << ": page " << c.bar.page << " at " << c.bar.position;
}

class ScrollBarTest : public ::testing::TestWithParam<BarCase> {};

TEST_P(ScrollBarTest, ShowsTheViewInThirtyThousandths)
{
    WaveformMapping view(GetParam().heldBytes);
    GetParam().action(view);
    EXPECT_EQ(view.scrollBar(), GetParam().bar);
}

INSTANTIATE_TEST_SUITE_P(Examples, ScrollBarTest,
                         ::testing::Values(BarCase{1000000, kWholeView, {30000, 0, 1, false}},
                                           BarCase{
                                               1000000, zoomInOnPlay, {15000, 7500, 15001, true}},
                                           // 99984 of 99998 bytes: a thumb of 29995 fills the bar
                                           BarCase{99998, zoomInOnPlay, {30000, 1, 1, false}},
                                           BarCase{4000000000,
                                                   [](WaveformMapping& v) {
                                                       for (int i = 0; i < 20; ++i) {
                                                           zoomInOnPlay(v);
                                                       }
                                                   },
                                                   {1, 14999, 30000, true}}));

TEST(WaveformDragTest, ClicksEveryTenPixels)
{
    WaveformMapping view(1000000);
    view.pressAt(100);
    int clicks = 0;
    for (int x = 101; x <= 135; ++x) {
        clicks += view.dragTo(x) ? 1 : 0;
    }
    EXPECT_EQ(clicks, 3);
    EXPECT_EQ(view.lastMouseX(), 130);
    EXPECT_TRUE(view.dragTo(120));
}

// Every operation, anywhere, on the smallest stores and the narrowest views.
class WaveformInvariantTest : public ::testing::TestWithParam<std::tuple<std::int64_t, int>> {};

TEST_P(WaveformInvariantTest, EveryOperationKeepsTheView)
{
    const auto [held, width] = GetParam();
    WaveformMapping view(held);
    view.setWidth(width);
    const int columns = std::max(width, 1);
    const auto check = [&](const char* step, int x) {
        SCOPED_TRACE(::testing::Message() << step << " at " << x);
        EXPECT_LE(0, view.viewStart());
        EXPECT_LT(view.viewStart(), view.viewEnd());
        EXPECT_LE(view.viewEnd(), held);
        EXPECT_LE(0, view.selectionStart());
        EXPECT_LE(view.selectionStart(), view.selectionEnd());
        EXPECT_LE(view.selectionEnd(), held);
        EXPECT_EQ(view.viewStart() % 4, 0);
        EXPECT_EQ(view.pixelOf(view.viewEnd()), columns - 1);
        EXPECT_LE(view.positionAt(columns - 1), held - held % 4);
    };
    for (int round = 0; round < 30; ++round) {
        for (const int x : {-10, 0, columns / 2, columns - 1, columns + 10}) {
            view.zoomIn(static_cast<EditMode>(round % 3), held + 32768);
            check("zoomIn", x);
            view.selectStartAt(x + round);
            check("selectStartAt", x);
            view.selectEndAt(x - round);
            check("selectEndAt", x);
            view.zoomAt(x);
            check("zoomAt", x);
            view.scrollLines(round % 2 == 0 ? 1 : -1);
            check("scrollLines", x);
            view.placeThumb(view.scrollBar().limit * x / columns);
            check("placeThumb", x);
            if (round % 5 == 4) {
                view.zoomOut();
                view.scrollPages(x);
                check("zoomOut and scrollPages", x);
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(SmallStoresAndViews, WaveformInvariantTest,
                         ::testing::Combine(::testing::Values(4, 12, 524288),
                                            ::testing::Values(0, 7, 500)));

} // namespace
} // namespace sorvella
