#include "save/CodecCatalogue.h"

#include "core/RecException.h"

namespace sorvella {

CodecCatalogue::CodecCatalogue(const SettingsStore& settings, std::vector<Factory> factories)
    : m_settings(settings), m_factories(std::move(factories))
{
}

std::unique_ptr<Codec> CodecCatalogue::createCodec(std::int32_t number) const
{
    if (number < 1 || static_cast<std::size_t>(number) > m_factories.size()) {
        return nullptr;
    }
    const Factory& factory = m_factories[static_cast<std::size_t>(number) - 1];
    if (!factory) {
        return nullptr;
    }
    try {
        std::unique_ptr<Codec> codec = factory();
        if (codec) {
            codec->loadSettings(m_settings);
        }
        return codec;
    } catch (const RecException&) {
        // A codec that cannot be made is one the system does not have.
        return nullptr;
    }
}

std::vector<std::string> CodecCatalogue::listLines(bool testAll) const
{
    std::vector<std::string> lines;
    for (std::int32_t number = 1;; ++number) {
        const std::unique_ptr<Codec> codec = createCodec(number);
        if (!codec) {
            return lines;
        }
        std::string line = codec->description();
        if (testAll) {
            line += testCodec(number).empty() ? " (installed)" : " (not installed)";
        }
        lines.push_back(std::move(line));
    }
}

std::string CodecCatalogue::testCodec(std::optional<std::int32_t> number) const
{
    const auto failure = [](const std::string& message, const Codec* codec) {
        return "Error initializing Codec:\n" + message + " while testing " +
               (codec != nullptr ? codec->description() : std::string("unknown"));
    };
    if (!number) {
        return failure("Invalid Codec Number", nullptr);
    }
    const std::unique_ptr<Codec> codec = createCodec(*number);
    if (!codec) {
        return failure("Error: no codec", nullptr);
    }
    try {
        codec->test();
    } catch (const RecException& e) {
        return failure(e.message(), codec.get());
    }
    return std::string();
}

} // namespace sorvella
