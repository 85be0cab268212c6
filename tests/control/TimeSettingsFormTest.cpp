// The "Time Settings" logic with a fake window: enabling, time entries and
// what OK stores.

#include "control/TimeSettingsForm.h"
#include "control/TimeEntry.h"
#include "control/VoxProfile.h"
#include "core/Settings.h"

#include <gtest/gtest.h>

#include <ostream>

namespace sorvella {
namespace {

class FakeTimeSettingsView : public TimeSettingsView {
public:
    void showChoices(const TimeSettingsChoices& shown) override { choices = shown; }
    void showEnabling(const TimeSettingsEnabling& shown) override { enabling = shown; }
    void showTexts(const TimeSettingsTexts& shown) override { boxes = shown; }
    void showTriggerPosition(std::int32_t shown) override { position = shown; }
    void showProfiles(const std::vector<std::string>& shown, std::int32_t index) override
    {
        names = shown;
        selected = index;
    }
    TimeSettingsTexts texts() const override { return boxes; }
    std::int32_t triggerPosition() const override { return position; }
    std::int32_t selectedProfile() const override { return selected; }

    TimeSettingsChoices choices;
    TimeSettingsEnabling enabling;
    TimeSettingsTexts boxes;
    std::int32_t position = -1;
    std::vector<std::string> names;
    std::int32_t selected = -2;
};

class TimeSettingsFormTest : public ::testing::Test {
protected:
    TimeSettingsFormTest() { form.open(); }

    Settings settings;
    FakeTimeSettingsView view;
    TimeSettingsForm form{view, settings, voxProfileNames()};
};

struct EnablingCase {
    std::int32_t action;
    std::int32_t loopMode;
    TimeSettingsEnabling expected;
};

void PrintTo(const EnablingCase& c, std::ostream* out)
{
    *out << "action " << c.action << " loop mode " << c.loopMode;
}

class TimeSettingsEnablingTest : public TimeSettingsFormTest,
                                 public ::testing::WithParamInterface<EnablingCase> {};

TEST_P(TimeSettingsEnablingTest, FollowsEveryRadioClick)
{
    form.chooseAutoSaveAction(GetParam().action);
    form.chooseLoopMode(GetParam().loopMode);
    EXPECT_EQ(view.enabling, GetParam().expected);
}

constexpr std::array<bool, 5> kNoFollow{};
constexpr std::array<bool, 5> kEveryFollow{true, true, true, true, true};
constexpr std::array<bool, 5> kEditFollow{false, true, true, false, true};

INSTANTIATE_TEST_SUITE_P(
    Choices, TimeSettingsEnablingTest,
    ::testing::Values(EnablingCase{0, 0, {false, kNoFollow, true, false, false}},
                      EnablingCase{1, 1, {false, kNoFollow, false, true, false}},
                      EnablingCase{2, 2, {true, kEveryFollow, false, false, true}},
                      EnablingCase{3, 0, {true, kEditFollow, true, false, false}}));

TEST_F(TimeSettingsFormTest, EditAfterTurnsClosingAndNumberingIntoIdle)
{
    for (const std::int32_t follow : {0, 3}) {
        form.chooseAutoSaveAction(2);
        form.chooseAutoSaveFollow(follow);
        form.chooseAutoSaveAction(3);
        EXPECT_EQ(view.choices.autoSaveFollow, 1) << follow;
    }
    form.chooseAutoSaveFollow(4);
    form.chooseAutoSaveAction(3);
    EXPECT_EQ(view.choices.autoSaveFollow, 4);
}

struct EntryCase {
    const char* text;
    std::int32_t seconds;
};

void PrintTo(const EntryCase& c, std::ostream* out)
{
    *out << '"' << c.text << '"';
}

class TimeEntryTest : public ::testing::TestWithParam<EntryCase> {};

TEST_P(TimeEntryTest, ReadsFromTheRight)
{
    EXPECT_EQ(parseTimeEntry(GetParam().text), GetParam().seconds);
}

INSTANTIATE_TEST_SUITE_P(Entries, TimeEntryTest,
                         ::testing::Values(EntryCase{"10:00", 600}, EntryCase{"1:02:03", 3723},
                                           EntryCase{"0:90", 90}, EntryCase{"15", 900},
                                           EntryCase{" 2:05 ", 125}, EntryCase{"-1:00:00", -3600},
                                           EntryCase{"abc", 0}, EntryCase{"", 0},
                                           EntryCase{"99999999999", 2147483647}));

TEST_F(TimeSettingsFormTest, OpensWithTheSettingsAndStoresEveryValueOnOk)
{
    EXPECT_EQ(view.boxes.before, "0:00");
    EXPECT_EQ(view.boxes.loopTime, "10:00");
    EXPECT_EQ(view.position, 25);
    EXPECT_EQ(view.names.size(), 9U);
    EXPECT_EQ(view.selected, 0);

    form.chooseAutoSaveAction(2);
    form.chooseAutoSaveFollow(3);
    form.chooseLoopMode(2);
    view.boxes = {"1:30:00", "0", "5", "1:00:00", "0:45"};
    view.position = 0;
    view.selected = 4;
    form.accept();
    EXPECT_EQ(settings.autoSaveAction, 2);
    EXPECT_EQ(settings.autoSaveFollow, 3);
    EXPECT_EQ(settings.loopMode, 2);
    EXPECT_EQ(settings.autoSaveTime, 5400);
    EXPECT_EQ(settings.loopTime, 1);
    EXPECT_EQ(settings.archiverInterval, 300);
    EXPECT_EQ(settings.archiverDelay, -3600);
    EXPECT_EQ(settings.archiverOverlap, 45);
    EXPECT_EQ(settings.voxVolume, 1);
    EXPECT_EQ(settings.voxProfile, 40);

    view.boxes.autoSaveTime = "-5";
    view.selected = -1;
    form.accept();
    EXPECT_EQ(settings.autoSaveTime, 0);
    EXPECT_EQ(settings.voxProfile, -1);
}

} // namespace
} // namespace sorvella
