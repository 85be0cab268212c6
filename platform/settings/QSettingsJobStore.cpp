#include "platform/settings/QSettingsJobStore.h"

#include "core/RecException.h"
#include "platform/settings/QSettingsStore.h"

#include <QFileInfo>
#include <QSettings>

namespace sorvella {
namespace {

QString keyOf(std::int32_t job)
{
    return QStringLiteral("Set%1/Setting").arg(job);
}

RecException unreachable(const QString& path)
{
    return RecException("Cannot use the job file " + path.toStdString());
}

} // namespace

QSettingsJobStore::QSettingsJobStore() : m_path(settingsFilePath("System Agent")) {}

std::string QSettingsJobStore::readLine(std::int32_t job) const
{
    const QFileInfo file(m_path);
    if (file.exists() && !file.isReadable()) {
        throw unreachable(m_path);
    }
    const QSettings settings(m_path, QSettings::IniFormat);
    if (settings.status() == QSettings::AccessError) {
        throw unreachable(m_path);
    }
    // A hand-edited line with an unquoted comma reads as a list: no line.
    const QVariant line = settings.value(keyOf(job));
    if (!line.isValid() || line.typeId() == QMetaType::QStringList) {
        return {};
    }
    return line.toString().toStdString();
}

void QSettingsJobStore::writeLine(std::int32_t job, const std::string& line)
{
    QSettings settings(m_path, QSettings::IniFormat);
    settings.setValue(keyOf(job), QString::fromStdString(line));
    settings.sync();
    if (settings.status() != QSettings::NoError) {
        throw unreachable(m_path);
    }
}

} // namespace sorvella
