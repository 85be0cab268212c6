#pragma once

#include "platform/system/LibraryLoader.h"

#include <filesystem>

namespace sorvella {

// Loads with dlopen: from `directory` first, then on the loader's search
// path (LD_LIBRARY_PATH, the caller's run path, the system's directories).
class DlopenLibraryLoader final : public LibraryLoader {
public:
    explicit DlopenLibraryLoader(std::filesystem::path directory);

    std::shared_ptr<LoadedLibrary> loadLibrary(const std::string& fileName) override;

    // The directory of the running executable (empty when it cannot be told).
    static std::filesystem::path executableDirectory();

private:
    std::filesystem::path m_directory;
};

} // namespace sorvella
