#pragma once

#include "platform/CompressionDriver.h"

#include <map>
#include <mutex>
#include <utility>

namespace sorvella {

// MPEG layer 2 over libtwolame, at 16 to 48 kHz. Not every bit rate goes with
// every channel count: a format is listed only when TwoLAME accepts it
// (asked once per rate and channel count). A run may downmix stereo to mono;
// it never resamples.
class TwoLameCompressionDriver final : public CompressionDriver {
public:
    std::uint16_t formatTag() const override;
    std::vector<DriverFormat> formats(std::optional<std::uint32_t> samplesPerSec,
                                      std::optional<std::uint16_t> channels) const override;
    std::int32_t open(const WaveFormat& source, const WaveFormat& destination, bool realTime,
                      std::unique_ptr<DriverStream>& stream) override;

private:
    const std::vector<std::int32_t>& acceptedBitRates(std::uint32_t samplesPerSec,
                                                      std::uint16_t channels) const;

    mutable std::mutex m_mutex;
    mutable std::map<std::pair<std::uint32_t, std::uint16_t>, std::vector<std::int32_t>> m_accepted;
};

} // namespace sorvella
