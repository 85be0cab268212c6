#include "mixer/RetrieveVolumeSettings.h"
#include "tests/mixer/MixerFixture.h"

#include <gtest/gtest.h>

namespace sorvella {
namespace {

using Selection = FakeMixerState::Selection;
using test::setUpSources;

constexpr const char* kNothing =
    "Sorry, could not retrieve settings or all Input-devices are disabled";
constexpr const char* kPartialCaption = "Warning: Mixer settings retrieval partially failed";

class RetrieveVolumeSettingsTest : public ::testing::Test {
protected:
    std::string retrieve() { return retrieveVolumeSettings(system, 3, prompter); }

    std::vector<std::string> texts() const
    {
        std::vector<std::string> shown;
        for (const auto& box : prompter.boxes) {
            shown.push_back(box.text);
        }
        return shown;
    }

    FakeMixerSystem system;
    test::FakePrompter prompter;
};

TEST_F(RetrieveVolumeSettingsTest, ListsTheDestinationAndTheSelectedSources)
{
    setUpSources(system.mixer, Selection::Multiple, 52429, {1000, 32768, 2000, 65535}, {1, 3});
    EXPECT_EQ(retrieve(), "-v:0-80:2-50:4-100");
    EXPECT_EQ(system.lastCard(), 3);
    EXPECT_TRUE(prompter.boxes.empty());
}

TEST_F(RetrieveVolumeSettingsTest, SingleSelectGivesItsOneSource)
{
    setUpSources(system.mixer, Selection::Single, 65535, {1000, 32768, 19661}, {2});
    EXPECT_EQ(retrieve(), "-v:0-100:3-30");
    EXPECT_TRUE(prompter.boxes.empty());
}

TEST_F(RetrieveVolumeSettingsTest, WithoutSelectionEveryVolumeIsListedWithAWarning)
{
    setUpSources(system.mixer, Selection::None, 65535, {6554, 13107, 19661}, {});
    system.mixer.sources[2].volume.reset(); // the list ends at the first source without volume
    EXPECT_EQ(retrieve(), "-v:0-100:1-10:2-20");
    ASSERT_EQ(prompter.boxes.size(), 1u);
    EXPECT_EQ(prompter.boxes[0].caption, kPartialCaption);
    EXPECT_TRUE(prompter.boxes[0].text.starts_with(
        "Your mixer device does not support the standard recording-source interface."));
}

TEST_F(RetrieveVolumeSettingsTest, UnreadableVolumesLeaveTheirValueOut)
{
    setUpSources(system.mixer, Selection::Multiple, 65535, {100, 200, 300}, {0, 1});
    system.mixer.sources[1].failVolumeRead = true;
    system.mixer.destination.volume.reset();
    EXPECT_EQ(retrieve(), "-v:1-0:2-");
    EXPECT_TRUE(prompter.boxes.empty());
}

TEST_F(RetrieveVolumeSettingsTest, AMixerThatDoesNotOpenIsToldTwice)
{
    system.failOpen = true;
    EXPECT_EQ(retrieve(), "");
    EXPECT_EQ(texts(), (std::vector<std::string>{
                           "Sorry, could not init Mixer: cannot open Mixer device", kNothing}));
    EXPECT_EQ(prompter.boxes[0].caption, "");
}

TEST_F(RetrieveVolumeSettingsTest, NothingReadableIsTold)
{
    system.mixer.hasCaptureLines = false;
    EXPECT_EQ(retrieve(), "");
    EXPECT_EQ(texts(), std::vector<std::string>{kNothing});

    system.mixer.hasCaptureLines = true;
    setUpSources(system.mixer, Selection::Multiple, 65535, {100, 200}, {});
    system.mixer.destination.failVolumeRead = true;
    prompter.boxes.clear();
    EXPECT_EQ(retrieve(), "");
    EXPECT_EQ(texts(), std::vector<std::string>{kNothing});
}

} // namespace
} // namespace sorvella
