#pragma once

#include <cstdint>
#include <vector>

namespace sorvella {

// What the vox marks and the overview need from a run of samples.
struct SliceScan {
    std::int32_t peak = 0; // largest absolute sample
    std::int32_t loud = 0; // samples whose absolute value exceeds the trigger
};

// Scans `count` 16-bit little-endian samples, at most kMaxScanSamples. A
// negative trigger makes every sample loud, one above 32767 none.
using SampleScanner = SliceScan (*)(const std::uint8_t* bytes, std::uint32_t count,
                                    std::int32_t trigger);
constexpr std::uint32_t kMaxScanSamples = 32768;

// The scanners this processor can run, the fastest first. They give the same
// results; the scan runs over every byte recorded, so it uses the widest
// vector registers there are.
const std::vector<SampleScanner>& sampleScanners();

} // namespace sorvella
