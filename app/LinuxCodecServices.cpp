#include "app/LinuxCodecServices.h"

#include "platform/compression/SystemCompressionManager.h"
#include "platform/media/ModuleMediaWriters.h"
#include "platform/system/DlopenLibraryLoader.h"

namespace sorvella {

CodecServices linuxCodecServices()
{
    const auto programFolder =
        std::make_shared<DlopenLibraryLoader>(DlopenLibraryLoader::executableDirectory());
    return {
        .compressionManager = systemCompressionManager,
        .encoderLibraries = [programFolder] { return programFolder; },
        .mediaWriters = std::make_shared<ModuleMediaWriters>(programFolder),
    };
}

} // namespace sorvella
