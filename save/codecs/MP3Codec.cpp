#include "save/codecs/MP3Codec.h"

#include "core/RecException.h"
#include "platform/settings/SettingsStore.h"
#include "save/CodecOptionsUi.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <iostream>
#include <optional>

namespace sorvella {

namespace {

constexpr std::int32_t kBlockSize = 5000;
constexpr std::string_view kQuickCompression = "MP3Codec Quick Compression";

} // namespace

MP3Codec::MP3Codec(std::shared_ptr<CompressionManager> manager)
    : MP3Codec(std::move(manager), kFormatTagMpegLayer3, true, 2)
{
}

MP3Codec::MP3Codec(std::shared_ptr<CompressionManager> manager, std::uint16_t formatTag,
                   bool quickCompression, int sampleRatePasses)
    : m_manager(std::move(manager)), m_formatTag(formatTag), m_quickCompression(quickCompression),
      m_sampleRatePasses(sampleRatePasses)
{
}

MP3Codec::MP3Codec(const MP3Codec& other)
    : Codec(other), m_manager(other.m_manager), m_formatTag(other.m_formatTag),
      m_quickCompression(other.m_quickCompression), m_sampleRatePasses(other.m_sampleRatePasses)
{
}

std::string MP3Codec::extension() const
{
    return "mp3";
}

void MP3Codec::saveSettings(SettingsStore& settings) const
{
    settings.writeInt(kDefaultSettingsSection, kQuickCompression, m_quickCompression ? 1 : 0);
}

void MP3Codec::loadSettings(const SettingsStore& settings)
{
    std::int32_t value = m_quickCompression ? 1 : 0;
    settings.readInt(kDefaultSettingsSection, kQuickCompression, value);
    m_quickCompression = value != 0;
}

void MP3Codec::configure(CodecOptionsUi& ui)
{
    ui.editMp3Options(m_quickCompression);
}

std::string MP3Codec::description() const
{
    return "MP3 ACM Codec";
}

std::string MP3Codec::fileTypeName() const
{
    return "MP3 Format / system codec";
}

std::unique_ptr<Codec> MP3Codec::clone() const
{
    return std::unique_ptr<Codec>(new MP3Codec(*this));
}

std::int32_t MP3Codec::inputBlockSize(std::int32_t, const WaveFormat&)
{
    return kBlockSize;
}

// Format numbers count the manager's formats at the full rate, then (with two
// passes) those at half the rate.
std::string MP3Codec::describeFormat(std::int32_t formatNumber, const WaveFormat& inputFormat,
                                     WaveFormat& formatBuffer, std::int32_t bufferSize)
{
    std::int32_t remaining = formatNumber;
    std::string lastFormatLabel;
    for (int divisor = 1; divisor <= m_sampleRatePasses && remaining > 0; ++divisor) {
        FormatDetails details;
        details.format = &formatBuffer;
        details.formatSize = bufferSize;
        formatBuffer.samplesPerSec =
            inputFormat.samplesPerSec / static_cast<std::uint32_t>(divisor);
        formatBuffer.blockAlign = inputFormat.blockAlign;
        formatBuffer.formatTag = m_formatTag;
        formatBuffer.channels = inputFormat.channels;
        std::uint32_t flags = kEnumByFormatTag | kEnumBySampleRate;
        if (inputFormat.channels == 1) {
            flags |= kEnumByChannels;
        }
        m_manager->formatEnum(
            details,
            [&](const FormatDetails& format) {
                --remaining;
                lastFormatLabel = format.description;
                return remaining > 0;
            },
            flags);
    }
    // Numbers from 1 only: a lower one would stop at the first format listed.
    if (remaining > 0 || formatNumber < 1) {
        throw RecException("MP3-Codec: no such Format");
    }
    std::string label = extension();
    std::transform(label.begin(), label.end(), label.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return label + " [" + lastFormatLabel + "]";
}

void MP3Codec::start(std::int32_t formatNumber, const WaveFormat& inputFormat)
{
    std::optional<WaveFormat> outputFormat;
    queryFormat(formatNumber, inputFormat, &outputFormat);
    m_stream.reset();
    const std::uint32_t openFlags = m_quickCompression ? 0 : kOpenNonRealTime;
    std::int32_t result = m_manager->streamOpen(m_stream, inputFormat, *outputFormat, openFlags);
    if (result == kAcmNotPossible && m_quickCompression) {
        result = m_manager->streamOpen(m_stream, inputFormat, *outputFormat, kOpenNonRealTime);
    }
    if (result != kAcmOk) {
        finish();
        char numbers[64];
        std::snprintf(numbers, sizeof numbers, "%d:%d-%d:%d", formatNumber, result,
                      static_cast<int>(inputFormat.avgBytesPerSec),
                      static_cast<int>(outputFormat->avgBytesPerSec));
        throw RecException(RecException::OpenFailure,
                           std::string("ACM codec: unable to start compression (") + numbers + ")");
    }
}

void MP3Codec::buffersAllocated(std::uint8_t* inputBuffer, std::int32_t inputSize,
                                std::uint8_t* outputBuffer, std::int32_t outputSize)
{
    m_header = StreamHeader{};
    m_header.source = inputBuffer;
    m_header.sourceLength = static_cast<std::uint32_t>(inputSize);
    m_header.destination = outputBuffer;
    m_header.destinationLength = static_cast<std::uint32_t>(outputSize);
    if (m_stream->prepareHeader(m_header) != kAcmOk) {
        throw RecException("prepareHeader failed");
    }
}

void MP3Codec::encode(const std::uint8_t*, std::int32_t& inputLength, std::uint8_t*,
                      std::int32_t& outputLength, bool isLast)
{
    m_header.sourceUsed = 0;
    m_header.destinationUsed = 0;
    m_header.sourceLength = static_cast<std::uint32_t>(inputLength);
    const std::uint32_t flags = isLast ? kConvertEnd : kConvertBlockAlign;
    if (m_stream->convert(m_header, flags) != kAcmOk) {
        throw RecException("conversion failed");
    }
    outputLength = static_cast<std::int32_t>(m_header.destinationUsed);
    inputLength -= static_cast<std::int32_t>(m_header.sourceUsed);
}

void MP3Codec::buffersReleasing(std::uint8_t*, std::int32_t, std::uint8_t*, std::int32_t)
{
    if (m_stream) {
        m_stream->unprepareHeader(m_header);
    }
}

// Runs on the save thread, where no window can be shown: a failed close
// (the file is written by then) is reported on standard error.
void MP3Codec::finish()
{
    if (m_stream && m_stream->close() != kAcmOk) {
        std::cerr << "ACM-Conversion: ACM-Close-Error\n";
    }
    m_stream.reset();
}

} // namespace sorvella
