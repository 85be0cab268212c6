// `cmake --install` into a temporary prefix: the installed program keeps its
// modules in its private library folder and its help pages in the data
// folder, finds both there, and records and saves unattended through its own
// encoder library.

#include "app/HelpRouter.h"
#include "tests/save/codecs/Tone.h"
#include "tests/support/ConfigFiles.h"
#include "tests/support/TempDir.h"

#include <QCoreApplication>
#include <QProcess>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

namespace sorvella {
namespace {

int argc = 1;
char programName[] = "sorvella_install_tests";
char* argv[] = {programName, nullptr};

std::vector<std::string> fileNames(const std::filesystem::path& folder)
{
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

class InstalledProgramTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        QProcess install;
        install.start(SORVELLA_CMAKE_COMMAND, {"--install", SORVELLA_BUILD_FOLDER, "--prefix",
                                               QString::fromStdString(prefix.path().string())});
        ASSERT_TRUE(install.waitForFinished(120000));
        ASSERT_EQ(install.exitCode(), 0) << install.readAllStandardError().toStdString();
    }

    QCoreApplication qt{argc, argv};
    test::TempDir prefix{"prefix"};
};

TEST_F(InstalledProgramTest, ModulesAndHelpPagesAreWhereTheProgramLooks)
{
    EXPECT_EQ(fileNames(prefix.path() / "bin"), std::vector<std::string>{"sorvella"});
    EXPECT_EQ(fileNames(prefix.path() / SORVELLA_PRIVATE_LIBDIR),
              (std::vector<std::string>{"liblame_enc.so", "libsorvella_ffmpeg_media.so"}));
    const std::filesystem::path help = HelpRouter::folderOf(prefix.path() / "bin");
    EXPECT_TRUE(std::filesystem::exists(help / "index.htm")) << help;
    EXPECT_TRUE(std::filesystem::equivalent(help, prefix.path() / SORVELLA_HELP_DIR));
}

// The settings select the encoder-library codec over liblame_enc.so, and an
// MP3 name on the command line keeps it: without the library the save fails.
TEST_F(InstalledProgramTest, RecordsTheToneAndSavesItThroughItsEncoderLibrary)
{
    test::writeText(test::settingsFile("sorvella"), "[Default Settings]\nTarget File Codec=3\n");
    const test::TempDir target{"target"};
    const std::filesystem::path mp3 = target.path() / "take.mp3";

    QProcess program;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("PULSE_SOURCE", "sine");
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    program.setProcessEnvironment(environment);
    program.start(QString::fromStdString((prefix.path() / "bin" / "sorvella").string()),
                  {"-q:s:44100", "-c:0:3", QString::fromStdString("-f:" + mp3.string())});
    ASSERT_TRUE(program.waitForFinished(90000));
    EXPECT_EQ(program.exitCode(), 0) << program.readAllStandardError().toStdString();

    const std::optional<test::DecodedSound> sound = test::decodeWithFfmpeg(mp3);
    ASSERT_TRUE(sound);
    EXPECT_GE(sound->seconds(), 2.9);
    EXPECT_NEAR(sound->frequency(), test::kToneHz, 20);
}

} // namespace
} // namespace sorvella
