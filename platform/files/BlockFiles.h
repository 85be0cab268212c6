#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace sorvella {

// One open block file. Destroying the object closes the file (that is the
// "close" operation). Not shared between threads: one thread at a time uses a
// given BlockFile (the store serialises its use under its own lock).
class BlockFile {
public:
    virtual ~BlockFile() = default;

    // Writes `bytes` bytes at byte `offset` (pwrite: no file position is used
    // or moved). Blocks until the kernel has taken the bytes into its page
    // cache; nothing is buffered in the process. Retries interrupted and
    // partial writes while they make progress. Returns the number of bytes
    // written: fewer than `bytes` means the disk is full (or the file cannot
    // take more); the bytes that were written are in the file.
    virtual std::size_t writeAt(std::int64_t offset, const void* data, std::size_t bytes) = 0;

    // Hint that the written pages of [offset, offset + length) are not needed
    // in the page cache (posix_fadvise DONTNEED; length 0: to the end of the
    // file). Does not wait for the data to reach the disk; dirty pages are put
    // to writeback and dropped once clean. Failures are ignored.
    virtual void dropCache(std::int64_t offset, std::int64_t length) = 0;

    // Sets disk space aside for the first `bytes` bytes without changing the
    // file's size (fallocate KEEP_SIZE), so that they lie together on disk and
    // their writeback goes out in a few large requests. Blocks while the file
    // system allocates. Best effort: when the file system refuses, writes find
    // their space as they would have.
    virtual void reserve(std::int64_t bytes) = 0;
};

// A held exclusive lock on a file (flock LOCK_EX). Destroying the object
// releases the lock and closes the file; the file itself stays.
class FileLock {
public:
    virtual ~FileLock() = default;
};

// Everything the ring store and the temporary session do to the file system.
// All operations may be called from any thread, are blocking system calls
// (no buffering in the process) and report failure through their result,
// never by throwing. Paths are absolute, UTF-8, "/"-separated.
class BlockFiles {
public:
    enum class DirResult { Created, AlreadyExists, Failed };

    struct ReadResult {
        bool opened = false;   // false: the file could not be opened
        std::size_t bytes = 0; // bytes read from the start of the file
    };

    virtual ~BlockFiles() = default;

    // Creates a new file for writing (O_CREAT|O_EXCL, mode 0600); fails if the
    // path exists. Returns null on any failure.
    virtual std::unique_ptr<BlockFile> createExclusive(const std::string& path) = 0;

    // Opens an existing file for writing (no create, no truncate). Null on
    // failure. Used to go on writing a block whose handle was closed early.
    virtual std::unique_ptr<BlockFile> openExisting(const std::string& path) = 0;

    // Opens the file for reading with a sequential-access hint, reads up to
    // `bytes` bytes from its start into `buffer` (until end of file), closes it.
    virtual ReadResult readFile(const std::string& path, void* buffer, std::size_t bytes) = 0;

    // unlink. True when the file was removed.
    virtual bool removeFile(const std::string& path) = 0;

    // mkdir (mode 0700). Created only when this call made the directory;
    // AlreadyExists when something is already at the path (EEXIST).
    virtual DirResult makeDirectory(const std::string& path) = 0;

    // rmdir. True when the directory was removed (it must be empty).
    virtual bool removeDirectory(const std::string& path) = 0;

    // True when the path names an existing directory.
    virtual bool directoryExists(const std::string& path) = 0;

    // Opens (creating it if missing) the file and takes flock(LOCK_EX|LOCK_NB)
    // on it. Null when the file cannot be opened or another holder (any open
    // file description, in this process or another) keeps the lock. Never waits.
    virtual std::unique_ptr<FileLock> lockFile(const std::string& path) = 0;

    // Waits until the file's written data is on the disk (fdatasync through a
    // descriptor of its own). False when the file cannot be opened or synced.
    virtual bool syncFile(const std::string& path) = 0;

    // Replaces the file's contents at one stroke: writes `contents` to
    // "<path>.new", fdatasyncs it and renames it over `path`, so that a crash
    // leaves the old or the new contents, never a mixture. False on failure
    // (the old file is left as it was).
    virtual bool replaceFile(const std::string& path, const std::string& contents) = 0;
};

} // namespace sorvella
