// The executable with "--help" and "installconfig": both finish before any
// window system is started, so they run without a display at all.

#include "tests/support/TempDir.h"

#include <QCoreApplication>
#include <QProcess>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace sorvella {
namespace {

int argc = 1;
char programName[] = "sorvella_command_line_program_tests";
char* argv[] = {programName, nullptr};

struct Finished {
    int exitCode = -1;
    std::string out;
    std::string err;
};

class CommandLineProgramTest : public ::testing::Test {
protected:
    // Without any display: a program that started Qt's window system here
    // would abort.
    Finished run(const QStringList& arguments)
    {
        QProcess program;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char* variable : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
            environment.remove(variable);
        }
        environment.insert("TMPDIR", QString::fromStdString(temporary.path().string()));
        program.setProcessEnvironment(environment);
        program.start(SORVELLA_EXECUTABLE, arguments);
        EXPECT_TRUE(program.waitForFinished(60000));
        EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
        return {program.exitCode(), program.readAllStandardOutput().toStdString(),
                program.readAllStandardError().toStdString()};
    }

    QCoreApplication qt{argc, argv};
    test::TempDir temporary{"program-tmp"};
};

TEST_F(CommandLineProgramTest, HelpListsTheOptionsAndQuits)
{
    const Finished help = run({"--help", "-f:/nonexistent/never.wav"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_TRUE(help.out.starts_with("usage: sorvella [option]...\n")) << help.out;
    EXPECT_NE(help.out.find("-f:[kbit:]file"), std::string::npos);
    EXPECT_EQ(help.err, "");
    EXPECT_TRUE(std::filesystem::is_empty(temporary.path()));
}

TEST_F(CommandLineProgramTest, InstallconfigConfirmsTheWindowsMediaCodec)
{
    const Finished check = run({"/installconfig"});
    EXPECT_EQ(check.exitCode, 0);
    EXPECT_EQ(check.out, "Windows Media Audio Codec works fine. You can save windows media "
                         "files with Sorvella.\n");
    EXPECT_EQ(check.err, "");
}

// Without a display a bad option before it is told on standard error.
TEST_F(CommandLineProgramTest, ErrorsBeforeInstallconfigGoToStandardError)
{
    const Finished check = run({"-k", "installconfig", "-i"});
    EXPECT_EQ(check.exitCode, 0);
    EXPECT_EQ(check.err, "Command line parsing: Invalid Parameter: 'k'\n");
    EXPECT_TRUE(check.out.starts_with("Windows Media Audio Codec works fine.")) << check.out;
}

} // namespace
} // namespace sorvella
