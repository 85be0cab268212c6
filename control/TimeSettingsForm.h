#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace sorvella {

struct Settings;

// The five time boxes of the "Time Settings" dialog, as typed.
struct TimeSettingsTexts {
    std::string autoSaveTime;
    std::string loopTime;
    std::string archiverInterval;
    std::string before;
    std::string after;
};

// Which controls of the dialog take input.
struct TimeSettingsEnabling {
    bool autoSaveTime = false;
    std::array<bool, 5> follow{}; // by autoSaveFollow
    bool loopTime = false;
    bool archive = false; // "Save every:", "before:" and "after:"
    bool vox = false;     // "Trigger Level:" and "Profile:"

    bool operator==(const TimeSettingsEnabling&) const = default;
};

// The radio buttons of the three choices.
struct TimeSettingsChoices {
    std::int32_t autoSaveAction = 0;
    std::int32_t autoSaveFollow = 0;
    std::int32_t loopMode = 0;

    bool operator==(const TimeSettingsChoices&) const = default;
};

// What the "Time Settings" logic needs of its window.
class TimeSettingsView {
public:
    virtual ~TimeSettingsView() = default;
    virtual void showChoices(const TimeSettingsChoices& choices) = 0;
    virtual void showEnabling(const TimeSettingsEnabling& enabling) = 0;
    virtual void showTexts(const TimeSettingsTexts& texts) = 0;
    virtual void showTriggerPosition(std::int32_t position) = 0;
    // `selected` is an index into `names`, or -1.
    virtual void showProfiles(const std::vector<std::string>& names, std::int32_t selected) = 0;
    virtual TimeSettingsTexts texts() const = 0;
    virtual std::int32_t triggerPosition() const = 0;
    virtual std::int32_t selectedProfile() const = 0; // -1 when none
};

// The trigger level as the slider shows it (0 to 100), and back: a slider
// at 0 still keeps a level, since silence would trigger otherwise.
std::int32_t triggerPosition(std::int32_t level);
std::int32_t triggerLevel(std::int32_t position);

// The "Time Settings" dialog's logic: automatic save in continuous mode,
// the loop, archive and sound-activated modes. Nothing reaches the settings
// before accept().
class TimeSettingsForm {
public:
    static constexpr std::int32_t kHelpTopic = 129;

    using ProfileList = std::vector<std::pair<std::int32_t, std::string>>;

    TimeSettingsForm(TimeSettingsView& view, Settings& settings, ProfileList profiles);

    void open();
    // A click on a radio button of each choice.
    void chooseAutoSaveAction(std::int32_t action);
    void chooseAutoSaveFollow(std::int32_t follow);
    void chooseLoopMode(std::int32_t mode);
    // OK: every value goes to the settings.
    void accept();

    const TimeSettingsChoices& choices() const { return m_choices; }

private:
    void applyRules();

    TimeSettingsView& m_view;
    Settings& m_settings;
    ProfileList m_profiles;
    TimeSettingsChoices m_choices;
};

} // namespace sorvella
