#include "save/IncompleteTarget.h"

#include "platform/files/TargetFiles.h"
#include "save/TargetPath.h"

namespace sorvella {

namespace {

// Taken names are skipped; beyond this many the folder refuses every name.
constexpr int kMostIncompleteNames = 1000;

} // namespace

std::string incompleteName(const std::string& fileName)
{
    const FileNameParts parts = splitFileName(fileName);
    return parts.folder + parts.stem + " (incomplete)" + parts.extension;
}

std::string keepIncompleteTarget(TargetFiles& files, const std::string& fileName)
{
    std::string kept = incompleteName(fileName);
    for (int tries = 0; tries < kMostIncompleteNames; ++tries) {
        if (files.rename(fileName, kept)) {
            return kept;
        }
        kept = nextNumberedName(kept);
    }
    return fileName;
}

} // namespace sorvella
