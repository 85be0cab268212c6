#include "save/InstalledCodecs.h"

#include "platform/compression/SystemCompressionManager.h"
#include "platform/files/PosixTargetFiles.h"
#include "platform/media/FfmpegMediaWriters.h"
#include "platform/system/DlopenLibraryLoader.h"
#include "save/codecs/BladeCodec.h"
#include "save/codecs/LameCodec.h"
#include "save/codecs/MP2Codec.h"
#include "save/codecs/MP3Codec.h"
#include "save/codecs/OggCodec.h"
#include "save/codecs/WMACodec.h"

namespace sorvella {

namespace {

// Encoder libraries are looked up beside the executable first.
std::shared_ptr<LibraryLoader> encoderLibraries()
{
    return std::make_shared<DlopenLibraryLoader>(DlopenLibraryLoader::executableDirectory());
}

// The media writers of the Windows Media codecs, with the files they write.
std::shared_ptr<MediaWriters> mediaWriters()
{
    struct Host {
        PosixTargetFiles files;
        FfmpegMediaWriters writers{files};
    };
    const auto host = std::make_shared<Host>();
    return std::shared_ptr<MediaWriters>(host, &host->writers);
}

} // namespace

std::vector<CodecCatalogue::Factory> installedCodecs()
{
    // Every Windows Media codec of this catalogue shares the writers and the
    // one extension choice of the process.
    const std::shared_ptr<MediaWriters> writers = mediaWriters();
    const auto wmaExtension = std::make_shared<WmaExtension>();
    // The numbers are stored in the settings and never change meaning. An
    // empty entry makes no codec, as on a system without that encoder.
    return {
        [] { return std::make_unique<MP3Codec>(systemCompressionManager()); },
        [] { return std::make_unique<BladeCodec>(encoderLibraries()); },
        [] { return std::make_unique<LameCodec>(encoderLibraries()); },
        [] { return std::make_unique<MP2Codec>(systemCompressionManager()); },
        [] { return std::make_unique<OggCodec>(); },
        [writers, wmaExtension] { return std::make_unique<WMACodec>(writers, wmaExtension); },
    };
}

} // namespace sorvella
