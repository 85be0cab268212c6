#include "save/FormatLabels.h"

#include "core/RecException.h"
#include "save/Codec.h"

namespace sorvella {

namespace {

// Far more than any codec offers.
constexpr std::int32_t kMostFormats = 1000;

} // namespace

std::vector<std::string> formatLabels(Codec& codec, const WaveFormat& inputFormat,
                                      std::int32_t limit)
{
    std::vector<std::string> labels;
    try {
        for (std::int32_t number = 1; number <= limit; ++number) {
            labels.push_back(codec.queryFormat(number, inputFormat));
        }
    } catch (const RecException&) {
        // The codec's list ends at the first number it cannot describe.
    }
    return labels;
}

std::optional<std::int32_t> formatNumberOf(Codec& codec, const WaveFormat& inputFormat,
                                           std::string_view label)
{
    const std::vector<std::string> labels = formatLabels(codec, inputFormat, kMostFormats);
    for (std::size_t i = 0; i < labels.size(); ++i) {
        if (labels[i] == label) {
            return static_cast<std::int32_t>(i + 1);
        }
    }
    return std::nullopt;
}

} // namespace sorvella
