#include "save/codecs/OggCodec.h"

#include "core/RecException.h"
#include "save/codecs/VorbisEncoder.h"

#include <array>
#include <ctime>
#include <limits>
#include <random>

namespace sorvella {

namespace {

constexpr std::int32_t kBlockSize = 5000;
constexpr std::int64_t kBitsPerKBit = 1024;
constexpr std::int64_t kAnyMore = std::numeric_limits<std::int64_t>::max();
constexpr std::int64_t kAnyLess = std::numeric_limits<std::int64_t>::min();

// A bit rate is offered when v = (rate / 2) * channels lies strictly between
// `above` and `below`.
struct BitRateRow {
    std::int64_t above;
    std::int64_t below;
    std::int64_t kBit;
};

constexpr std::array<BitRateRow, 12> kBitRates{{
    {44099, kAnyMore, 300},
    {44099, kAnyMore, 256},
    {33099, kAnyMore, 192},
    {21999, kAnyMore, 160},
    {21999, kAnyMore, 128},
    {15999, kAnyMore, 112},
    {10999, kAnyMore, 96},
    {6999, kAnyMore, 64},
    {6999, kAnyMore, 48},
    {kAnyLess, 23001, 32},
    {kAnyLess, 20001, 24},
    {kAnyLess, 15001, 16},
}};

// Bits per second of format `formatNumber`; raises past the rows that apply.
std::int64_t bitRate(std::int32_t formatNumber, const WaveFormat& inputFormat)
{
    const std::int64_t v = std::int64_t{inputFormat.samplesPerSec / 2} * inputFormat.channels;
    std::int32_t number = 0;
    for (const BitRateRow& row : kBitRates) {
        if (v > row.above && v < row.below && ++number == formatNumber) {
            return row.kBit * kBitsPerKBit;
        }
    }
    throw RecException("Ogg codec: unsupported bitrate");
}

// The stream's serial number: different for saves made at different times.
int serialNumber()
{
    std::minstd_rand generator(static_cast<std::minstd_rand::result_type>(std::time(nullptr)));
    return std::uniform_int_distribution<int>(0, 32767)(generator);
}

} // namespace

OggCodec::OggCodec() = default;

OggCodec::~OggCodec() = default;

// A clone starts closed: only the settings would be copied, and there are none.
OggCodec::OggCodec(const OggCodec& other) : Codec(other), m_stereo(other.m_stereo) {}

std::string OggCodec::extension() const
{
    return "ogg";
}

std::string OggCodec::description() const
{
    return "Internal Ogg-Vorbis Codec";
}

std::string OggCodec::fileTypeName() const
{
    return "OGG Format";
}

std::unique_ptr<Codec> OggCodec::clone() const
{
    return std::unique_ptr<Codec>(new OggCodec(*this));
}

std::int32_t OggCodec::inputBlockSize(std::int32_t, const WaveFormat&)
{
    return kBlockSize;
}

std::string OggCodec::describeFormat(std::int32_t formatNumber, const WaveFormat& inputFormat,
                                     WaveFormat& formatBuffer, std::int32_t)
{
    const std::int64_t bits = bitRate(formatNumber, inputFormat);
    formatBuffer.formatTag = 0;
    formatBuffer.channels = inputFormat.channels;
    formatBuffer.samplesPerSec = inputFormat.samplesPerSec;
    formatBuffer.blockAlign = inputFormat.blockAlign;
    formatBuffer.avgBytesPerSec = static_cast<std::uint32_t>(bits / 8);
    formatBuffer.extra.clear();
    return "OGG [" + std::to_string(bits / kBitsPerKBit) + " kBit/s]";
}

void OggCodec::start(std::int32_t formatNumber, const WaveFormat& inputFormat)
{
    const std::int64_t bits = bitRate(formatNumber, inputFormat);
    m_stereo = inputFormat.channels == 2;
    m_encoder = std::make_unique<VorbisEncoder>(m_stereo ? 2 : 1,
                                                static_cast<long>(inputFormat.samplesPerSec),
                                                static_cast<long>(bits), serialNumber());
    m_pages.reset();
    m_headersPending = true;
}

void OggCodec::encode(const std::uint8_t* input, std::int32_t& inputLength, std::uint8_t* output,
                      std::int32_t& outputLength, bool isLast)
{
    m_pages.begin(output, outputLength);
    if (m_headersPending) {
        m_encoder->writeHeaders(m_pages);
        m_headersPending = false;
    }
    const std::int32_t frameBytes = m_stereo ? 4 : 2;
    m_encoder->encode(input, inputLength / frameBytes, isLast, m_pages);
    // Pages that did not fit go out with the next block; after the last one
    // there is none, and a file without its end must not pass as complete.
    if (isLast && m_pages.hasQueued()) {
        throw RecException("Ogg codec: output buffer too small");
    }
    outputLength = m_pages.written();
    inputLength = 0;
}

void OggCodec::finish()
{
    m_encoder.reset();
    m_pages.reset();
}

} // namespace sorvella
