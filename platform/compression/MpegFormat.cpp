#include "platform/compression/MpegFormat.h"

#include "core/LittleEndian.h"
#include "platform/compression/CompressionManager.h"

#include <string>

namespace sorvella {

namespace {

// Samples per frame: layer 2 always 1152; layer 3 1152 from 32 kHz up, else 576.
std::uint32_t samplesPerFrame(std::uint16_t formatTag, std::uint32_t samplesPerSec)
{
    return formatTag == kFormatTagMpegLayer3 && samplesPerSec < 32000 ? 576 : 1152;
}

class LittleEndian {
public:
    explicit LittleEndian(std::vector<std::uint8_t>& out) : m_out(out) {}
    LittleEndian& u16(std::uint32_t v) { return put(v, 2); }
    LittleEndian& u32(std::uint32_t v) { return put(v, 4); }

private:
    LittleEndian& put(std::uint32_t v, int bytes)
    {
        le::append(m_out, v, bytes);
        return *this;
    }
    std::vector<std::uint8_t>& m_out;
};

} // namespace

DriverFormat mpegFormat(std::uint16_t formatTag, std::uint32_t samplesPerSec,
                        std::uint16_t channels, std::int32_t kbps)
{
    const auto bitsPerSecond = static_cast<std::uint32_t>(kbps) * 1000;
    WaveFormat format;
    format.formatTag = formatTag;
    format.channels = channels;
    format.samplesPerSec = samplesPerSec;
    format.avgBytesPerSec = bitsPerSecond / 8;
    format.blockAlign = 1;
    format.bitsPerSample = 0;
    const std::uint32_t frameBytes =
        samplesPerFrame(formatTag, samplesPerSec) / 8 * bitsPerSecond / samplesPerSec;
    LittleEndian extra(format.extra);
    if (formatTag == kFormatTagMpegLayer3) {
        // id MPEG, ISO padding, block size, frames per block, codec delay
        extra.u16(1).u32(0).u16(frameBytes).u16(1).u16(0);
    } else {
        // layer 2, bit rate, stereo or single channel, no mode extension,
        // no emphasis, MPEG-1 or MPEG-2 id, no time stamps
        const bool mpeg1 = samplesPerSec >= 32000;
        extra.u16(2).u32(bitsPerSecond).u16(channels == 1 ? 8 : 1).u16(0).u16(1);
        extra.u16(mpeg1 ? 0x10 : 0).u32(0).u32(0);
    }
    return {std::move(format), std::to_string(kbps) + " kBit/s, " + std::to_string(samplesPerSec) +
                                   " Hz, " + (channels == 1 ? "Mono" : "Stereo")};
}

std::int32_t mpegBitRate(const WaveFormat& format)
{
    return static_cast<std::int32_t>(format.avgBytesPerSec * 8 / 1000);
}

} // namespace sorvella
