#include "platform/system/SystemInfo.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include <filesystem>

namespace sorvella {

std::string documentsFolder()
{
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    const QFileInfo info(documents);
    if (!documents.isEmpty() && info.isAbsolute() && info.isDir()) {
        return documents.toStdString();
    }
    return QDir::homePath().toStdString();
}

std::string systemTempDirectory()
{
    // A TMPDIR that names no directory makes the library refuse; /tmp is
    // what it falls back to without TMPDIR.
    std::error_code error;
    std::string path = std::filesystem::temp_directory_path(error).string();
    if (error) {
        return "/tmp";
    }
    if (path.size() > 1 && path.back() == '/') {
        path.pop_back();
    }
    return path;
}

} // namespace sorvella
