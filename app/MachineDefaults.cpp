#include "app/MachineDefaults.h"

#include "platform/system/SystemInfo.h"

namespace sorvella {

void applyMachineDefaults(Settings& settings)
{
    std::string folder = documentsFolder();
    if (!folder.ends_with('/')) {
        folder += '/';
    }
    settings.target.fileName = folder + "recording.wav";
    settings.tempDirectory = systemTempDirectory();
    settings.format.deriveFields();
}

} // namespace sorvella
