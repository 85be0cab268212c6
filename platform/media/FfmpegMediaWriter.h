#pragma once

#include "platform/media/FfmpegHandles.h"
#include "platform/media/MediaWriter.h"

#include <atomic>
#include <memory>
#include <optional>

namespace sorvella {

class FfmpegFrameQueue;
class FfmpegTargetIo;

// A Windows Media Audio file written with FFmpeg: the "wmav2" encoder in an
// "asf" container. The encoder takes planar float in frames of a fixed size,
// so the samples pass through a resampler and a queue first. The profile's
// bit rate chooses the highest sample rate that it still carries well (as
// the classic system profiles do), never above the input's.
class FfmpegMediaWriter : public MediaWriter {
public:
    FfmpegMediaWriter();
    ~FfmpegMediaWriter() override;

    bool setProfile(const MediaProfile& profile) override;
    bool setOutputFilename(TargetFiles& files, const std::string& path) override;
    bool setInputFormat(const WaveFormat& format) override;
    bool beginWriting() override;
    std::int32_t writeSample(const std::uint8_t* data, std::size_t bytes,
                             std::uint64_t sampleTime) override;
    void endWriting() override;
    bool writeFailed() const override;

    // The encoder and the container this writer needs.
    static constexpr const char* kEncoder = "wmav2";
    static constexpr const char* kContainer = "asf";

    // The sample rate the encoder gets for input at `inputRate` with a
    // profile of `bitsPerSecond`.
    static int encoderRate(int inputRate, std::int32_t bitsPerSecond);

private:
    bool openEncoder();
    bool openMuxer();
    int encodeQueued(bool includingRest);
    int encode(const AVFrame* frame);
    int outputFailure(int error);

    std::optional<MediaProfile> m_profile;
    std::optional<WaveFormat> m_input;
    std::unique_ptr<FfmpegTargetIo> m_output;
    ffmpeg::CodecContext m_encoder;
    ffmpeg::OutputContext m_muxer;
    std::unique_ptr<FfmpegFrameQueue> m_queue;
    ffmpeg::Packet m_packet;
    std::optional<std::int64_t> m_nextPts;
    bool m_writing = false;
    std::atomic<bool> m_writeFailed{false};
};

} // namespace sorvella
