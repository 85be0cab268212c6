#include "app/LinuxCodecServices.h"

#include "platform/compression/SystemCompressionManager.h"
#include "platform/media/ModuleMediaWriters.h"
#include "platform/system/DlopenLibraryLoader.h"

#include <filesystem>
#include <vector>

namespace sorvella {

CodecServices linuxCodecServices()
{
    // Beside the executable in a build folder; in the installed program's
    // private library folder (SORVELLA_PRIVATE_LIBRARY_FOLDER, relative to
    // the executable's folder) when installed.
    const std::filesystem::path executableFolder = DlopenLibraryLoader::executableDirectory();
    std::vector<std::filesystem::path> folders{executableFolder};
    if (!executableFolder.empty()) {
        folders.push_back((executableFolder / SORVELLA_PRIVATE_LIBRARY_FOLDER).lexically_normal());
    }
    const auto loader = std::make_shared<DlopenLibraryLoader>(std::move(folders));
    return {
        .compressionManager = systemCompressionManager,
        .encoderLibraries = [loader] { return loader; },
        .mediaWriters = std::make_shared<ModuleMediaWriters>(loader),
    };
}

} // namespace sorvella
