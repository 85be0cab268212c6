// Sorvella: records a sound card's input without pause and keeps it on disk,
// so that the user decides afterwards what to save.

#include "app/Application.h"
#include "app/WindowlessCommandLine.h"
#include "platform/audio/AlsaWaveInSystem.h"

#include <QApplication>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

int main(int argc, char** argv)
{
    if (const std::optional<int> exitCode = sorvella::runWithoutWindows(argc, argv)) {
        return *exitCode;
    }
    QApplication qt(argc, argv);
    // Qt has taken its own options out of argv; the rest are Sorvella's.
    const std::vector<std::string> arguments(argv + std::min(argc, 1), argv + argc);
    sorvella::AlsaWaveInSystem soundCards;
    sorvella::Application application(qt, soundCards);
    return application.run(arguments);
}
