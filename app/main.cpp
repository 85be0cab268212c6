// Sorvella: records a sound card's input without pause and keeps it on disk,
// so that the user decides afterwards what to save.

#include "app/RunProgram.h"
#include "platform/audio/AlsaWaveInSystem.h"
#include "platform/files/PosixBlockFiles.h"

int main(int argc, char** argv)
{
    sorvella::AlsaWaveInSystem soundCards;
    sorvella::PosixBlockFiles blockFiles;
    return sorvella::runProgram(argc, argv, soundCards, blockFiles);
}
