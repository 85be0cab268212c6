#include "save/codecs/OpusCodec.h"

#include "core/RecException.h"

#include <array>
#include <span>

namespace sorvella {

namespace {

constexpr std::int64_t kBitsPerKBit = 1000;
constexpr std::uint32_t kDecodedRate = 48000;

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

OpusCodec::OpusCodec() : CallbackCodec({"opus", "Internal Ogg-Opus Codec", "Opus Format"}) {}

OpusCodec::~OpusCodec() = default;

OpusCodec::OpusCodec(const OpusCodec& other) : CallbackCodec(other) {}

std::unique_ptr<Codec> OpusCodec::clone() const
{
    return std::unique_ptr<Codec>(new OpusCodec(*this));
}

// The file decodes at 48 kHz whatever the recording's rate.
std::string OpusCodec::describeFormat(std::int32_t formatNumber, const WaveFormat& inputFormat,
                                      WaveFormat& formatBuffer, std::int32_t)
{
    const std::int64_t kBit = kBitOf(formatNumber, inputFormat);
    requireAccepted(inputFormat);
    formatBuffer = inputFormat;
    formatBuffer.formatTag = 0;
    formatBuffer.samplesPerSec = kDecodedRate;
    formatBuffer.avgBytesPerSec = static_cast<std::uint32_t>(kBit * kBitsPerKBit / 8);
    formatBuffer.extra.clear();
    return "Opus [" + std::to_string(kBit) + " kBit/s]";
}

void OpusCodec::startEncoder(std::int32_t formatNumber, const WaveFormat& inputFormat,
                             CallbackTarget& target)
{
    const std::unique_ptr<OggOpusComments, CommentsDeleter> comments(ope_comments_create());
    if (!comments) {
        throw RecException("Opus codec: out of memory");
    }
    const OpusEncCallbacks callbacks{writeBytes, keepOpen};
    int result = OPE_OK;
    std::unique_ptr<OggOpusEnc, EncoderDeleter> encoder(ope_encoder_create_callbacks(
        &callbacks, &target, comments.get(), static_cast<opus_int32>(inputFormat.samplesPerSec),
        inputFormat.channels, 0, &result));
    const auto bits = static_cast<opus_int32>(kBitOf(formatNumber, inputFormat) * kBitsPerKBit);
    if (encoder && result == OPE_OK) {
        result = ope_encoder_ctl(encoder.get(), OPUS_SET_BITRATE(bits));
    }
    if (!encoder || result != OPE_OK) {
        throw RecException(RecException::OpenFailure,
                           std::string("Opus codec: ") + ope_strerror(result));
    }
    m_encoder = std::move(encoder);
}

void OpusCodec::encodeSamples(const std::int16_t* samples, std::int32_t frames, bool isLast)
{
    check(ope_encoder_write(m_encoder.get(), samples, frames));
    if (isLast) {
        // The last page states where the sound ends: the decoder drops the
        // padding of the last packet.
        check(ope_encoder_drain(m_encoder.get()));
    }
}

std::string OpusCodec::finishEncoder()
{
    m_encoder.reset();
    return {};
}

void OpusCodec::check(int result) const
{
    if (result != OPE_OK) {
        raiseFailure(std::string("Opus codec: ") + ope_strerror(result));
    }
}

} // namespace sorvella
