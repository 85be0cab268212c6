// The shell's platform services: termination signals through the self-pipe,
// and outside programs started detached.

#include "platform/system/LinuxProcessLauncher.h"
#include "platform/system/TerminationSignals.h"
#include "tests/support/ConfigFiles.h"
#include "tests/support/TempDir.h"
#include "tests/support/WaitFor.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <sstream>

namespace sorvella {
namespace {

TEST(TerminationSignalsTest, SignalsBecomeReadableAndHandlersComeBack)
{
    std::signal(SIGTERM, SIG_IGN);
    {
        TerminationSignals signals;
        EXPECT_FALSE(signals.takeSignals());
        std::raise(SIGTERM);
        std::raise(SIGINT);
        EXPECT_TRUE(signals.takeSignals());
        EXPECT_FALSE(signals.takeSignals());
    }
    std::raise(SIGTERM); // ignored again: the test goes on
    SUCCEED();
}

TEST(LinuxProcessLauncherTest, StartsProgramsOnThePath)
{
    LinuxProcessLauncher launcher;
    EXPECT_TRUE(launcher.isInstalled("sh"));
    EXPECT_FALSE(launcher.isInstalled("sorvella-no-such-program"));
    EXPECT_FALSE(launcher.startDetached({"sorvella-no-such-program"}));
    EXPECT_FALSE(launcher.startDetached({}));
}

// The child leads a session of its own and sees none of our open files.
// Our descriptor of `file`, found the way the child would look for it.
std::string descriptorOf(const std::filesystem::path& file)
{
    for (const auto& entry : std::filesystem::directory_iterator("/proc/self/fd")) {
        std::error_code error;
        if (std::filesystem::read_symlink(entry.path(), error) == file) {
            return entry.path().filename().string();
        }
    }
    return {};
}

TEST(LinuxProcessLauncherTest, ChildIsDetached)
{
    test::TempDir folder;
    const std::filesystem::path out = folder.path() / "out";
    const std::unique_ptr<std::FILE, int (*)(std::FILE*)> held(
        std::fopen((folder.path() / "held").c_str(), "w"), &std::fclose);
    const std::string heldDescriptor = descriptorOf(folder.path() / "held");
    ASSERT_FALSE(heldDescriptor.empty());

    LinuxProcessLauncher launcher;
    const std::string script = "s=$(cut -d' ' -f6 /proc/$$/stat); f=no; test -e /proc/$$/fd/" +
                               heldDescriptor + " && f=yes; echo \"$$ $s $f\" > " + out.string() +
                               ".part && mv " + out.string() + ".part " + out.string();
    ASSERT_TRUE(launcher.startDetached({"sh", "-c", script}));
    ASSERT_TRUE(test::waitFor([&] { return std::filesystem::exists(out); }));

    std::string pid;
    std::string session;
    std::string inherited;
    std::istringstream(test::readText(out)) >> pid >> session >> inherited;
    EXPECT_EQ(session, pid);
    EXPECT_EQ(inherited, "no");
}

} // namespace
} // namespace sorvella
