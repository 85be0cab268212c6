#include "save/codecs/FlacCodec.h"

#include "core/RecException.h"

#include <array>

namespace sorvella {

namespace {

// The `flac` tool's default first, then the fastest and the smallest.
constexpr std::array<unsigned, 3> kLevels{5, 0, 8};
constexpr unsigned kBitsPerSample = 16;

unsigned levelOf(std::int32_t formatNumber)
{
    if (formatNumber < 1 || formatNumber > static_cast<std::int32_t>(kLevels.size())) {
        throw RecException("FLAC codec: no such format");
    }
    return kLevels.at(static_cast<std::size_t>(formatNumber - 1));
}

// libFLAC would take more channels and other sample sizes; the recording has
// 16-bit mono or stereo, and nothing else is converted here.
void requireAccepted(const WaveFormat& input)
{
    if (input.bitsPerSample != kBitsPerSample || input.channels < 1 || input.channels > 2 ||
        FLAC__format_sample_rate_is_valid(input.samplesPerSec) == 0) {
        throw RecException(RecException::OpenFailure,
                           "FLAC codec: FLAC cannot store sound of " +
                               std::to_string(input.samplesPerSec) + " Hz, " +
                               std::to_string(input.bitsPerSample) + " bits, " +
                               std::to_string(input.channels) + " channels");
    }
}

CallbackTarget& targetOf(void* clientData)
{
    return *static_cast<CallbackTarget*>(clientData);
}

FLAC__StreamEncoderWriteStatus writeBytes(const FLAC__StreamEncoder*, const FLAC__byte buffer[],
                                          size_t bytes, uint32_t, uint32_t, void* clientData)
{
    return targetOf(clientData).write(buffer, bytes)
               ? FLAC__STREAM_ENCODER_WRITE_STATUS_OK
               : FLAC__STREAM_ENCODER_WRITE_STATUS_FATAL_ERROR;
}

FLAC__StreamEncoderSeekStatus seekTo(const FLAC__StreamEncoder*, FLAC__uint64 offset,
                                     void* clientData)
{
    return targetOf(clientData).seek(static_cast<std::int64_t>(offset))
               ? FLAC__STREAM_ENCODER_SEEK_STATUS_OK
               : FLAC__STREAM_ENCODER_SEEK_STATUS_ERROR;
}

FLAC__StreamEncoderTellStatus tell(const FLAC__StreamEncoder*, FLAC__uint64* offset,
                                   void* clientData)
{
    *offset = static_cast<FLAC__uint64>(targetOf(clientData).position());
    return FLAC__STREAM_ENCODER_TELL_STATUS_OK;
}

} // namespace

FlacCodec::FlacCodec() : CallbackCodec({"flac", "Internal FLAC Codec (lossless)", "FLAC Format"}) {}

FlacCodec::~FlacCodec() = default;

FlacCodec::FlacCodec(const FlacCodec& other) : CallbackCodec(other) {}

std::unique_ptr<Codec> FlacCodec::clone() const
{
    return std::unique_ptr<Codec>(new FlacCodec(*this));
}

// A lossless format has no bit rate of its own: none is stated, so no bit
// rate of the command line selects it.
std::string FlacCodec::describeFormat(std::int32_t formatNumber, const WaveFormat& inputFormat,
                                      WaveFormat& formatBuffer, std::int32_t)
{
    const unsigned level = levelOf(formatNumber);
    requireAccepted(inputFormat);
    formatBuffer = inputFormat;
    formatBuffer.formatTag = 0;
    formatBuffer.avgBytesPerSec = 0;
    formatBuffer.extra.clear();
    return "FLAC [level " + std::to_string(level) + "]";
}

void FlacCodec::startEncoder(std::int32_t formatNumber, const WaveFormat& inputFormat,
                             CallbackTarget& target)
{
    std::unique_ptr<FLAC__StreamEncoder, EncoderDeleter> encoder(FLAC__stream_encoder_new());
    if (!encoder) {
        throw RecException("FLAC codec: out of memory");
    }
    FLAC__StreamEncoder* e = encoder.get();
    FLAC__stream_encoder_set_channels(e, inputFormat.channels);
    FLAC__stream_encoder_set_bits_per_sample(e, kBitsPerSample);
    FLAC__stream_encoder_set_sample_rate(e, inputFormat.samplesPerSec);
    FLAC__stream_encoder_set_compression_level(e, levelOf(formatNumber));
    // The header goes out now; seek and tell let the encoder come back to it.
    const FLAC__StreamEncoderInitStatus status =
        FLAC__stream_encoder_init_stream(e, writeBytes, seekTo, tell, nullptr, &target);
    if (status != FLAC__STREAM_ENCODER_INIT_STATUS_OK) {
        throw RecException(RecException::OpenFailure,
                           std::string("FLAC codec: ") +
                               FLAC__StreamEncoderInitStatusString[status]);
    }
    m_channels = inputFormat.channels;
    m_encoder = std::move(encoder);
}

void FlacCodec::encodeSamples(const std::int16_t* samples, std::int32_t frames, bool)
{
    m_wide.assign(samples, samples + static_cast<std::ptrdiff_t>(frames) * m_channels);
    if (FLAC__stream_encoder_process_interleaved(m_encoder.get(), m_wide.data(),
                                                 static_cast<uint32_t>(frames)) == 0) {
        const FLAC__StreamEncoderState state = FLAC__stream_encoder_get_state(m_encoder.get());
        raiseFailure(std::string("FLAC codec: ") + FLAC__StreamEncoderStateString[state]);
    }
}

// The encoder writes its last frame and rewrites STREAMINFO here; after a
// failed write it leaves STREAMINFO as it was (length and signature unknown),
// which keeps the frames before it decodable.
std::string FlacCodec::finishEncoder()
{
    const bool finished = !m_encoder || FLAC__stream_encoder_finish(m_encoder.get()) != 0;
    m_encoder.reset();
    m_wide = {};
    return finished ? std::string() : "FLAC codec: the file could not be finished";
}

} // namespace sorvella
