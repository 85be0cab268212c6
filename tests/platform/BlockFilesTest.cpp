#include "platform/fakes/FaultBlockFiles.h"
#include "platform/files/PosixBlockFiles.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace sorvella::test {
namespace {

class BlockFilesTest : public ::testing::Test {
protected:
    std::string path(const std::string& name) const { return (dir.path() / name).string(); }

    std::vector<char> read(const std::string& name, std::size_t bytes)
    {
        std::vector<char> out(bytes);
        const auto result = posix.readFile(path(name), out.data(), bytes);
        EXPECT_TRUE(result.opened);
        out.resize(result.bytes);
        return out;
    }

    TempDir dir{"files"};
    PosixBlockFiles posix;
    FaultBlockFiles faults{posix};
};

TEST_F(BlockFilesTest, CreateIsExclusive)
{
    EXPECT_NE(posix.createExclusive(path("a.tmp")), nullptr);
    EXPECT_EQ(posix.createExclusive(path("a.tmp")), nullptr);
    EXPECT_EQ(posix.createExclusive(path("missing/b.tmp")), nullptr);
    EXPECT_EQ(posix.createExclusive(""), nullptr);
}

TEST_F(BlockFilesTest, WritesLandAtTheirOffsets)
{
    auto file = posix.createExclusive(path("a.tmp"));
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(file->writeAt(4, "efgh", 4), 4u);
    EXPECT_EQ(file->writeAt(0, "abcd", 4), 4u);
    EXPECT_EQ(file->writeAt(2, "XY", 2), 2u);
    file->dropCache(0, 0);
    file.reset();
    EXPECT_EQ(read("a.tmp", 100), (std::vector<char>{'a', 'b', 'X', 'Y', 'e', 'f', 'g', 'h'}));
    EXPECT_EQ(read("a.tmp", 3).size(), 3u);

    auto again = posix.openExisting(path("a.tmp"));
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(again->writeAt(8, "i", 1), 1u);
    again.reset();
    EXPECT_EQ(read("a.tmp", 100).size(), 9u);
    EXPECT_EQ(posix.openExisting(path("none.tmp")), nullptr);
    EXPECT_FALSE(posix.readFile(path("none.tmp"), nullptr, 0).opened);
}

// Space set aside for a block does not lengthen its file: the file holds only
// what was written, through the fault layer as well.
TEST_F(BlockFilesTest, ReservingSetsSpaceAsideWithoutLengthening)
{
    constexpr std::int64_t kReserved = 512 * 1024;
    auto file = faults.createExclusive(path("a.tmp"));
    ASSERT_NE(file, nullptr);
    file->reserve(kReserved);
    EXPECT_EQ(std::filesystem::file_size(path("a.tmp")), 0u);
    EXPECT_EQ(file->writeAt(0, "abcd", 4), 4u);
    EXPECT_EQ(std::filesystem::file_size(path("a.tmp")), 4u);
    struct stat info {};
    ASSERT_EQ(::stat(path("a.tmp").c_str(), &info), 0);
    const int probe = ::open(path("probe").c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0600);
    ASSERT_GE(probe, 0);
    const bool canReserve = ::fallocate(probe, FALLOC_FL_KEEP_SIZE, 0, 4096) == 0;
    ::close(probe);
    if (canReserve) {
        EXPECT_GE(static_cast<std::int64_t>(info.st_blocks) * 512, kReserved);
    }
}

TEST_F(BlockFilesTest, DirectoriesReportWhetherTheyWereMade)
{
    EXPECT_EQ(posix.makeDirectory(path("d")), BlockFiles::DirResult::Created);
    EXPECT_EQ(posix.makeDirectory(path("d")), BlockFiles::DirResult::AlreadyExists);
    EXPECT_EQ(posix.makeDirectory(path("x/y")), BlockFiles::DirResult::Failed);
    EXPECT_TRUE(posix.directoryExists(path("d")));
    posix.createExclusive(path("d/f"));
    EXPECT_FALSE(posix.directoryExists(path("d/f")));
    EXPECT_FALSE(posix.removeDirectory(path("d"))); // not empty
    EXPECT_TRUE(posix.removeFile(path("d/f")));
    EXPECT_FALSE(posix.removeFile(path("d/f")));
    EXPECT_TRUE(posix.removeDirectory(path("d")));
    EXPECT_FALSE(posix.directoryExists(path("d")));
}

TEST_F(BlockFilesTest, ALockHasOneHolderUntilReleased)
{
    auto first = posix.lockFile(path("lock.txt"));
    ASSERT_NE(first, nullptr);
    EXPECT_TRUE(std::filesystem::exists(path("lock.txt")));
    EXPECT_EQ(posix.lockFile(path("lock.txt")), nullptr);
    first.reset();
    EXPECT_NE(posix.lockFile(path("lock.txt")), nullptr);
    EXPECT_EQ(posix.lockFile(path("missing/lock.txt")), nullptr);
}

TEST_F(BlockFilesTest, CreationFailsOnRequest)
{
    faults.failNextCreates(2);
    EXPECT_EQ(faults.createExclusive(path("a")), nullptr);
    EXPECT_EQ(faults.createExclusive(path("a")), nullptr);
    EXPECT_FALSE(std::filesystem::exists(path("a")));
    EXPECT_NE(faults.createExclusive(path("a")), nullptr);
    faults.failCreates(true);
    EXPECT_EQ(faults.createExclusive(path("b")), nullptr);
    faults.failCreates(false);
    EXPECT_NE(faults.createExclusive(path("b")), nullptr);
    EXPECT_EQ(faults.createCalls(), 5);
}

TEST_F(BlockFilesTest, AFullDiskGivesShortWritesUntilSpaceIsBack)
{
    auto file = faults.createExclusive(path("a"));
    faults.setDiskFull(5);
    EXPECT_EQ(file->writeAt(0, "abc", 3), 3u);
    EXPECT_EQ(file->writeAt(3, "defg", 4), 2u);
    EXPECT_EQ(file->writeAt(5, "hij", 3), 0u);
    faults.spaceIsBack();
    EXPECT_EQ(file->writeAt(5, "hij", 3), 3u);
    file.reset();
    EXPECT_EQ(read("a", 100), (std::vector<char>{'a', 'b', 'c', 'd', 'e', 'h', 'i', 'j'}));
    EXPECT_EQ(faults.bytesWritten(), 8);
    EXPECT_EQ(faults.writeCalls(), 4);
}

TEST_F(BlockFilesTest, LocksFailOnRequest)
{
    faults.failLocks(true);
    EXPECT_EQ(faults.lockFile(path("lock.txt")), nullptr);
    faults.failLocks(false);
    EXPECT_NE(faults.lockFile(path("lock.txt")), nullptr);
}

} // namespace
} // namespace sorvella::test
