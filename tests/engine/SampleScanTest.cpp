#include "engine/SampleScan.h"
#include "tests/engine/StoreFixture.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <limits>
#include <vector>

namespace sorvella::test {
namespace {

SliceScan reference(const std::int16_t* values, std::uint32_t count, std::int32_t trigger)
{
    SliceScan scan;
    for (std::uint32_t i = 0; i < count; ++i) {
        const int magnitude = std::abs(static_cast<int>(values[i]));
        scan.peak = std::max(scan.peak, magnitude);
        scan.loud += magnitude > trigger ? 1 : 0;
    }
    return scan;
}

class EveryScanner : public ::testing::TestWithParam<SampleScanner> {};

// Counts that end inside and between lane groups, at every offset of a lane,
// for trigger levels at the edges.
TEST_P(EveryScanner, MatchesTheSampleBySampleReference)
{
    const SampleScanner scan = GetParam();
    const std::vector<std::int16_t> values = mixedSamples(4096);
    const std::vector<std::uint8_t> bytes = samples(values);
    for (const std::int32_t trigger : {-1, 0, 1, 999, 32766, 32767, 32768, 40000}) {
        for (std::uint32_t offset = 0; offset < 17; ++offset) {
            for (const std::uint32_t count : {0u, 1u, 7u, 8u, 15u, 16u, 17u, 33u, 512u, 4000u}) {
                const SliceScan want = reference(values.data() + offset, count, trigger);
                const SliceScan got = scan(bytes.data() + 2 * offset, count, trigger);
                ASSERT_EQ(got.peak, want.peak) << "trigger " << trigger << " count " << count;
                ASSERT_EQ(got.loud, want.loud) << "trigger " << trigger << " count " << count;
            }
        }
    }
}

TEST_P(EveryScanner, LongestRunKeepsItsLoudCount)
{
    const std::vector<std::int16_t> values(kMaxScanSamples,
                                           std::numeric_limits<std::int16_t>::min());
    const SliceScan scan =
        GetParam()(reinterpret_cast<const std::uint8_t*>(values.data()), kMaxScanSamples, 0);
    EXPECT_EQ(scan.peak, 32768);
    EXPECT_EQ(scan.loud, static_cast<std::int32_t>(kMaxScanSamples));
}

INSTANTIATE_TEST_SUITE_P(Scanners, EveryScanner, ::testing::ValuesIn(sampleScanners()));

} // namespace
} // namespace sorvella::test
