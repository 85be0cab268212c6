#pragma once

#include "platform/settings/SettingsStore.h"

#include <QSettings>

#include <string>

namespace sorvella {

// The INI file of the settings named `applicationName`.
QString settingsFilePath(const std::string& applicationName);

// The settings file of one application: an INI file at
// $XDG_CONFIG_HOME/Quillet-Application/<applicationName>.conf (~/.config when
// XDG_CONFIG_HOME is not set). Sections are the file's groups.
class QSettingsStore final : public SettingsStore {
public:
    explicit QSettingsStore(const std::string& applicationName);

    void readInt(std::string_view section, std::string_view name,
                 std::int32_t& value) const override;
    void readString(std::string_view section, std::string_view name,
                    std::string& value) const override;
    void writeInt(std::string_view section, std::string_view name, std::int32_t value) override;
    void writeString(std::string_view section, std::string_view name,
                     const std::string& value) override;
    void flush() override;

private:
    QVariant stored(std::string_view section, std::string_view name) const;

    QSettings m_settings;
};

} // namespace sorvella
