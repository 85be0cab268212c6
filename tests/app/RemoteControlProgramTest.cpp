// The executable as a remote control: one instance records the test input's
// 1 kHz tone on a private session bus, and the program's own command line
// saves from it, asks its status and hears when the save has ended.

#include "tests/save/codecs/Tone.h"
#include "tests/support/ProgramFixture.h"
#include "tests/support/WaitFor.h"

#include <QProcess>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace sorvella {
namespace {

constexpr int kHeldSeconds = 3;

struct Finished {
    int exitCode = -1;
    std::string out;
    std::string err;
};

std::size_t count(const std::string& text, const std::string& part)
{
    std::size_t found = 0;
    for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
        ++found;
    }
    return found;
}

class RemoteControlProgramTest : public test::ProgramFixture {
protected:
    // A session bus of this test's own: no command reaches a Sorvella of the
    // desktop the tests run on.
    RemoteControlProgramTest()
    {
        m_bus.start("dbus-daemon", {"--session", "--nofork", "--print-address=1"});
        while (m_address.empty() && m_bus.waitForReadyRead(30000)) {
            m_address = m_bus.readLine().trimmed().toStdString();
        }
        EXPECT_FALSE(m_address.empty()) << "no private session bus";
    }

    ~RemoteControlProgramTest() override
    {
        for (const std::unique_ptr<QProcess>& instance : m_instances) {
            instance->terminate();
            instance->waitForFinished(60000);
        }
        m_bus.terminate();
        m_bus.waitForFinished(60000);
    }

    // The tone is the default input for the program alone; there is no
    // display. Without `bus` the address leads nowhere.
    QProcessEnvironment environment(bool bus = true) const
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.remove("DISPLAY");
        environment.remove("WAYLAND_DISPLAY");
        environment.insert("QT_QPA_PLATFORM", "offscreen");
        environment.insert("PULSE_SOURCE", "sine");
        environment.insert("TMPDIR", QString::fromStdString(temporary.path().string()));
        const std::string nowhere = "unix:path=" + (temporary.path() / "no-bus").string();
        environment.insert("DBUS_SESSION_BUS_ADDRESS",
                           QString::fromStdString(bus ? m_address : nowhere));
        return environment;
    }

    Finished run(const QStringList& arguments, bool bus = true)
    {
        QProcess program;
        program.setProcessEnvironment(environment(bus));
        program.start(SORVELLA_EXECUTABLE, arguments);
        EXPECT_TRUE(program.waitForFinished(90000));
        EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
        return {program.exitCode(), program.readAllStandardOutput().toStdString(),
                program.readAllStandardError().toStdString()};
    }

    // An instance recording the tone for `file`; its process id.
    qint64 startInstance(const std::string& file)
    {
        QProcess& instance = *m_instances.emplace_back(std::make_unique<QProcess>());
        instance.setProcessEnvironment(environment());
        instance.start(SORVELLA_EXECUTABLE, {"-q:s:44100", QString::fromStdString("-f:" + file)});
        EXPECT_TRUE(instance.waitForStarted());
        return instance.processId();
    }

    // The status of the instance `addressed` once it holds kHeldSeconds.
    Finished statusWhenHeld(const QStringList& addressed = {})
    {
        Finished status;
        EXPECT_TRUE(test::waitFor(
            [&] {
                status = run(QStringList{"--status"} + addressed);
                const auto held = status.out.find("heldSeconds: ");
                return status.exitCode == 0 && held != npos &&
                       std::stoi(status.out.substr(held + 13)) >= kHeldSeconds;
            },
            std::chrono::seconds(60)))
            << status.out << status.err;
        return status;
    }

    // Listens for the Saved signal; returns once the monitor is attached.
    void listenForSaved()
    {
        m_monitor.start("dbus-monitor", {"--address", QString::fromStdString(m_address),
                                         "type=signal,interface=org.sorvella.Recorder"});
        ASSERT_TRUE(test::waitFor([this] { return monitored().find("NameLost") != npos; }));
    }

    const std::string& monitored()
    {
        m_monitor.waitForReadyRead(10);
        m_monitored += m_monitor.readAllStandardOutput().toStdString();
        return m_monitored;
    }

    std::string targetFile(const std::string& name = "take.wav") const
    {
        return (target.path() / name).string();
    }

    // What the instances have written to standard error so far.
    std::string instanceErrors()
    {
        std::string errors;
        for (const std::unique_ptr<QProcess>& instance : m_instances) {
            instance->waitForReadyRead(100);
            errors += instance->readAllStandardError().toStdString();
        }
        return errors;
    }

    static constexpr std::size_t npos = std::string::npos;

