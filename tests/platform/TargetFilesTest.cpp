#include "platform/files/PosixTargetFiles.h"
#include "platform/files/StatvfsFreeSpace.h"
#include "tests/support/ConfigFiles.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <functional>

namespace sorvella::test {
namespace {

class TargetFilesTest : public ::testing::Test {
protected:
    std::string path(const char* name) const { return (dir.path() / name).string(); }

    TempDir dir;
    PosixTargetFiles files;
};

void writeAll(TargetFile& file, const std::string& text)
{
    ASSERT_EQ(file.write(text.data(), text.size()), static_cast<std::int64_t>(text.size()));
}

TEST_F(TargetFilesTest, CreateReplacesTheContentAndSeekOverwrites)
{
    writeText(path("take.wav"), "an older and longer take");
    auto file = files.create(path("take.wav"));
    ASSERT_NE(file, nullptr);
    writeAll(*file, "RIFF0000WAVE");
    ASSERT_TRUE(file->seek(4));
    writeAll(*file, "1234");
    EXPECT_TRUE(file->close());
    EXPECT_EQ(readText(path("take.wav")), "RIFF1234WAVE");
}

TEST_F(TargetFilesTest, HeldFileIsRefusedUnderEveryName)
{
    auto held = files.create(path("take.wav"));
    ASSERT_NE(held, nullptr);
    std::filesystem::create_symlink(path("take.wav"), path("symlink.wav"));
    std::filesystem::create_hard_link(path("take.wav"), path("hardlink.wav"));

    EXPECT_EQ(files.create(path("take.wav")), nullptr);
    EXPECT_EQ(files.create(path("symlink.wav")), nullptr);
    EXPECT_EQ(files.create(path("hardlink.wav")), nullptr);
    EXPECT_EQ(PosixTargetFiles().create(path("take.wav")), nullptr);

    held.reset();
    EXPECT_NE(files.create(path("symlink.wav")), nullptr);
}

TEST_F(TargetFilesTest, FileLockedByAnotherHolderIsRefusedAndKeepsItsContent)
{
    writeText(path("take.wav"), "being written elsewhere");
    const int other = ::open(path("take.wav").c_str(), O_RDWR | O_CLOEXEC);
    ASSERT_GE(other, 0);
    ASSERT_EQ(::flock(other, LOCK_EX | LOCK_NB), 0);

    EXPECT_EQ(files.create(path("take.wav")), nullptr);
    EXPECT_EQ(readText(path("take.wav")), "being written elsewhere");

    ::close(other);
    EXPECT_NE(files.create(path("take.wav")), nullptr);
}

struct Unwritable {
    const char* name;
    // Makes the obstacle in the folder and returns the target's path.
    std::function<std::filesystem::path(const std::filesystem::path&)> make;
};

class UnwritableTargets : public TargetFilesTest,
                          public ::testing::WithParamInterface<Unwritable> {};

// A FIFO must fail at once instead of waiting for a reader.
TEST_P(UnwritableTargets, AreRefused)
{
    EXPECT_EQ(files.create(GetParam().make(dir.path()).string()), nullptr);
}

INSTANTIATE_TEST_SUITE_P(Kinds, UnwritableTargets,
                         ::testing::Values(Unwritable{"Directory",
                                                      [](const std::filesystem::path& folder) {
                                                          std::filesystem::create_directory(
                                                              folder / "take.wav");
                                                          return folder / "take.wav";
                                                      }},
                                           Unwritable{"Fifo",
                                                      [](const std::filesystem::path& folder) {
                                                          ::mkfifo((folder / "take.wav").c_str(),
                                                                   0600);
                                                          return folder / "take.wav";
                                                      }},
                                           Unwritable{"MissingFolder",
                                                      [](const std::filesystem::path& folder) {
                                                          return folder / "missing" / "take.wav";
                                                      }}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(TargetFilesTest, RenameNeverReplacesAnExistingFile)
{
    writeText(path("take.wav"), "partial");
    writeText(path("kept.wav"), "kept");

    EXPECT_FALSE(files.rename(path("take.wav"), path("kept.wav")));
    EXPECT_EQ(readText(path("kept.wav")), "kept");

    EXPECT_TRUE(files.rename(path("take.wav"), path("take (incomplete).wav")));
    EXPECT_EQ(readText(path("take (incomplete).wav")), "partial");
    EXPECT_FALSE(std::filesystem::exists(path("take.wav")));
}

// A target that does not exist yet is asked for through its directory; a
// path whose directory is missing has no known space.
TEST(StatvfsFreeSpace, AsksTheDirectoryOfANewFileAndKnowsNothingOfAMissingOne)
{
    TempDir dir;
    const StatvfsFreeSpace space;
    const std::optional<std::int64_t> ofDir = space.available(dir.path().string());
    ASSERT_TRUE(ofDir.has_value());
    EXPECT_GT(*ofDir, 0);
    EXPECT_TRUE(space.available((dir.path() / "take.wav").string()).has_value());
    EXPECT_FALSE(space.available((dir.path() / "missing" / "take.wav").string()).has_value());
}

} // namespace
} // namespace sorvella::test
