#pragma once

#include <ogg/ogg.h>
#include <vorbis/codec.h>

#include <cstdint>

namespace sorvella {

class OggPageOutput;

// The library states of one Ogg Vorbis encoding run: one logical Ogg stream
// carrying one Vorbis bitstream, with the one ENCODER comment. The nominal
// bit rate only chooses the quality: no bit-rate management runs.
class VorbisEncoder {
public:
    // Raises RecException "Ogg codec: bitrate not supported" when the
    // encoder does not take the channels, rate and bit rate together.
    VorbisEncoder(int channels, long sampleRate, long nominalBitRate, int serialNumber);
    ~VorbisEncoder();
    VorbisEncoder(const VorbisEncoder&) = delete;
    VorbisEncoder& operator=(const VorbisEncoder&) = delete;

    // The three header packets, on pages of their own.
    void writeHeaders(OggPageOutput& output);

    // Encodes `frames` frames of interleaved 16-bit little-endian PCM and
    // appends the pages that are complete; with `last` the stream ends and
    // its last page (end of stream) goes out too.
    void encode(const std::uint8_t* pcm, int frames, bool last, OggPageOutput& output);

private:
    void writePages(OggPageOutput& output);

    int m_channels;
    vorbis_info m_info{};
    vorbis_comment m_comment{};
    vorbis_dsp_state m_dspState{};
    vorbis_block m_block{};
    ogg_stream_state m_streamState{};
    ogg_page m_page{};
    ogg_packet m_packet{};
};

} // namespace sorvella
