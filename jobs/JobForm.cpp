#include "jobs/JobForm.h"

#include "app/OptionNumbers.h"
#include "control/TimeText.h"
#include "core/RecException.h"
#include "jobs/JobLines.h"
#include "mixer/RetrieveVolumeSettings.h"
#include "save/TargetSettings.h"

namespace sorvella {
namespace {

constexpr std::int32_t kSaveAfter = 2;
constexpr std::int32_t kEditAfter = 3;

} // namespace

JobForm::JobForm(JobSettingsView& view, Settings& settings, JobFormServices services)
    : m_view(view), m_settings(settings), m_services(std::move(services))
{
    m_line =
        readJobLine(m_services.jobs, m_settings.jobConfigureId, m_services.commandLine.prompter);
    if (m_line.empty()) {
        m_line = readDefaultJobLine(m_services.store);
    }
    if (!m_line.empty()) {
        loadLine();
    }
}

void JobForm::open()
{
    showSettings();
}

bool JobForm::accept()
{
    try {
        const std::string line = currentLine();
        writeJobLine(m_services.jobs, m_settings.jobConfigureId, line,
                     m_services.commandLine.prompter);
        return true;
    } catch (const RecException& failure) {
        tellFailure(failure);
        return false;
    }
}

void JobForm::saveAsDefault()
{
    try {
        writeDefaultJobLine(m_services.store, currentLine());
    } catch (const RecException& failure) {
        tellFailure(failure);
    }
}

void JobForm::getDefault()
{
    takeControls();
    m_line = readDefaultJobLine(m_services.store);
    m_lineIsSource = true;
    loadLine();
    showSettings();
}

void JobForm::clearDefault()
{
    takeControls();
    writeDefaultJobLine(m_services.store, std::string());
}

void JobForm::retrieveVolume()
{
    takeControls();
    m_settings.volumeSettings = retrieveVolumeSettings(
        m_services.commandLine.mixers, m_settings.soundCard, m_services.commandLine.prompter);
    showSettings();
    m_lineIsSource = false;
}

void JobForm::clearVolume()
{
    takeControls();
    m_settings.volumeSettings.clear();
    showSettings();
    m_lineIsSource = false;
}

void JobForm::changeTarget()
{
    takeControls();
    m_services.chooseTarget(m_settings.target);
    showSettings();
    m_lineIsSource = false;
}

void JobForm::editLine()
{
    takeControls();
    try {
        const std::string text = m_lineIsSource ? m_line : buildJobLine(m_settings);
        const std::optional<std::string> edited = m_services.editLine(text);
        if (!edited) {
            return;
        }
        m_line = *edited;
        m_lineIsSource = true;
        loadLine();
        showSettings();
    } catch (const RecException& failure) {
        tellFailure(failure);
    }
}

std::string JobForm::currentLine()
{
    takeControls();
    const std::string line = m_lineIsSource && !m_line.empty() ? m_line : buildJobLine(m_settings);
    // A job configured (not run) leaves the mixer alone while it is checked.
    Settings scratch;
    loadTarget(m_services.store, m_services.commandLine.catalogue, scratch.target);
    scratch.jobConfigureId = m_settings.jobConfigureId;
    applyJobLine(line, scratch, m_services.commandLine);
    return line;
}

// The options a line leaves out keep no value from an earlier line.
void JobForm::loadLine()
{
    m_settings.startMinimized = false;
    m_settings.volumeSettings.clear();
    m_settings.incrementAtStart = false;
    applyJobLine(m_line, m_settings, m_services.commandLine);
}

void JobForm::showSettings()
{
    m_view.showControls(JobControls{
        .rateText = std::to_string(m_settings.format.samplesPerSec),
        .stereo = m_settings.format.channels == 2 ? 1 : 0,
        .startMinimized = m_settings.startMinimized,
        .volumeText = m_settings.volumeSettings,
        .targetText = m_settings.target.fileName,
        .timeText = timeText(m_settings.autoSaveTime, TimeStyle::Short),
        .editAfter = m_settings.autoSaveAction == kEditAfter ? 1 : 0,
        .autoIncrement = m_settings.incrementAtStart,
    });
}

// The volume and the target are not read back: only their buttons change
// them. A job always saves or edits after its time.
void JobForm::takeControls()
{
    const JobControls controls = m_view.controls();
    const std::optional<std::int32_t> rate = leadingNumber(controls.rateText);
    if (rate && *rate > 0) {
        m_settings.format.samplesPerSec = static_cast<std::uint32_t>(*rate);
    }
    m_settings.format.channels = controls.stereo == 1 ? 2 : 1;
    m_settings.format.deriveFields();
    m_settings.target.sourceFormat = m_settings.format;
    m_settings.startMinimized = controls.startMinimized;
    const std::optional<std::int32_t> seconds = timeInSeconds(controls.timeText);
    if (seconds && *seconds >= 0) {
        m_settings.autoSaveTime = *seconds;
    }
    m_settings.autoSaveAction = controls.editAfter == 1 ? kEditAfter : kSaveAfter;
    m_settings.incrementAtStart = controls.autoIncrement;
}

void JobForm::tellFailure(const RecException& failure)
{
    m_services.commandLine.prompter.ask(failure.message(), "Error", Prompter::Buttons::Ok,
                                        Prompter::Icon::Error);
}

} // namespace sorvella
