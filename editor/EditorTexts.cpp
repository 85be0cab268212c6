#include "editor/EditorTexts.h"

#include <QDateTime>
#include <QLocale>
#include <QRegularExpression>

#include <cstdio>

namespace sorvella {
namespace {

QDateTime localTime(std::int64_t time)
{
    return QDateTime::fromSecsSinceEpoch(time);
}

// The locale's long time format names the time zone too; the editor shows
// only the clock.
QString clockFormat(const QLocale& locale)
{
    static const QRegularExpression zone(QStringLiteral("\\s*t+"));
    return locale.timeFormat(QLocale::LongFormat).remove(zone).trimmed();
}

QString clockText(const QLocale& locale, std::int64_t time)
{
    return locale.toString(localTime(time).time(), clockFormat(locale));
}

} // namespace

std::string editorTitle(std::int64_t recordingStart, std::int64_t recordingEnd)
{
    const QLocale locale = QLocale::system();
    const QString title = QStringLiteral("Sorvella Edit  -  ") +
                          locale.toString(localTime(recordingStart).date(), QLocale::LongFormat) +
                          QStringLiteral(", ") + clockText(locale, recordingStart) +
                          QStringLiteral(" - ") + clockText(locale, recordingEnd);
    return title.toStdString();
}

std::string clockTimeText(std::int64_t time)
{
    return clockText(QLocale::system(), time).toStdString();
}

std::string selectedRangeText(std::int64_t seconds)
{
    char text[32];
    if (seconds >= 3600) {
        std::snprintf(text, sizeof text, "%d:%02d:%02d", static_cast<int>(seconds / 3600),
                      static_cast<int>(seconds / 60 % 60), static_cast<int>(seconds % 60));
    } else {
        std::snprintf(text, sizeof text, "%d:%02d", static_cast<int>(seconds / 60),
                      static_cast<int>(seconds % 60));
    }
    return text;
}

std::string fadeLengthText(std::int32_t milliseconds)
{
    char text[32];
    std::snprintf(text, sizeof text, "%g s", milliseconds / 1000.0);
    return text;
}

} // namespace sorvella
