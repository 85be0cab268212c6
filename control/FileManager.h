#pragma once

#include <string>

namespace sorvella {

// The desktop's file manager. Main thread.
class FileManager {
public:
    virtual ~FileManager() = default;

    // Opens the file's folder with the file selected. False when no file
    // manager takes the request.
    virtual bool showItem(const std::string& path) = 0;
};

} // namespace sorvella
