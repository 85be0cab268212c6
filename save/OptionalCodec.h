#pragma once

#include "core/WaveFormat.h"

#include <cstdint>
#include <optional>
#include <string>

namespace sorvella {

class Codec;

// A target's codec may be missing (its "Target File Codec" has no codec on
// this system); these ask a codec that may be null.

// The codec's extension; "mp3" without a codec.
std::string codecExtension(const Codec* codec);

// Codec::queryFormat; without a codec there is no format and it raises
// "Error: no codec" (with `outputFormat` emptied).
std::string queryCodecFormat(Codec* codec, std::int32_t formatNumber, const WaveFormat& inputFormat,
                             std::optional<WaveFormat>* outputFormat = nullptr);

} // namespace sorvella
