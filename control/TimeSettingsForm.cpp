#include "control/TimeSettingsForm.h"

#include "control/TimeEntry.h"
#include "core/Settings.h"

#include <algorithm>

namespace sorvella {
namespace {

enum AutoSaveAction : std::int32_t { SaveAfter = 2, EditAfter = 3 };
enum AutoSaveFollow : std::int32_t { CloseApplication = 0, EnterIdle = 1, RestartIncremented = 3 };
enum LoopMode : std::int32_t { Loop = 0, Archive = 1, ArchiveVox = 2 };

constexpr std::int64_t kSliderSteps = 200;
constexpr std::int64_t kLevelRange = 65536;

} // namespace

std::int32_t triggerPosition(std::int32_t level)
{
    return static_cast<std::int32_t>((level * kSliderSteps + kLevelRange / 2) / kLevelRange);
}

std::int32_t triggerLevel(std::int32_t position)
{
    return std::max<std::int32_t>(1,
                                  static_cast<std::int32_t>(position * kLevelRange / kSliderSteps));
}

TimeSettingsForm::TimeSettingsForm(TimeSettingsView& view, Settings& settings, ProfileList profiles)
    : m_view(view), m_settings(settings), m_profiles(std::move(profiles))
{
}

void TimeSettingsForm::open()
{
    m_choices = {m_settings.autoSaveAction, m_settings.autoSaveFollow, m_settings.loopMode};
    m_view.showTexts({
        .autoSaveTime = timeEntryText(m_settings.autoSaveTime),
        .loopTime = timeEntryText(m_settings.loopTime),
        .archiverInterval = timeEntryText(m_settings.archiverInterval),
        .before = timeEntryText(-static_cast<std::int64_t>(m_settings.archiverDelay)),
        .after = timeEntryText(m_settings.archiverOverlap),
    });
    m_view.showTriggerPosition(triggerPosition(m_settings.voxVolume));
    std::vector<std::string> names;
    std::int32_t selected = -1;
    for (const auto& [key, name] : m_profiles) {
        if (key == m_settings.voxProfile) {
            selected = static_cast<std::int32_t>(names.size());
        }
        names.push_back(name);
    }
    m_view.showProfiles(names, selected);
    applyRules();
}

void TimeSettingsForm::chooseAutoSaveAction(std::int32_t action)
{
    m_choices.autoSaveAction = action;
    applyRules();
}

void TimeSettingsForm::chooseAutoSaveFollow(std::int32_t follow)
{
    m_choices.autoSaveFollow = follow;
    applyRules();
}

void TimeSettingsForm::chooseLoopMode(std::int32_t mode)
{
    m_choices.loopMode = mode;
    applyRules();
}

// An edit never closes the program or numbers the target on by itself: the
// editor is still open when the follow-up runs.
void TimeSettingsForm::applyRules()
{
    const std::int32_t action = m_choices.autoSaveAction;
    const bool timed = action == SaveAfter || action == EditAfter;
    const bool editing = action == EditAfter;
    std::int32_t& follow = m_choices.autoSaveFollow;
    if (editing && (follow == CloseApplication || follow == RestartIncremented)) {
        follow = EnterIdle;
    }
    TimeSettingsEnabling enabling;
    enabling.autoSaveTime = timed;
    enabling.follow.fill(timed);
    enabling.follow[CloseApplication] = timed && !editing;
    enabling.follow[RestartIncremented] = timed && !editing;
    enabling.loopTime = m_choices.loopMode == Loop;
    enabling.archive = m_choices.loopMode == Archive;
    enabling.vox = m_choices.loopMode == ArchiveVox;
    m_view.showChoices(m_choices);
    m_view.showEnabling(enabling);
}

void TimeSettingsForm::accept()
{
    const TimeSettingsTexts texts = m_view.texts();
    m_settings.loopMode = m_choices.loopMode;
    m_settings.autoSaveAction = m_choices.autoSaveAction;
    m_settings.autoSaveFollow = m_choices.autoSaveFollow;
    m_settings.autoSaveTime = std::max(parseTimeEntry(texts.autoSaveTime), 0);
    m_settings.loopTime = std::max(parseTimeEntry(texts.loopTime), 1);
    m_settings.archiverInterval = std::max(parseTimeEntry(texts.archiverInterval), 1);
    m_settings.archiverOverlap = parseTimeEntry(texts.after);
    m_settings.archiverDelay = -parseTimeEntry(texts.before);
    m_settings.voxVolume = triggerLevel(m_view.triggerPosition());
    const std::int32_t selected = m_view.selectedProfile();
    m_settings.voxProfile = selected >= 0 && selected < static_cast<std::int32_t>(m_profiles.size())
                                ? m_profiles[static_cast<std::size_t>(selected)].first
                                : -1;
}

} // namespace sorvella
