#pragma once

#include "platform/files/TargetFiles.h"

#include <memory>
#include <string>

namespace sorvella {

// The target file a save job creates before it starts, held from then on so
// that no second save can take the same file while this one waits for its
// codec. The writer that opens the target through this object is handed the
// held file itself (created empty, at position 0), so the hold never lapses
// in between; any other name, and a later open, go to the real files.
class HeldTarget : public TargetFiles {
public:
    // Creates and holds `fileName`. Raises RecException kind 2 "Cannot open
    // targetfile: " + name when it cannot be created or is held elsewhere.
    HeldTarget(TargetFiles& files, std::string fileName);

    const std::string& fileName() const { return m_fileName; }

    // Lets go of the file if it is still held here (it stays on disk).
    void release() { m_held.reset(); }

    std::unique_ptr<TargetFile> create(const std::string& path) override;
    bool remove(const std::string& path) override { return m_files.remove(path); }
    bool rename(const std::string& from, const std::string& to) override
    {
        return m_files.rename(from, to);
    }

private:
    TargetFiles& m_files;
    std::string m_fileName;
    std::unique_ptr<TargetFile> m_held;
};

} // namespace sorvella
