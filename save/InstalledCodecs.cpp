#include "save/InstalledCodecs.h"

namespace sorvella {

std::vector<CodecCatalogue::Factory> installedCodecs()
{
    // The numbers are stored in the settings and never change meaning. An
    // empty entry makes no codec, as on a system without that encoder.
    return {
        {}, // 1: MP3 through the compression manager
        {}, // 2: MP3 through libbladeenc.so
        {}, // 3: MP3 through liblame_enc.so
        {}, // 4: MP2 through the compression manager
        {}, // 5: Ogg Vorbis
        {}, // 6: Windows Media
    };
}

} // namespace sorvella
