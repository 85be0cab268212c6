#include "platform/fakes/FakeLibraryLoader.h"

namespace sorvella {

namespace {

class FakeLibrary final : public LoadedLibrary {
public:
    explicit FakeLibrary(FakeLibraryLoader::Symbols symbols) : m_symbols(std::move(symbols)) {}

    void* findSymbol(const std::string& name) const override
    {
        const auto found = m_symbols.find(name);
        return found != m_symbols.end() ? found->second : nullptr;
    }

private:
    FakeLibraryLoader::Symbols m_symbols;
};

} // namespace

void FakeLibraryLoader::addLibrary(const std::string& fileName, Symbols symbols)
{
    m_libraries[fileName] = std::move(symbols);
}

std::shared_ptr<LoadedLibrary> FakeLibraryLoader::loadLibrary(const std::string& fileName)
{
    const auto found = m_libraries.find(fileName);
    if (found == m_libraries.end()) {
        return nullptr;
    }
    ++m_loads;
    return std::make_shared<FakeLibrary>(found->second);
}

} // namespace sorvella
