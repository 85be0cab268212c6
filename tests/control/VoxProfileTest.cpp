// The vox profile table's lookups.

#include "control/VoxProfile.h"
#include "core/RecException.h"

#include <gtest/gtest.h>

namespace sorvella {
namespace {

constexpr std::int32_t kCdBytesPerSecond = 176400;

struct LookupCase {
    std::int32_t key;
    std::int64_t silenceBytes; // 0: no profile
    std::int64_t marginBytes;
};

class VoxProfileLookup : public ::testing::TestWithParam<LookupCase> {};

// Silence is at least one and a half blocks: "Record CDs or LPs" at CD
// quality waits 786432 bytes (4.5 s), not 3 s; keys between rows select nothing.
TEST_P(VoxProfileLookup, SilenceAndMarginInBytes)
{
    const LookupCase& c = GetParam();
    EXPECT_EQ(voxSilenceBytes(c.key, kCdBytesPerSecond), c.silenceBytes);
    EXPECT_EQ(voxMarginBytes(c.key, kCdBytesPerSecond), c.marginBytes);
    EXPECT_EQ(voxProfileUsable(c.key), c.silenceBytes > 0);
}

INSTANTIATE_TEST_SUITE_P(Keys, VoxProfileLookup,
                         ::testing::Values(LookupCase{0, 786432, 176400},
                                           LookupCase{10, 6 * 176400, 176400},
                                           LookupCase{20, 10 * 176400, 17640},
                                           LookupCase{80, 60 * 176400, 0}, LookupCase{-1, 0, 0},
                                           LookupCase{5, 0, 0}, LookupCase{90, 0, 0},
                                           LookupCase{1000, 0, 0}));

TEST(VoxProfileTable, KeysAboveAThousandRaiseAndTheListNamesEveryRow)
{
    try {
        voxProfile(1001);
        FAIL() << "no exception";
    } catch (const RecException& error) {
        EXPECT_EQ(error.kind(), RecException::Failure);
        EXPECT_EQ(error.message(), "voxmode - no such profle");
    }
    EXPECT_FALSE(voxProfileUsable(1001));
    const auto names = voxProfileNames();
    ASSERT_EQ(names.size(), 9u);
    EXPECT_EQ(names.front(), (std::pair<std::int32_t, std::string>{0, "Record CDs or LPs"}));
    EXPECT_EQ(names.back(), (std::pair<std::int32_t, std::string>{80, "Edit: Room monitoring"}));
}

} // namespace
} // namespace sorvella
