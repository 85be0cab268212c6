#include "control/TimeText.h"

namespace sorvella {

namespace {

std::string twoDigits(std::int64_t value)
{
    return (value < 10 ? "0" : "") + std::to_string(value);
}

std::string counted(std::int64_t count, const char* unit)
{
    return std::to_string(count) + " " + unit + (count == 1 ? "" : "s");
}

} // namespace

std::string timeText(std::int64_t seconds, TimeStyle style)
{
    const std::int64_t hours = seconds / 3600;
    const std::int64_t minutes = seconds / 60;
    const std::int64_t rest = seconds % 60;
    if (hours != 0) {
        return std::to_string(hours) + ":" + twoDigits(minutes % 60) + ":" + twoDigits(rest);
    }
    if (style == TimeStyle::Short) {
        return std::to_string(minutes) + ":" + twoDigits(rest);
    }
    if (minutes == 0) {
        return counted(seconds, "second");
    }
    if (rest == 0) {
        return counted(minutes, "minute");
    }
    return std::to_string(minutes) + ":" + twoDigits(rest) + " minutes";
}

} // namespace sorvella
