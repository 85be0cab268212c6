#include "app/UnattendedRecovery.h"

#include "app/CommandLineParser.h"
#include "app/LinuxCodecServices.h"
#include "app/MachineDefaults.h"
#include "app/SettingsPass.h"
#include "app/StreamPrompter.h"
#include "control/RunOutcome.h"
#include "engine/CrashRecovery.h"
#include "engine/RecoveryTexts.h"
#include "engine/TempSession.h"
#include "platform/files/PosixTargetFiles.h"
#include "platform/mixer/AlsaMixerSystem.h"
#include "platform/settings/QSettingsStore.h"
#include "save/CodecCatalogue.h"
#include "save/IncompleteTarget.h"
#include "save/SaveJob.h"
#include "save/SaveJobEnvironment.h"
#include "save/SaveJobView.h"
#include "save/TargetRecord.h"

#include <algorithm>
#include <iostream>
#include <vector>

namespace sorvella {
namespace {

constexpr const char* kRecover = "--recover";
constexpr const char* kList = "--list";

// Saves one recovered store; false when it failed (told on `prompter`).
bool saveRecovered(SaveJobEnvironment& jobs, std::unique_ptr<RingStore> store,
                   const LeftRecording& left, const Settings& settings, Prompter& prompter)
{
    SaveTarget target = copyTarget(settings.target);
    target.sourceFormat = left.format;
    const std::int64_t start = left.startMs / 1000;
    applyTimes(target, start, start + left.lengthMs() / 1000);
    SilentSaveView view;
    try {
        SaveJob job(jobs, store, target, nullptr);
        job.run(view);
    } catch (const RecException& error) {
        prompter.tell(error.message());
        return false;
    }
    if (!view.failure().empty()) {
        prompter.tell("Saving failed... " + view.failure());
        return false;
    }
    return true;
}

} // namespace

std::optional<int> runUnattendedRecovery(std::span<const std::string> arguments,
                                         const std::string& settingsName, BlockFiles& blockFiles,
                                         std::ostream& out)
{
    if (std::ranges::find(arguments, kRecover) == arguments.end()) {
        return std::nullopt;
    }
    const bool listOnly = std::ranges::find(arguments, kList) != arguments.end();
    std::vector<std::string> options;
    std::ranges::copy_if(arguments, std::back_inserter(options),
                         [](const std::string& a) { return a != kRecover && a != kList; });

    QSettingsStore store(settingsName);
    const CodecCatalogue catalogue(store, installedCodecs(linuxCodecServices()));
    StreamPrompter prompter(std::cerr);
    AlsaMixerSystem mixers;
    Settings settings;
    applyMachineDefaults(settings);
    loadSettings(store, settings, catalogue);
    if (!applyProcessArguments(options, settings, {prompter, catalogue, mixers, out})) {
        return RunOutcome::NeverStarted;
    }

    RunOutcome outcome;
    TempSession session(settings, blockFiles);
    session.setUp();
    {
        PosixTargetFiles targetFiles;
        CrashRecovery recovery(settings, session, [&targetFiles](const std::string& target) {
            return keepIncompleteTarget(targetFiles, target);
        });
        recovery.scan();
        for (const std::string& dir : recovery.unreadable()) {
            prompter.tell(unreadableText(dir));
            outcome.note(RunOutcome::SoundLost);
        }
        SaveJobEnvironment jobs(targetFiles);
        for (std::size_t i = 0; i < recovery.recordings().size(); ++i) {
            const LeftRecording& left = recovery.recordings()[i];
            out << recordingLine(left) << '\n';
            if (!left.keptCutSave.empty()) {
                out << cutSaveText(left) << '\n';
            }
            for (const std::string& problem : left.problems) {
                prompter.tell(problem);
                outcome.note(RunOutcome::SoundLost);
            }
            if (!listOnly && !saveRecovered(jobs, recovery.take(i), left, settings, prompter)) {
                outcome.note(RunOutcome::SaveFailed);
            }
        }
    } // what --list found stays for later
    session.closeSession(prompter);
    return outcome.exitCode();
}

} // namespace sorvella
