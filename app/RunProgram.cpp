#include "app/RunProgram.h"

#include "app/Application.h"
#include "app/UnattendedRecovery.h"
#include "app/WindowlessCommandLine.h"
#include "app/qt/DBusRemoteClient.h"
#include "app/qt/DisplayPresence.h"

#include <QApplication>

#include <algorithm>
#include <filesystem>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

namespace sorvella {

int runProgram(int argc, char** argv, WaveInSystem& waveIn, BlockFiles& blockFiles)
{
    if (const std::optional<int> exitCode = runRemoteCommand(argc, argv)) {
        return *exitCode;
    }
    if (const std::optional<int> exitCode = runWithoutWindows(argc, argv)) {
        return *exitCode;
    }
    if (argc >= 1) {
        const std::vector<std::string> options(argv + 1, argv + argc);
        const std::string name = std::filesystem::path(argv[0]).filename().string();
        if (const auto exitCode = runUnattendedRecovery(options, name, blockFiles, std::cout)) {
            return *exitCode;
        }
    }
    // A scheduler starts the program without a display: it records
    // unattended, drawing nowhere, rather than fail to start.
    if (!hasDisplay()) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication qt(argc, argv);
    // Qt has taken its own options out of argv; the rest are Sorvella's.
    const std::vector<std::string> arguments(argv + std::min(argc, 1), argv + argc);
    Application application(qt, waveIn, blockFiles);
    return application.run(arguments);
}

} // namespace sorvella
