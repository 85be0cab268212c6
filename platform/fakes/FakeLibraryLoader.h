#pragma once

#include "platform/system/LibraryLoader.h"

#include <map>
#include <string>

namespace sorvella {

// Libraries for tests: each a name with a table of symbols. Loading an
// unknown name fails. The symbols are the test's own functions.
class FakeLibraryLoader final : public LibraryLoader {
public:
    using Symbols = std::map<std::string, void*>;

    void addLibrary(const std::string& fileName, Symbols symbols);

    // How often a library was loaded (successfully).
    int loads() const { return m_loads; }

    std::shared_ptr<LoadedLibrary> loadLibrary(const std::string& fileName) override;

private:
    std::map<std::string, Symbols> m_libraries;
    int m_loads = 0;
};

} // namespace sorvella
