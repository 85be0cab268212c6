#pragma once

#include "core/Settings.h"

namespace sorvella {

class JobStore;
class SettingsStore;
struct CommandLineServices;

// Start-up's job stage, after the process's own options: when a job is to
// run (`jobRunId` set), its line, or the default line when it has none, is
// read onto `settings` and applied, so that the job's options win. With no
// line at all the user is told to set the job up, and the run becomes the
// configuration of that job; when nobody is there to configure it
// (`canConfigure` false, as under cron) the run is refused instead: false.
bool applyJobRunLine(Settings& settings, const JobStore& jobs, const SettingsStore& store,
                     const CommandLineServices& services, bool canConfigure);

} // namespace sorvella
