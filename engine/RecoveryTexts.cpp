#include "engine/RecoveryTexts.h"

#include <cstdio>
#include <ctime>

namespace sorvella {

std::string lengthText(std::int64_t milliseconds)
{
    const std::int64_t seconds = milliseconds / 1000;
    char text[32];
    if (seconds >= 3600) {
        std::snprintf(
            text, sizeof text, "%lld:%02lld:%02lld", static_cast<long long>(seconds / 3600),
            static_cast<long long>(seconds / 60 % 60), static_cast<long long>(seconds % 60));
    } else {
        std::snprintf(text, sizeof text, "%lld:%02lld", static_cast<long long>(seconds / 60),
                      static_cast<long long>(seconds % 60));
    }
    return text;
}

std::string dateTimeText(std::int64_t epochMs)
{
    const std::time_t time = static_cast<std::time_t>(epochMs / 1000);
    std::tm local{};
    localtime_r(&time, &local);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &local);
    return text;
}

std::string recordingLine(const LeftRecording& left)
{
    return dateTimeText(left.startMs) + "  " + lengthText(left.lengthMs()) + "  " +
           std::to_string(left.format.samplesPerSec) + " Hz " +
           (left.format.channels == 1 ? "mono" : "stereo");
}

std::string cutSaveText(const LeftRecording& left)
{
    if (left.keptCutSave.empty()) {
        return {};
    }
    return "A save was cut short: what it wrote is kept in \"" + left.keptCutSave +
           "\"; this recording is the sound it had not saved yet.";
}

std::string offerText(const LeftRecording& left)
{
    return "Sorvella found a recording of " + lengthText(left.lengthMs()) + " from " +
           dateTimeText(left.startMs) + " that was not saved when Sorvella last ended.";
}

std::string unreadableText(const std::string& dir)
{
    return "The temporary directory " + dir +
           " holds recorded sound that cannot be recovered; it is left as it is.";
}

} // namespace sorvella
