// sorvella-testbed: the program as shipped, over a simulated input and a
// fault layer on the ring store's files, for tests that run the executable.
// The test chooses the faults through the environment:
//   SORVELLA_TESTBED_INPUT=missing   the input device cannot be opened
//   SORVELLA_TESTBED_DISK_BYTES=<n>  the temporary directory takes n more
//                                    bytes of sound, then it is full
//   SORVELLA_TESTBED_ABORT_AT=read:<n>   the process aborts at the n-th read
//                                    of a block file (a save's) ...
//   SORVELLA_TESTBED_ABORT_AT=remove:<n> ... or deletion of one (a trim's)

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
    if (const char* abortAt = std::getenv("SORVELLA_TESTBED_ABORT_AT")) {
        const std::string_view point(abortAt);
        const bool read = point.starts_with("read:");
        blockFiles.abortAt(read ? sorvella::FaultBlockFiles::AbortPoint::Read
                                : sorvella::FaultBlockFiles::AbortPoint::Remove,
                           std::atoi(abortAt + point.find(':') + 1));
    }
    return sorvella::runProgram(argc, argv, waveIn, blockFiles);
}
