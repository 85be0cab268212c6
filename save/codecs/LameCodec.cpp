#include "save/codecs/LameCodec.h"

namespace sorvella {

LameCodec::LameCodec(std::shared_ptr<LibraryLoader> loader)
    : EncoderLibraryCodec({"liblame_enc.so", "Lame-Encoder compatible library (liblame_enc.so)",
                           "MP3 Format / lame encoder", "Lame"},
                          std::move(loader))
{
}

std::unique_ptr<Codec> LameCodec::clone() const
{
    return std::make_unique<LameCodec>(*this);
}

} // namespace sorvella
