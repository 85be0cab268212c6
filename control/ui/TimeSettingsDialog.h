#pragma once

#include "control/TimeSettingsForm.h"

#include <QDialog>

#include <array>
#include <cstdint>
#include <functional>

class QButtonGroup;
class QComboBox;
class QRadioButton;
class QSlider;

namespace sorvella {

// "Time Settings": draws the three groups and forwards every click to the
// form; OK lets the form store the values in the settings.
class TimeSettingsDialog final : public QDialog, private TimeSettingsView {
    Q_OBJECT

public:
    // `settings` must outlive the dialog.
    TimeSettingsDialog(QWidget* parent, Settings& settings,
                       std::function<void(std::int32_t topic)> help);

    void accept() override;

private:
    void showChoices(const TimeSettingsChoices& choices) override;
    void showEnabling(const TimeSettingsEnabling& enabling) override;
    void showTexts(const TimeSettingsTexts& texts) override;
    void showTriggerPosition(std::int32_t position) override;
    void showProfiles(const std::vector<std::string>& names, std::int32_t selected) override;
    TimeSettingsTexts texts() const override;
    std::int32_t triggerPosition() const override;
    std::int32_t selectedProfile() const override;

    QWidget* continuousGroup();
    QWidget* loopGroup();
    QRadioButton* radio(QButtonGroup* group, const char* text, std::int32_t id);
    QComboBox* timeBox(const char* name);
    void autoSaveActionClicked(int id);
    void autoSaveFollowClicked(int id);
    void loopModeClicked(int id);
    void openHelp();

    QButtonGroup* m_actions;
    QButtonGroup* m_follows;
    QButtonGroup* m_loopModes;
    QComboBox* m_autoSaveTime = nullptr;
    QComboBox* m_loopTime = nullptr;
    QComboBox* m_interval = nullptr;
    QComboBox* m_before = nullptr;
    QComboBox* m_after = nullptr;
    QSlider* m_trigger = nullptr;
    QComboBox* m_profile = nullptr;
    std::function<void(std::int32_t topic)> m_help;
    TimeSettingsForm m_form;
};

} // namespace sorvella
