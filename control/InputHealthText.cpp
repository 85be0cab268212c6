#include "control/InputHealthText.h"

#include "control/TimeText.h"

#include <algorithm>
#include <array>
#include <ctime>

namespace sorvella {
namespace {

// "hh:mm:ss" of the local day; empty for a time the system cannot convert.
std::string clockTime(std::int64_t seconds)
{
    const auto time = static_cast<std::time_t>(seconds);
    std::tm fields{};
    std::array<char, 16> text{};
    if (localtime_r(&time, &fields) != nullptr) {
        std::strftime(text.data(), text.size(), "%H:%M:%S", &fields);
    }
    return text.data();
}

void add(std::string& line, const std::string& warning)
{
    line += line.empty() ? warning : "; " + warning;
}

} // namespace

std::string inputHealthText(const InputHealth::Reading& reading, std::int64_t bytesPerSecond)
{
    std::string line;
    if (reading.deviceLost) {
        add(line, "Input lost: recording resumes when it returns; everything recorded so far is "
                  "kept");
    }
    if (reading.dropouts > 0) {
        add(line, "Dropouts: " + std::to_string(reading.dropouts) + ", last at " +
                      clockTime(reading.lastDropoutTime));
    }
    const std::int64_t silentSeconds =
        reading.silentBytes / std::max<std::int64_t>(bytesPerSecond, 1);
    if (!reading.deviceLost && silentSeconds >= kSilenceWarningSeconds) {
        add(line, "No input signal for " + timeText(silentSeconds, TimeStyle::Short) +
                      ": check the source and the mixer");
    }
    if (reading.clipping) {
        add(line, "Input clipping: lower the recording level");
    }
    return line;
}

} // namespace sorvella
