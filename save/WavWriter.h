#pragma once

#include "core/WaveFormat.h"
#include "platform/files/TargetFiles.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace sorvella {

class RiffBytes;

// Writes an uncompressed target: a RIFF/WAVE file with a 16-byte format chunk
// and one data chunk holding the PCM bytes as handed over. A file whose data
// would not fit the 32-bit sizes of RIFF is written as RF64 (a "ds64" chunk
// carries the 64-bit sizes). Used by one thread at a time; raises
// RecException. Closed → open → any number of write → close → closed.
class WavWriter {
public:
    // The most sample bytes a RIFF file holds: the RIFF size (36 + data +
    // pad byte) must fit 32 bits.
    static constexpr std::int64_t kMaxRiffDataSize = 0xFFFFFFFFLL - 36 - 1;

    // The size of the file that `dataSize` sample bytes make: the header
    // (with "ds64" for RF64), the data and its pad byte.
    static std::int64_t fileSize(std::int64_t dataSize);

    WavWriter() = default;
    WavWriter(const WavWriter&) = delete;
    WavWriter& operator=(const WavWriter&) = delete;
    // Releases the file without finishing it: the owner closes first.
    virtual ~WavWriter();

    // Creates or empties `fileName`, held exclusively until close, and writes
    // the header for `format` (its first 16 bytes). `expectedDataSize` is the
    // most sample bytes that will be written; above kMaxRiffDataSize the file
    // is RF64, else plain RIFF. Raises kind 2; after a failure past the
    // creation of the file, close still finishes what exists and closes it.
    void open(TargetFiles& files, const std::string& fileName, const WaveFormat& format,
              std::int64_t expectedDataSize);

    // Appends `length` sample bytes. A plain RIFF file takes no more than
    // kMaxRiffDataSize of them. Raises kind 1.
    void write(const std::uint8_t* data, std::size_t length);

    // Sets the sizes, adds the pad byte after odd data and closes the file;
    // does nothing when no file is open. Raises (kind 1) after the file is
    // closed. After a write that fell short, the file is valid with the bytes
    // that were written.
    void close();

    bool isOpen() const { return m_file != nullptr; }

    // The sample bytes the file took since open.
    std::int64_t dataSize() const { return m_dataSize; }

    // True after "Disk full!" or "WAV file size limit reached": the file
    // holds what was written before, and close makes a valid file of it.
    bool targetFull() const { return m_targetFull; }

private:
    bool append(const RiffBytes& bytes);
    bool overwrite(std::int64_t position, const RiffBytes& bytes);
    bool closeDataChunk();
    bool closeRiffChunk();

    std::unique_ptr<TargetFile> m_file;
    bool m_rf64 = false;
    std::uint16_t m_blockAlign = 0;
    // Bytes in the file: the header parts written so far, data and pad byte.
    std::int64_t m_fileSize = 0;
    bool m_riffCreated = false;
    // Where the sample bytes start; 0 while there is no data chunk.
    std::int64_t m_dataStart = 0;
    std::int64_t m_dataSize = 0;
    bool m_targetFull = false;
};

} // namespace sorvella
