#include "mixer/ApplyVolumeSettings.h"
#include "tests/mixer/MixerFixture.h"

#include <gtest/gtest.h>

namespace sorvella {
namespace {

using Selection = FakeMixerState::Selection;
using test::selectedSources;
using test::setUpSources;

constexpr const char* kCaption = "Command line parsing";

class ApplyVolumeSettingsTest : public ::testing::Test {
protected:
    // Four sources, 0 and 3 selected, every volume on a whole per cent.
    void SetUp() override
    {
        setUpSources(system.mixer, Selection::Multiple, 65535, {32768, 0, 65535, 32768}, {0, 3});
        before = system.mixer;
    }

    VolumeApplyResult apply(std::string_view text)
    {
        return applyVolumeSettings(text, 2, system, prompter);
    }

    void expectOneBox(const std::string& text) const
    {
        ASSERT_EQ(prompter.boxes.size(), 1u);
        EXPECT_EQ(prompter.boxes[0].text, text);
        EXPECT_EQ(prompter.boxes[0].caption, kCaption);
    }

    FakeMixerSystem system;
    FakeMixerState before;
    test::FakePrompter prompter;
};

TEST_F(ApplyVolumeSettingsTest, SelectsOnlyTheListedSourcesAtTheirVolumes)
{
    EXPECT_EQ(apply("-v:0-80:2-55"), VolumeApplyResult::Applied);
    EXPECT_EQ(system.lastCard(), 2);
    EXPECT_EQ(selectedSources(system.mixer), std::vector<int>{1});
    EXPECT_EQ(system.mixer.destination.volume, 52428u);
    EXPECT_EQ(system.mixer.sources[1].volume, 36044u);
    EXPECT_EQ(system.mixer.sources[3].volume, 32768u);
    EXPECT_TRUE(prompter.boxes.empty());
}

TEST_F(ApplyVolumeSettingsTest, SourcesWithoutASwitchAreSkippedQuietly)
{
    EXPECT_EQ(apply("-v:1:7"), VolumeApplyResult::Applied);
    EXPECT_EQ(selectedSources(system.mixer), std::vector<int>{0});
    EXPECT_TRUE(prompter.boxes.empty());
}

TEST_F(ApplyVolumeSettingsTest, ASingleSelectMixerRecordsTheListedSource)
{
    system.mixer.selection = Selection::Single;
    system.mixer.items[0].on = false;
    EXPECT_EQ(apply("-v:0-50:3-"), VolumeApplyResult::Applied);
    EXPECT_EQ(selectedSources(system.mixer), std::vector<int>{2});
}

TEST_F(ApplyVolumeSettingsTest, NoItemsLeaveTheMixerAlone)
{
    for (const char* text : {"", "-v:"}) {
        EXPECT_EQ(apply(text), VolumeApplyResult::NothingToApply) << text;
    }
    EXPECT_EQ(system.lastCard(), -1);
    EXPECT_TRUE(prompter.boxes.empty());
}

class MalformedApplyTest : public ApplyVolumeSettingsTest,
                           public ::testing::WithParamInterface<const char*> {};

TEST_P(MalformedApplyTest, ChangesNothing)
{
    EXPECT_EQ(apply(GetParam()), VolumeApplyResult::Rejected);
    expectOneBox("Error: You supplied wrong arguments to -v Option. Please check Manual!");
    EXPECT_EQ(system.mixer, before);
    EXPECT_EQ(system.lastCard(), -1);
}

INSTANTIATE_TEST_SUITE_P(Texts, MalformedApplyTest,
                         ::testing::Values("-v:0-80:abc", "-v:2-55:2-60", "-v:0-80::2-55",
                                           "-v:99999999999999999999-5", "-v:-2-50", "v:0-80"));

TEST_F(ApplyVolumeSettingsTest, AMixerThatDoesNotOpenIsReported)
{
    system.failOpen = true;
    EXPECT_EQ(apply("-v:0-80"), VolumeApplyResult::Rejected);
    expectOneBox("Sorry, could not set Mixer: cannot open Mixer device");
}

// A volume that cannot be reached is found before anything changes.
TEST_F(ApplyVolumeSettingsTest, AnUnreachableVolumeChangesNothing)
{
    system.mixer.sources[2].volume.reset();
    before = system.mixer;
    EXPECT_EQ(apply("-v:0-80:2-55:3-20"), VolumeApplyResult::Rejected);
    expectOneBox("Sorry, could not set Mixer: cannot get mixer-line controls");

    prompter.boxes.clear();
    EXPECT_EQ(apply("-v:0-80:9-20"), VolumeApplyResult::Rejected);
    expectOneBox("Sorry, could not set Mixer: cannot get line info: source 8");
    EXPECT_EQ(system.mixer, before);
    EXPECT_EQ(system.writeCount(), 0);
}

TEST_F(ApplyVolumeSettingsTest, AFailedWriteHalfWayPutsTheMixerBack)
{
    system.mixer.sources[2].failVolumeWrite = true;
    before = system.mixer;
    EXPECT_EQ(apply("-v:0-80:2-55:3-20:4-10"), VolumeApplyResult::PutBack);
    expectOneBox("Sorry, could not set Mixer: Mixer-GetControlDetails: cannot get/set value");
    EXPECT_EQ(system.mixer, before);
    EXPECT_GT(system.writeCount(), 0);
}

TEST_F(ApplyVolumeSettingsTest, AMixerThatCannotBePutBackIsReportedAgain)
{
    system.mixer.writesLeft = 3; // deselect, select source 1, the destination's volume
    EXPECT_EQ(apply("-v:0-80:2-55"), VolumeApplyResult::LeftChanged);
    ASSERT_EQ(prompter.boxes.size(), 2u);
    EXPECT_EQ(prompter.boxes[1].text,
              "Sorry, could not set Mixer: Mixer-GetControlDetails: cannot get/set value");
    EXPECT_EQ(selectedSources(system.mixer), std::vector<int>{1});
}

} // namespace
} // namespace sorvella
