#include "engine/SampleScan.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <limits>

namespace sorvella {

namespace {

// 16 bytes: SSE2 or NEON; 32 bytes: AVX2. GCC and Clang lower these vector
// types without intrinsics.
using Lanes8 = std::int16_t __attribute__((vector_size(16)));
using Lanes16 = std::int16_t __attribute__((vector_size(32)));

// Eight or sixteen samples at a time, with no absolute values (|-32768| does
// not fit 16 bits): the peak comes from the largest and the smallest sample,
// and |v| > t is v > t or v < -t.
template <typename Lanes>
[[gnu::always_inline]] inline SliceScan scanLanes(const std::uint8_t* bytes, std::uint32_t count,
                                                  std::int32_t trigger)
{
    static_assert(std::endian::native == std::endian::little, "samples are little-endian");
    constexpr std::uint32_t kLaneCount = sizeof(Lanes) / sizeof(std::int16_t);
    static_assert(kMaxScanSamples / (sizeof(Lanes8) / sizeof(std::int16_t)) <= 32767,
                  "loud counts fit the lanes");
    const auto above = static_cast<std::int16_t>(std::clamp(trigger, 0, 32767));
    const auto below = static_cast<std::int16_t>(-above);
    const Lanes aboveLanes = Lanes{} + above;
    const Lanes belowLanes = Lanes{} + below;
    Lanes highestLanes = Lanes{} + std::numeric_limits<std::int16_t>::min();
    Lanes lowestLanes = Lanes{} + std::numeric_limits<std::int16_t>::max();
    Lanes loudLanes = {};
    std::uint32_t i = 0;
    for (; i + kLaneCount <= count; i += kLaneCount) {
        Lanes values;
        std::memcpy(&values, bytes + 2 * i, sizeof values);
        highestLanes = values > highestLanes ? values : highestLanes;
        lowestLanes = values < lowestLanes ? values : lowestLanes;
        loudLanes -= values > aboveLanes; // a true lane is -1
        loudLanes -= values < belowLanes;
    }
    std::int32_t highest = 0;
    std::int32_t lowest = 0;
    std::int32_t loud = 0;
    for (std::uint32_t k = 0; k < kLaneCount; ++k) {
        highest = std::max<std::int32_t>(highest, highestLanes[k]);
        lowest = std::min<std::int32_t>(lowest, lowestLanes[k]);
        loud += loudLanes[k];
    }
    for (; i < count; ++i) {
        std::int16_t value;
        std::memcpy(&value, bytes + 2 * i, sizeof value);
        highest = std::max<std::int32_t>(highest, value);
        lowest = std::min<std::int32_t>(lowest, value);
        loud += (value > above ? 1 : 0) + (value < below ? 1 : 0);
    }
    SliceScan scan;
    scan.peak = std::max(highest, -lowest);
    if (trigger < 0) {
        scan.loud = static_cast<std::int32_t>(count);
    } else if (trigger <= 32767) {
        scan.loud = loud;
    } // above 32767 no sample is loud
    return scan;
}

SliceScan scanPortable(const std::uint8_t* bytes, std::uint32_t count, std::int32_t trigger)
{
    return scanLanes<Lanes8>(bytes, count, trigger);
}

#if defined(__x86_64__)
[[gnu::target("avx2")]] SliceScan scanAvx2(const std::uint8_t* bytes, std::uint32_t count,
                                           std::int32_t trigger)
{
    return scanLanes<Lanes16>(bytes, count, trigger);
}
#endif

} // namespace

const std::vector<SampleScanner>& sampleScanners()
{
    static const std::vector<SampleScanner> scanners = [] {
        std::vector<SampleScanner> list;
#if defined(__x86_64__)
        if (__builtin_cpu_supports("avx2")) {
            list.push_back(scanAvx2);
        }
#endif
        list.push_back(scanPortable);
        return list;
    }();
    return scanners;
}

} // namespace sorvella
