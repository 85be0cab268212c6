#include "platform/system/DlopenLibraryLoader.h"

#include <dlfcn.h>

namespace sorvella {

namespace {

struct DlClose {
    void operator()(void* handle) const { dlclose(handle); }
};

class DlopenLibrary final : public LoadedLibrary {
public:
    explicit DlopenLibrary(void* handle) : m_handle(handle) {}

    void* findSymbol(const std::string& name) const override
    {
        return dlsym(m_handle.get(), name.c_str());
    }

private:
    std::unique_ptr<void, DlClose> m_handle;
};

void* open(const std::string& path)
{
    return dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
}

} // namespace

DlopenLibraryLoader::DlopenLibraryLoader(std::vector<std::filesystem::path> directories)
    : m_directories(std::move(directories))
{
}

std::shared_ptr<LoadedLibrary> DlopenLibraryLoader::loadLibrary(const std::string& fileName)
{
    // A name with a "/" would be taken as a path by dlopen: only plain names
    // are looked up.
    if (fileName.empty() || fileName.find('/') != std::string::npos) {
        return nullptr;
    }
    void* handle = nullptr;
    for (auto directory = m_directories.begin();
         handle == nullptr && directory != m_directories.end(); ++directory) {
        if (!directory->empty()) {
            handle = open((*directory / fileName).string());
        }
    }
    if (handle == nullptr) {
        handle = open(fileName);
    }
    if (handle == nullptr) {
        return nullptr;
    }
    return std::make_shared<DlopenLibrary>(handle);
}

std::filesystem::path DlopenLibraryLoader::executableDirectory()
{
    std::error_code error;
    const std::filesystem::path executable = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::filesystem::path() : executable.parent_path();
}

} // namespace sorvella