private:
    QProcess m_bus;
    std::vector<std::unique_ptr<QProcess>> m_instances;
    QProcess m_monitor;
    std::string m_address;
    std::string m_monitored;
};

TEST_F(RemoteControlProgramTest, QuickSaveFromTheCommandLineSavesTheToneAndIsAnnounced)
{
    startInstance(targetFile());
    const Finished status = statusWhenHeld();
    EXPECT_EQ(status.out.find("state: recording\nmode: loop\nheldSeconds: "), 0u) << status.out;
    EXPECT_EQ(count(status.out, "\n"), 6u) << status.out;

    listenForSaved();
    const Finished save = run({"--quick-save"});
    EXPECT_EQ(save.exitCode, 0) << save.err;
    EXPECT_EQ(save.out, "Saving to " + targetFile() + "\n");
    EXPECT_TRUE(test::waitFor([&] {
        const std::string& heard = monitored();
        return heard.find("member=Saved") != npos &&
               heard.find("string \"" + targetFile() + "\"\n   boolean true") != npos;
    })) << monitored()
        << instanceErrors();

    const std::optional<test::DecodedSound> sound = test::decodeWithFfmpeg(targetFile());
    ASSERT_TRUE(sound);
    EXPECT_GE(sound->seconds(), kHeldSeconds);
    EXPECT_NEAR(sound->frequency(), test::kToneHz, 20);
}

TEST_F(RemoteControlProgramTest, CommandsReachTheFirstInstanceUnlessAnotherIsNamed)
{
    startInstance(targetFile("first.wav"));
    statusWhenHeld();
    const QString second = QString::number(startInstance(targetFile("second.wav")));
    statusWhenHeld({"--instance", second});

    EXPECT_EQ(run({"--quick-save"}).out, "Saving to " + targetFile("first.wav") + "\n");
    EXPECT_EQ(run({"--quick-save", "--instance", second}).out,
              "Saving to " + targetFile("second.wav") + "\n");
}

TEST_F(RemoteControlProgramTest, WithoutAnInstanceOrABusTheCommandsEndWithCode2)
{
    const Finished none = run({"--quick-save"});
    EXPECT_EQ(none.exitCode, 2);
    EXPECT_EQ(none.err, "No Sorvella is running.\n");

    const QString self = QString::number(QCoreApplication::applicationPid());
    EXPECT_EQ(run({"--status", "--instance", self}).exitCode, 2);

    const Finished noBus = run({"--quick-save"}, false);
    EXPECT_EQ(noBus.exitCode, 2);
    EXPECT_NE(noBus.err.find("no D-Bus session bus"), npos) << noBus.err;
}

// A cron job or a plain ssh login has no session bus: the recording runs
// as before, and the program says once that it cannot be reached.
TEST_F(RemoteControlProgramTest, WithoutASessionBusTheProgramRecordsAndSaysSoOnce)
{
    const Finished recorded =
        run({"-q:s:44100", "-c:0:2", QString::fromStdString("-f:" + targetFile())}, false);
    EXPECT_EQ(recorded.exitCode, 0) << recorded.err;
    EXPECT_EQ(count(recorded.err, "Remote control is unavailable"), 1u) << recorded.err;
    EXPECT_TRUE(std::filesystem::exists(targetFile()));
}

} // namespace
} // namespace sorvella
