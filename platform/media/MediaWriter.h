#pragma once

#include "core/WaveFormat.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace sorvella {

class TargetFiles;

// What a media writer is asked to make of the sound: a bit rate and a channel
// count. The writer chooses the sample rate that suits that bit rate.
struct MediaProfile {
    std::int32_t bitsPerSecond = 0;
    std::uint16_t channels = 2;
};

// One compressed audio file in the making: PCM samples go in with their
// presentation times, the writer compresses them by its profile and writes
// the file itself. Used by one thread (the save thread), except writeFailed.
// The calls come in this order: setProfile, setOutputFilename,
// setInputFormat, beginWriting, any number of writeSample, endWriting.
// Destroying a writer before endWriting abandons the file: what was written
// stays, unfinished, and the file is closed.
class MediaWriter {
public:
    virtual ~MediaWriter() = default;

    // Chooses the output. False when the writer cannot make it.
    virtual bool setProfile(const MediaProfile& profile) = 0;

    // Creates (or empties) the file at `path` through `files` and holds it
    // exclusively until the writer ends. False when it cannot be created or
    // is held elsewhere.
    virtual bool setOutputFilename(TargetFiles& files, const std::string& path) = 0;

    // The samples will be 16-bit interleaved PCM of this format. False when
    // the writer cannot take it.
    virtual bool setInputFormat(const WaveFormat& format) = 0;

    // Starts the compression and writes the file's head. Blocks on the disk.
    // False when it cannot start.
    virtual bool beginWriting() = 0;

    // Compresses `bytes` bytes of whole PCM frames that start at
    // `sampleTime` (100-nanosecond units from the start of the file; samples
    // come in order without gaps) and writes what is complete; the rest stays
    // buffered for the next call. Blocks on the disk. Returns 0, or a non-zero
    // code when the compression failed. A failure of the file itself is not
    // reported here but through writeFailed; samples after it are dropped.
    virtual std::int32_t writeSample(const std::uint8_t* data, std::size_t bytes,
                                     std::uint64_t sampleTime) = 0;

    // Compresses what is still buffered, completes the file and closes it.
    // Failures are reported through writeFailed.
    virtual void endWriting() = 0;

    // Any thread: the asynchronous error status. True once writing the file
    // failed (the disk took no more, or it could not be completed).
    virtual bool writeFailed() const = 0;
};

// The system's media writers.
class MediaWriters {
public:
    virtual ~MediaWriters() = default;

    // Any thread. Whether this system can write media files at all: a quick
    // look that opens nothing.
    virtual bool installed() const = 0;

    // The save thread. A new writer, or null when none can be made.
    virtual std::unique_ptr<MediaWriter> createWriter() = 0;
};

} // namespace sorvella
