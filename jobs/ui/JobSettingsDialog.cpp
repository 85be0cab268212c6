#include "jobs/ui/JobSettingsDialog.h"

#include "jobs/ui/CommandLineDialog.h"
#include "jobs/ui/DialogButtons.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace sorvella {
namespace {

const QStringList kRates{"48000", "44100", "32000", "24000", "22050", "16000", "11025", "8000"};
const QStringList kTimes{" 5:00",    " 10:00",   " 30:00",   " 1:00:00",
                         " 2:00:00", " 3:00:00", " 4:00:00", " 5:00:00"};

QString qt(const std::string& text)
{
    return QString::fromStdString(text);
}

// -1 checks neither button.
void check(QButtonGroup* group, std::int32_t id)
{
    group->setExclusive(false);
    for (QAbstractButton* radio : group->buttons()) {
        radio->setChecked(group->id(radio) == id);
    }
    group->setExclusive(true);
}

QRadioButton* radio(QButtonGroup* group, const char* text, std::int32_t id)
{
    auto* button = new QRadioButton(text);
    group->addButton(button, id);
    return button;
}

QLineEdit* readOnlyField(const char* name)
{
    auto* field = new QLineEdit;
    field->setObjectName(name);
    field->setReadOnly(true);
    return field;
}

JobFormServices withLineEditor(JobFormServices services, QWidget* dialog,
                               const std::function<void(std::int32_t topic)>& help)
{
    services.editLine = [dialog, help](const std::string& line) {
        return CommandLineDialog::edit(dialog, line, help);
    };
    return services;
}

} // namespace

JobSettingsDialog::JobSettingsDialog(QWidget* parent, Settings& settings, JobFormServices services,
                                     std::function<void(std::int32_t topic)> help)
    : QDialog(parent), m_rate(new QComboBox), m_channels(new QButtonGroup(this)),
      m_startMinimized(new QCheckBox("Start &Minimized")), m_volume(readOnlyField("volume")),
      m_target(readOnlyField("target")), m_time(new QComboBox), m_after(new QButtonGroup(this)),
      m_autoIncrement(new QCheckBox("Auto-Inc Filename")), m_help(std::move(help)),
      m_form(*this, settings, withLineEditor(std::move(services), this, m_help))
{
    setWindowTitle("Sorvella job settings");
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(formatGroup());
    layout->addWidget(volumeGroup());
    layout->addWidget(targetGroup());
    layout->addWidget(timeGroup());
    layout->addWidget(defaultButtons());
    // OK reaches accept() below: the slot is virtual.
    layout->addWidget(okCancelHelpButtons(this, [this] { m_help(JobForm::kHelpTopic); }));
    m_form.open();
}

void JobSettingsDialog::accept()
{
    if (m_form.accept()) {
        QDialog::accept();
    }
}

// Only what the user does counts as a change: the signals below are not
// sent when the form fills the controls.
QWidget* JobSettingsDialog::formatGroup()
{
    auto* group = new QWidget;
    auto* row = new QHBoxLayout(group);
    m_rate->setObjectName("rate");
    m_rate->addItems(kRates);
    row->addWidget(new QLabel("Rate:"));
    row->addWidget(m_rate);
    row->addWidget(radio(m_channels, "Mono", 0));
    row->addWidget(radio(m_channels, "Stereo", 1));
    row->addWidget(m_startMinimized);
    connect(m_rate, &QComboBox::activated, this, [this] { m_form.controlChanged(); });
    connect(m_channels, &QButtonGroup::idClicked, this, [this] { m_form.controlChanged(); });
    watch(m_startMinimized);
    return group;
}

QWidget* JobSettingsDialog::volumeGroup()
{
    auto* group = new QWidget;
    auto* row = new QHBoxLayout(group);
    row->addWidget(new QLabel("Volume:"));
    row->addWidget(m_volume);
    row->addWidget(button("Retrieve", &JobForm::retrieveVolume));
    row->addWidget(button("Clear", &JobForm::clearVolume));
    return group;
}

QWidget* JobSettingsDialog::targetGroup()
{
    auto* group = new QGroupBox("Target");
    auto* row = new QHBoxLayout(group);
    row->addWidget(m_target);
    row->addWidget(button("Change...", &JobForm::changeTarget));
    return group;
}

QWidget* JobSettingsDialog::timeGroup()
{
    auto* group = new QWidget;
    auto* grid = new QGridLayout(group);
    m_time->setObjectName("time");
    m_time->setEditable(true);
    m_time->setInsertPolicy(QComboBox::NoInsert);
    m_time->addItems(kTimes);
    auto* timeLabel = new QLabel("&Recording Time:");
    timeLabel->setBuddy(m_time); // the "&" is the mnemonic, not shown
    grid->addWidget(timeLabel, 0, 0);
    grid->addWidget(m_time, 0, 1);
    grid->addWidget(new QLabel("and:"), 0, 2);
    grid->addWidget(radio(m_after, "Quick Save", 0), 0, 3);
    grid->addWidget(radio(m_after, "Edit", 1), 1, 3);
    grid->addWidget(m_autoIncrement, 1, 1);
    connect(m_time, &QComboBox::activated, this, [this] { m_form.controlChanged(); });
    connect(m_time->lineEdit(), &QLineEdit::textEdited, this, [this] { m_form.controlChanged(); });
    connect(m_after, &QButtonGroup::idClicked, this, [this] { m_form.controlChanged(); });
    watch(m_autoIncrement);
    return group;
}

QWidget* JobSettingsDialog::defaultButtons()
{
    auto* group = new QWidget;
    auto* row = new QHBoxLayout(group);
    row->addWidget(button("Save as default", &JobForm::saveAsDefault));
    row->addWidget(button("Get default", &JobForm::getDefault));
    row->addWidget(button("Clear default", &JobForm::clearDefault));
    row->addWidget(button("Line &edit (expert!)", &JobForm::editLine));
    return group;
}

QPushButton* JobSettingsDialog::button(const char* text, void (JobForm::*action)())
{
    auto* push = new QPushButton(text);
    push->setAutoDefault(false);
    connect(push, &QPushButton::clicked, this, [this, action] { (m_form.*action)(); });
    return push;
}

void JobSettingsDialog::watch(QCheckBox* box)
{
    connect(box, &QCheckBox::clicked, this, [this] { m_form.controlChanged(); });
}

void JobSettingsDialog::showControls(const JobControls& controls)
{
    m_rate->setCurrentIndex(m_rate->findText(qt(controls.rateText)));
    check(m_channels, controls.stereo);
    m_startMinimized->setChecked(controls.startMinimized);
    m_volume->setText(qt(controls.volumeText));
    m_target->setText(qt(controls.targetText));
    m_time->setEditText(qt(controls.timeText));
    check(m_after, controls.editAfter);
    m_autoIncrement->setChecked(controls.autoIncrement);
}

JobControls JobSettingsDialog::controls() const
{
    return JobControls{
        .rateText = m_rate->currentText().toStdString(),
        .stereo = m_channels->checkedId(),
        .startMinimized = m_startMinimized->isChecked(),
        .volumeText = m_volume->text().toStdString(),
        .targetText = m_target->text().toStdString(),
        .timeText = m_time->currentText().toStdString(),
        .editAfter = m_after->checkedId(),
        .autoIncrement = m_autoIncrement->isChecked(),
    };
}

} // namespace sorvella
