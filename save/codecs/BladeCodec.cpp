#include "save/codecs/BladeCodec.h"

namespace sorvella {

BladeCodec::BladeCodec(std::shared_ptr<LibraryLoader> loader)
    : EncoderLibraryCodec({"libbladeenc.so", "Blade-Encoder compatible library (libbladeenc.so)",
                           "MP3 Format / blade encoder", "Blade"},
                          std::move(loader))
{
}

std::unique_ptr<Codec> BladeCodec::clone() const
{
    return std::make_unique<BladeCodec>(*this);
}

} // namespace sorvella
