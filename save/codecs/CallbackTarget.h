#pragma once

#include "platform/files/TargetFiles.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace sorvella {

// The target file of a codec whose encoder library writes it through C
// callbacks. An exception must not pass through the library, so a write
// that falls short is only remembered here (nothing is written after it)
// and the codec raises once the library call has returned.
class CallbackTarget {
public:
    // Opens `fileName` through `files`; raises "Cannot open file: " + name.
    CallbackTarget(TargetFiles& files, const std::string& fileName);
    CallbackTarget(const CallbackTarget&) = delete;
    CallbackTarget& operator=(const CallbackTarget&) = delete;

    // False when the file did not take all bytes, now or before.
    bool write(const void* data, std::size_t bytes);
    bool seek(std::int64_t position);
    std::int64_t position() const { return m_position; }

    // Raises "Write failed. Disk full?" after a write fell short.
    void raiseIfFailed() const;

    // Closes the file; raises "Write failed. Disk full?" when a write fell
    // short or the close reports that data may be lost. The last call.
    void close();

private:
    std::unique_ptr<TargetFile> m_file;
    std::int64_t m_position = 0;
    bool m_failed = false;
};

} // namespace sorvella
