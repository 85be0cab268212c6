#pragma once

#include "platform/compression/CompressionDriver.h"

namespace sorvella {

// MPEG layer 2 over libtwolame, at 16 to 48 kHz, listing only the bit rates
// that TwoLAME takes for the rate and channel count (MPEG-1 keeps the lowest
// rates for mono and the highest for stereo). A run may downmix stereo to
// mono; it never resamples.
class TwoLameCompressionDriver final : public CompressionDriver {
public:
    std::uint16_t formatTag() const override;
    std::vector<DriverFormat> formats(std::optional<std::uint32_t> samplesPerSec,
                                      std::optional<std::uint16_t> channels) const override;
    std::int32_t open(const WaveFormat& source, const WaveFormat& destination, bool realTime,
                      std::unique_ptr<DriverStream>& stream) override;
};

} // namespace sorvella
