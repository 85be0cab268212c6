#include "platform/settings/QSettingsStore.h"

#include "tests/support/ConfigFiles.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace sorvella {
namespace {

// Texts a hand edit can leave where an integer belongs.
class QSettingsStoreUnreadable : public testing::TestWithParam<const char*> {};

TEST_P(QSettingsStoreUnreadable, LeavesTheFieldAlone)
{
    // A file of its own per case: the process caches what it has parsed.
    std::string application = testing::UnitTest::GetInstance()->current_test_info()->name();
    std::replace(application.begin(), application.end(), '/', '-');
    test::writeText(test::settingsFile(application),
                    std::string("[Default%20Settings]\nGood=-42\nBad=") + GetParam() + "\n");

    QSettingsStore store(application);
    std::int32_t good = 7;
    std::int32_t bad = 7;
    store.readInt(kDefaultSettingsSection, "Good", good);
    store.readInt(kDefaultSettingsSection, "Bad", bad);
    store.readInt(kDefaultSettingsSection, "Missing", bad);
    EXPECT_EQ(good, -42);
    EXPECT_EQ(bad, 7);
}

INSTANTIATE_TEST_SUITE_P(Texts, QSettingsStoreUnreadable,
                         testing::Values("", "ten", "12abc", "1.5", "0x10", "99999999999", "4, 5"));

} // namespace
} // namespace sorvella
