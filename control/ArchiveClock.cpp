#include "control/ArchiveClock.h"

#include <ctime>

namespace sorvella {
namespace {

std::tm utcFields(std::int64_t time)
{
    const auto seconds = static_cast<std::time_t>(time);
    std::tm fields{};
    gmtime_r(&seconds, &fields);
    return fields;
}

} // namespace

ArchiveTime SystemArchiveClock::utcNow() const
{
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    return {static_cast<std::int64_t>(now.tv_sec),
            static_cast<std::int32_t>(now.tv_nsec / 1'000'000)};
}

std::int64_t secondOfUtcDay(std::int64_t time)
{
    const std::tm fields = utcFields(time);
    return (static_cast<std::int64_t>(fields.tm_hour) * 60 + fields.tm_min) * 60 + fields.tm_sec;
}

std::int64_t utcMidnightPlus(std::int64_t time, std::int64_t seconds)
{
    std::tm fields = utcFields(time);
    fields.tm_hour = 0;
    fields.tm_min = 0;
    fields.tm_sec = 0;
    return static_cast<std::int64_t>(timegm(&fields)) + seconds;
}

} // namespace sorvella
