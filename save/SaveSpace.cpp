#include "save/SaveSpace.h"

#include "core/Prompter.h"
#include "core/SaveTarget.h"
#include "platform/files/FreeSpace.h"
#include "save/TargetRecord.h"
#include "save/WavWriter.h"

#include <algorithm>

namespace sorvella {

std::string sizeText(std::int64_t bytes, bool roundUp)
{
    constexpr std::int64_t kKilobyte = 1024;
    const std::int64_t unit = bytes < kKilobyte * kKilobyte ? kKilobyte : kKilobyte * kKilobyte;
    return std::to_string((bytes + (roundUp ? unit - 1 : 0)) / unit) +
           (unit == kKilobyte ? " KB" : " MB");
}

std::int64_t expectedFileSize(SaveTarget& target, std::int64_t pcmBytes)
{
    const WaveFormat& output = codecFormat(target);
    if (target.formatNumber <= 0 || output == target.sourceFormat) {
        return WavWriter::fileSize(pcmBytes);
    }
    const std::int64_t sourceRate = std::max<std::uint32_t>(target.sourceFormat.avgBytesPerSec, 1);
    return pcmBytes / sourceRate * output.avgBytesPerSec +
           pcmBytes % sourceRate * output.avgBytesPerSec / sourceRate;
}

bool roomForSave(SaveTarget& target, std::int64_t pcmBytes, const FreeSpace& space,
                 Prompter& prompter)
{
    const std::optional<std::int64_t> free = space.available(target.fileName);
    const std::int64_t needed = expectedFileSize(target, pcmBytes);
    if (!free || *free >= needed) {
        return true;
    }
    const std::string text = "The file will need about " + sizeText(needed, true) + ", but only " +
                             sizeText(*free, false) + " are free for \"" + target.fileName +
                             "\".\n\nSave anyway?";
    return prompter.ask(text, "Save anyway?", Prompter::Buttons::YesNo, Prompter::Icon::Warning) ==
           Prompter::Answer::Yes;
}

} // namespace sorvella
