// The sheet's logic with a view that shows what it is given: values the
// lists cannot show come back untouched.

#include "config/ConfigSheet.h"
#include "core/Settings.h"
#include "tests/support/FakePrompter.h"

#include <gtest/gtest.h>

#include <functional>

namespace sorvella {
namespace {

// Shows a field as a list or radio group would: a value without an entry
// selects nothing.
class ListView : public ConfigSheetView {
public:
    void showDevices(const std::vector<std::string>& entries) override { devices = entries; }
    void showFields(const ConfigFields& f) override
    {
        shown = f;
        const auto inList = [](const std::string& text, const std::vector<std::string>& list) {
            return std::find(list.begin(), list.end(), text) != list.end() ? text : std::string();
        };
        const auto index = [](std::int32_t i, std::size_t size) {
            return i >= 0 && static_cast<std::size_t>(i) < size ? i : -1;
        };
        shown.bufferSizeText = inList(f.bufferSizeText, ConfigLists::bufferSizes);
        shown.rateText = inList(f.rateText, ConfigLists::rates);
        shown.granularityIndex = index(f.granularityIndex, ConfigLists::granularities.size());
        shown.profileIndex = index(f.profileIndex, ConfigLists::profiles.size());
        shown.soundCardIndex = index(f.soundCardIndex, devices.size());
        shown.quickSaveChoice = index(f.quickSaveChoice, 3);
    }
    ConfigFields fields() const override { return shown; }
    void showVolumeText(const std::string& text) override { shown.volumeText = text; }
    void showEditProgram(const std::string& path) override { shown.editProgramText = path; }
    void enableTempDirectory(bool) override {}
    std::optional<std::string> chooseProgram(const std::string&) override { return {}; }
    void showInstalledCodecs(SaveTarget&) override {}

    std::vector<std::string> devices;
    ConfigFields shown;
};

struct Untouched {
    const char* name;
    std::function<void(Settings&)> store;
};

void PrintTo(const Untouched& value, std::ostream* out)
{
    *out << value.name;
}

class UntouchedValue : public ::testing::TestWithParam<Untouched> {};

TEST_P(UntouchedValue, IsWrittenBackUnchanged)
{
    Settings settings;
    GetParam().store(settings);
    const Settings before = settings;
    ListView view;
    test::FakePrompter prompter;
    ConfigSheet sheet(view, settings,
                      {{"Card A"},
                       [](std::int32_t) { return ""; },
                       [](const std::string&) { return true; },
                       prompter});
    sheet.open();
    sheet.close(true);
    EXPECT_EQ(settings.soundCard, before.soundCard);
    EXPECT_EQ(settings.bufferSizeTotal, before.bufferSizeTotal);
    EXPECT_EQ(settings.bufferGranularity, before.bufferGranularity);
    EXPECT_EQ(settings.timingProfile, before.timingProfile);
    EXPECT_EQ(settings.quickSaveMode, before.quickSaveMode);
    EXPECT_EQ(settings.format, before.format);
    EXPECT_TRUE(prompter.boxes.empty());
}

INSTANTIATE_TEST_SUITE_P(
    OutsideTheLists, UntouchedValue,
    ::testing::Values(
        Untouched{"CardBeyondTheList", [](Settings& s) { s.soundCard = 5; }},
        Untouched{"BufferSizeOffTheList", [](Settings& s) { s.bufferSizeTotal = 3000; }},
        Untouched{"GranularityOffTheList", [](Settings& s) { s.bufferGranularity = 9; }},
        Untouched{"NegativeProfile", [](Settings& s) { s.timingProfile = -1; }},
        Untouched{"QuickSaveModeOffTheList", [](Settings& s) { s.quickSaveMode = 7; }},
        Untouched{"RateOffTheList",
                  [](Settings& s) {
                      s.format.samplesPerSec = 96000;
                      s.format.deriveFields();
                  }}),
    [](const auto& info) { return std::string(info.param.name); });

// A rate that reads as no number records at 44100 Hz.
TEST(ConfigSheetTest, ARateOfNothingBecomes44100)
{
    Settings settings;
    settings.format.samplesPerSec = 0;
    ListView view;
    test::FakePrompter prompter;
    ConfigSheet sheet(
        view, settings,
        {{}, [](std::int32_t) { return ""; }, [](const std::string&) { return true; }, prompter});
    sheet.open();
    sheet.close(true);
    EXPECT_EQ(settings.format.samplesPerSec, 44100u);
    EXPECT_EQ(settings.format.avgBytesPerSec, 176400u);
}

} // namespace
} // namespace sorvella
