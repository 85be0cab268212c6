#include "editor/EditorDocument.h"

#include "control/Clock.h"
#include "core/Prompter.h"
#include "editor/EditorPlayer.h"
#include "editor/EditorTexts.h"
#include "editor/FadeFilter.h"
#include "editor/FadeSteps.h"
#include "editor/SelectionSaves.h"
#include "engine/RingStore.h"
#include "save/SaveSpace.h"
#include "save/TargetRecord.h"

#include <algorithm>
#include <cstdio>

namespace sorvella {
namespace {

std::string amplifyToolTip(std::int32_t amplification)
{
    char text[96];
    std::snprintf(text, sizeof text, "Auto Amplify on save (current amplification: %d %%)",
                  static_cast<int>(amplification));
    return text;
}

} // namespace

EditorDocument::EditorDocument(Services services, std::unique_ptr<RingStore> store)
    : m_services(std::move(services)), m_settings(m_services.mainSettings),
      m_store(std::move(store)), m_mapping(m_store->heldBytes()),
      m_recordingEnd(m_services.clock.now()),
      m_recordingStart(m_recordingEnd - m_store->heldBytes() / m_settings.format.avgBytesPerSec)
{
    m_settings.target.sourceFormat = m_settings.format;
    m_mapping.setFadeInBytes(fadeBytes(m_settings.fadeIn, m_settings.format.avgBytesPerSec));
    m_mapping.setFadeOutBytes(fadeBytes(m_settings.fadeOut, m_settings.format.avgBytesPerSec));
    m_playback = m_services.makePlayback(*m_store, m_settings.format, m_mapping, m_services.events);
}

EditorDocument::~EditorDocument()
{
    m_playback.reset();
}

std::string EditorDocument::title() const
{
    return editorTitle(m_recordingStart, m_recordingEnd);
}

EditorDisplays EditorDocument::displays() const
{
    EditorDisplays displays;
    displays.mode = m_mode;
    if (m_mode != EditMode::Play) {
        displays.fadeText = fadeLengthText(currentFade());
        displays.fadeStep = fadeStepOf(currentFade());
        displays.fadeEnabled = true;
        displays.fadeToolTip = m_mode == EditMode::AdjustStart ? "Fade-in time" : "Fade-out time";
    }
    displays.playDown = playing();
    displays.amplifyToolTip = amplifyToolTip(amplification());
    displays.selectedRange = selectedRangeText(
        (m_mapping.selectionEnd() - m_mapping.selectionStart()) / m_settings.format.avgBytesPerSec);
    return displays;
}

void EditorDocument::updateDisplays()
{
    m_services.view.showDisplays(displays());
    showPlayTime(false);
}

void EditorDocument::layout()
{
    m_services.view.showRange(m_mapping.scrollBar());
    updateDisplays();
}

void EditorDocument::showPlayTime(bool show)
{
    std::string text;
    if (show) {
        const std::int64_t heard = m_playback->playPosition() - EditorPlayer::kQueuedAheadBytes;
        const std::int64_t seconds = heard > 0 ? heard / m_settings.format.avgBytesPerSec : 0;
        text = clockTimeText(m_recordingStart + seconds);
    }
    if (text != m_playTime) {
        m_playTime = text;
        m_services.view.showPlayTime(m_playTime);
    }
}

void EditorDocument::pressAt(int x)
{
    m_mapping.pressAt(x);
    clickAt(x);
}

void EditorDocument::dragTo(int x)
{
    if (m_mapping.dragTo(x)) {
        clickAt(x);
    }
}

void EditorDocument::clickAt(int x)
{
    switch (m_mode) {
    case EditMode::AdjustStart:
        m_mapping.selectStartAt(x);
        break;
    case EditMode::AdjustEnd:
        m_mapping.selectEndAt(x);
        break;
    case EditMode::Play:
        m_playback->playAt(x, m_playFaded, m_services.mainSettings.timingProfile);
        updateDisplays();
        return;
    }
    m_services.view.showSelection();
    pressPlay();
    updateDisplays();
}

void EditorDocument::zoomIn()
{
    std::optional<std::int64_t> playPosition;
    if (playing()) {
        playPosition = m_playback->playPosition();
    }
    m_mapping.zoomIn(m_mode, playPosition);
    layout();
}

// A playback started for adjusting an end runs on to the end of the store
// once the user goes back to "P".
void EditorDocument::setMode(EditMode mode)
{
    if (mode == EditMode::Play && m_mode != EditMode::Play) {
        m_playback->modeChangedToPlay();
    }
    m_mode = mode;
    updateDisplays();
}

void EditorDocument::moveFadeSlider(int step)
{
    const std::int32_t length =
        kFadeSteps[static_cast<std::size_t>(std::clamp(step, 0, int(kFadeSteps.size()) - 1))];
    const std::int32_t bytes = fadeBytes(length, m_settings.format.avgBytesPerSec);
    if (m_mode == EditMode::AdjustStart) {
        m_settings.fadeIn = length;
        m_mapping.setFadeInBytes(bytes);
    } else if (m_mode == EditMode::AdjustEnd) {
        m_settings.fadeOut = length;
        m_mapping.setFadeOutBytes(bytes);
    }
    updateDisplays();
    m_services.view.showSelection();
}

void EditorDocument::setAutoAmplify(bool amplify)
{
    m_settings.autoAmplify = amplify;
    m_services.mainSettings.autoAmplify = amplify;
}

void EditorDocument::pressPlay()
{
    m_playback->pressPlay(m_mode, m_playFaded, m_services.mainSettings.timingProfile);
    m_services.view.showDisplays(displays());
}

void EditorDocument::stopPlayback()
{
    m_playback->stopPlayback();
    updateDisplays();
}

void EditorDocument::playbackEnded()
{
    const std::optional<RecException> failure = m_playback->finish();
    updateDisplays();
    if (failure) {
        m_services.prompter.ask(failure->message(), "", Prompter::Buttons::Ok,
                                Prompter::Icon::None);
    }
}

void EditorDocument::deactivated()
{
    if (m_services.mainSettings.editorStopPlaying == 0) {
        stopPlayback();
        m_services.view.showSelection();
    }
}

// Minimising also takes the focus, so the focus-loss rule stops here too.
void EditorDocument::minimised()
{
    const std::int32_t rule = m_services.mainSettings.editorStopPlaying;
    if (rule == 0 || rule == 1) {
        stopPlayback();
        m_services.view.showSelection();
    }
}

bool EditorDocument::saveSelection()
{
    stopPlayback();
    SaveTarget target = copyTarget(m_settings.target);
    const std::uint32_t rate = m_settings.format.avgBytesPerSec;
    applyTimes(target, m_recordingStart + m_mapping.selectionStart() / rate,
               m_recordingStart + m_mapping.selectionEnd() / rate);
    if (!m_services.saves.chooseTarget(target) ||
        !roomForSave(target, m_mapping.selectionEnd() - m_mapping.selectionStart(),
                     m_services.freeSpace, m_services.prompter)) {
        return false;
    }
    const std::int32_t gain = m_settings.autoAmplify ? amplification() : 100;
    const FadeFilter filter(m_mapping.fadeInBytes(), m_mapping.fadeOutBytes(),
                            m_mapping.selectionStart(), m_mapping.selectionEnd(), gain);
    std::unique_ptr<RingStore> snapshot = m_store->snapshot();
    try {
        m_services.saves.startSave(snapshot, target, filter);
    } catch (const RecException& error) {
        // Nothing is being written: the editor must keep its sound.
        snapshot.reset();
        m_services.prompter.ask(error.message(), "", Prompter::Buttons::Ok, Prompter::Icon::None);
        return false;
    }
    m_saved = true;
    return true;
}

bool EditorDocument::saveAndClose()
{
    if (!saveSelection()) {
        return false;
    }
    beforeClose();
    return true;
}

bool EditorDocument::requestClose()
{
    beforeClose();
    if (m_saved) {
        return true;
    }
    switch (m_services.prompter.ask(kCloseQuestion, kCloseCaption, Prompter::Buttons::YesNoCancel,
                                    Prompter::Icon::Question)) {
    case Prompter::Answer::Yes:
        return saveSelection();
    case Prompter::Answer::No:
        return true;
    default:
        return false;
    }
}

void EditorDocument::closeNow()
{
    beforeClose();
}

// The next editor starts with the fade lengths chosen here.
void EditorDocument::beforeClose()
{
    m_playback->stopPlayback();
    m_services.mainSettings.fadeIn = m_settings.fadeIn;
    m_services.mainSettings.fadeOut = m_settings.fadeOut;
}

bool EditorDocument::playing() const
{
    return m_playback->playing();
}

std::int32_t EditorDocument::currentFade() const
{
    return m_mode == EditMode::AdjustStart ? m_settings.fadeIn : m_settings.fadeOut;
}

std::int32_t EditorDocument::amplification() const
{
    return amplificationNow(*m_store, m_mapping.selectionStart(), m_mapping.selectionEnd());
}

} // namespace sorvella
