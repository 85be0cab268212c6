#include "jobs/JobRun.h"

#include "app/CommandLineParser.h"
#include "jobs/JobLines.h"

namespace sorvella {

bool applyJobRunLine(Settings& settings, const JobStore& jobs, const SettingsStore& store,
                     const CommandLineServices& services, bool canConfigure)
{
    const std::int32_t job = settings.jobRunId;
    if (job == -1) {
        return true;
    }
    std::string line = readJobLine(jobs, job, services.prompter);
    if (line.empty()) {
        line = readDefaultJobLine(store);
    }
    if (!line.empty()) {
        applyJobLine(line, settings, services);
        return true;
    }
    services.prompter.ask("Please set task options before starting a Sorvella Job (read manual!)",
                          std::string(), Prompter::Buttons::Ok, Prompter::Icon::None);
    if (!canConfigure) {
        return false;
    }
    settings.jobConfigureId = job;
    settings.jobRunId = -1;
    return true;
}

} // namespace sorvella
