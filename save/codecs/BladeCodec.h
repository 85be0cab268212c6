#pragma once

#include "save/codecs/EncoderLibraryCodec.h"

namespace sorvella {

// MP3 through a Blade-Encoder compatible library, "libbladeenc.so", which the
// user provides.
class BladeCodec final : public EncoderLibraryCodec {
public:
    explicit BladeCodec(std::shared_ptr<LibraryLoader> loader);
    std::unique_ptr<Codec> clone() const override;
};

} // namespace sorvella
