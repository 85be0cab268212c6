#include "jobs/JobLines.h"

#include "app/CommandLineParser.h"
#include "app/CompressedTarget.h"
#include "core/RecException.h"
#include "platform/settings/JobStore.h"
#include "platform/settings/SettingsStore.h"
#include "save/TargetRecord.h"

namespace sorvella {
namespace {

constexpr std::uint32_t kBytesPerSecondPerKBit = 125;

// "kbit:" of the target's output format; nothing for plain WAV, for a format
// without a bit rate (lossless), and for a name that the parser would not
// take as compressed (the bit rate would become part of the name).
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
    if (output.avgBytesPerSec == 0) {
        return {};
    }
    return std::to_string(output.avgBytesPerSec / kBytesPerSecondPerKBit) + ":";
}

void tellUnreachable(Prompter& prompter)
{
    prompter.ask("Error: Cannot read Sage Setting", "Error", Prompter::Buttons::Ok,
                 Prompter::Icon::None);
}

} // namespace

std::string readJobLine(const JobStore& jobs, std::int32_t job, Prompter& prompter)
{
    try {
        return jobs.readLine(job);
    } catch (const RecException&) {
        tellUnreachable(prompter);
        return {};
    }
}

void writeJobLine(JobStore& jobs, std::int32_t job, const std::string& line, Prompter& prompter)
{
    try {
        jobs.writeLine(job, line);
    } catch (const RecException&) {
        tellUnreachable(prompter);
    }
}

std::string readDefaultJobLine(const SettingsStore& store)
{
    std::string line;
    store.readString(kJobProfilesSection, kDefaultJobLine, line);
    return line;
}

void writeDefaultJobLine(SettingsStore& store, const std::string& line)
{
    store.writeString(kJobProfilesSection, kDefaultJobLine, line);
    store.flush();
}

std::string buildJobLine(const Settings& settings)
{
    if (settings.target.fileName.find('"') != std::string::npos) {
        throw RecException("The target file name " + settings.target.fileName +
                           " holds a double quote, which a job line cannot hold. Please choose "
                           "another name.");
    }
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

void applyJobLine(const std::string& line, Settings& settings, const CommandLineServices& services)
{
    CommandLineParser parser(settings, services);
    parser.parseLine(line);
    if (!parser.ended()) {
        parser.apply();
    }
}

} // namespace sorvella
