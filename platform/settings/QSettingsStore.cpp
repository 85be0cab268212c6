#include "platform/settings/QSettingsStore.h"

#include <QStandardPaths>
#include <QStringList>

namespace sorvella {

namespace {

QString fromUtf8(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QString keyOf(std::string_view section, std::string_view name)
{
    return fromUtf8(section) + QLatin1Char('/') + fromUtf8(name);
}

} // namespace

QString settingsFilePath(const std::string& applicationName)
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/Quillet-Application/") + QString::fromStdString(applicationName) +
           QStringLiteral(".conf");
}

QSettingsStore::QSettingsStore(const std::string& applicationName)
    : m_settings(settingsFilePath(applicationName), QSettings::IniFormat)
{
}

QVariant QSettingsStore::stored(std::string_view section, std::string_view name) const
{
    return m_settings.value(keyOf(section, name));
}

void QSettingsStore::readInt(std::string_view section, std::string_view name,
                             std::int32_t& value) const
{
    // Every value in the file is text until parsed; a hand-edited value that
    // is not a whole number must not turn into 0.
    const QVariant text = stored(section, name);
    if (!text.isValid() || text.typeId() == QMetaType::QStringList) {
        return;
    }
    bool isInteger = false;
    const int parsed = text.toString().trimmed().toInt(&isInteger, 10);
    if (isInteger) {
        value = parsed;
    }
}

void QSettingsStore::readString(std::string_view section, std::string_view name,
                                std::string& value) const
{
    // An unquoted comma in a hand-edited file makes a list, which is no
    // single text.
    const QVariant text = stored(section, name);
    if (text.isValid() && text.typeId() != QMetaType::QStringList) {
        value = text.toString().toStdString();
    }
}

void QSettingsStore::writeInt(std::string_view section, std::string_view name, std::int32_t value)
{
    m_settings.setValue(keyOf(section, name), value);
}

void QSettingsStore::writeString(std::string_view section, std::string_view name,
                                 const std::string& value)
{
    m_settings.setValue(keyOf(section, name), QString::fromStdString(value));
}

void QSettingsStore::flush()
{
    m_settings.sync();
}

} // namespace sorvella
