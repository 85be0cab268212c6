#pragma once

#include "save/Codec.h"
#include "save/codecs/EncoderLibraryInterface.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>

namespace sorvella {

class LibraryLoader;
class LoadedLibrary;

// MP3 through an encoder library that the user provides, loaded by file name
// on first use and held for as long as this codec (or a clone) lives. Offers
// 14 constant bit rates for recordings at 32000, 44100 or 48000 Hz.
class EncoderLibraryCodec : public Codec {
public:
    // What tells one library's codec from another's.
    struct Texts {
        std::string libraryFile;
        std::string description;
        std::string fileTypeName;
        // The library's short name in format labels.
        std::string libraryName;
    };

    std::string description() const override;
    std::string fileTypeName() const override;
    virtual std::string libraryName() const;

protected:
    EncoderLibraryCodec(Texts texts, std::shared_ptr<LibraryLoader> loader);
    // Settings, library and entry points; the base part is new.
    EncoderLibraryCodec(const EncoderLibraryCodec&) = default;

    std::int32_t inputBlockSize(std::int32_t formatNumber, const WaveFormat& inputFormat) override;
    void finish() override;
    void encode(const std::uint8_t* input, std::int32_t& inputLength, std::uint8_t* output,
                std::int32_t& outputLength, bool isLast) override;
    void start(std::int32_t formatNumber, const WaveFormat& inputFormat) override;
    std::string describeFormat(std::int32_t formatNumber, const WaveFormat& inputFormat,
                               WaveFormat& formatBuffer, std::int32_t bufferSize) override;
    void buffersAllocated(std::uint8_t* inputBuffer, std::int32_t inputSize,
                          std::uint8_t* outputBuffer, std::int32_t outputSize) override;

private:
    struct EntryPoints {
        be::InitStream beInitStream = nullptr;
        be::EncodeChunk beEncodeChunk = nullptr;
        be::DeinitStream beDeinitStream = nullptr;
        be::CloseStream beCloseStream = nullptr;
        be::GetVersion beVersion = nullptr;
    };

    void loadLibrary();

    Texts m_texts;
    std::array<std::uint8_t, be::kConfigSize> m_config{};
    std::uint32_t m_samplesPerChunk = 0;
    std::uint32_t m_libraryBufferSize = 0;
    be::Stream m_stream = 0;
    EntryPoints m_entryPoints;
    std::shared_ptr<LibraryLoader> m_loader;
    std::shared_ptr<LoadedLibrary> m_library;
};

} // namespace sorvella
