#pragma once

#include "control/FileManager.h"

namespace sorvella {

// The freedesktop file manager interface on the session bus
// (org.freedesktop.FileManager1.ShowItems).
class DBusFileManager : public FileManager {
public:
    bool showItem(const std::string& path) override;
};

} // namespace sorvella
