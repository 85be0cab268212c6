#include "save/codecs/EncoderLibraryCodec.h"

#include "core/LittleEndian.h"
#include "core/RecException.h"
#include "platform/system/LibraryLoader.h"

#include <limits>

namespace sorvella {

namespace {

constexpr std::int32_t kBitRates[] = {32,  40,  48,  56,  64,  80,  96,
                                      112, 128, 160, 192, 224, 256, 320};
constexpr std::uint16_t kMpegLayer3 = 85;
// Room the base adds to the output buffer beyond the input block.
constexpr std::int64_t kOutputMargin = 10000;

std::int32_t bitRate(std::int32_t formatNumber)
{
    if (formatNumber < 1 || formatNumber > static_cast<std::int32_t>(std::size(kBitRates))) {
        throw RecException("Blade-compatible codec: invalid bitrate");
    }
    return kBitRates[formatNumber - 1];
}

void checkSampleRate(const WaveFormat& inputFormat)
{
    const std::uint32_t rate = inputFormat.samplesPerSec;
    if (rate != 32000 && rate != 44100 && rate != 48000) {
        throw RecException("Blade-Interface supports only 32000 44100 and 48000 kbps");
    }
}

template <typename Function> Function entryPoint(const LoadedLibrary& library, const char* name)
{
    return reinterpret_cast<Function>(library.findSymbol(name));
}

} // namespace

EncoderLibraryCodec::EncoderLibraryCodec(Texts texts, std::shared_ptr<LibraryLoader> loader)
    : m_texts(std::move(texts)), m_loader(std::move(loader))
{
}

std::string EncoderLibraryCodec::description() const
{
    return m_texts.description;
}

std::string EncoderLibraryCodec::fileTypeName() const
{
    return m_texts.fileTypeName;
}

std::string EncoderLibraryCodec::libraryName() const
{
    return m_texts.libraryName;
}

// Entry points are taken all or none: a library that lacks one is never
// half used.
void EncoderLibraryCodec::loadLibrary()
{
    if (m_entryPoints.beInitStream != nullptr) {
        return;
    }
    std::shared_ptr<LoadedLibrary> library = m_loader->loadLibrary(m_texts.libraryFile);
    if (!library) {
        throw RecException("cannot load encoder library: " + m_texts.libraryFile +
                           "\nNote, that you have to provide this library seperately - it is not "
                           "included with Sorvella. Read Help for more details.");
    }
    const EntryPoints found{
        entryPoint<be::InitStream>(*library, "beInitStream"),
        entryPoint<be::EncodeChunk>(*library, "beEncodeChunk"),
        entryPoint<be::DeinitStream>(*library, "beDeinitStream"),
        entryPoint<be::CloseStream>(*library, "beCloseStream"),
        entryPoint<be::GetVersion>(*library, "beVersion"),
    };
    if (!found.beInitStream || !found.beEncodeChunk || !found.beDeinitStream ||
        !found.beCloseStream || !found.beVersion) {
        throw RecException("encoder library has wrong format");
    }
    be::Version scratch{};
    found.beVersion(&scratch);
    m_library = std::move(library);
    m_entryPoints = found;
}

std::string EncoderLibraryCodec::describeFormat(std::int32_t formatNumber,
                                                const WaveFormat& inputFormat,
                                                WaveFormat& formatBuffer, std::int32_t)
{
    loadLibrary();
    checkSampleRate(inputFormat);
    const std::int32_t kbps = bitRate(formatNumber);
    formatBuffer.formatTag = kMpegLayer3;
    formatBuffer.channels = inputFormat.channels;
    formatBuffer.samplesPerSec = inputFormat.samplesPerSec;
    formatBuffer.blockAlign = inputFormat.blockAlign;
    formatBuffer.avgBytesPerSec = static_cast<std::uint32_t>(kbps * 1000 / 8);
    formatBuffer.extra.clear();
    return "MP3(" + libraryName() + ") [" + std::to_string(kbps) + " kBit/s," +
           std::to_string(inputFormat.samplesPerSec) + " kHz," +
           (inputFormat.channels == 2 ? "stereo" : "mono") + "]";
}

void EncoderLibraryCodec::start(std::int32_t formatNumber, const WaveFormat& inputFormat)
{
    loadLibrary();
    // The libraries take no other rate; better said here than by the library.
    checkSampleRate(inputFormat);
    m_config.fill(0);
    le::write(&m_config[be::kConfigKindAt], 0, 4);
    le::write(&m_config[be::kConfigSampleRateAt], inputFormat.samplesPerSec, 4);
    m_config[be::kConfigModeAt] = inputFormat.channels == 2 ? be::kModeStereo : be::kModeMono;
    le::write(&m_config[be::kConfigBitRateAt], static_cast<std::uint32_t>(bitRate(formatNumber)),
              2);
    m_samplesPerChunk = 0;
    m_libraryBufferSize = 0;
    m_stream = 0;
    if (m_entryPoints.beInitStream(m_config.data(), &m_samplesPerChunk, &m_libraryBufferSize,
                                   &m_stream) != 0) {
        throw RecException("blade-compatible codec: initialization failed");
    }
}

std::int32_t EncoderLibraryCodec::inputBlockSize(std::int32_t, const WaveFormat&)
{
    // A chunk too large for the buffers is refused by the base as size 0.
    const std::int64_t bytes = 2 * static_cast<std::int64_t>(m_samplesPerChunk);
    return bytes + kOutputMargin <= std::numeric_limits<std::int32_t>::max()
               ? static_cast<std::int32_t>(bytes)
               : 0;
}

// The library writes a chunk's output without being told the room: the
// output buffer must hold what the library said it needs.
void EncoderLibraryCodec::buffersAllocated(std::uint8_t*, std::int32_t, std::uint8_t*,
                                           std::int32_t outputSize)
{
    if (static_cast<std::int64_t>(outputSize) < static_cast<std::int64_t>(m_libraryBufferSize)) {
        throw RecException("blade-compatible codec: output buffer too small");
    }
}

void EncoderLibraryCodec::encode(const std::uint8_t* input, std::int32_t& inputLength,
                                 std::uint8_t* output, std::int32_t& outputLength, bool isLast)
{
    const auto room = static_cast<std::uint32_t>(outputLength);
    std::uint32_t written = 0;
    if (m_entryPoints.beEncodeChunk(m_stream, static_cast<std::uint32_t>(inputLength) / 2,
                                    reinterpret_cast<const std::int16_t*>(input), output,
                                    &written) != 0) {
        throw RecException("blade-compatible codec: coding data failed");
    }
    if (written > room) {
        throw RecException("blade-compatible codec: coding data failed");
    }
    if (isLast) {
        std::uint32_t more = room - written;
        if (m_entryPoints.beDeinitStream(m_stream, output + written, &more) != 0 ||
            more > room - written) {
            throw RecException("blade-compatible codec: coding data (last part) failed");
        }
        written += more;
    }
    outputLength = static_cast<std::int32_t>(written);
    inputLength = 0;
}

void EncoderLibraryCodec::finish()
{
    // Its result tells nothing the save could act on.
    m_entryPoints.beCloseStream(m_stream);
    m_stream = 0;
}

} // namespace sorvella
