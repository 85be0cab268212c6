#include "platform/compression/TwoLameCompressionDriver.h"

#include "platform/compression/CompressionManager.h"
#include "platform/compression/MpegFormat.h"

#include <twolame.h>

#include <algorithm>
#include <array>
#include <span>

namespace sorvella {

namespace {

// The rates and bit rates of MPEG-1 and MPEG-2 layer 2, as TwoLAME takes
// them (it reports anything else on standard error, so it is never asked).
constexpr std::uint32_t kSampleRates[] = {16000, 22050, 24000, 32000, 44100, 48000};
constexpr std::int32_t kMpeg1Mono[] = {32, 48, 56, 64, 80, 96, 112, 128, 160, 192};
constexpr std::int32_t kMpeg1Stereo[] = {64, 96, 112, 128, 160, 192, 224, 256, 320, 384};
constexpr std::int32_t kMpeg2[] = {8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160};

std::span<const std::int32_t> bitRates(std::uint32_t samplesPerSec, std::uint16_t channels)
{
    if (samplesPerSec < 32000) {
        return kMpeg2;
    }
    return channels == 1 ? std::span<const std::int32_t>(kMpeg1Mono)
                         : std::span<const std::int32_t>(kMpeg1Stereo);
}

constexpr std::uint32_t kFrameSamples = 1152;
// TwoLAME's filter bank holds back this many samples per channel; its flush
// only completes the frame it has begun, so they are pushed out with silence.
constexpr std::uint32_t kDelaySamples = 481;
constexpr std::array<short, 2 * kDelaySamples> kDelaySilence{};

struct TwoLameClose {
    void operator()(twolame_options* options) const { twolame_close(&options); }
};
using TwoLamePtr = std::unique_ptr<twolame_options, TwoLameClose>;

// Options for a run from `sourceChannels` to `channels` at `kbps`, set up;
// null when TwoLAME refuses them.
TwoLamePtr configured(std::uint32_t samplesPerSec, std::uint16_t sourceChannels,
                      std::uint16_t channels, std::int32_t kbps)
{
    TwoLamePtr options(twolame_init());
    if (!options) {
        return nullptr;
    }
    twolame_set_verbosity(options.get(), 0);
    twolame_set_num_channels(options.get(), sourceChannels);
    twolame_set_in_samplerate(options.get(), static_cast<int>(samplesPerSec));
    twolame_set_out_samplerate(options.get(), static_cast<int>(samplesPerSec));
    twolame_set_bitrate(options.get(), kbps);
    if (channels == 1) {
        twolame_set_mode(options.get(), TWOLAME_MONO);
    }
    if (twolame_init_params(options.get()) != 0) {
        return nullptr;
    }
    return options;
}

class TwoLameStream final : public DriverStream {
public:
    TwoLameStream(TwoLamePtr options, std::uint16_t channels)
        : m_options(std::move(options)), m_channels(channels),
          // A padded frame is one byte longer.
          m_frameBytes(static_cast<std::uint32_t>(twolame_get_framelength(m_options.get())) + 1)
    {
    }

    std::int32_t convert(const std::uint8_t* source, std::uint32_t sourceLength,
                         std::uint32_t& sourceUsed, std::uint8_t* destination,
                         std::uint32_t destinationLength, std::uint32_t& destinationUsed,
                         bool end) override
    {
        const std::uint32_t frameBytes = 2U * m_channels;
        // Only as many samples as complete frames that fit; at the end the
        // frames of the samples still held and of the delay need room too.
        std::uint32_t room = destinationLength / m_frameBytes;
        if (end) {
            if (room < 2) {
                return kAcmInvalidParameter;
            }
            room -= 2;
        }
        const std::uint32_t samples =
            std::min(sourceLength / frameBytes, (room + 1) * kFrameSamples - 1 - m_held);
        int written = 0;
        if (samples > 0) {
            written = twolame_encode_buffer_interleaved(
                m_options.get(), reinterpret_cast<const short*>(source), static_cast<int>(samples),
                destination, static_cast<int>(destinationLength));
            if (written < 0) {
                return kAcmError;
            }
        }
        m_held = (m_held + samples) % kFrameSamples;
        sourceUsed = samples * frameBytes;
        destinationUsed = static_cast<std::uint32_t>(written);
        if (end) {
            m_held = 0;
            return finishStream(destination, destinationLength, destinationUsed);
        }
        return kAcmOk;
    }

    std::int32_t close() override
    {
        m_options.reset();
        return kAcmOk;
    }

private:
    // Pushes the held-back samples out and writes the last frames.
    std::int32_t finishStream(std::uint8_t* destination, std::uint32_t destinationLength,
                              std::uint32_t& destinationUsed)
    {
        const auto append = [&destinationUsed](int bytes) {
            if (bytes >= 0) {
                destinationUsed += static_cast<std::uint32_t>(bytes);
            }
            return bytes >= 0;
        };
        const auto room = [&] { return static_cast<int>(destinationLength - destinationUsed); };
        const bool done =
            append(twolame_encode_buffer_interleaved(m_options.get(), kDelaySilence.data(),
                                                     static_cast<int>(kDelaySamples),
                                                     destination + destinationUsed, room())) &&
            append(twolame_encode_flush(m_options.get(), destination + destinationUsed, room()));
        return done ? kAcmOk : kAcmError;
    }

    TwoLamePtr m_options;
    std::uint16_t m_channels;
    std::uint32_t m_frameBytes;
    // Samples per channel that TwoLAME holds towards its next frame.
    std::uint32_t m_held = 0;
};

} // namespace

std::uint16_t TwoLameCompressionDriver::formatTag() const
{
    return kFormatTagMpeg;
}

std::vector<DriverFormat>
TwoLameCompressionDriver::formats(std::optional<std::uint32_t> samplesPerSec,
                                  std::optional<std::uint16_t> channels) const
{
    std::vector<DriverFormat> out;
    for (const std::uint32_t rate : kSampleRates) {
        if (samplesPerSec && *samplesPerSec != rate) {
            continue;
        }
        for (const std::uint16_t count : {std::uint16_t{2}, std::uint16_t{1}}) {
            if (channels && *channels != count) {
                continue;
            }
            for (const std::int32_t kbps : bitRates(rate, count)) {
                out.push_back(mpegFormat(kFormatTagMpeg, rate, count, kbps));
            }
        }
    }
    return out;
}

std::int32_t TwoLameCompressionDriver::open(const WaveFormat& source, const WaveFormat& destination,
                                            bool, std::unique_ptr<DriverStream>& stream)
{
    if (destination.channels > source.channels ||
        destination.samplesPerSec != source.samplesPerSec) {
        return kAcmNotPossible;
    }
    TwoLamePtr options = configured(source.samplesPerSec, source.channels, destination.channels,
                                    mpegBitRate(destination));
    if (!options) {
        return kAcmNotPossible;
    }
    stream = std::make_unique<TwoLameStream>(std::move(options), source.channels);
    return kAcmOk;
}

} // namespace sorvella
