#pragma once

#include "platform/compression/CompressionDriver.h"

namespace sorvella {

// MPEG layer 3 over libmp3lame: the sample rates and constant bit rates of
// LAME's own tables, stereo before mono. A run may downmix stereo to mono and
// resample (LAME's resampler), so a format at half the recording's rate works.
class LameCompressionDriver final : public CompressionDriver {
public:
    std::uint16_t formatTag() const override;
    std::vector<DriverFormat> formats(std::optional<std::uint32_t> samplesPerSec,
                                      std::optional<std::uint16_t> channels) const override;
    std::int32_t open(const WaveFormat& source, const WaveFormat& destination, bool realTime,
                      std::unique_ptr<DriverStream>& stream) override;
};

} // namespace sorvella
