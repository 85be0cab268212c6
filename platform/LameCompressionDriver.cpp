#include "platform/LameCompressionDriver.h"

#include "platform/CompressionManager.h"
#include "platform/MpegFormat.h"

#include <lame/lame.h>

#include <algorithm>
#include <cstdarg>

namespace sorvella {

namespace {

// LAME's table versions: MPEG-1, MPEG-2, MPEG-2.5; three sample rates each.
constexpr int kMpegVersions[] = {1, 0, 2};
constexpr int kRatesPerVersion = 3;
constexpr int kBitRateIndices = 15;

// Worst case of lame_encode_buffer for n samples per channel, from lame.h.
constexpr std::uint32_t kLameFixedMargin = 7200;
std::uint32_t worstCaseBytes(std::uint32_t samples)
{
    return samples + samples / 4 + kLameFixedMargin;
}

void silent(const char*, va_list) {}

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
        if (worstCaseBytes(frames) > destinationLength) {
            frames = destinationLength > kLameFixedMargin
                         ? std::min(frames, (destinationLength - kLameFixedMargin) * 4 / 5)
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
                return MMSYSERR_ERROR;
            }
        }
        sourceUsed = frames * frameBytes;
        destinationUsed = static_cast<std::uint32_t>(written);
        if (end) {
            const int last =
                lame_encode_flush(m_lame.get(), destination + destinationUsed,
                                  static_cast<int>(destinationLength - destinationUsed));
            if (last < 0) {
                return MMSYSERR_ERROR;
            }
            destinationUsed += static_cast<std::uint32_t>(last);
        }
        return MMSYSERR_NOERROR;
    }

    std::int32_t close() override
    {
        m_lame.reset();
        return MMSYSERR_NOERROR;
    }

private:
    LamePtr m_lame;
    std::uint16_t m_channels;
};

} // namespace

std::uint16_t LameCompressionDriver::formatTag() const
{
    return WAVE_FORMAT_MPEGLAYER3;
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
                        out.push_back(mpegFormat(WAVE_FORMAT_MPEGLAYER3,
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
        return ACMERR_NOTPOSSIBLE;
    }
    LamePtr lame(lame_init());
    if (!lame) {
        return MMSYSERR_ERROR;
    }
    lame_set_errorf(lame.get(), silent);
    lame_set_debugf(lame.get(), silent);
    lame_set_msgf(lame.get(), silent);
    lame_set_num_channels(lame.get(), source.channels);
    lame_set_in_samplerate(lame.get(), static_cast<int>(source.samplesPerSec));
    lame_set_out_samplerate(lame.get(), static_cast<int>(destination.samplesPerSec));
    lame_set_VBR(lame.get(), vbr_off);
    lame_set_brate(lame.get(), mpegBitRate(destination));
    if (destination.channels == 1) {
        lame_set_mode(lame.get(), MONO);
    }
    // The file is written front to back: no room is kept for a tag that would
    // be filled in at the end.
    lame_set_bWriteVbrTag(lame.get(), 0);
    if (lame_init_params(lame.get()) < 0) {
        return ACMERR_NOTPOSSIBLE;
    }
    stream = std::make_unique<LameStream>(std::move(lame), source.channels);
    return MMSYSERR_NOERROR;
}

} // namespace sorvella
