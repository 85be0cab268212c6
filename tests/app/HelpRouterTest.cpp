// Help requests lead to the pages in help/, which exist with their anchors.

#include "app/HelpRouter.h"
#include "tests/support/ConfigFiles.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace sorvella {
namespace {

TEST(HelpRouterTest, TopicsByWindowAndPhase)
{
    EXPECT_EQ(helpTopic(102, HelpPhase::Running), "index.htm");
    EXPECT_EQ(helpTopic(129, HelpPhase::Running), "times.htm");
    EXPECT_EQ(helpTopic(152, HelpPhase::Running), "config.htm#input");
    EXPECT_EQ(helpTopic(0x3000 | 154, HelpPhase::Running), "config.htm#file"); // low 12 bits
    EXPECT_EQ(helpTopic(184, HelpPhase::Running), "filewizard.htm");
    EXPECT_EQ(helpTopic(176, HelpPhase::Running), "index.htm");

    // While the command line and a scheduled job are handled.
    EXPECT_EQ(helpTopic(176, HelpPhase::CommandLine), "sysagent.htm");
    EXPECT_EQ(helpTopic(182, HelpPhase::CommandLine), "codec.htm");
    EXPECT_EQ(helpTopic(152, HelpPhase::CommandLine), "command.htm");
}

TEST(HelpRouterTest, PagesAreFileAddressesWithTheirAnchor)
{
    HelpRouter router("/opt/sorvella/help");
    router.setPhase(HelpPhase::Running);
    EXPECT_EQ(router.pageFor(153).toString(), "file:///opt/sorvella/help/config.htm#general");
    EXPECT_EQ(router.pageFor(162).toString(), "file:///opt/sorvella/help/edit.htm");
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
