#pragma once

#include "platform/files/TargetFiles.h"
#include "platform/media/FfmpegHandles.h"

#include <atomic>
#include <cstdint>
#include <memory>

namespace sorvella {

// A seekable FFmpeg output over a held target file, for muxers that go back
// to complete their header. A write that the file does not take whole marks
// the output failed; every later write fails too. One thread writes; failed()
// may be read from any.
class FfmpegTargetIo {
public:
    // context() is null when FFmpeg could not allocate it.
    explicit FfmpegTargetIo(std::unique_ptr<TargetFile> file);
    ~FfmpegTargetIo();
    FfmpegTargetIo(const FfmpegTargetIo&) = delete;
    FfmpegTargetIo& operator=(const FfmpegTargetIo&) = delete;

    AVIOContext* context() const { return m_context.get(); }

    bool failed() const { return m_failed.load(std::memory_order_acquire); }

    // Writes out what FFmpeg still buffers and closes the file. False when
    // any write, seek or the close failed. Nothing follows it.
    bool close();

private:
    template <typename Bytes> static int writePacket(void* opaque, Bytes* data, int size);
    static std::int64_t seekPacket(void* opaque, std::int64_t offset, int whence);
    int write(const std::uint8_t* data, int size);
    std::int64_t seek(std::int64_t offset, int whence);
    int fail(int error);

    std::unique_ptr<TargetFile> m_file;
    ffmpeg::IoContext m_context;
    std::int64_t m_position = 0;
    std::int64_t m_end = 0;
    std::atomic<bool> m_failed{false};
};

} // namespace sorvella
