#include "platform/media/FfmpegFrameQueue.h"

extern "C" {
#include <libavutil/channel_layout.h>
#include <libavutil/opt.h>
#include <libavutil/samplefmt.h>
}

#include <algorithm>
#include <array>

namespace sorvella {

namespace {

// Mono is heard in both channels at full level; stereo becomes mono at half
// level each, so that a sound in both channels keeps its level.
bool setMix(SwrContext* resampler, int inputChannels, int outputChannels)
{
    if (inputChannels == outputChannels) {
        return true;
    }
    if (inputChannels == 1 && outputChannels == 2) {
        const std::array<double, 2> toStereo{1.0, 1.0};
        return swr_set_matrix(resampler, toStereo.data(), 1) >= 0;
    }
    if (inputChannels == 2 && outputChannels == 1) {
        const std::array<double, 2> toMono{0.5, 0.5};
        return swr_set_matrix(resampler, toMono.data(), 2) >= 0;
    }
    return false;
}

} // namespace

std::unique_ptr<FfmpegFrameQueue> FfmpegFrameQueue::create(int inputChannels, int inputRate,
                                                           const AVCodecContext& encoder)
{
    AVChannelLayout inputLayout{};
    av_channel_layout_default(&inputLayout, inputChannels);
    AVChannelLayout outputLayout{};
    SwrContext* raw = nullptr;
    int allocated = av_channel_layout_copy(&outputLayout, &encoder.ch_layout);
    if (allocated >= 0) {
        allocated =
            swr_alloc_set_opts2(&raw, &outputLayout, encoder.sample_fmt, encoder.sample_rate,
                                &inputLayout, AV_SAMPLE_FMT_S16, inputRate, 0, nullptr);
    }
    av_channel_layout_uninit(&inputLayout);
    av_channel_layout_uninit(&outputLayout);
    ffmpeg::Resampler resampler(raw);
    if (allocated < 0 || !resampler ||
        !setMix(resampler.get(), inputChannels, encoder.ch_layout.nb_channels) ||
        swr_init(resampler.get()) < 0) {
        return nullptr;
    }
    const int frameSize = encoder.frame_size > 0 ? encoder.frame_size : 1024;
    ffmpeg::AudioFifo fifo(
        av_audio_fifo_alloc(encoder.sample_fmt, encoder.ch_layout.nb_channels, 2 * frameSize));
    if (!fifo) {
        return nullptr;
    }
    return std::unique_ptr<FfmpegFrameQueue>(
        new FfmpegFrameQueue(std::move(resampler), std::move(fifo), encoder));
}

FfmpegFrameQueue::FfmpegFrameQueue(ffmpeg::Resampler resampler, ffmpeg::AudioFifo fifo,
                                   const AVCodecContext& encoder)
    : m_resampler(std::move(resampler)), m_fifo(std::move(fifo)), m_format(encoder.sample_fmt),
      m_rate(encoder.sample_rate), m_frameSize(encoder.frame_size > 0 ? encoder.frame_size : 1024),
      m_planes(static_cast<std::size_t>(encoder.ch_layout.nb_channels))
{
    av_channel_layout_copy(&m_layout, &encoder.ch_layout);
}

FfmpegFrameQueue::~FfmpegFrameQueue()
{
    av_channel_layout_uninit(&m_layout);
}

bool FfmpegFrameQueue::push(const std::uint8_t* pcm, int frames)
{
    if (frames <= 0) {
        return true;
    }
    const std::uint8_t* input[] = {pcm};
    return convert(input, frames);
}

bool FfmpegFrameQueue::drain()
{
    return convert(nullptr, 0);
}

bool FfmpegFrameQueue::convert(const std::uint8_t** input, int frames)
{
    const int most = swr_get_out_samples(m_resampler.get(), frames);
    if (most < 0) {
        return false;
    }
    if (most == 0) {
        return true;
    }
    if (!reserveScratch(most)) {
        return false;
    }
    const int converted =
        swr_convert(m_resampler.get(), m_planes.data(), m_scratchSamples, input, frames);
    return converted >= 0 && enqueueScratch(converted);
}

bool FfmpegFrameQueue::appendSilence(int samples)
{
    if (samples <= 0) {
        return true;
    }
    if (!reserveScratch(samples)) {
        return false;
    }
    av_samples_set_silence(m_planes.data(), 0, samples, m_layout.nb_channels, m_format);
    return enqueueScratch(samples);
}

bool FfmpegFrameQueue::reserveScratch(int samples)
{
    if (samples <= m_scratchSamples) {
        return true;
    }
    const int channels = m_layout.nb_channels;
    const int bytes = av_samples_get_buffer_size(nullptr, channels, samples, m_format, 1);
    if (bytes < 0) {
        return false;
    }
    m_scratch.resize(static_cast<std::size_t>(bytes));
    if (av_samples_fill_arrays(m_planes.data(), nullptr, m_scratch.data(), channels, samples,
                               m_format, 1) < 0) {
        return false;
    }
    m_scratchSamples = samples;
    return true;
}

bool FfmpegFrameQueue::enqueueScratch(int samples)
{
    return av_audio_fifo_write(m_fifo.get(), reinterpret_cast<void**>(m_planes.data()), samples) ==
           samples;
}

ffmpeg::Frame FfmpegFrameQueue::pop()
{
    const int samples = std::min(size(), m_frameSize);
    if (samples <= 0) {
        return nullptr;
    }
    ffmpeg::Frame frame(av_frame_alloc());
    if (!frame) {
        return nullptr;
    }
    frame->nb_samples = samples;
    frame->format = m_format;
    frame->sample_rate = m_rate;
    if (av_channel_layout_copy(&frame->ch_layout, &m_layout) < 0 ||
        av_frame_get_buffer(frame.get(), 0) < 0 ||
        av_audio_fifo_read(m_fifo.get(), reinterpret_cast<void**>(frame->extended_data), samples) !=
            samples) {
        return nullptr;
    }
    return frame;
}

} // namespace sorvella
