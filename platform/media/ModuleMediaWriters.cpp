#include "platform/media/ModuleMediaWriters.h"

#include "platform/system/LibraryLoader.h"

namespace sorvella {

namespace {

// A writer of the module that keeps the module loaded until it is gone:
// a codec may drop its writers before its writer.
class ModuleWriter final : public MediaWriter {
public:
    ModuleWriter(std::unique_ptr<MediaWriter> writer, std::shared_ptr<LoadedLibrary> module)
        : m_module(std::move(module)), m_writer(std::move(writer))
    {
    }

    bool setProfile(const MediaProfile& profile) override { return m_writer->setProfile(profile); }
    bool setOutputFilename(TargetFiles& files, const std::string& path) override
    {
        return m_writer->setOutputFilename(files, path);
    }
    bool setInputFormat(const WaveFormat& format) override
    {
        return m_writer->setInputFormat(format);
    }
    bool beginWriting() override { return m_writer->beginWriting(); }
    std::int32_t writeSample(const std::uint8_t* data, std::size_t bytes,
                             std::uint64_t sampleTime) override
    {
        return m_writer->writeSample(data, bytes, sampleTime);
    }
    void endWriting() override { m_writer->endWriting(); }
    bool writeFailed() const override { return m_writer->writeFailed(); }

private:
    std::shared_ptr<LoadedLibrary> m_module; // declared first: released last
    std::unique_ptr<MediaWriter> m_writer;
};

} // namespace

ModuleMediaWriters::ModuleMediaWriters(std::shared_ptr<LibraryLoader> loader)
    : m_loader(std::move(loader))
{
}

ModuleMediaWriters::~ModuleMediaWriters() = default;

MediaWriters* ModuleMediaWriters::writers() const
{
    std::call_once(m_loadOnce, [this] {
        std::shared_ptr<LoadedLibrary> module = m_loader->loadLibrary(kModuleFile);
        if (!module) {
            return;
        }
        auto entry = reinterpret_cast<EntryPoint>(module->findSymbol(kEntryPoint));
        if (entry == nullptr) {
            return;
        }
        m_writers = entry();
        m_module = std::move(module);
    });
    return m_writers;
}

bool ModuleMediaWriters::installed() const
{
    const MediaWriters* loaded = writers();
    return loaded != nullptr && loaded->installed();
}

std::unique_ptr<MediaWriter> ModuleMediaWriters::createWriter()
{
    MediaWriters* loaded = writers();
    std::unique_ptr<MediaWriter> writer = loaded != nullptr ? loaded->createWriter() : nullptr;
    if (!writer) {
        return nullptr;
    }
    return std::make_unique<ModuleWriter>(std::move(writer), m_module);
}

} // namespace sorvella
