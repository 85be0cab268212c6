#pragma once

#include "core/WaveFormat.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace sorvella {

class Codec;

// A codec's formats for one input, by number: the list ends at the first
// number the codec cannot describe.

// The labels of formats 1 to at most `limit`, in number order.
std::vector<std::string> formatLabels(Codec& codec, const WaveFormat& inputFormat,
                                      std::int32_t limit);

// The number of the format labelled `label`, or none.
std::optional<std::int32_t> formatNumberOf(Codec& codec, const WaveFormat& inputFormat,
                                           std::string_view label);

} // namespace sorvella
