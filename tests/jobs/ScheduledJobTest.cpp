// Job 3 as the shipped crontab line and systemd unit start it: without a
// display, through the test sound server, to a saved file. The units are
// checked by systemd-analyze where it exists; neither cron nor systemd runs.

#include "platform/settings/QSettingsJobStore.h"
#include "tests/support/ConfigFiles.h"
#include "tests/support/ProgramFixture.h"

#include <QProcess>
#include <QStandardPaths>

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>

namespace sorvella {
namespace {

constexpr const char* kInstalledProgram = "/usr/local/bin/sorvella";
constexpr std::uintmax_t kThreeSecondsOfStereo = 3 * 44100 * 4;

std::string shipped(const std::string& name)
{
    return test::readText(std::filesystem::path(SORVELLA_SOURCE_DIR) / "packaging" / name);
}

std::string withThisProgram(std::string text)
{
    for (std::size_t at; (at = text.find(kInstalledProgram)) != std::string::npos;) {
        text.replace(at, std::string_view(kInstalledProgram).size(), SORVELLA_EXECUTABLE);
    }
    return text;
}

// The command of the crontab line: what follows its five time fields.
std::string crontabCommand()
{
    std::istringstream lines(shipped("cron/sorvella-job3.crontab"));
    std::string line;
    std::string entry;
    while (std::getline(lines, line)) {
        if (!line.empty() && line.front() != '#') {
            entry = line;
        }
    }
    std::istringstream fields(entry);
    std::string field;
    for (int i = 0; i < 5; ++i) {
        fields >> field;
    }
    std::string command;
    std::getline(fields >> std::ws, command);
    return withThisProgram(command);
}

std::string execStart()
{
    std::istringstream lines(shipped("systemd/sorvella-job3.service"));
    for (std::string line; std::getline(lines, line);) {
        if (line.starts_with("ExecStart=")) {
            return withThisProgram(line.substr(std::string_view("ExecStart=").size()));
        }
    }
    return {};
}

class ScheduledJobTest : public test::ProgramFixture {
protected:
    void SetUp() override
    {
        QSettingsJobStore().writeLine(3, "-q:s:44100 -c:0:3 -f:\"" + take().string() + "\"");
    }

    // Runs the command as a scheduler would: no display, the test input's
    // tone as the default source. The exit code, -1 when it did not end.
    int schedule(const QString& program, const QStringList& arguments)
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"}) {
            environment.remove(name);
        }
        environment.insert("PULSE_SOURCE", "sine");
        environment.insert("TMPDIR", QString::fromStdString(temporary.path().string()));
        QProcess job;
        job.setProcessEnvironment(environment);
        job.start(program, arguments);
        const bool ended = job.waitForFinished(90000);
        errors = job.readAllStandardError().toStdString();
        return ended && job.exitStatus() == QProcess::NormalExit ? job.exitCode() : -1;
    }

    void expectTake() const
    {
        ASSERT_TRUE(std::filesystem::exists(take())) << errors;
        EXPECT_GE(std::filesystem::file_size(take()), kThreeSecondsOfStereo);
    }

    std::filesystem::path take() const { return target.path() / "morning show.wav"; }
};

TEST_F(ScheduledJobTest, TheCrontabLineRecordsTheJob)
{
    EXPECT_EQ(schedule("sh", {"-c", QString::fromStdString(crontabCommand())}), 0) << errors;
    expectTake();
}

TEST_F(ScheduledJobTest, TheServiceRecordsTheJob)
{
    QStringList words = QString::fromStdString(execStart()).split(' ', Qt::SkipEmptyParts);
    ASSERT_FALSE(words.empty());
    const QString program = words.takeFirst();
    EXPECT_EQ(schedule(program, words), 0) << errors;
    expectTake();
}

struct RefusedRun {
    const char* argument;
    const char* told;
};

class RefusedJobRun : public ScheduledJobTest, public ::testing::WithParamInterface<RefusedRun> {};

// Under a scheduler nobody can set a job up or read a box: the run fails,
// saying why on standard error, instead of ending with success.
TEST_P(RefusedJobRun, EndsNonZeroSayingWhy)
{
    EXPECT_EQ(schedule(SORVELLA_EXECUTABLE, {GetParam().argument}), 1) << errors;
    EXPECT_NE(errors.find(GetParam().told), std::string::npos) << errors;
    EXPECT_FALSE(std::filesystem::exists(take()));
}

INSTANTIATE_TEST_SUITE_P(
    Runs, RefusedJobRun,
    ::testing::Values(
        RefusedRun{"/SAGERUN:4",
                   "Please set task options before starting a Sorvella Job (read manual!)"},
        RefusedRun{"/SAGERUN:abc", "Invalid Parameter: 'SAGERUN:abc'"},
        RefusedRun{"/SAGERUN:-2", "Invalid Parameter: 'SAGERUN:-2'"},
        RefusedRun{"/SAGERUN:2147483648", "Invalid Parameter: 'SAGERUN:2147483648'"}));

TEST_F(ScheduledJobTest, TheUnitsPassSystemdsCheck)
{
    const QString analyze = QStandardPaths::findExecutable("systemd-analyze");
    if (analyze.isEmpty()) {
        GTEST_SKIP() << "systemd-analyze is not installed";
    }
    for (const char* unit : {"sorvella-job3.service", "sorvella-job3.timer"}) {
        test::writeText(temporary.path() / unit,
                        withThisProgram(shipped("systemd/" + std::string(unit))));
    }
    QProcess verify;
    verify.setProcessChannelMode(QProcess::MergedChannels);
    verify.start(analyze,
                 {"verify",
                  QString::fromStdString((temporary.path() / "sorvella-job3.service").string()),
                  QString::fromStdString((temporary.path() / "sorvella-job3.timer").string())});
    ASSERT_TRUE(verify.waitForFinished(60000));
    const std::string said = verify.readAll().toStdString();
    EXPECT_EQ(verify.exitCode(), 0) << said;
    EXPECT_EQ(said, "");
}

} // namespace
} // namespace sorvella
