#include "config/ConfigSheet.h"

#include "core/Prompter.h"
#include "core/Settings.h"
#include "engine/SoundReader.h"

#include <charconv>

namespace sorvella {
namespace {

constexpr std::uint32_t kFallbackRate = 44100;

// The leading decimal number of a text, 0 when it has none.
std::int64_t leadingNumber(const std::string& text)
{
    std::int64_t value = 0;
    std::from_chars(text.data(), text.data() + text.size(), value);
    return value;
}

void keepUnlessNone(std::int32_t& field, std::int32_t shown)
{
    if (shown >= 0) {
        field = shown;
    }
}

} // namespace

const std::vector<std::string> ConfigLists::bufferSizes{"128", "256", "512", "1024", "2048"};
const std::vector<std::string> ConfigLists::granularities{"large", "medium", "small", "very small"};
const std::vector<std::string> ConfigLists::rates{"48000", "44100", "32000", "24000",
                                                  "22050", "16000", "11025", "8000"};
const std::vector<std::string> ConfigLists::profiles{
    "Default (Prio: low-normal)", "Agressive (Prio: normal)", "Most Agressive (Prio: normal-high)"};

ConfigSheet::ConfigSheet(ConfigSheetView& view, Settings& working, Services services)
    : m_view(view), m_settings(working), m_services(std::move(services))
{
}

void ConfigSheet::open()
{
    const Settings& s = m_settings;
    ConfigFields& f = m_filled;
    f.stereo = s.format.channels != 1 ? 1 : 0;
    f.bufferSizeText = std::to_string(s.bufferSizeTotal / 1024);
    f.granularityIndex = s.bufferGranularity - 1;
    f.rateText = std::to_string(s.format.samplesPerSec);
    f.volumeText = s.volumeSettings;
    f.soundCardIndex = s.soundCard;
    f.animated = s.animationMode == 1;
    f.quickSaveChoice = s.quickSaveMode;
    f.editSaveChoice = s.editSaveMode;
    f.editorStopChoice = s.editorStopPlaying;
    f.trayIcon = s.iconInTray;
    f.profileIndex = s.timingProfile;
    f.editProgramText = s.editProgram;
    f.tempDirectoryText = s.tempDirectory;
    f.bypassCache = s.directToDisk;
    f.tempChoice = s.tempDirectoryUseWindows ? 0 : 1;
    f.bypassQueue = s.bypassWindowsQueue;
    m_target = s.target;

    std::vector<std::string> devices{std::string("0: ") + SoundReader::kDefaultDeviceName};
    for (const std::string& name : m_services.deviceNames) {
        devices.push_back(std::to_string(devices.size()) + ": " + name);
    }
    m_view.showDevices(devices);
    m_view.showFields(f);
    m_view.enableTempDirectory(f.tempChoice == 1);
}

void ConfigSheet::retrieveVolume()
{
    const std::int32_t card = m_view.fields().soundCardIndex;
    m_view.showVolumeText(m_services.retrieveVolume(card >= 0 ? card : m_filled.soundCardIndex));
}

void ConfigSheet::clearVolume()
{
    m_view.showVolumeText({});
}

void ConfigSheet::chooseTempDirectory(std::int32_t choice)
{
    m_view.enableTempDirectory(choice == 1);
}

void ConfigSheet::browseEditProgram()
{
    if (const auto chosen = m_view.chooseProgram(m_view.fields().editProgramText)) {
        m_view.showEditProgram(*chosen);
    }
}

void ConfigSheet::installedCodecs()
{
    m_view.showInstalledCodecs(m_target);
}

void ConfigSheet::close(bool confirmed)
{
    if (confirmed) {
        writeBack(m_view.fields());
    }
    if (m_resetMessages) {
        m_settings.showWarningMixer = true;
    }
}

void ConfigSheet::writeBack(const ConfigFields& shown)
{
    Settings& s = m_settings;
    if (shown.granularityIndex >= 0) {
        s.bufferGranularity = shown.granularityIndex + 1;
    }
    if (!shown.bufferSizeText.empty()) {
        s.bufferSizeTotal = static_cast<std::int32_t>(leadingNumber(shown.bufferSizeText) * 1024);
    }
    s.format.channels = shown.stereo != 0 ? 2 : 1;
    const std::int64_t rate =
        leadingNumber(shown.rateText.empty() ? m_filled.rateText : shown.rateText);
    s.format.samplesPerSec = rate > 0 ? static_cast<std::uint32_t>(rate) : kFallbackRate;
    s.format.deriveFields();

    s.animationMode = shown.animated ? 1 : 0;
    s.iconInTray = shown.trayIcon;
    s.editProgram = shown.editProgramText;
    s.tempDirectory = shown.tempDirectoryText;
    s.tempDirectoryUseWindows = shown.tempChoice == 0;
    s.directToDisk = shown.bypassCache;
    s.bypassWindowsQueue = shown.bypassQueue;
    keepUnlessNone(s.editSaveMode, shown.editSaveChoice);
    keepUnlessNone(s.quickSaveMode, shown.quickSaveChoice);
    keepUnlessNone(s.editorStopPlaying, shown.editorStopChoice);

    // Recording without the window's message queue does not exist here; only
    // a value from elsewhere can ask for it.
    if (s.bypassWindowsQueue) {
        s.bypassWindowsQueue = false;
        m_services.prompter.ask("Due to locking problems bypassing of the message queue does not "
                                "work with Linux. Option is cleared.",
                                {}, Prompter::Buttons::Ok, Prompter::Icon::None);
    }
    s.volumeSettings = shown.volumeText;
    if (!s.tempDirectoryUseWindows && !m_services.directoryExists(s.tempDirectory)) {
        s.tempDirectoryUseWindows = true;
        m_services.prompter.ask(s.tempDirectory + " does not exist. Resetting to System Temp.", {},
                                Prompter::Buttons::Ok, Prompter::Icon::None);
    }
    s.target = m_target;
    s.target.sourceFormat = s.format;
    keepUnlessNone(s.soundCard, shown.soundCardIndex);
    keepUnlessNone(s.timingProfile, shown.profileIndex);
}

} // namespace sorvella
