#include "save/IncompleteTarget.h"

#include "platform/files/TargetFiles.h"

namespace sorvella {

std::string incompleteName(const std::string& fileName)
{
    const std::size_t slash = fileName.rfind('/');
    const std::size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
    const std::size_t dot = fileName.rfind('.');
    // A leading dot starts a hidden name, not an extension.
    if (dot == std::string::npos || dot <= nameStart) {
        return fileName + " (incomplete)";
    }
    return fileName.substr(0, dot) + " (incomplete)" + fileName.substr(dot);
}

std::string keepIncompleteTarget(TargetFiles& files, const std::string& fileName)
{
    const std::string kept = incompleteName(fileName);
    return files.rename(fileName, kept) ? kept : fileName;
}

} // namespace sorvella
