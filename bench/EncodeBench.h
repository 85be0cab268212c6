#pragma once

#include "save/Codec.h"

#include <memory>
#include <string>
#include <vector>

namespace sorvella::bench {

// One encoded save against an outside encoder of the same format, with
// matched settings, on the same ten minutes of 44.1 kHz stereo (tones under
// noise). Both sides are measured in CPU time: the save job's thread its own
// (RUSAGE_THREAD, reading the store included), the peer its user + system
// time (reading the WAV file included).
struct EncodeComparison {
    std::string ours; // what is printed for our side
    std::string peerName;
    std::shared_ptr<Codec> codec;
    std::int32_t codecNumber = 0;
    std::int32_t formatNumber = 1;
    // The peer's command; "{in}" is the WAV file, "{out}" the file to write.
    std::vector<std::string> peer;
};

// Runs the comparison three times, alternating which side goes first, and
// ends with "ratio=" the median of peer / ours. args[0] optionally names the
// parent of the scratch directory. Returns the process exit code.
int compareEncoding(const std::vector<std::string>& args, const EncodeComparison& comparison);

} // namespace sorvella::bench
