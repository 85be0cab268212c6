#pragma once

#include "save/CodecCatalogue.h"

#include <functional>
#include <memory>
#include <vector>

namespace sorvella {

class CompressionManager;
class LibraryLoader;
class MediaWriters;

// The platform services the codecs encode through, chosen by the program's
// start-up (or a test) and handed in.
struct CodecServices {
    // A compression manager of its own for each MP3 and MP2 codec.
    std::function<std::shared_ptr<CompressionManager>()> compressionManager;
    // A loader of its own for each encoder-library codec.
    std::function<std::shared_ptr<LibraryLoader>()> encoderLibraries;
    // Shared by every Windows Media codec of the catalogue.
    std::shared_ptr<MediaWriters> mediaWriters;
};

// The codecs of this program by catalogue number: the one place where a codec
// is registered.
std::vector<CodecCatalogue::Factory> installedCodecs(const CodecServices& services);

} // namespace sorvella
