#include "app/LinuxCodecServices.h"

#include "platform/compression/SystemCompressionManager.h"
#include "platform/media/FfmpegMediaWriters.h"
#include "platform/system/DlopenLibraryLoader.h"

namespace sorvella {

CodecServices linuxCodecServices()
{
    return {
        .compressionManager = systemCompressionManager,
        .encoderLibraries =
            [] {
                return std::make_shared<DlopenLibraryLoader>(
                    DlopenLibraryLoader::executableDirectory());
            },
        .mediaWriters = std::make_shared<FfmpegMediaWriters>(),
    };
}

} // namespace sorvella
