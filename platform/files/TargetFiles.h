#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace sorvella {

// One target file open for writing, held exclusively by this object. Used by
// one thread at a time. Destroying the object closes the file (errors of that
// close are lost: call close() to learn them) and releases the hold.
class TargetFile {
public:
    virtual ~TargetFile() = default;

    // Writes `bytes` bytes at the current position and advances the position
    // by the bytes written. Nothing is buffered in the process. Returns the
    // number of bytes the file took: `bytes`, or fewer when the disk (or the
    // file) takes no more; those that were taken are in the file. Returns -1
    // when the write failed for another reason before any byte was taken.
    virtual std::int64_t write(const void* data, std::size_t bytes) = 0;

    // Moves the position to `position` bytes from the start of the file.
    // False when the position cannot be set.
    virtual bool seek(std::int64_t position) = 0;

    // Closes the file and releases the hold. False when the system reports
    // that written data may be lost. No other operation follows.
    virtual bool close() = 0;
};

// Everything the saving pipeline does to target files. All operations may be
// called from any thread; they report failure through their result, never by
// throwing. Paths are UTF-8, "/"-separated.
class TargetFiles {
public:
    virtual ~TargetFiles() = default;

    // Opens a regular file for writing, creating it or emptying it, and holds
    // it: while the returned object lives, a second create of the same file
    // (under any name) fails, whether this process or another holds it. Null
    // on any failure; a file that is held elsewhere is then left untouched.
    // Never waits for a holder.
    virtual std::unique_ptr<TargetFile> create(const std::string& path) = 0;

    // Deletes the file. True when it was removed.
    virtual bool remove(const std::string& path) = 0;

    // Gives the file `from` the name `to`. Fails, changing nothing, when
    // something already has the name `to`. True when the file was renamed.
    virtual bool rename(const std::string& from, const std::string& to) = 0;
};

} // namespace sorvella
