#pragma once

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/audio_fifo.h>
#include <libavutil/frame.h>
#include <libswresample/swresample.h>
}

#include <memory>

namespace sorvella::ffmpeg {

// Owning handles of the FFmpeg objects the media writer uses.

struct CodecContextFree {
    void operator()(AVCodecContext* context) const { avcodec_free_context(&context); }
};
using CodecContext = std::unique_ptr<AVCodecContext, CodecContextFree>;

// An output context without its I/O: the writer owns that separately.
struct OutputContextFree {
    void operator()(AVFormatContext* context) const { avformat_free_context(context); }
};
using OutputContext = std::unique_ptr<AVFormatContext, OutputContextFree>;

struct ResamplerFree {
    void operator()(SwrContext* context) const { swr_free(&context); }
};
using Resampler = std::unique_ptr<SwrContext, ResamplerFree>;

struct AudioFifoFree {
    void operator()(AVAudioFifo* fifo) const { av_audio_fifo_free(fifo); }
};
using AudioFifo = std::unique_ptr<AVAudioFifo, AudioFifoFree>;

struct FrameFree {
    void operator()(AVFrame* frame) const { av_frame_free(&frame); }
};
using Frame = std::unique_ptr<AVFrame, FrameFree>;

struct PacketFree {
    void operator()(AVPacket* packet) const { av_packet_free(&packet); }
};
using Packet = std::unique_ptr<AVPacket, PacketFree>;

// The I/O context and, with it, the buffer it currently owns.
struct IoContextFree {
    void operator()(AVIOContext* context) const
    {
        av_freep(&context->buffer);
        avio_context_free(&context);
    }
};
using IoContext = std::unique_ptr<AVIOContext, IoContextFree>;

} // namespace sorvella::ffmpeg
