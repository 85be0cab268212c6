#pragma once

#include <cstdint>
#include <ctime>

namespace sorvella {

// The calendar time (seconds since the epoch), replaceable in tests.
class Clock {
public:
    virtual ~Clock() = default;
    virtual std::int64_t now() const = 0;
};

class SystemClock : public Clock {
public:
    std::int64_t now() const override { return static_cast<std::int64_t>(std::time(nullptr)); }
};

} // namespace sorvella
