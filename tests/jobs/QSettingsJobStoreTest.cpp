// The job file: lines of any length, and a file that is no valid INI or
// holds a list where a line belongs, which must neither crash nor be
// rewritten by reading.

#include "platform/settings/QSettingsJobStore.h"
#include "tests/support/ConfigFiles.h"

#include <gtest/gtest.h>

namespace sorvella {
namespace {

const std::filesystem::path jobFile()
{
    return test::settingsFile("System Agent");
}

TEST(QSettingsJobStore, KeepsALongLineWhole)
{
    const std::string line = "-q:s:44100 -c:0:60 -f:\"/tmp/" + std::string(3000, 'x') + ".wav\"";
    QSettingsJobStore().writeLine(7, line);
    EXPECT_EQ(QSettingsJobStore().readLine(7), line);
    EXPECT_EQ(QSettingsJobStore().readLine(8), "");
}

class DamagedJobFile : public ::testing::TestWithParam<std::string> {};

TEST_P(DamagedJobFile, ReadsNoLineAndLeavesTheFileAlone)
{
    test::writeText(jobFile(), GetParam());
    EXPECT_EQ(QSettingsJobStore().readLine(3), "");
    EXPECT_EQ(test::readText(jobFile()), GetParam());
}

INSTANTIATE_TEST_SUITE_P(Contents, DamagedJobFile,
                         ::testing::Values(std::string("\x01\x02[[Set3\nSetting\n=\xff\xfe", 14),
                                           "[Set3]\nSetting=-q:s:44100, -i\n"));

} // namespace
} // namespace sorvella
