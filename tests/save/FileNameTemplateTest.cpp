#include "save/FileNameTemplate.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <fstream>

namespace sorvella::test {
namespace {

// 7 March 2009, 12:05:09 UTC.
constexpr std::int64_t kMarch7th = 1236427509;

class FileNameTemplateTest : public ::testing::Test {
protected:
    void touch(const std::string& name) { std::ofstream(dir.path() / name).put('x'); }
    // The expansion of `name` in the folder, without the folder.
    std::string expand(const std::string& name) const
    {
        const std::string folder = dir.path().string() + "/";
        return expandTemplate(folder + name, 0, 0).substr(folder.size());
    }

    TempDir dir;
};

TEST_F(FileNameTemplateTest, NumbersAreTheSmallestFree)
{
    touch("rec2.wav");
    EXPECT_EQ(expand("rec%n.wav"), "rec1.wav");
    touch("rec1.wav");
    EXPECT_EQ(expand("rec%n.wav"), "rec3.wav");

    EXPECT_EQ(expand("rec%N.wav"), "rec.wav");
    std::filesystem::create_directory(dir.path() / "rec.wav"); // a folder takes a name too
    EXPECT_EQ(expand("rec%N.wav"), "rec3.wav");

    // Every occurrence gets the same number; with both, only %N counts.
    touch("take1-1.wav");
    EXPECT_EQ(expand("take%n-%n.wav"), "take2-2.wav");
    EXPECT_EQ(expand("take%N-%n.wav"), "take-%n.wav");
}

TEST_F(FileNameTemplateTest, TimesAreLocalAndTwoDigits)
{
    setenv("TZ", "XYZ-2", 1); // two hours east of UTC
    tzset();
    const auto noneTaken = [](const std::string&) { return false; };
    const std::int64_t end = kMarch7th + 3600 + 125;
    EXPECT_EQ(expandTemplate("20%y.%o.%d_%h.%m.%s%N", kMarch7th, end, noneTaken),
              "2009.03.07_14.05.09");
    EXPECT_EQ(expandTemplate("%H.%M.%S %Y%O%D %x%q", kMarch7th, end, noneTaken),
              "15.07.14 090307 %x%q");
}

TEST_F(FileNameTemplateTest, SearchEndsWhateverTheFileSystemSays)
{
    // Every name taken: the search gives up instead of running forever.
    EXPECT_EQ(expandTemplate("rec%n.wav", 0, 0, [](const std::string&) { return true; }),
              "rec1000000.wav");

    // Names the system cannot look up count as free here; creating the file
    // reports them later.
    EXPECT_EQ(expand("missing/rec%n.wav"), "missing/rec1.wav");
    const std::string longStem(300, 'a');
    EXPECT_EQ(expand(longStem + "%n.wav"), longStem + "1.wav");
}

} // namespace
} // namespace sorvella::test
