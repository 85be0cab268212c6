#pragma once

#include "platform/media/FfmpegHandles.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace sorvella {

// Turns interleaved 16-bit PCM into the frames an audio encoder takes: its
// sample format, rate and channels (a mono input is heard in both channels,
// a stereo one is mixed to mono at half level each), in frames of the
// encoder's fixed size, queued until a frame is full.
class FfmpegFrameQueue {
public:
    // Null when FFmpeg refuses the conversion.
    static std::unique_ptr<FfmpegFrameQueue> create(int inputChannels, int inputRate,
                                                    const AVCodecContext& encoder);
    ~FfmpegFrameQueue();
    FfmpegFrameQueue(const FfmpegFrameQueue&) = delete;
    FfmpegFrameQueue& operator=(const FfmpegFrameQueue&) = delete;

    // Converts `frames` input frames into the queue. False on failure.
    bool push(const std::uint8_t* pcm, int frames);

    // At the end of the input: lets the resampler give up what it holds
    // back. False on failure.
    bool drain();

    // After the input: `samples` (per channel) of silence behind it. False
    // on failure.
    bool appendSilence(int samples);

    // Samples (per channel) waiting.
    int size() const { return av_audio_fifo_size(m_fifo.get()); }

    int frameSize() const { return m_frameSize; }

    // The next frame of the encoder's size, or the shorter rest when fewer
    // samples wait; null when none wait or on failure.
    ffmpeg::Frame pop();

private:
    FfmpegFrameQueue(ffmpeg::Resampler resampler, ffmpeg::AudioFifo fifo,
                     const AVCodecContext& encoder);
    bool convert(const std::uint8_t** input, int frames);
    bool reserveScratch(int samples);
    bool enqueueScratch(int samples);

    ffmpeg::Resampler m_resampler;
    ffmpeg::AudioFifo m_fifo;
    AVSampleFormat m_format;
    AVChannelLayout m_layout{};
    int m_rate;
    int m_frameSize;
    // Converted samples on their way into the queue; grows to the largest push.
    std::vector<std::uint8_t> m_scratch;
    std::vector<std::uint8_t*> m_planes;
    int m_scratchSamples = 0;
};

} // namespace sorvella
