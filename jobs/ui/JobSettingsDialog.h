#pragma once

#include "jobs/JobForm.h"

#include <QDialog>

#include <cstdint>
#include <functional>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;

namespace sorvella {

// "Sorvella job settings": draws the controls and forwards every button and
// every change the user makes to the form. Its own services' editLine is
// ignored: "Line edit (expert!)" opens "Sorvella Command Line".
class JobSettingsDialog final : public QDialog, private JobSettingsView {
    Q_OBJECT

public:
    // `settings` must outlive the dialog.
    JobSettingsDialog(QWidget* parent, Settings& settings, JobFormServices services,
                      std::function<void(std::int32_t topic)> help);

    void accept() override;

private:
    void showControls(const JobControls& controls) override;
    JobControls controls() const override;

    QWidget* formatGroup();
    QWidget* volumeGroup();
    QWidget* targetGroup();
    QWidget* timeGroup();
    QWidget* defaultButtons();
    QPushButton* button(const char* text, void (JobForm::*action)());
    void watch(QCheckBox* box);

    QComboBox* m_rate;
    QButtonGroup* m_channels;
    QCheckBox* m_startMinimized;
    QLineEdit* m_volume;
    QLineEdit* m_target;
    QComboBox* m_time;
    QButtonGroup* m_after;
    QCheckBox* m_autoIncrement;
    std::function<void(std::int32_t topic)> m_help;
    JobForm m_form;
};

} // namespace sorvella
