#include "platform/media/FfmpegMediaWriter.h"

#include "platform/files/TargetFiles.h"
#include "platform/media/FfmpegFrameQueue.h"
#include "platform/media/FfmpegTargetIo.h"

extern "C" {
#include <libavutil/channel_layout.h>
#include <libavutil/mathematics.h>
}

#include <algorithm>

namespace sorvella {

namespace {

constexpr std::int64_t kTimeUnitsPerSecond = 10'000'000;

// The highest sample rate each bit rate carries well, as the classic
// profiles have it; 48 kHz is the most the encoder takes at all.
int highestRateFor(std::int32_t bitsPerSecond)
{
    if (bitsPerSecond >= 48000) {
        return 48000;
    }
    if (bitsPerSecond >= 32000) {
        return 32000;
    }
    return 22050;
}

} // namespace

FfmpegMediaWriter::FfmpegMediaWriter() = default;

FfmpegMediaWriter::~FfmpegMediaWriter()
{
    // Abandoned: the muxer goes before the output it writes to.
    m_muxer.reset();
    if (m_output) {
        m_output->close();
    }
}

int FfmpegMediaWriter::encoderRate(int inputRate, std::int32_t bitsPerSecond)
{
    return std::min(inputRate, highestRateFor(bitsPerSecond));
}

bool FfmpegMediaWriter::setProfile(const MediaProfile& profile)
{
    if (m_writing || profile.bitsPerSecond <= 0 || profile.channels < 1 || profile.channels > 2) {
        return false;
    }
    m_profile = profile;
    return true;
}

bool FfmpegMediaWriter::setOutputFilename(TargetFiles& files, const std::string& path)
{
    if (m_writing || m_output) {
        return false;
    }
    std::unique_ptr<TargetFile> file = files.create(path);
    if (!file) {
        return false;
    }
    m_output = std::make_unique<FfmpegTargetIo>(std::move(file));
    return m_output->context() != nullptr;
}

bool FfmpegMediaWriter::setInputFormat(const WaveFormat& format)
{
    const bool pcm = format.formatTag == kWaveFormatPcm && format.bitsPerSample == 16 &&
                     (format.channels == 1 || format.channels == 2) && format.samplesPerSec > 0 &&
                     format.samplesPerSec <= 1'000'000 && format.blockAlign == format.channels * 2;
    if (m_writing || !pcm) {
        return false;
    }
    m_input = format;
    return true;
}

bool FfmpegMediaWriter::beginWriting()
{
    if (m_writing || !m_profile || !m_input || !m_output || !m_output->context()) {
        return false;
    }
    AVFormatContext* muxer = nullptr;
    if (avformat_alloc_output_context2(&muxer, nullptr, kContainer, nullptr) < 0) {
        return false;
    }
    m_muxer.reset(muxer);
    if (!openEncoder()) {
        return false;
    }
    m_queue = FfmpegFrameQueue::create(m_input->channels, static_cast<int>(m_input->samplesPerSec),
                                       *m_encoder);
    m_packet.reset(av_packet_alloc());
    if (!m_queue || !m_packet || !openMuxer()) {
        return false;
    }
    m_nextPts.reset();
    m_writing = true;
    return true;
}

bool FfmpegMediaWriter::openEncoder()
{
    const AVCodec* codec = avcodec_find_encoder_by_name(kEncoder);
    if (codec == nullptr || codec->sample_fmts == nullptr) {
        return false;
    }
    m_encoder.reset(avcodec_alloc_context3(codec));
    if (!m_encoder) {
        return false;
    }
    const int rate =
        encoderRate(static_cast<int>(m_input->samplesPerSec), m_profile->bitsPerSecond);
    m_encoder->sample_fmt = codec->sample_fmts[0];
    m_encoder->sample_rate = rate;
    av_channel_layout_default(&m_encoder->ch_layout, m_profile->channels);
    m_encoder->bit_rate = m_profile->bitsPerSecond;
    m_encoder->time_base = AVRational{1, rate};
    if ((m_muxer->oformat->flags & AVFMT_GLOBALHEADER) != 0) {
        m_encoder->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    }
    return avcodec_open2(m_encoder.get(), codec, nullptr) >= 0;
}

bool FfmpegMediaWriter::openMuxer()
{
    // The container goes back to its header at the end: the output seeks.
    m_muxer->pb = m_output->context();
    m_muxer->flags |= AVFMT_FLAG_CUSTOM_IO;
    AVStream* stream = avformat_new_stream(m_muxer.get(), nullptr);
    if (stream == nullptr ||
        avcodec_parameters_from_context(stream->codecpar, m_encoder.get()) < 0) {
        return false;
    }
    stream->time_base = m_encoder->time_base;
    return outputFailure(avformat_write_header(m_muxer.get(), nullptr)) == 0 && !writeFailed();
}

std::int32_t FfmpegMediaWriter::writeSample(const std::uint8_t* data, std::size_t bytes,
                                            std::uint64_t sampleTime)
{
    if (!m_writing) {
        return AVERROR(EINVAL);
    }
    if (writeFailed()) {
        return 0;
    }
    if (!m_nextPts) {
        m_nextPts = av_rescale(static_cast<std::int64_t>(sampleTime), m_encoder->sample_rate,
                               kTimeUnitsPerSecond);
    }
    const auto frames = static_cast<int>(bytes / m_input->blockAlign);
    if (!m_queue->push(data, frames)) {
        return AVERROR(ENOMEM);
    }
    return encodeQueued(false);
}

void FfmpegMediaWriter::endWriting()
{
    if (m_writing) {
        m_writing = false;
        // The encoder rebuilds a frame only with the one that overlaps it:
        // a frame of silence lets the last frame of sound come out whole.
        const bool flushed =
            writeFailed() || (m_queue->drain() && m_queue->appendSilence(m_queue->frameSize()) &&
                              encodeQueued(true) == 0 && encode(nullptr) == 0);
        // Also after a full disk: the header that the trailer rewrites in
        // place tells a player how much the file holds.
        const bool completed = av_write_trailer(m_muxer.get()) >= 0;
        if (!writeFailed() && !(flushed && completed)) {
            m_writeFailed.store(true, std::memory_order_release);
        }
    }
    m_muxer.reset();
    if (m_output && !m_output->close()) {
        m_writeFailed.store(true, std::memory_order_release);
    }
    m_output.reset();
}

bool FfmpegMediaWriter::writeFailed() const
{
    return m_writeFailed.load(std::memory_order_acquire);
}

// Feeds the encoder every full frame that waits, and with `includingRest`
// the short one at the end too (the encoder pads that with silence).
int FfmpegMediaWriter::encodeQueued(bool includingRest)
{
    const int frameSize = m_queue->frameSize();
    while (m_queue->size() >= frameSize || (includingRest && m_queue->size() > 0)) {
        ffmpeg::Frame frame = m_queue->pop();
        if (!frame) {
            return AVERROR(ENOMEM);
        }
        frame->pts = m_nextPts.value_or(0);
        m_nextPts = frame->pts + frame->nb_samples;
        const int result = encode(frame.get());
        if (result != 0 || writeFailed()) {
            return result;
        }
    }
    return 0;
}

// Sends one frame (null: the end) and writes every packet that comes out.
int FfmpegMediaWriter::encode(const AVFrame* frame)
{
    int result = avcodec_send_frame(m_encoder.get(), frame);
    if (result < 0) {
        return result;
    }
    AVStream* stream = m_muxer->streams[0];
    while (true) {
        result = avcodec_receive_packet(m_encoder.get(), m_packet.get());
        if (result == AVERROR(EAGAIN) || result == AVERROR_EOF) {
            return 0;
        }
        if (result < 0) {
            return result;
        }
        av_packet_rescale_ts(m_packet.get(), m_encoder->time_base, stream->time_base);
        m_packet->stream_index = stream->index;
        result = outputFailure(av_write_frame(m_muxer.get(), m_packet.get()));
        av_packet_unref(m_packet.get());
        if (result < 0 || writeFailed()) {
            return result;
        }
    }
}

// A failure of the file is the error status, not a failure of the call.
int FfmpegMediaWriter::outputFailure(int error)
{
    if (m_output->failed()) {
        m_writeFailed.store(true, std::memory_order_release);
        return 0;
    }
    return error < 0 ? error : 0;
}

} // namespace sorvella
