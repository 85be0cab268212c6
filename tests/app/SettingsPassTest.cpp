#include "app/SettingsPass.h"
#include "app/MachineDefaults.h"

#include "platform/fakes/FakeSettingsStore.h"
#include "platform/settings/QSettingsStore.h"
#include "save/CodecCatalogue.h"
#include "tests/support/ConfigFiles.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <string>
#include <tuple>

namespace sorvella {
namespace {

// Every field the pass stores, for whole-record comparisons.
auto persistentFields(const Settings& s)
{
    return std::make_tuple(
        s.iconInTray, s.editorStopPlaying, s.quickSaveMode, s.editSaveMode, s.fadeOut, s.fadeIn,
        s.autoAmplify, s.bypassWindowsQueue, s.showModeLarge, s.volumeSettings, s.directToDisk,
        s.tempDirectoryUseWindows, s.tempDirectory, s.editProgram, s.animationMode,
        s.target.fileName, s.target.formatNumber, s.target.codecNumber, s.loopTime.load(),
        s.autoSaveTime, s.autoSaveFollow, s.loopMode.load(), s.archiverOverlap.load(),
        s.archiverDelay.load(), s.archiverInterval.load(), s.bufferSizeTotal, s.bufferGranularity,
        s.format, s.timingProfile, s.showWarningMixer, s.voxVolume.load(), s.voxProfile.load(),
        s.soundCard);
}

SaveTarget storedTarget(std::string fileName, std::int32_t formatNumber, std::int32_t codecNumber)
{
    SaveTarget target;
    target.fileName = std::move(fileName);
    target.formatNumber = formatNumber;
    target.codecNumber = codecNumber;
    return target;
}

// A catalogue that knows no codec: the pass must keep the stored numbers.
const CodecCatalogue& noCodecs()
{
    static FakeSettingsStore codecSettings;
    static const CodecCatalogue catalogue(codecSettings, {});
    return catalogue;
}

Settings everyFieldChanged()
{
    return Settings{
        .iconInTray = true,
        .editorStopPlaying = 2,
        .quickSaveMode = 0,
        .editSaveMode = 1,
        .fadeOut = 1500,
        .fadeIn = 250,
        .autoAmplify = true,
        .showModeLarge = true,
        .volumeSettings = "@Capture=40000, Mic=1",
        .directToDisk = false,
        .tempDirectoryUseWindows = false,
        .tempDirectory = "/var/tmp/sörvella",
        .editProgram = "audacity --fresh",
        .animationMode = 0,
        .target = storedTarget("/home/me/take, <n>.wav", 3, 4),
        .loopTime = 1234,
        .autoSaveTime = 45,
        .autoSaveFollow = 4,
        .loopMode = 2,
        .archiverOverlap = 30,
        .archiverDelay = -20,
        .archiverInterval = 3600,
        .bufferSizeTotal = 1048576,
        .bufferGranularity = 3,
        .format = {.channels = 1, .samplesPerSec = 48000, .avgBytesPerSec = 96000, .blockAlign = 2},
        .timingProfile = 1,
        .showWarningMixer = false,
        .voxVolume = 1000,
        .voxProfile = 2,
        .soundCard = 3};
}

Settings loadedFrom(FakeSettingsStore& store)
{
    Settings settings;
    loadSettings(store, settings, noCodecs());
    return settings;
}

void put(FakeSettingsStore& store, std::string_view name, const std::string& text)
{
    store.writeString(kDefaultSettingsSection, name, text);
}

TEST(SettingsPass, FirstRunGivesEveryDefault)
{
    test::TempDir documents("documents");
    test::setDocumentsFolder(documents.path());

    Settings settings;
    applyMachineDefaults(settings);
    QSettingsStore store("first-run");
    loadSettings(store, settings, noCodecs());

    Settings expected;
    expected.target.fileName = (documents.path() / "recording.wav").string();
    expected.tempDirectory = std::getenv("TMPDIR");
    EXPECT_EQ(persistentFields(settings), persistentFields(expected));
    EXPECT_FALSE(std::filesystem::exists(test::settingsFile("first-run")));
}

TEST(SettingsPass, SaveAndLoadThroughTheFileKeepEveryField)
{
    Settings saved = everyFieldChanged();
    QSettingsStore store("round-trip");
    saveSettings(store, saved, noCodecs());

    const std::string firstSave = test::readText(test::settingsFile("round-trip"));
    for (const char* line : {"Time%20Loop=1234\n", "Recording%20Stereo=1\n", "TimingProfile=1\n",
                             "Graphical%20Editor%20Stop%20Playing%20Automatically=2\n",
                             "Target%20File%20Codec=4\n", "Volume%20Settings=\"@@Capture"}) {
        EXPECT_NE(firstSave.find(line), std::string::npos) << line << " in\n" << firstSave;
    }

    Settings loaded;
    QSettingsStore reread("round-trip");
    loadSettings(reread, loaded, noCodecs());
    EXPECT_EQ(persistentFields(loaded), persistentFields(saved));

    saveSettings(reread, loaded, noCodecs());
    EXPECT_EQ(test::readText(test::settingsFile("round-trip")), firstSave);
}

TEST(SettingsPass, StoreShowWarningMixerWritesThatValueAlone)
{
    FakeSettingsStore store;
    Settings settings;
    settings.showWarningMixer = false;
    storeShowWarningMixer(store, settings);
    const std::map<FakeSettingsStore::Key, std::string> expected{
        {{"Default Settings", "Show Warning Mixer"}, "0"}};
    EXPECT_EQ(store.values(), expected);
}

TEST(SettingsPass, BypassOfTheMessageQueueIsClearedAndSavedCleared)
{
    FakeSettingsStore store;
    put(store, "Bypass windows queue", "1");
    Settings settings = loadedFrom(store);
    EXPECT_FALSE(settings.bypassWindowsQueue);

    saveSettings(store, settings, noCodecs());
    EXPECT_EQ(store.values().at({"Default Settings", "Bypass windows queue"}), "0");
}

// A choice outside its range loads as the default; the choices in range
// load as stored.
struct StoredChoice {
    std::int32_t followStored, followLoaded, loopModeStored, loopModeLoaded;
};

class SettingsPassChoices : public testing::TestWithParam<StoredChoice> {};

TEST_P(SettingsPassChoices, OutOfRangeLoadsTheDefault)
{
    FakeSettingsStore store;
    put(store, "Auto save mode follow", std::to_string(GetParam().followStored));
    put(store, "Loop Mode", std::to_string(GetParam().loopModeStored));
    const Settings settings = loadedFrom(store);
    EXPECT_EQ(settings.autoSaveFollow, GetParam().followLoaded);
    EXPECT_EQ(settings.loopMode.load(), GetParam().loopModeLoaded);
}

INSTANTIATE_TEST_SUITE_P(StoredValues, SettingsPassChoices,
                         testing::Values(StoredChoice{5, 1, 3, 0}, StoredChoice{-1, 1, -1, 0},
                                         StoredChoice{4, 4, 2, 2}, StoredChoice{0, 0, 1, 1}),
                         [](const auto& info) {
                             const auto number = [](std::int32_t value) {
                                 return (value < 0 ? "Minus" : "") +
                                        std::to_string(std::abs(value));
                             };
                             return "Follow" + number(info.param.followStored) + "LoopMode" +
                                    number(info.param.loopModeStored);
                         });

// Other values are not range-checked; users of the values guard.
TEST(SettingsPass, StoredValuesLoadUncheckedAndDeriveTheFormat)
{
    FakeSettingsStore store;
    put(store, "Time Loop", "-5");
    put(store, "Recording Rate", "22050");
    put(store, "Recording Stereo", "1");
    const Settings mono = loadedFrom(store);
    EXPECT_EQ(mono.loopTime, -5);
    EXPECT_EQ(mono.format.channels, 1);
    EXPECT_EQ(mono.format.blockAlign, 2);
    EXPECT_EQ(mono.format.avgBytesPerSec, 44100u);

    put(store, "Recording Stereo", "0");
    const WaveFormat silent = loadedFrom(store).format;
    EXPECT_EQ(silent.channels, 0);
    EXPECT_EQ(silent.blockAlign, 0);
    EXPECT_EQ(silent.avgBytesPerSec, 0u);
}

class SettingsPassTimingProfile
    : public testing::TestWithParam<std::pair<std::int32_t, std::int32_t>> {};

TEST_P(SettingsPassTimingProfile, OnlyTheUpperEndIsLowered)
{
    FakeSettingsStore store;
    put(store, "TimingProfile", std::to_string(GetParam().first));
    EXPECT_EQ(loadedFrom(store).timingProfile, GetParam().second);
}

INSTANTIATE_TEST_SUITE_P(StoredValues, SettingsPassTimingProfile,
                         testing::Values(std::pair{7, 2}, std::pair{3, 2}, std::pair{2, 2},
                                         std::pair{0, 0}, std::pair{-1, -1}));

} // namespace
} // namespace sorvella
