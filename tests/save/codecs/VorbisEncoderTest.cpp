// The encoder without a bit-rate manager against the managed set-up with the
// average management off, which it replaces: the same sound comes back.

#include "save/codecs/VorbisEncoder.h"
#include "core/LittleEndian.h"
#include "save/codecs/OggPageOutput.h"
#include "tests/save/codecs/OggStream.h"

#include <vorbis/vorbisenc.h>

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <vector>

namespace sorvella::test {
namespace {

using Packets = std::vector<std::vector<std::uint8_t>>;

constexpr double kSeconds = 3;

// A tone that glides with some noise on it: enough for every block type.
std::vector<std::uint8_t> sound(long rate, int channels)
{
    const auto frames = static_cast<std::size_t>(kSeconds * static_cast<double>(rate));
    std::vector<std::uint8_t> pcm(frames * static_cast<std::size_t>(channels) * 2);
    std::uint32_t noise = 1;
    for (std::size_t i = 0; i < frames; ++i) {
        const double t = static_cast<double>(i) / static_cast<double>(rate);
        for (int c = 0; c < channels; ++c) {
            noise = noise * 1664525U + 1013904223U;
            const double value = 12000 * std::sin(2 * M_PI * (300 + 400 * t + 50 * c) * t) +
                                 static_cast<double>(noise >> 20) - 2048;
            le::writeSample(&pcm[(i * static_cast<std::size_t>(channels) + c) * 2],
                            static_cast<std::int16_t>(value));
        }
    }
    return pcm;
}

Packets ours(const std::vector<std::uint8_t>& pcm, long rate, int channels, long bits)
{
    VorbisEncoder encoder(channels, rate, bits, 1);
    OggPageOutput output;
    std::vector<std::uint8_t> bytes(pcm.size() + 65536);
    output.begin(bytes.data(), static_cast<std::int32_t>(bytes.size()));
    encoder.writeHeaders(output);
    encoder.encode(pcm.data(), static_cast<int>(pcm.size() / (2 * channels)), true, output);
    EXPECT_FALSE(output.hasQueued());
    bytes.resize(static_cast<std::size_t>(output.written()));
    return OggStream::parse(bytes).packets;
}

// The set-up as it was: managed, with only the average management off.
Packets reference(const std::vector<std::uint8_t>& pcm, long rate, int channels, long bits)
{
    vorbis_info info;
    vorbis_info_init(&info);
    EXPECT_EQ(vorbis_encode_setup_managed(&info, channels, rate, -1, bits, -1), 0);
    EXPECT_EQ(vorbis_encode_ctl(&info, OV_ECTL_RATEMANAGE_AVG, nullptr), 0);
    EXPECT_EQ(vorbis_encode_setup_init(&info), 0);
    vorbis_dsp_state dsp;
    vorbis_block block;
    vorbis_comment comment;
    vorbis_analysis_init(&dsp, &info);
    vorbis_block_init(&dsp, &block);
    vorbis_comment_init(&comment);
    Packets packets;
    ogg_packet header[3];
    vorbis_analysis_headerout(&dsp, &comment, &header[0], &header[1], &header[2]);
    for (const ogg_packet& p : header) {
        packets.emplace_back(p.packet, p.packet + p.bytes);
    }
    const int frames = static_cast<int>(pcm.size() / (2 * channels));
    float** buffer = vorbis_analysis_buffer(&dsp, frames);
    for (int i = 0; i < frames; ++i) {
        for (int c = 0; c < channels; ++c) {
            buffer[c][i] =
                le::sample(&pcm[static_cast<std::size_t>(i * channels + c) * 2]) / 32768.0F;
        }
    }
    vorbis_analysis_wrote(&dsp, frames);
    vorbis_analysis_wrote(&dsp, 0);
    ogg_packet packet;
    while (vorbis_analysis_blockout(&dsp, &block) == 1) {
        vorbis_analysis(&block, nullptr);
        vorbis_bitrate_addblock(&block);
        while (vorbis_bitrate_flushpacket(&dsp, &packet) != 0) {
            packets.emplace_back(packet.packet, packet.packet + packet.bytes);
        }
    }
    vorbis_comment_clear(&comment);
    vorbis_block_clear(&block);
    vorbis_dsp_clear(&dsp);
    vorbis_info_clear(&info);
    return packets;
}

// What a decoder makes of the packets, every channel interleaved.
std::vector<float> decode(const Packets& packets)
{
    const auto packetAt = [&](std::size_t i) {
        ogg_packet packet{};
        packet.packet = const_cast<unsigned char*>(packets[i].data());
        packet.bytes = static_cast<long>(packets[i].size());
        packet.b_o_s = i == 0 ? 1 : 0;
        packet.packetno = static_cast<ogg_int64_t>(i);
        return packet;
    };
    vorbis_info info;
    vorbis_comment comment;
    vorbis_info_init(&info);
    vorbis_comment_init(&comment);
    for (std::size_t i = 0; i < 3; ++i) {
        ogg_packet header = packetAt(i);
        EXPECT_EQ(vorbis_synthesis_headerin(&info, &comment, &header), 0);
    }
    vorbis_dsp_state dsp;
    vorbis_block block;
    vorbis_synthesis_init(&dsp, &info);
    vorbis_block_init(&dsp, &block);
    std::vector<float> out;
    for (std::size_t i = 3; i < packets.size(); ++i) {
        ogg_packet packet = packetAt(i);
        if (vorbis_synthesis(&block, &packet) == 0) {
            vorbis_synthesis_blockin(&dsp, &block);
        }
        float** pcm = nullptr;
        int frames = 0;
        while ((frames = vorbis_synthesis_pcmout(&dsp, &pcm)) > 0) {
            for (int f = 0; f < frames; ++f) {
                for (int c = 0; c < info.channels; ++c) {
                    out.push_back(pcm[c][f]);
                }
            }
            vorbis_synthesis_read(&dsp, frames);
        }
    }
    vorbis_block_clear(&block);
    vorbis_dsp_clear(&dsp);
    vorbis_comment_clear(&comment);
    vorbis_info_clear(&info);
    return out;
}

struct SetUpCase {
    long rate;
    int channels;
    long bits;
};

class VorbisSetUp : public ::testing::TestWithParam<SetUpCase> {};

TEST_P(VorbisSetUp, DecodesToTheSameSoundAsTheManagedSetUp)
{
    const SetUpCase c = GetParam();
    const std::vector<std::uint8_t> pcm = sound(c.rate, c.channels);
    const Packets fast = ours(pcm, c.rate, c.channels, c.bits);
    const Packets managed = reference(pcm, c.rate, c.channels, c.bits);
    ASSERT_GT(fast.size(), 3u);
    const std::vector<float> decoded = decode(fast);
    // Raw packets decode to whole blocks: the end is trimmed by the Ogg layer.
    EXPECT_GE(decoded.size(), pcm.size() / 2);
    EXPECT_TRUE(decoded == decode(managed));
}

INSTANTIATE_TEST_SUITE_P(RatesAndChannels, VorbisSetUp,
                         ::testing::Values(SetUpCase{44100, 2, 128 * 1024},
                                           SetUpCase{44100, 1, 64 * 1024},
                                           SetUpCase{22050, 2, 48 * 1024},
                                           SetUpCase{22050, 1, 32 * 1024}));

} // namespace
} // namespace sorvella::test
