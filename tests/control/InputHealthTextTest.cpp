// The input's warning line from scripted sound: digital silence, clipping,
// dropouts and a lost device.

#include "control/InputHealthText.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <functional>
#include <vector>

namespace sorvella {
namespace {

constexpr std::int64_t kRate = 1000; // mono: 2000 bytes a second
constexpr std::int64_t kBytesPerSecond = 2 * kRate;
// 14:02:11 UTC.
constexpr std::int64_t kDropoutTime = 1'699'970'531;

struct Segment {
    std::int64_t seconds;
    std::function<std::int16_t(std::int64_t sample)> sound;
};

const auto silence = [](std::int64_t) -> std::int16_t { return 0; };
const auto tone = [](std::int64_t k) -> std::int16_t { return k % 2 == 0 ? 3000 : -3000; };
// Full scale in `perMille` of every thousand samples, a tone otherwise.
const auto clippedIn = [](std::int64_t perMille) {
    return [perMille](std::int64_t k) -> std::int16_t {
        return k % 1000 < perMille ? 32767 : static_cast<std::int16_t>(k % 2 == 0 ? 3000 : -3000);
    };
};

struct Case {
    const char* name;
    std::vector<Segment> script;
    std::int64_t dropouts = 0;
    bool lost = false;
    const char* expected = "";
};

void PrintTo(const Case& c, std::ostream* out)
{
    *out << c.name;
}

class InputHealthTextTest : public ::testing::TestWithParam<Case> {
protected:
    static void SetUpTestSuite()
    {
        setenv("TZ", "UTC", 1);
        tzset();
    }
};

TEST_P(InputHealthTextTest, ShowsWhatTheInputDid)
{
    const Case& c = GetParam();
    InputHealth health(kBytesPerSecond);
    std::int64_t sample = 0;
    std::vector<std::uint8_t> buffer(200); // a tenth of a second
    for (const Segment& segment : c.script) {
        for (std::int64_t piece = 0; piece < segment.seconds * 10; ++piece) {
            for (std::size_t i = 0; i < buffer.size(); i += 2, ++sample) {
                const auto value = static_cast<std::uint16_t>(segment.sound(sample));
                buffer[i] = static_cast<std::uint8_t>(value & 0xFF);
                buffer[i + 1] = static_cast<std::uint8_t>(value >> 8);
            }
            health.scan(buffer.data(), static_cast<std::uint32_t>(buffer.size()));
        }
    }
    if (c.dropouts > 0) {
        health.countDropouts(c.dropouts, 0, kDropoutTime);
    }
    if (c.lost) {
        health.deviceLost(kDropoutTime);
    }
    EXPECT_EQ(inputHealthText(health.reading(), kBytesPerSecond), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Scripts, InputHealthTextTest,
    ::testing::Values(
        Case{"Tone", {{70, tone}}}, Case{"SilenceJustShort", {{59, silence}}},
        Case{"SilenceAMinute",
             {{5, tone}, {60, silence}},
             0,
             false,
             "No input signal for 1:00: check the source and the mixer"},
        Case{"SilenceGrows",
             {{135, silence}},
             0,
             false,
             "No input signal for 2:15: check the source and the mixer"},
        Case{"SoundEndsSilence", {{90, silence}, {1, tone}}},
        Case{"ClippedOnePercent", {{10, clippedIn(10)}}},
        Case{"ClippedTwoPercent",
             {{10, clippedIn(20)}},
             0,
             false,
             "Input clipping: lower the recording level"},
        Case{"ClippedLongAgo", {{10, clippedIn(100)}, {11, tone}}},
        Case{"Dropouts", {{1, tone}}, 3, false, "Dropouts: 3, last at 14:02:11"},
        Case{"LostWhileSilentAndClipped",
             {{1, clippedIn(500)}, {70, silence}},
             0,
             true,
             "Input lost: recording resumes when it returns; everything recorded so far is kept"}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace sorvella
