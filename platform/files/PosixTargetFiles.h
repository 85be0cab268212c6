#pragma once

#include "platform/files/OpenTargetRegistry.h"
#include "platform/files/TargetFiles.h"

#include <memory>

namespace sorvella {

// Target files on the local file system: open(O_CREAT) and flock(LOCK_EX |
// LOCK_NB) for the hold, emptied only once the hold is taken. The object
// carries the registry of the targets this process holds, so the program makes
// one PosixTargetFiles and every part that writes targets shares it. Files
// that it handed out keep the registry alive, so they may outlive the object.
class PosixTargetFiles : public TargetFiles {
public:
    PosixTargetFiles();

    std::unique_ptr<TargetFile> create(const std::string& path) override;
    bool remove(const std::string& path) override;
    bool rename(const std::string& from, const std::string& to) override;

private:
    std::shared_ptr<OpenTargetRegistry> m_registry;
};

} // namespace sorvella
