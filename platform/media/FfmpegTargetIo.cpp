#include "platform/media/FfmpegTargetIo.h"

#include <algorithm>
#include <cerrno>

namespace sorvella {

namespace {

constexpr int kBufferSize = 64 * 1024;

} // namespace

FfmpegTargetIo::FfmpegTargetIo(std::unique_ptr<TargetFile> file) : m_file(std::move(file))
{
    auto* buffer = static_cast<unsigned char*>(av_malloc(kBufferSize));
    if (buffer == nullptr) {
        return;
    }
    m_context.reset(avio_alloc_context(buffer, kBufferSize, 1, this, nullptr,
                                       &FfmpegTargetIo::writePacket, &FfmpegTargetIo::seekPacket));
    if (!m_context) {
        av_free(buffer);
    }
}

FfmpegTargetIo::~FfmpegTargetIo() = default;

bool FfmpegTargetIo::close()
{
    if (m_context) {
        avio_flush(m_context.get());
        if (m_context->error < 0) {
            m_failed.store(true, std::memory_order_release);
        }
    }
    const bool closed = m_file && m_file->close();
    m_file.reset();
    if (!closed) {
        m_failed.store(true, std::memory_order_release);
    }
    return !failed();
}

// FFmpeg versions differ in the constness of the bytes they hand over.
template <typename Bytes> int FfmpegTargetIo::writePacket(void* opaque, Bytes* data, int size)
{
    return static_cast<FfmpegTargetIo*>(opaque)->write(data, size);
}

std::int64_t FfmpegTargetIo::seekPacket(void* opaque, std::int64_t offset, int whence)
{
    return static_cast<FfmpegTargetIo*>(opaque)->seek(offset, whence);
}

// After a failure only bytes that the file already holds are written again
// (a header rewritten in place needs no new space); the rest is dropped.
// FFmpeg hears of neither: an error would stop all its later writes.
int FfmpegTargetIo::write(const std::uint8_t* data, int size)
{
    if (!m_file) {
        return AVERROR(EIO);
    }
    const std::int64_t wanted =
        failed() ? std::clamp<std::int64_t>(m_held - m_position, 0, size) : size;
    if (wanted > 0) {
        const std::int64_t written =
            placeFile() ? m_file->write(data, static_cast<std::size_t>(wanted)) : -1;
        m_filePosition = written >= 0 ? m_position + written : -1;
        m_held = std::max(m_held, m_filePosition);
        if (written != wanted) {
            fail();
        }
    }
    m_position += size;
    m_end = std::max(m_end, m_position);
    return size;
}

// Only moves FFmpeg's position; the file follows at the next write.
std::int64_t FfmpegTargetIo::seek(std::int64_t offset, int whence)
{
    std::int64_t to = 0;
    switch (whence & ~AVSEEK_FORCE) {
    case AVSEEK_SIZE:
        return m_end;
    case SEEK_SET:
        to = offset;
        break;
    case SEEK_CUR:
        to = m_position + offset;
        break;
    case SEEK_END:
        to = m_end + offset;
        break;
    default:
        return AVERROR(EINVAL);
    }
    if (!m_file || to < 0) {
        return AVERROR(EINVAL);
    }
    m_position = to;
    return to;
}

bool FfmpegTargetIo::placeFile()
{
    if (m_filePosition != m_position) {
        if (!m_file->seek(m_position)) {
            return false;
        }
        m_filePosition = m_position;
    }
    return true;
}

void FfmpegTargetIo::fail()
{
    m_failed.store(true, std::memory_order_release);
}

} // namespace sorvella
