#pragma once

#include "platform/system/LibraryLoader.h"

#include <filesystem>
#include <vector>

namespace sorvella {

// Loads with dlopen: from `directories` in their order first (empty ones are
// skipped), then on the loader's search path (LD_LIBRARY_PATH, the caller's
// run path, the system's directories).
class DlopenLibraryLoader final : public LibraryLoader {
public:
    explicit DlopenLibraryLoader(std::vector<std::filesystem::path> directories);

    std::shared_ptr<LoadedLibrary> loadLibrary(const std::string& fileName) override;

    // The directory of the running executable (empty when it cannot be told).
    static std::filesystem::path executableDirectory();

private:
    std::vector<std::filesystem::path> m_directories;
};

} // namespace sorvella
