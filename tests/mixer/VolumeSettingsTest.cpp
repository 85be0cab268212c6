#include "mixer/VolumeSettings.h"
#include "core/RecException.h"

#include <gtest/gtest.h>

namespace sorvella {
namespace {

struct Example {
    const char* text;
    std::vector<VolumeItem> items;
    const char* written;
};

class VolumeSettingsExampleTest : public ::testing::TestWithParam<Example> {};

TEST_P(VolumeSettingsExampleTest, ReadsAndWritesTheItems)
{
    const VolumeSettings settings = VolumeSettings::parse(GetParam().text);
    EXPECT_EQ(settings.items, GetParam().items);
    EXPECT_EQ(settings.text(), GetParam().written);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, VolumeSettingsExampleTest,
    ::testing::Values(Example{"-v:0-80:2-55", {{-1, 80}, {1, 55}}, "-v:0-80:2-55"},
                      Example{"-v:3-", {{2, std::nullopt}}, "-v:3-"},
                      Example{"-v:1:7", {{0, std::nullopt}, {6, std::nullopt}}, "-v:1-:7-"},
                      Example{"-v:100-0:0-100", {{99, 0}, {-1, 100}}, "-v:100-0:0-100"},
                      Example{"-v:007-05", {{6, 5}}, "-v:7-5"}, Example{"", {}, ""},
                      Example{"-v:", {}, ""}));

class MalformedVolumeSettingsTest : public ::testing::TestWithParam<const char*> {};

TEST_P(MalformedVolumeSettingsTest, IsRefusedWhole)
{
    try {
        VolumeSettings::parse(GetParam());
        ADD_FAILURE() << "accepted " << GetParam();
    } catch (const RecException& e) {
        EXPECT_STREQ(e.what(), VolumeSettings::kWrongArguments);
    }
}

INSTANTIATE_TEST_SUITE_P(Texts, MalformedVolumeSettingsTest,
                         ::testing::Values("-v", "-v:0-80:", "-v::", "-v:0-80::2-55", "-v:abc",
                                           "-v:1-x", "-v:1-5x", "-v: 1-5", "-v:+1-5", "-v:-2-50",
                                           "-v:1--5", "-v:1-50-3", "-v:101-5", "-v:1-101",
                                           "-v:99999999999999999999-5", "-v:1-99999999999999999999",
                                           "-v:2-55:2-60", "-v:0:0", "v:0-80", "x-v:0-80"));

} // namespace
} // namespace sorvella
