#pragma once

#include "platform/files/BlockFiles.h"

namespace sorvella {

// BlockFiles over the POSIX file calls: open(O_CREAT|O_EXCL), pwrite,
// posix_fadvise, unlink, mkdir, rmdir, flock, fdatasync, rename. Stateless; one instance may
// serve the whole process.
class PosixBlockFiles : public BlockFiles {
public:
    std::unique_ptr<BlockFile> createExclusive(const std::string& path) override;
    std::unique_ptr<BlockFile> openExisting(const std::string& path) override;
    ReadResult readFile(const std::string& path, void* buffer, std::size_t bytes) override;
    bool removeFile(const std::string& path) override;
    DirResult makeDirectory(const std::string& path) override;
    bool removeDirectory(const std::string& path) override;
    bool directoryExists(const std::string& path) override;
    std::unique_ptr<FileLock> lockFile(const std::string& path) override;
    bool syncFile(const std::string& path) override;
    bool replaceFile(const std::string& path, const std::string& contents) override;
};

} // namespace sorvella
