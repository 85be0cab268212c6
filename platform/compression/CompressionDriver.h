#pragma once

#include "core/WaveFormat.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace sorvella {

// One format a driver writes, with its description for format lists.
struct DriverFormat {
    WaveFormat format;
    std::string description;
};

// One encoding run of a driver, fed with whole frames of 16-bit PCM. Used by
// one thread at a time; every call blocks until done.
class DriverStream {
public:
    virtual ~DriverStream() = default;

    // Encodes the `sourceLength` bytes at `source` (whole frames) into at
    // most `destinationLength` bytes at `destination`, setting the used
    // lengths: frames it did not use did not fit the destination and are
    // handed over again. With `end` the encoder also writes its last bytes.
    // Returns a manager result code (0 success).
    virtual std::int32_t convert(const std::uint8_t* source, std::uint32_t sourceLength,
                                 std::uint32_t& sourceUsed, std::uint8_t* destination,
                                 std::uint32_t destinationLength, std::uint32_t& destinationUsed,
                                 bool end) = 0;

    // Ends the run; non-zero when the encoder reports a failure.
    virtual std::int32_t close() = 0;
};

// An installed encoder of the compression manager, known by the format tag
// it writes. Any thread.
class CompressionDriver {
public:
    virtual ~CompressionDriver() = default;

    virtual std::uint16_t formatTag() const = 0;

    // The formats it writes at `samplesPerSec` with `channels` (every rate or
    // channel count when none is given), always in the same order.
    virtual std::vector<DriverFormat> formats(std::optional<std::uint32_t> samplesPerSec,
                                              std::optional<std::uint16_t> channels) const = 0;

    // Opens a run from 16-bit PCM `source` (1 or 2 channels) to
    // `destination`, one of its formats. kAcmNotPossible when it cannot
    // convert between the two, or not in real time when `realTime` is asked.
    virtual std::int32_t open(const WaveFormat& source, const WaveFormat& destination,
                              bool realTime, std::unique_ptr<DriverStream>& stream) = 0;
};

} // namespace sorvella
