#include "platform/compression/LameCompressionDriver.h"

#include "platform/compression/CompressionManager.h"
#include "platform/compression/LameSetup.h"
#include "platform/compression/MpegFormat.h"

#include <algorithm>

namespace sorvella {

namespace {

// LAME's table versions: MPEG-1, MPEG-2, MPEG-2.5; three sample rates each.
constexpr int kMpegVersions[] = {1, 0, 2};
constexpr int kRatesPerVersion = 3;
constexpr int kBitRateIndices = 15;

struct LameClose {
    void operator()(lame_global_flags* flags) const { lame_close(flags); }
};
using LamePtr = std::unique_ptr<lame_global_flags, LameClose>;

class LameStream final : public DriverStream {
public:
    LameStream(LamePtr lame, std::uint16_t channels) : m_lame(std::move(lame)), m_channels(channels)
    {
    }

    std::int32_t convert(const std::uint8_t* source, std::uint32_t sourceLength,
                         std::uint32_t& sourceUsed, std::uint8_t* destination,
                         std::uint32_t destinationLength, std::uint32_t& destinationUsed,
                         bool end) override
    {
        const std::uint32_t frameBytes = 2U * m_channels;
        std::uint32_t frames = sourceLength / frameBytes;
        // Never more than the destination can take in the worst case: LAME
        // would take the samples and then fail to hand their bytes over.
        if (lame::worstCaseBytes(frames) > destinationLength) {
            frames = destinationLength > lame::kFixedMargin
                         ? std::min(frames, (destinationLength - lame::kFixedMargin) * 4 / 5)
                         : 0;
        }
        int written = 0;
        if (frames > 0) {
            const auto* pcm = reinterpret_cast<const short*>(source);
            const auto size = static_cast<int>(destinationLength);
            written =
                m_channels == 2
                    ? lame_encode_buffer_interleaved(m_lame.get(), const_cast<short*>(pcm),
                                                     static_cast<int>(frames), destination, size)
                    : lame_encode_buffer(m_lame.get(), pcm, pcm, static_cast<int>(frames),
                                         destination, size);
            if (written < 0) {
                return kAcmError;
            }
        }
        sourceUsed = frames * frameBytes;
        destinationUsed = static_cast<std::uint32_t>(written);
        if (end) {
            const int last =
                lame_encode_flush(m_lame.get(), destination + destinationUsed,
                                  static_cast<int>(destinationLength - destinationUsed));
            if (last < 0) {
                return kAcmError;
            }
            destinationUsed += static_cast<std::uint32_t>(last);
        }
        return kAcmOk;
    }

    std::int32_t close() override
    {
        m_lame.reset();
        return kAcmOk;
    }

private:
    LamePtr m_lame;
    std::uint16_t m_channels;
};

} // namespace

std::uint16_t LameCompressionDriver::formatTag() const
{
    return kFormatTagMpegLayer3;
}

std::vector<DriverFormat>
LameCompressionDriver::formats(std::optional<std::uint32_t> samplesPerSec,
                               std::optional<std::uint16_t> channels) const
{
    std::vector<DriverFormat> out;
    for (const int version : kMpegVersions) {
        for (int r = 0; r < kRatesPerVersion; ++r) {
            const int rate = lame_get_samplerate(version, r);
            if (rate <= 0 ||
                (samplesPerSec && *samplesPerSec != static_cast<std::uint32_t>(rate))) {
                continue;
            }
            for (const std::uint16_t count : {std::uint16_t{2}, std::uint16_t{1}}) {
                if (channels && *channels != count) {
                    continue;
                }
                // Index 0 is the free format, which has no fixed rate.
                for (int b = 1; b < kBitRateIndices; ++b) {
                    const int kbps = lame_get_bitrate(version, b);
                    if (kbps > 0) {
                        out.push_back(mpegFormat(kFormatTagMpegLayer3,
                                                 static_cast<std::uint32_t>(rate), count, kbps));
                    }
                }
            }
        }
    }
    return out;
}

std::int32_t LameCompressionDriver::open(const WaveFormat& source, const WaveFormat& destination,
                                         bool, std::unique_ptr<DriverStream>& stream)
{
    if (destination.channels > source.channels) {
        return kAcmNotPossible;
    }
    LamePtr lame(lame_init());
    if (!lame) {
        return kAcmError;
    }
    lame::setUpConstantBitRate(lame.get(), source.channels, static_cast<int>(source.samplesPerSec),
                               static_cast<int>(destination.samplesPerSec),
                               mpegBitRate(destination));
    if (destination.channels == 1) {
        lame_set_mode(lame.get(), MONO);
    }
    if (lame_init_params(lame.get()) < 0) {
        return kAcmNotPossible;
    }
    stream = std::make_unique<LameStream>(std::move(lame), source.channels);
    return kAcmOk;
}

} // namespace sorvella
