#pragma once

#include "platform/files/TargetFiles.h"
#include "platform/media/FfmpegHandles.h"

#include <atomic>
#include <cstdint>
#include <memory>

namespace sorvella {

// A seekable FFmpeg output over a held target file, for muxers that go back
// to complete their header. A write or seek that the file does not take
// marks the output failed; from then on only what the file already holds is
// overwritten (a header completed in place), anything beyond is dropped.
// One thread writes; failed() may be read from any.
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
    bool placeFile();
    void fail();

    std::unique_ptr<TargetFile> m_file;
    ffmpeg::IoContext m_context;
    // FFmpeg's position and the end of what it wrote, dropped bytes included.
    std::int64_t m_position = 0;
    std::int64_t m_end = 0;
    // The file's own position (-1 when unknown) and the bytes it holds.
    std::int64_t m_filePosition = 0;
    std::int64_t m_held = 0;
    std::atomic<bool> m_failed{false};
};

} // namespace sorvella
