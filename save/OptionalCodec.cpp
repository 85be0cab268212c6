#include "save/OptionalCodec.h"

#include "core/RecException.h"
#include "save/Codec.h"

namespace sorvella {

std::string codecExtension(const Codec* codec)
{
    return codec != nullptr ? codec->extension() : std::string("mp3");
}

std::string queryCodecFormat(Codec* codec, std::int32_t formatNumber, const WaveFormat& inputFormat,
                             std::optional<WaveFormat>* outputFormat)
{
    if (codec == nullptr) {
        if (outputFormat != nullptr) {
            outputFormat->reset();
        }
        throw RecException("Error: no codec");
    }
    return codec->queryFormat(formatNumber, inputFormat, outputFormat);
}

} // namespace sorvella
