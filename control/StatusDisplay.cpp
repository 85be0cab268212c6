#include "control/StatusDisplay.h"

#include "control/Clock.h"
#include "control/StatusRules.h"
#include "control/TimeText.h"
#include "save/TargetRecord.h"

#include <algorithm>
#include <string>

namespace sorvella {

namespace {

std::string loopTimeText(const StatusInput& input)
{
    if (input.continuousMode) {
        return "None";
    }
    if (input.keepSeconds == -1) {
        return "--:--";
    }
    return timeText(input.keepSeconds, TimeStyle::Long);
}

std::string formatText(const WaveFormat& format)
{
    return std::string(format.channels == 2 ? "stereo" : "mono") + ", " +
           std::to_string(format.samplesPerSec) + " Hz";
}

std::string stopAfterText(const StatusInput& input, const Settings& settings)
{
    std::string text = "Infinite";
    if (settings.autoSaveAction >= 2) {
        const std::int64_t left = settings.autoSaveTime - input.recordedSeconds;
        text = timeText(std::max<std::int64_t>(0, left), TimeStyle::Long);
    }
    return input.continuousMode ? text : "(" + text + ")";
}

} // namespace

StatusDisplay::StatusDisplay(MainView& view, const Clock& clock)
    : m_view(view), m_clock(clock), m_tray(view)
{
}

void StatusDisplay::showTexts()
{
    m_view.showStatus(m_texts);
    m_tray.setHealth(healthText(m_texts), m_stateIcon);
}

void StatusDisplay::updateTickTexts(const StatusInput& input, const Settings& settings)
{
    m_texts.timeRunning = timeText(input.totalSeconds, TimeStyle::Short);
    m_texts.recordedTime = timeText(input.recordedSeconds, TimeStyle::Short);
    m_texts.usedSpace = std::to_string(input.heldBytes / 1024 / 1024) + " MB";
    m_texts.stopAfter = stopAfterText(input, settings);
}

void StatusDisplay::refreshStatus(const StatusInput& input, const Settings& settings, bool full)
{
    m_texts.loopTime = loopTimeText(input);
    m_texts.format = formatText(input.format);
    m_view.setChecked(RecordingButton::Continuous, input.hasRecorder && input.continuousMode);
    m_view.setChecked(RecordingButton::Loop, input.hasRecorder && !input.continuousMode);
    updateTargetDisplay(input, settings);
    m_view.setEnabling(controlEnabling(input.hasRecorder, input.editorAvailable,
                                       settings.showModeLarge, targetExists(settings.target)));
    if (!full) {
        return;
    }
    m_view.setLargeForm(settings.showModeLarge);
    m_stateIcon = stateIconFor(input.hasRecorder, input.continuousMode);
    m_view.showState(m_stateIcon, stateAnimation(m_stateIcon, settings.animationMode));
    m_view.setWindowEnabled(!input.retryDialogOpen);
    trayUpdate(settings);
}

void StatusDisplay::updateTargetDisplay(const StatusInput& input, const Settings& settings)
{
    std::string name = settings.target.fileName;
    if (input.hasRecorder) {
        SaveTarget copy = settings.target;
        const std::int64_t now = m_clock.now();
        const std::int64_t bytesPerSecond = std::max<std::int64_t>(1, input.format.avgBytesPerSec);
        applyTimes(copy, now - input.heldBytes / bytesPerSecond, now);
        name = copy.fileName;
    }
    if (targetExists(settings.target)) {
        name += " (exists)";
    }
    m_texts.target = name;
    showTexts();
}

} // namespace sorvella
