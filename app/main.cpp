// Sorvella: records a sound card's input without pause and keeps it on disk,
// so that the user decides afterwards what to save.

#include "app/Application.h"
#include "platform/AlsaWaveInSystem.h"

#include <QApplication>

#include <cstdio>
#include <cstring>

int main(int argc, char** argv)
{
    if (argc == 2 && std::strcmp(argv[1], "--help") == 0) {
        std::printf("usage: %s [options]   (the options are described in help/command.htm)\n",
                    argv[0]);
        return 0;
    }
    QApplication qt(argc, argv);
    sorvella::AlsaWaveInSystem soundCards;
    sorvella::Application application(qt, soundCards);
    return application.run();
}
