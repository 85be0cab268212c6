#include "jobs/JobLines.h"

#include "app/CommandLineParser.h"
#include "app/OptionLine.h"
#include "core/RecException.h"
#include "platform/settings/JobStore.h"
#include "platform/settings/SettingsStore.h"

namespace sorvella {
namespace {

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
    return buildOptionLine(settings);
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
