#include "control/RemoteControl.h"

#include "control/MainCommandsSink.h"
#include "control/SaveStartWatch.h"
#include "core/RecException.h"
#include "core/Settings.h"

#include <algorithm>

namespace sorvella {
namespace {

constexpr const char* kBusyPrefix = "Sorvella is busy: ";

std::string modeName(const StatusInput& input, std::int32_t loopMode)
{
    if (input.continuousMode) {
        return "continuous";
    }
    switch (loopMode) {
    case 1:
        return "archive";
    case 2:
        return "vox";
    default:
        return "loop";
    }
}

} // namespace

void RemoteControl::refuseWhileBusy() const
{
    if (const std::optional<std::string> caption = m_services.modalWindow()) {
        throw RecException(kBusyPrefix + (caption->empty() ? "a message is open" : *caption));
    }
    if (m_services.recording().retryDialogOpen) {
        throw RecException(std::string(kBusyPrefix) + "Trying to open Wav-In-Device...");
    }
    if (m_services.commandRunning()) {
        throw RecException(std::string(kBusyPrefix) + "another command is running");
    }
}

void RemoteControl::requireRecording() const
{
    if (!m_services.recording().hasRecorder) {
        throw RecException("Sorvella is not recording.");
    }
}

std::string RemoteControl::quickSave()
{
    refuseWhileBusy();
    requireRecording();
    SaveStartWatch& saves = m_services.saves;
    saves.forget();
    m_services.commands.quickSave();
    if (saves.started()) {
        return *saves.started();
    }
    throw RecException(saves.refusal().empty() ? "Nothing was saved." : saves.refusal());
}

void RemoteControl::editAndSave()
{
    refuseWhileBusy();
    requireRecording();
    if (!m_services.recording().editorAvailable) {
        throw RecException("Sorvella has no editor.");
    }
    m_services.commands.editAndSave();
}

void RemoteControl::show()
{
    m_services.commands.restoreWindow();
}

RemoteStatus RemoteControl::status() const
{
    const StatusInput input = m_services.recording();
    RemoteStatus status;
    status.state = input.retryDialogOpen ? "retrying" : input.hasRecorder ? "recording" : "idle";
    status.mode = modeName(input, m_services.settings.loopMode);
    status.heldSeconds = input.heldBytes / std::max<std::int64_t>(1, input.format.avgBytesPerSec);
    status.loopSeconds = m_services.settings.loopTime;
    status.target = m_services.targetText();
    status.dropouts = input.dropouts;
    return status;
}

} // namespace sorvella
