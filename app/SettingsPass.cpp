#include "app/SettingsPass.h"

#include "platform/system/SystemInfo.h"
#include "save/TargetSettings.h"

#include <algorithm>
#include <cstdint>
#include <string>

namespace sorvella {

namespace {

constexpr std::int32_t kHighestTimingProfile = 2;
constexpr std::int32_t kHighestAutoSaveFollow = 4; // loop mode
constexpr std::int32_t kHighestLoopMode = 2;       // archive vox mode
constexpr std::string_view kShowWarningMixer = "Show Warning Mixer";

// The value routines: each moves one field in the pass's direction. Fields
// that are not plain 32-bit integers travel through a temporary integer.
class SettingsValues {
public:
    SettingsValues(SettingsStore& store, SettingsDirection direction)
        : m_store(store), m_direction(direction)
    {
    }

    void integer(std::string_view name, std::int32_t& field)
    {
        if (m_direction == SettingsDirection::Load) {
            m_store.readInt(kDefaultSettingsSection, name, field);
        } else {
            m_store.writeInt(kDefaultSettingsSection, name, field);
        }
    }

    void integer(std::string_view name, Relaxed<std::int32_t>& field) { viaInteger(name, field); }

    void string(std::string_view name, std::string& field)
    {
        if (m_direction == SettingsDirection::Load) {
            m_store.readString(kDefaultSettingsSection, name, field);
        } else {
            m_store.writeString(kDefaultSettingsSection, name, field);
        }
    }

    // Stored as 0 or 1; any non-zero value reads as true.
    void boolean(std::string_view name, bool& field) { viaInteger(name, field); }

    // One of the choices 0..`highest`. Any other stored value would act as
    // no choice at all (a loop without limit, a follow-up with nothing
    // before it), so it loads as `fallback`, the field's default.
    template <typename Field>
    void choice(std::string_view name, Field& field, std::int32_t highest, std::int32_t fallback)
    {
        std::int32_t value = field;
        integer(name, value);
        field = (value < 0 || value > highest) ? fallback : value;
    }

    void formatUnsigned(std::string_view name, std::uint32_t& field) { viaInteger(name, field); }
    void formatShort(std::string_view name, std::uint16_t& field) { viaInteger(name, field); }

private:
    template <typename Field> void viaInteger(std::string_view name, Field& field)
    {
        auto value = static_cast<std::int32_t>(field);
        integer(name, value);
        field = static_cast<Field>(value);
    }

    SettingsStore& m_store;
    SettingsDirection m_direction;
};

} // namespace

void transferSettings(SettingsStore& store, Settings& settings, const CodecCatalogue& catalogue,
                      SettingsDirection direction)
{
    SettingsValues values(store, direction);
    const Settings defaults;

    values.integer("Buffer Size Total", settings.bufferSizeTotal);
    values.integer("Buffer Granularity", settings.bufferGranularity);
    values.integer("Time Loop", settings.loopTime);

    // The target's three values; loading also makes its codec anew.
    if (direction == SettingsDirection::Load) {
        loadTarget(store, catalogue, settings.target);
    } else {
        saveTarget(store, settings.target);
    }

    values.integer("Animation Mode Enum", settings.animationMode);
    values.boolean("Icon in Tray", settings.iconInTray);
    values.string("Edit Program", settings.editProgram);
    values.string("Temp Directory", settings.tempDirectory);
    values.boolean("Temp Directory Use Windows", settings.tempDirectoryUseWindows);
    values.boolean("File Direct To Disk Mode", settings.directToDisk);

    // Systems from version 6 on neither keep nor apply the mixer state.
    if (windowsVersionClass() != 2) {
        values.string("Volume Settings", settings.volumeSettings);
    }

    values.boolean("Bypass windows queue", settings.bypassWindowsQueue);
    if (settings.bypassWindowsQueue && isNtFamily()) {
        settings.bypassWindowsQueue = false;
    }

    values.boolean(kShowWarningMixer, settings.showWarningMixer);

    values.integer("Fade in", settings.fadeIn);
    values.integer("Fade out", settings.fadeOut);
    values.boolean("Autoamplify", settings.autoAmplify);
    values.integer("Save Mode Quick Save", settings.quickSaveMode);
    values.integer("Save Mode Edit and Save", settings.editSaveMode);
    values.integer("Graphical Editor Stop Playing Automatically", settings.editorStopPlaying);
    values.choice("Auto save mode follow", settings.autoSaveFollow, kHighestAutoSaveFollow,
                  defaults.autoSaveFollow);
    values.integer("Auto save time", settings.autoSaveTime);

    values.formatUnsigned("Recording Rate", settings.format.samplesPerSec);
    values.formatShort("Recording Stereo", settings.format.channels);
    settings.format.deriveFields();

    values.integer("Archiver Delay", settings.archiverDelay);
    values.integer("Archiver Overlap", settings.archiverOverlap);
    values.integer("Archiver Interval", settings.archiverInterval);
    values.choice("Loop Mode", settings.loopMode, kHighestLoopMode, defaults.loopMode);
    values.integer("Vox Profile", settings.voxProfile);
    values.integer("Vox Volume", settings.voxVolume);
    values.integer("Sound Card", settings.soundCard);

    values.boolean("ShowModeLarge", settings.showModeLarge);

    // Only the upper end is clamped; users of the profile guard against
    // negative values.
    std::int32_t timingProfile = settings.timingProfile;
    values.integer("TimingProfile", timingProfile);
    settings.timingProfile = std::min(timingProfile, kHighestTimingProfile);
}

void loadSettings(SettingsStore& store, Settings& settings, const CodecCatalogue& catalogue)
{
    transferSettings(store, settings, catalogue, SettingsDirection::Load);
}

void saveSettings(SettingsStore& store, Settings& settings, const CodecCatalogue& catalogue)
{
    transferSettings(store, settings, catalogue, SettingsDirection::Save);
    store.flush();
}

void storeShowWarningMixer(SettingsStore& store, const Settings& settings)
{
    bool showWarningMixer = settings.showWarningMixer;
    SettingsValues(store, SettingsDirection::Save).boolean(kShowWarningMixer, showWarningMixer);
    store.flush();
}

} // namespace sorvella
