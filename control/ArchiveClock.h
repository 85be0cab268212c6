#pragma once

#include <cstdint>

namespace sorvella {

// A reading of the archive clock: seconds since the epoch in UTC and the
// milliseconds into that second.
struct ArchiveTime {
    std::int64_t seconds = 0;
    std::int32_t milliseconds = 0;
};

// The clock of the archive schedule, replaceable in tests. It counts UTC, so
// the schedule never jumps when the local zone changes to or from daylight
// saving time.
class ArchiveClock {
public:
    virtual ~ArchiveClock() = default;
    virtual ArchiveTime utcNow() const = 0;
};

class SystemArchiveClock final : public ArchiveClock {
public:
    ArchiveTime utcNow() const override;
};

// Seconds since UTC midnight of `time`, and UTC midnight plus `seconds`
// (which may run into the following days), through gmtime_r and timegm.
std::int64_t secondOfUtcDay(std::int64_t time);
std::int64_t utcMidnightPlus(std::int64_t time, std::int64_t seconds);

} // namespace sorvella
