#include "save/InstalledCodecs.h"

#include "save/codecs/BladeCodec.h"
#include "save/codecs/FlacCodec.h"
#include "save/codecs/LameCodec.h"
#include "save/codecs/MP2Codec.h"
#include "save/codecs/MP3Codec.h"
#include "save/codecs/OggCodec.h"
#include "save/codecs/OpusCodec.h"
#include "save/codecs/WMACodec.h"

namespace sorvella {

std::vector<CodecCatalogue::Factory> installedCodecs(const CodecServices& services)
{
    // Every Windows Media codec of this catalogue shares the writers and the
    // one extension choice of the process.
    const std::shared_ptr<MediaWriters> writers = services.mediaWriters;
    const auto wmaExtension = std::make_shared<WmaExtension>();
    // The numbers are stored in the settings and never change meaning. An
    // empty entry makes no codec, as on a system without that encoder.
    return {
        [services] { return std::make_unique<MP3Codec>(services.compressionManager()); },
        [services] { return std::make_unique<BladeCodec>(services.encoderLibraries()); },
        [services] { return std::make_unique<LameCodec>(services.encoderLibraries()); },
        [services] { return std::make_unique<MP2Codec>(services.compressionManager()); },
        [] { return std::make_unique<OggCodec>(); },
        [writers, wmaExtension] { return std::make_unique<WMACodec>(writers, wmaExtension); },
        [] { return std::make_unique<FlacCodec>(); },
        [] { return std::make_unique<OpusCodec>(); },
    };
}

} // namespace sorvella
