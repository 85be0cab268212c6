#include "app/OptionLine.h"

#include "app/CompressedTarget.h"
#include "save/TargetRecord.h"

namespace sorvella {
namespace {

constexpr std::uint32_t kBytesPerSecondPerKBit = 125;

// "kbit:" of the target's output format; nothing for plain WAV, and nothing
// for a name that the parser would not take as compressed (the bit rate
// would become part of the name).
std::string bitrateOf(const SaveTarget& target)
{
    if (target.formatNumber == 0 || !isCompressedName(target.fileName)) {
        return {};
    }
    SaveTarget described = target;
    const WaveFormat& output = codecFormat(described);
    if (described.formatNumber == 0) {
        return {}; // the codec has no such format: any of its formats will do
    }
    return std::to_string(output.avgBytesPerSec / kBytesPerSecondPerKBit) + ":";
}

} // namespace

std::string buildOptionLine(const Settings& settings)
{
    std::string line = "-q:";
    line += settings.format.channels == 2 ? "s" : "m";
    line += ":" + std::to_string(settings.format.samplesPerSec);
    if (settings.autoSaveAction == 2) {
        line += " -c:0:" + std::to_string(settings.autoSaveTime);
    } else if (settings.autoSaveAction == 3) {
        line += " -e:0:" + std::to_string(settings.autoSaveTime);
    }
    if (settings.startMinimized) {
        line += " -i";
    }
    if (settings.incrementAtStart) {
        line += " -n";
    }
    if (!settings.volumeSettings.empty()) {
        line += " " + settings.volumeSettings;
    }
    line += " -f:" + bitrateOf(settings.target) + "\"" + settings.target.fileName + "\"";
    return line;
}

} // namespace sorvella
