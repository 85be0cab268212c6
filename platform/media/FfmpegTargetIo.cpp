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

int FfmpegTargetIo::write(const std::uint8_t* data, int size)
{
    if (failed() || !m_file) {
        return AVERROR(EIO);
    }
    const std::int64_t written = m_file->write(data, static_cast<std::size_t>(size));
    if (written > 0) {
        m_position += written;
        m_end = std::max(m_end, m_position);
    }
    if (written == size) {
        return size;
    }
    return fail(written < 0 ? AVERROR(EIO) : AVERROR(ENOSPC));
}

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
    if (failed() || !m_file || to < 0 || !m_file->seek(to)) {
        return fail(AVERROR(EIO));
    }
    m_position = to;
    return to;
}

int FfmpegTargetIo::fail(int error)
{
    m_failed.store(true, std::memory_order_release);
    return error;
}

} // namespace sorvella
