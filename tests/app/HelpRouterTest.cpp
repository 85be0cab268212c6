// Help requests lead to the pages in help/, which exist with their anchors.

#include "app/HelpRouter.h"
#include "tests/support/ConfigFiles.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace sorvella {
namespace {

// While the command line is handled, the windows of that stage have their
// own pages; afterwards the same identifier leads to the window's page.
TEST(HelpRouterTest, PagesByWindowAndPhase)
{
    HelpRouter router("/opt/sorvella/help");
    router.setPhase(HelpPhase::CommandLine);
    EXPECT_EQ(router.pageFor(176).toString(), "file:///opt/sorvella/help/sysagent.htm");
    EXPECT_EQ(router.pageFor(152).toString(), "file:///opt/sorvella/help/command.htm");
    router.setPhase(HelpPhase::Running);
    EXPECT_EQ(router.pageFor(176).toString(), "file:///opt/sorvella/help/index.htm");
    EXPECT_EQ(router.pageFor(0x3000 | 153).toString(), // the low 12 bits count
              "file:///opt/sorvella/help/config.htm#general");
}

// Every page a window can ask for is there, beside the executable, and holds
// the anchor it is asked for.
TEST(HelpRouterTest, EveryTopicHasItsPage)
{
    const std::filesystem::path folder = SORVELLA_HELP_FOLDER;
    for (const HelpPhase phase : {HelpPhase::CommandLine, HelpPhase::Running}) {
        for (const std::int32_t id : {102, 129, 133, 152, 153, 154, 162, 176, 182, 184, 186}) {
            const std::string topic = helpTopic(id, phase);
            const std::size_t hash = topic.find('#');
            const std::filesystem::path page = folder / topic.substr(0, hash);
            ASSERT_TRUE(std::filesystem::exists(page)) << page;
            if (hash != std::string::npos) {
                EXPECT_NE(test::readText(page).find("id=\"" + topic.substr(hash + 1) + "\""),
                          std::string::npos)
                    << topic;
            }
        }
    }
}

} // namespace
} // namespace sorvella
