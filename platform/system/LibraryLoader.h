#pragma once

#include <memory>
#include <string>

namespace sorvella {

// A shared library loaded at run time. It stays loaded while anyone holds it,
// so its entry points are valid as long as this object lives.
class LoadedLibrary {
public:
    virtual ~LoadedLibrary() = default;

    // The address of the exported symbol `name`; null when the library has
    // none. Any thread; does not block.
    virtual void* findSymbol(const std::string& name) const = 0;
};

// Loads libraries by file name. Any thread; blocks while the library loads
// (its initialisers run).
class LibraryLoader {
public:
    virtual ~LibraryLoader() = default;

    // The library `fileName` (a plain name such as "liblame_enc.so"); null
    // when it cannot be found or loaded.
    virtual std::shared_ptr<LoadedLibrary> loadLibrary(const std::string& fileName) = 0;
};

} // namespace sorvella
