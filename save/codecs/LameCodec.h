#pragma once

#include "save/codecs/EncoderLibraryCodec.h"

namespace sorvella {

// MP3 through a Lame-Encoder compatible library, "liblame_enc.so"; the
// program brings its own beside the executable.
class LameCodec final : public EncoderLibraryCodec {
public:
    explicit LameCodec(std::shared_ptr<LibraryLoader> loader);
    std::unique_ptr<Codec> clone() const override;
};

} // namespace sorvella
