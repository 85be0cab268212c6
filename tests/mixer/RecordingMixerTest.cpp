#include "mixer/RecordingMixer.h"
#include "tests/mixer/MixerFixture.h"
#include "tests/save/RaisedBy.h"

#include <gtest/gtest.h>

namespace sorvella {
namespace {

using Selection = FakeMixerState::Selection;
using test::raisedBy;
using test::selectedSources;
using test::setUpSources;

constexpr const char* kValueFailed = "Mixer-GetControlDetails: cannot get/set value";

class RecordingMixerTest : public ::testing::Test {
protected:
    RecordingMixer& opened()
    {
        mixer.open(2);
        return mixer;
    }

    FakeMixerSystem system;
    RecordingMixer mixer{system};
};

struct Rounding {
    std::uint32_t raw;
    int percent;
};

class VolumeReadTest : public RecordingMixerTest, public ::testing::WithParamInterface<Rounding> {};

TEST_P(VolumeReadTest, RoundsToTheNearestPercent)
{
    system.mixer.destination.volume = GetParam().raw;
    system.mixer.addSource("Mic", GetParam().raw, true);
    EXPECT_EQ(opened().volume(-1), GetParam().percent);
    EXPECT_EQ(mixer.volume(0), GetParam().percent);
}

INSTANTIATE_TEST_SUITE_P(Levels, VolumeReadTest,
                         ::testing::Values(Rounding{65535, 100}, Rounding{32768, 50},
                                           Rounding{0, 0}, Rounding{327, 0}, Rounding{328, 1},
                                           Rounding{32767, 50}, Rounding{65208, 99}));

class VolumeWriteTest : public RecordingMixerTest,
                        public ::testing::WithParamInterface<Rounding> {};

TEST_P(VolumeWriteTest, WritesTheShareOfFullScale)
{
    system.mixer.addSource("Mic", 1234, true);
    opened().setVolume(-1, GetParam().percent);
    mixer.setVolume(0, GetParam().percent);
    EXPECT_EQ(system.mixer.destination.volume, GetParam().raw);
    EXPECT_EQ(system.mixer.sources[0].volume, GetParam().raw);
}

INSTANTIATE_TEST_SUITE_P(Levels, VolumeWriteTest,
                         ::testing::Values(Rounding{65535, 100}, Rounding{32768, 50},
                                           Rounding{0, 0}, Rounding{655, 1}, Rounding{0, -5},
                                           Rounding{65535, 150}));

TEST_F(RecordingMixerTest, ReportsEachKindOfMixerFailure)
{
    system.failOpen = true;
    EXPECT_EQ(raisedBy([&] { mixer.open(0); }).message(), "cannot open Mixer device");
    EXPECT_EQ(raisedBy([&] { mixer.volume(-1); }).message(), "cannot open Mixer device");

    system.failOpen = false;
    system.mixer.hasCaptureLines = false;
    EXPECT_EQ(raisedBy([&] { opened().volume(-1); }).message(), "cannot get line info: dst-wavein");

    system.mixer.hasCaptureLines = true;
    system.mixer.addSource("Mic", std::nullopt, true);
    opened();
    EXPECT_EQ(raisedBy([&] { mixer.volume(3); }).message(), "cannot get line info: source 3");
    EXPECT_EQ(raisedBy([&] { mixer.setVolume(-2, 5); }).message(),
              "cannot get line info: source -2");
    EXPECT_EQ(raisedBy([&] { mixer.volume(0); }).message(), "cannot get mixer-line controls");
    EXPECT_EQ(raisedBy([&] { mixer.isSelected(0); }).message(), "cannot get mixer-line controls");

    system.mixer.destination.failVolumeRead = true;
    EXPECT_EQ(raisedBy([&] { mixer.volume(-1); }).message(), kValueFailed);
    system.mixer.destination.failVolumeWrite = true;
    EXPECT_EQ(raisedBy([&] { mixer.setVolume(-1, 10); }).message(), kValueFailed);
    EXPECT_EQ(raisedBy([&] { mixer.setVolume(-1, 10); }).kind(), RecException::Failure);
}

TEST_F(RecordingMixerTest, SourcesBeyondTheSelectionHaveNoSwitch)
{
    setUpSources(system.mixer, Selection::Multiple, 65535, {1, 2, 3}, {1});
    opened();
    EXPECT_FALSE(mixer.isSelected(0));
    EXPECT_TRUE(mixer.isSelected(1));
    for (const int beyond : {3, 4, 99, -1, -7}) {
        EXPECT_EQ(raisedBy([&] { mixer.isSelected(beyond); }).message(), "no such switch")
            << beyond;
    }
    EXPECT_EQ(raisedBy([&] { mixer.setSelected(3, true); }).message(), "no such switch");
    mixer.setSelected(-1, true);
    EXPECT_EQ(system.writeCount(), 0);
}

TEST_F(RecordingMixerTest, MultipleSelectChangesOnlyTheGivenSource)
{
    setUpSources(system.mixer, Selection::Multiple, 65535, {1, 2, 3, 4}, {1});
    opened().setSelected(3, true);
    EXPECT_EQ(selectedSources(system.mixer), (std::vector<int>{1, 3}));
    mixer.setSelected(1, false);
    EXPECT_EQ(selectedSources(system.mixer), (std::vector<int>{3}));
    mixer.deselectAll();
    EXPECT_TRUE(selectedSources(system.mixer).empty());
}

class SingleSelectTest : public RecordingMixerTest, public ::testing::WithParamInterface<int> {};

TEST_P(SingleSelectTest, ChoosingASourceDeselectsTheOthers)
{
    setUpSources(system.mixer, Selection::Single, 65535, {1, 2, 3, 4}, {2});
    opened().setSelected(GetParam(), true);
    EXPECT_EQ(selectedSources(system.mixer), std::vector<int>{GetParam()});
    for (int source = 0; source < 4; ++source) {
        EXPECT_EQ(mixer.isSelected(source), source == GetParam());
    }
    mixer.deselectAll(); // a multiplexer always records one input
    EXPECT_EQ(selectedSources(system.mixer), std::vector<int>{GetParam()});
}

INSTANTIATE_TEST_SUITE_P(Sources, SingleSelectTest, ::testing::Values(0, 2, 3));

TEST_F(RecordingMixerTest, ASelectionWriteThatFailsTwiceIsReported)
{
    setUpSources(system.mixer, Selection::Multiple, 65535, {1, 2}, {});
    system.mixer.failSelectionWrite = true;
    EXPECT_EQ(raisedBy([&] { opened().setSelected(1, true); }).message(), kValueFailed);
    EXPECT_EQ(raisedBy([&] { mixer.deselectAll(); }).message(), kValueFailed);
}

// Items listed in another order than the sources, an input that no source
// line stands for, and a source without a switch.
TEST_F(RecordingMixerTest, SourcesFindTheirOwnItems)
{
    for (const char* name : {"Mic", "Digital", "Line"}) {
        system.mixer.sources.push_back({name, 100});
    }
    system.mixer.selection = Selection::Multiple;
    system.mixer.items = {{2, false}, {FakeMixerItem::kNoLine, false}, {0, true}};
    opened();
    EXPECT_TRUE(mixer.isSelected(0));
    EXPECT_FALSE(mixer.isSelected(2));
    EXPECT_EQ(raisedBy([&] { mixer.isSelected(1); }).message(), "no such switch");
    EXPECT_FALSE(mixer.isSelected(3)); // the unconnected input comes after the lines
    EXPECT_EQ(raisedBy([&] { mixer.isSelected(4); }).message(), "no such switch");

    mixer.setSelected(2, true);
    mixer.setSelected(0, false);
    mixer.setSelected(3, true);
    EXPECT_EQ(system.mixer.items,
              (std::vector<FakeMixerItem>{{2, true}, {FakeMixerItem::kNoLine, true}, {0, false}}));
}

TEST_F(RecordingMixerTest, WithoutItemListsSourceNumbersAreItemNumbers)
{
    setUpSources(system.mixer, Selection::Multiple, 65535, {1, 2, 3}, {0});
    system.mixer.items = {{2, false}, {0, false}, {1, true}};
    system.mixer.failListItems = true;
    opened();
    EXPECT_TRUE(mixer.isSelected(2));
    EXPECT_FALSE(mixer.isSelected(0));
}

TEST_F(RecordingMixerTest, PutsASelectionBackExactly)
{
    setUpSources(system.mixer, Selection::Multiple, 65535, {1, 2, 3}, {0, 2});
    const auto found = opened().selection();
    ASSERT_TRUE(found);
    EXPECT_EQ(*found, (std::vector<std::uint32_t>{1, 0, 1}));
    mixer.setSelected(1, true);
    mixer.restoreSelection(*found);
    EXPECT_EQ(selectedSources(system.mixer), (std::vector<int>{0, 2}));

    system.mixer.selection = Selection::None;
    EXPECT_FALSE(mixer.selection());
}

} // namespace
} // namespace sorvella
