// Each test process gets a private temporary directory and configuration
// home, so tests never see each other's files or the user's settings.

#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    sorvella::test::TempDir root("sorvella-test");
    const auto tmp = root.path() / "tmp";
    const auto config = root.path() / "config";
    std::filesystem::create_directories(tmp);
    std::filesystem::create_directories(config);
    setenv("TMPDIR", tmp.c_str(), 1);
    setenv("XDG_CONFIG_HOME", config.c_str(), 1);
    return RUN_ALL_TESTS();
}
