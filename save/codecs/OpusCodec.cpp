#include "save/codecs/OpusCodec.h"

#include "core/LittleEndian.h"
#include "core/RecException.h"
#include "save/codecs/CallbackTarget.h"

#include <array>
#include <span>

namespace sorvella {

namespace {

constexpr std::int32_t kFramesPerBlock = 4096;
constexpr std::int64_t kBitsPerKBit = 1000;

// kBit/s, the usual choice first. Mono needs about half of stereo's rate
// for the same quality, and gains nothing above 128.
constexpr std::array<std::int64_t, 8> kStereoRates{96, 32, 48, 64, 128, 160, 192, 256};
constexpr std::array<std::int64_t, 5> kMonoRates{64, 32, 48, 96, 128};

std::int64_t kBitOf(std::int32_t formatNumber, const WaveFormat& input)
{
    const std::span<const std::int64_t> rates = input.channels == 1
                                                    ? std::span<const std::int64_t>(kMonoRates)
                                                    : std::span<const std::int64_t>(kStereoRates);
    if (formatNumber < 1 || formatNumber > static_cast<std::int32_t>(rates.size())) {
        throw RecException("Opus codec: no such format");
    }
    return rates[static_cast<std::size_t>(formatNumber - 1)];
}

// The encoder takes any rate; the recording has 16-bit mono or stereo.
void requireAccepted(const WaveFormat& input)
{
    if (input.bitsPerSample != 16 || input.channels < 1 || input.channels > 2 ||
        input.samplesPerSec == 0) {
        throw RecException(RecException::OpenFailure,
                           "Opus codec: Opus cannot store sound of " +
                               std::to_string(input.samplesPerSec) + " Hz, " +
                               std::to_string(input.bitsPerSample) + " bits, " +
                               std::to_string(input.channels) + " channels");
    }
}

int writeBytes(void* userData, const unsigned char* bytes, opus_int32 length)
{
    return static_cast<CallbackTarget*>(userData)->write(bytes, static_cast<std::size_t>(length))
               ? 0
               : 1;
}

// The codec closes the file itself, after the encoder is gone.
int keepOpen(void*)
{
    return 0;
}

struct CommentsDeleter {
    void operator()(OggOpusComments* comments) const { ope_comments_destroy(comments); }
};

} // namespace

OpusCodec::OpusCodec() = default;

OpusCodec::~OpusCodec() = default;

// A clone starts closed: there are no settings to copy.
OpusCodec::OpusCodec(const OpusCodec& other) : Codec(other) {}

std::string OpusCodec::extension() const
{
    return "opus";
}

std::string OpusCodec::description() const
{
    return "Internal Ogg-Opus Codec";
}

std::string OpusCodec::fileTypeName() const
{
    return "Opus Format";
}

std::unique_ptr<Codec> OpusCodec::clone() const
{
    return std::unique_ptr<Codec>(new OpusCodec(*this));
}

bool OpusCodec::writesOwnFile() const
{
    return true;
}

std::int32_t OpusCodec::inputBlockSize(std::int32_t, const WaveFormat& inputFormat)
{
    return kFramesPerBlock * inputFormat.blockAlign;
}

// The file decodes at 48 kHz whatever the recording's rate.
std::string OpusCodec::describeFormat(std::int32_t formatNumber, const WaveFormat& inputFormat,
                                      WaveFormat& formatBuffer, std::int32_t)
{
    const std::int64_t kBit = kBitOf(formatNumber, inputFormat);
    requireAccepted(inputFormat);
    formatBuffer.formatTag = 0;
    formatBuffer.channels = inputFormat.channels;
    formatBuffer.samplesPerSec = 48000;
    formatBuffer.blockAlign = inputFormat.blockAlign;
    formatBuffer.bitsPerSample = inputFormat.bitsPerSample;
    formatBuffer.avgBytesPerSec = static_cast<std::uint32_t>(kBit * kBitsPerKBit / 8);
    formatBuffer.extra.clear();
    return "Opus [" + std::to_string(kBit) + " kBit/s]";
}

void OpusCodec::start(std::int32_t formatNumber, const WaveFormat& inputFormat)
{
    const std::int64_t kBit = kBitOf(formatNumber, inputFormat);
    requireAccepted(inputFormat);
    const std::unique_ptr<OggOpusComments, CommentsDeleter> comments(ope_comments_create());
    if (!comments) {
        throw RecException("Opus codec: out of memory");
    }
    auto target = std::make_unique<CallbackTarget>(targetFiles(), fileName());
    const OpusEncCallbacks callbacks{writeBytes, keepOpen};
    int result = OPE_OK;
    std::unique_ptr<OggOpusEnc, EncoderDeleter> encoder(ope_encoder_create_callbacks(
        &callbacks, target.get(), comments.get(),
        static_cast<opus_int32>(inputFormat.samplesPerSec), inputFormat.channels, 0, &result));
    if (encoder && result == OPE_OK) {
        result = ope_encoder_ctl(encoder.get(),
                                 OPUS_SET_BITRATE(static_cast<opus_int32>(kBit * kBitsPerKBit)));
    }
    if (!encoder || result != OPE_OK) {
        throw RecException(RecException::OpenFailure,
                           std::string("Opus codec: ") + ope_strerror(result));
    }
    m_frameBytes = inputFormat.blockAlign;
    m_samples.assign(static_cast<std::size_t>(kFramesPerBlock) * inputFormat.channels, 0);
    m_target = std::move(target);
    m_encoder = std::move(encoder);
}

void OpusCodec::encode(const std::uint8_t* input, std::int32_t& inputLength, std::uint8_t*,
                       std::int32_t& outputLength, bool isLast)
{
    outputLength = 0;
    m_target->raiseIfFailed();
    const std::int32_t frames = inputLength / m_frameBytes;
    const std::int32_t samples = inputLength / 2;
    for (std::int32_t i = 0; i < samples; ++i) {
        m_samples[static_cast<std::size_t>(i)] =
            le::sample(input + 2 * static_cast<std::ptrdiff_t>(i));
    }
    check(ope_encoder_write(m_encoder.get(), m_samples.data(), frames));
    if (isLast) {
        // The last page states where the sound ends: the decoder drops the
        // padding of the last packet.
        check(ope_encoder_drain(m_encoder.get()));
    }
    inputLength = isLast ? 0 : inputLength - frames * m_frameBytes;
}

void OpusCodec::finish()
{
    m_encoder.reset();
    m_samples = {};
    const std::unique_ptr<CallbackTarget> target = std::move(m_target);
    if (target) {
        target->close();
    }
}

void OpusCodec::check(int result) const
{
    m_target->raiseIfFailed();
    if (result != OPE_OK) {
        throw RecException(std::string("Opus codec: ") + ope_strerror(result));
    }
}

} // namespace sorvella
