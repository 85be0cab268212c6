#include "save/codecs/VorbisEncoder.h"

#include "core/LittleEndian.h"
#include "core/RecException.h"
#include "save/codecs/OggPageOutput.h"

#include <vorbis/vorbisenc.h>

namespace sorvella {

namespace {

constexpr float kSampleScale = 1.0F / 32768.0F;

float sampleAt(const std::uint8_t* bytes)
{
    return static_cast<float>(le::sample(bytes)) * kSampleScale;
}

void append(OggPageOutput& output, const ogg_page& page)
{
    output.append(page.header, page.header_len, page.body, page.body_len);
}

} // namespace

VorbisEncoder::VorbisEncoder(int channels, long sampleRate, long nominalBitRate, int serialNumber)
    : m_channels(channels)
{
    vorbis_info_init(&m_info);
    // The managed set-up picks the quality for the nominal rate. The bit-rate
    // manager itself is switched off: with nothing to hold it would still
    // encode every block at each of its levels and keep the nominal one, at
    // several times the cost, for the same sound.
    int result = vorbis_encode_setup_managed(&m_info, channels, sampleRate, -1, nominalBitRate, -1);
    ovectl_ratemanage2_arg manager{};
    if (result == 0) {
        result = vorbis_encode_ctl(&m_info, OV_ECTL_RATEMANAGE2_GET, &manager);
    }
    if (result == 0) {
        manager.management_active = 0;
        result = vorbis_encode_ctl(&m_info, OV_ECTL_RATEMANAGE2_SET, &manager);
    }
    if (result == 0) {
        result = vorbis_encode_setup_init(&m_info);
    }
    if (result == 0) {
        result = vorbis_analysis_init(&m_dspState, &m_info);
    }
    if (result != 0) {
        vorbis_info_clear(&m_info);
        throw RecException("Ogg codec: bitrate not supported");
    }
    vorbis_comment_init(&m_comment);
    vorbis_comment_add_tag(&m_comment, "ENCODER", "Sorvella internal OGG/VORBIS encoder");
    vorbis_block_init(&m_dspState, &m_block);
    ogg_stream_init(&m_streamState, serialNumber);
}

VorbisEncoder::~VorbisEncoder()
{
    ogg_stream_clear(&m_streamState);
    vorbis_block_clear(&m_block);
    vorbis_dsp_clear(&m_dspState);
    vorbis_comment_clear(&m_comment);
    vorbis_info_clear(&m_info);
}

void VorbisEncoder::writeHeaders(OggPageOutput& output)
{
    ogg_packet identification{};
    ogg_packet comments{};
    ogg_packet codebooks{};
    vorbis_analysis_headerout(&m_dspState, &m_comment, &identification, &comments, &codebooks);
    ogg_stream_packetin(&m_streamState, &identification);
    ogg_stream_packetin(&m_streamState, &comments);
    ogg_stream_packetin(&m_streamState, &codebooks);
    while (ogg_stream_flush(&m_streamState, &m_page) != 0) {
        append(output, m_page);
    }
}

void VorbisEncoder::encode(const std::uint8_t* pcm, int frames, bool last, OggPageOutput& output)
{
    if (frames > 0) {
        float** buffer = vorbis_analysis_buffer(&m_dspState, frames);
        const int frameBytes = 2 * m_channels;
        for (int i = 0; i < frames; ++i) {
            const std::uint8_t* frame = pcm + static_cast<std::ptrdiff_t>(i) * frameBytes;
            for (int channel = 0; channel < m_channels; ++channel) {
                buffer[channel][i] = sampleAt(frame + 2 * channel);
            }
        }
        // Only a count of zero tells the encoder that the stream ends.
        vorbis_analysis_wrote(&m_dspState, frames);
    }
    if (last) {
        vorbis_analysis_wrote(&m_dspState, 0);
    }
    writePages(output);
}

void VorbisEncoder::writePages(OggPageOutput& output)
{
    while (vorbis_analysis_blockout(&m_dspState, &m_block) == 1) {
        vorbis_analysis(&m_block, nullptr);
        vorbis_bitrate_addblock(&m_block);
        while (vorbis_bitrate_flushpacket(&m_dspState, &m_packet) != 0) {
            ogg_stream_packetin(&m_streamState, &m_packet);
            while (ogg_stream_pageout(&m_streamState, &m_page) != 0) {
                append(output, m_page);
                if (ogg_page_eos(&m_page) != 0) {
                    break;
                }
            }
        }
    }
}

} // namespace sorvella
