#pragma once

#include "platform/compression/CompressionDriver.h"

#include <cstdint>

namespace sorvella {

// The format record of a constant bit rate MPEG audio format with the codec
// data of its tag (layer 3 or layer 2), and its description, such as
// "128 kBit/s, 44100 Hz, Stereo".
DriverFormat mpegFormat(std::uint16_t formatTag, std::uint32_t samplesPerSec,
                        std::uint16_t channels, std::int32_t kbps);

// The bit rate of such a format in kBit/s.
std::int32_t mpegBitRate(const WaveFormat& format);

} // namespace sorvella
