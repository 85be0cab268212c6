#pragma once

#include "core/SaveTarget.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace sorvella {

class Prompter;
struct Settings;

// What the three pages show. A list or radio group with nothing selected is
// -1 (an index) or empty (a text); the settings field behind it is then
// written back unchanged.
struct ConfigFields {
    // "Input"
    std::int32_t stereo = 0;
    std::string bufferSizeText;
    std::int32_t granularityIndex = 0;
    std::string rateText;
    std::string volumeText;
    std::int32_t soundCardIndex = 0;
    // "General"
    bool animated = false;
    std::int32_t quickSaveChoice = -1;
    std::int32_t editSaveChoice = -1;
    std::int32_t editorStopChoice = -1;
    bool trayIcon = false;
    std::int32_t profileIndex = 0;
    // "File"
    std::string editProgramText;
    std::string tempDirectoryText;
    bool bypassCache = false;
    std::int32_t tempChoice = 0; // 0 "System Temp", 1 "Other:"
    bool bypassQueue = false;

    bool operator==(const ConfigFields&) const = default;
};

// The entries of the sheet's drop-down lists.
struct ConfigLists {
    static const std::vector<std::string> bufferSizes; // kB
    static const std::vector<std::string> granularities;
    static const std::vector<std::string> rates;
    static const std::vector<std::string> profiles;
};

// What the "Configure Sorvella" logic needs of its window.
class ConfigSheetView {
public:
    virtual ~ConfigSheetView() = default;
    virtual void showDevices(const std::vector<std::string>& entries) = 0;
    virtual void showFields(const ConfigFields& fields) = 0;
    virtual ConfigFields fields() const = 0;
    virtual void showVolumeText(const std::string& text) = 0;
    virtual void showEditProgram(const std::string& path) = 0;
    virtual void enableTempDirectory(bool enabled) = 0;
    // An executable program picked by the user, starting at `current`.
    virtual std::optional<std::string> chooseProgram(const std::string& current) = 0;
    // The installed codecs' catalogue on the page's own target.
    virtual void showInstalledCodecs(SaveTarget& target) = 0;
};

// The "Configure Sorvella" sheet's logic on a working copy of the settings:
// the pages are filled from it on open, and written back only by close(true).
class ConfigSheet {
public:
    static constexpr std::int32_t kInputHelp = 152; // "General" and "File" follow

    struct Services {
        // The capture devices; the default input comes before them.
        std::vector<std::string> deviceNames;
        // The VolumeSettings text of the mixer of an input device.
        std::function<std::string(std::int32_t soundCard)> retrieveVolume;
        // Whether a temporary directory as typed exists.
        std::function<bool(const std::string& path)> directoryExists;
        Prompter& prompter;
    };

    ConfigSheet(ConfigSheetView& view, Settings& working, Services services);

    void open();
    void retrieveVolume();
    void clearVolume();
    void chooseTempDirectory(std::int32_t choice);
    void browseEditProgram();
    void installedCodecs();
    void resetMessages() { m_resetMessages = true; }
    // OK (`confirmed`) or Cancel; a reset of the "don't show again" messages
    // counts either way.
    void close(bool confirmed);

private:
    void writeBack(const ConfigFields& shown);

    ConfigSheetView& m_view;
    Settings& m_settings;
    Services m_services;
    ConfigFields m_filled;
    SaveTarget m_target;
    bool m_resetMessages = false;
};

} // namespace sorvella
