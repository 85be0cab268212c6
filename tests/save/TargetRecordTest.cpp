#include "save/TargetRecord.h"
#include "tests/save/RecordingCodec.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

namespace sorvella::test {
namespace {

TEST(TargetRecordTest, CopyHasItsOwnCodecAndNoFormatYet)
{
    SaveTarget target;
    target.codec = std::make_shared<RecordingCodec>();
    target.formatNumber = 1;
    codecFormat(target);
    ASSERT_TRUE(target.codecFormat);

    const SaveTarget copy = copyTarget(target);
    ASSERT_NE(copy.codec, nullptr);
    EXPECT_NE(copy.codec, target.codec);
    EXPECT_FALSE(copy.codecFormat);

    target.codec.reset();
    EXPECT_EQ(copyTarget(target).codec, nullptr);
}

TEST(TargetRecordTest, FormatNumberIsLoweredToOneTheCodecHas)
{
    SaveTarget target;
    target.codec = std::make_shared<RecordingCodec>(); // formats 1 and 2
    target.formatNumber = 5;
    EXPECT_FALSE(formatUsable(target));
    EXPECT_EQ(codecFormat(target).avgBytesPerSec, 2000U);
    EXPECT_EQ(target.formatNumber, 2);
    EXPECT_EQ(target.formatLabel, "REC [2]");

    // Without a codec only plain WAV is left.
    target.codec.reset();
    EXPECT_FALSE(formatUsable(target));
    EXPECT_EQ(&codecFormat(target), &target.sourceFormat);
    EXPECT_EQ(target.formatNumber, 0);
    EXPECT_FALSE(target.codecFormat);
}

TEST(TargetRecordTest, AssignedNamesAreNormalised)
{
    TempDir cwd;
    TempDir home;
    std::filesystem::current_path(cwd.path());
    setenv("HOME", home.path().c_str(), 1);
    SaveTarget target;

    setFileName(target, "sub\\x.wav");
    EXPECT_EQ(target.fileName, cwd.path().string() + "/sub/x.wav");
    setFileName(target, "./sub//y.wav");
    EXPECT_EQ(target.fileName, cwd.path().string() + "/sub/y.wav");
    setFileName(target, "\\\\server\\x.wav");
    EXPECT_EQ(target.fileName, "//server/x.wav");
    setFileName(target, "~/rec.wav");
    EXPECT_EQ(target.fileName, home.path().string() + "/rec.wav");

    // The encoded variant keeps a non-zero number and never leaves 0.
    setFileName(target, "/b.rec", 0);
    EXPECT_EQ(target.formatNumber, 1);
    setFileName(target, "/b.rec", 2);
    setFileName(target, "/b.rec", 0);
    EXPECT_EQ(target.formatNumber, 2);

    // The number search looks where the file will be, not under "./~".
    std::ofstream(home.path() / "rec1.wav").put('x');
    target.fileName = "~/rec%n.wav";
    applyTimes(target, 0, 0);
    EXPECT_EQ(target.fileName, home.path().string() + "/rec2.wav");
}

TEST(TargetRecordTest, NextFreeNameSkipsTakenNumbers)
{
    TempDir dir{"dotted.folder"};
    SaveTarget target;
    const auto renamedFrom = [&](const char* taken) {
        std::ofstream(dir.path() / taken).put('x');
        target.fileName = (dir.path() / taken).string();
        nextFreeName(target);
        return target.fileName.substr(dir.path().string().size() + 1);
    };

    std::ofstream(dir.path() / "take (8).wav").put('x');
    EXPECT_EQ(renamedFrom("take (7).wav"), "take (9).wav");
    EXPECT_EQ(renamedFrom("x (a).wav"), "x (a) (1).wav");
    EXPECT_EQ(renamedFrom("take(7).wav"), "take(7) (1).wav");
    // The dot of the folder is no extension.
    EXPECT_EQ(renamedFrom("take"), "take (1)");
    EXPECT_FALSE(targetExists(target));
}

} // namespace
} // namespace sorvella::test
