// sorvella-testbed: the program as shipped, over a simulated input and a
// fault layer on the ring store's files, for tests that run the executable.
// The test chooses the faults through the environment:
//   SORVELLA_TESTBED_INPUT=missing   the input device cannot be opened
//   SORVELLA_TESTBED_DISK_BYTES=<n>  the temporary directory takes n more
//                                    bytes of sound, then it is full
//   SORVELLA_TESTBED_ABORT_AT_READ=<n> the process aborts at the n-th read of
//                                    a block file (a save's)

#include "app/RunProgram.h"
#include "platform/fakes/FaultBlockFiles.h"
#include "platform/fakes/SimulatedWaveInSystem.h"
#include "platform/files/PosixBlockFiles.h"

#include <cstdlib>
#include <string_view>

int main(int argc, char** argv)
{
    sorvella::SimulatedSignal signal;
    sorvella::SimulatedWaveInSystem waveIn{signal};
    const char* input = std::getenv("SORVELLA_TESTBED_INPUT");
    waveIn.failOpens(input != nullptr && std::string_view(input) == "missing");

    sorvella::PosixBlockFiles disk;
    sorvella::FaultBlockFiles blockFiles{disk};
    if (const char* bytes = std::getenv("SORVELLA_TESTBED_DISK_BYTES")) {
        blockFiles.setDiskFull(std::strtoll(bytes, nullptr, 10));
    }
    if (const char* reads = std::getenv("SORVELLA_TESTBED_ABORT_AT_READ")) {
        blockFiles.abortAtRead(std::atoi(reads));
    }
    return sorvella::runProgram(argc, argv, waveIn, blockFiles);
}
