#include "control/TimeText.h"

#include <gtest/gtest.h>

namespace sorvella {
namespace {

struct TimeCase {
    std::int64_t seconds;
    const char* shortText;
    const char* longText;
};

class TimeTextTest : public ::testing::TestWithParam<TimeCase> {};

TEST_P(TimeTextTest, BothStyles)
{
    const TimeCase& c = GetParam();
    EXPECT_EQ(timeText(c.seconds, TimeStyle::Short), c.shortText);
    EXPECT_EQ(timeText(c.seconds, TimeStyle::Long), c.longText);
}

INSTANTIATE_TEST_SUITE_P(
    Lengths, TimeTextTest,
    ::testing::Values(TimeCase{0, "0:00", "0 seconds"}, TimeCase{1, "0:01", "1 second"},
                      TimeCase{59, "0:59", "59 seconds"}, TimeCase{60, "1:00", "1 minute"},
                      TimeCase{61, "1:01", "1:01 minutes"}, TimeCase{90, "1:30", "1:30 minutes"},
                      TimeCase{120, "2:00", "2 minutes"}, TimeCase{600, "10:00", "10 minutes"},
                      TimeCase{3599, "59:59", "59:59 minutes"},
                      TimeCase{3600, "1:00:00", "1:00:00"}, TimeCase{3725, "1:02:05", "1:02:05"},
                      TimeCase{7200, "2:00:00", "2:00:00"},
                      TimeCase{36000 * 10 + 61, "100:01:01", "100:01:01"}));

} // namespace
} // namespace sorvella
