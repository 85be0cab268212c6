#include "save/WavWriter.h"

#include "core/RecException.h"
#include "platform/files/TargetFiles.h"
#include "save/RiffBytes.h"

#include <algorithm>
#include <optional>

namespace sorvella {

namespace {

constexpr std::uint32_t kFormatChunkSize = 16;
// RF64 keeps its sizes in "ds64" and marks the 32-bit fields with this.
constexpr std::uint32_t kSizeInDs64 = 0xFFFFFFFF;
// The ds64 chunk: RIFF size, data size and sample count (64 bits each) and
// an empty table of further chunk sizes.
constexpr std::uint32_t kDs64ChunkSize = 28;
constexpr std::int64_t kDs64SizesPosition = 20;
constexpr std::int64_t kRiffSizePosition = 4;
// The RIFF size counts what follows the tag and the size field.
constexpr std::int64_t kRiffTagAndSize = 8;

const char* const kCreatingChunk = "Not enough memory while creating RIFF-chunks";
const char* const kWriteError = "Fatal Error Writing File. Disk Full?";

} // namespace

WavWriter::~WavWriter() = default;

std::int64_t WavWriter::fileSize(std::int64_t dataSize)
{
    // "RIFF" size "WAVE", "fmt " size and its chunk, "data" size.
    constexpr std::int64_t kHeader = 12 + 8 + kFormatChunkSize + 8;
    const std::int64_t ds64 = dataSize > kMaxRiffDataSize ? 8 + kDs64ChunkSize : 0;
    return kHeader + ds64 + dataSize + (dataSize & 1);
}

void WavWriter::open(TargetFiles& files, const std::string& fileName, const WaveFormat& format,
                     std::int64_t expectedDataSize)
{
    m_rf64 = expectedDataSize > kMaxRiffDataSize;
    m_blockAlign = format.blockAlign;
    m_fileSize = 0;
    m_riffCreated = false;
    m_dataStart = 0;
    m_dataSize = 0;
    m_targetFull = false;
    m_file = files.create(fileName);
    if (!m_file) {
        throw RecException(RecException::OpenFailure, "Cannot open targetfile " + fileName);
    }

    RiffBytes riff;
    riff.tag(m_rf64 ? "RF64" : "RIFF").u32(m_rf64 ? kSizeInDs64 : 0).tag("WAVE");
    if (m_rf64) {
        riff.tag("ds64").u32(kDs64ChunkSize).u64(0).u64(0).u64(0).u32(0);
    }
    if (!append(riff)) {
        throw RecException(RecException::OpenFailure,
                           "Not enough memory while crating RIFF-chunks");
    }
    m_riffCreated = true;
    if (!append(RiffBytes().tag("fmt ").u32(kFormatChunkSize))) {
        throw RecException(RecException::OpenFailure, kCreatingChunk);
    }
    RiffBytes pcm;
    pcm.u16(format.formatTag).u16(format.channels).u32(format.samplesPerSec);
    pcm.u32(format.avgBytesPerSec).u16(format.blockAlign).u16(format.bitsPerSample);
    if (!append(pcm)) {
        throw RecException(RecException::OpenFailure, "Not enough disk space");
    }
    if (!append(RiffBytes().tag("data").u32(m_rf64 ? kSizeInDs64 : 0))) {
        throw RecException(RecException::OpenFailure, kCreatingChunk);
    }
    m_dataStart = m_fileSize;
}

void WavWriter::write(const std::uint8_t* data, std::size_t length)
{
    if (length == 0) {
        return;
    }
    if (!m_file || m_dataStart == 0) {
        throw RecException(kWriteError);
    }
    std::size_t room = length;
    if (!m_rf64) {
        room = static_cast<std::size_t>(std::min<std::int64_t>(static_cast<std::int64_t>(length),
                                                               kMaxRiffDataSize - m_dataSize));
    }
    const std::int64_t written = m_file->write(data, room);
    if (written < 0) {
        throw RecException(kWriteError);
    }
    m_fileSize += written;
    m_dataSize += written;
    if (written < static_cast<std::int64_t>(room)) {
        m_targetFull = true;
        throw RecException("Disk full!");
    }
    if (room < length) {
        // More data than announced at open: the file stops where RIFF must.
        m_targetFull = true;
        throw RecException("WAV file size limit reached");
    }
}

void WavWriter::close()
{
    if (!m_file) {
        return;
    }
    std::optional<RecException> failure;
    if (!closeDataChunk()) {
        failure = RecException("could not close inner RIFF chunk");
    }
    if (!closeRiffChunk()) {
        failure = RecException("could not close outer RIFF chunk");
    }
    if (!m_file->close()) {
        failure = RecException("could not close target");
    }
    m_file.reset();
    if (failure) {
        throw *failure;
    }
}

bool WavWriter::append(const RiffBytes& bytes)
{
    const std::int64_t written = m_file->write(bytes.bytes().data(), bytes.bytes().size());
    m_fileSize += std::max<std::int64_t>(written, 0);
    return written == static_cast<std::int64_t>(bytes.bytes().size());
}

bool WavWriter::overwrite(std::int64_t position, const RiffBytes& bytes)
{
    return m_file->seek(position) && m_file->write(bytes.bytes().data(), bytes.bytes().size()) ==
                                         static_cast<std::int64_t>(bytes.bytes().size());
}

bool WavWriter::closeDataChunk()
{
    if (m_dataStart == 0) {
        return false;
    }
    bool padded = true;
    if (m_dataSize % 2 != 0) {
        padded = m_file->seek(m_fileSize) && append(RiffBytes().u8(0));
    }
    // The data size is set even without the pad byte: it is what the file holds.
    const bool sized = m_rf64 || overwrite(m_dataStart - 4,
                                           RiffBytes().u32(static_cast<std::uint32_t>(m_dataSize)));
    return padded && sized;
}

bool WavWriter::closeRiffChunk()
{
    if (!m_riffCreated) {
        return false;
    }
    const std::int64_t riffSize = m_fileSize - kRiffTagAndSize;
    if (!m_rf64) {
        return overwrite(kRiffSizePosition, RiffBytes().u32(static_cast<std::uint32_t>(riffSize)));
    }
    const std::int64_t samples = m_blockAlign != 0 ? m_dataSize / m_blockAlign : 0;
    RiffBytes sizes;
    sizes.u64(static_cast<std::uint64_t>(riffSize)).u64(static_cast<std::uint64_t>(m_dataSize));
    sizes.u64(static_cast<std::uint64_t>(samples));
    return overwrite(kDs64SizesPosition, sizes);
}

} // namespace sorvella
