#include "control/ui/TimeSettingsDialog.h"

#include "control/VoxProfile.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QVBoxLayout>

namespace sorvella {
namespace {

// Offered in every time box; any other time can be typed.
const QStringList kTimePresets{"0:00",  "0:30",  "1:00",    "5:00",   "10:00",
                               "15:00", "30:00", "1:00:00", "2:00:00"};

QString qt(const std::string& text)
{
    return QString::fromStdString(text);
}

std::string text(const QComboBox* box)
{
    return box->currentText().trimmed().toStdString();
}

} // namespace

TimeSettingsDialog::TimeSettingsDialog(QWidget* parent, Settings& settings,
                                       std::function<void(std::int32_t topic)> help)
    : QDialog(parent), m_actions(new QButtonGroup(this)), m_follows(new QButtonGroup(this)),
      m_loopModes(new QButtonGroup(this)), m_help(std::move(help)),
      m_form(*this, settings, voxProfileNames())
{
    setWindowTitle("Time Settings");
    auto* buttons =
        new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, Qt::Horizontal);
    QPushButton* helpButton = buttons->addButton("Help", QDialogButtonBox::HelpRole);
    buttons->button(QDialogButtonBox::Ok)->setText("OK");
    buttons->button(QDialogButtonBox::Cancel)->setText("Cancel");
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(continuousGroup());
    layout->addWidget(loopGroup());
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &TimeSettingsDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(helpButton, &QPushButton::clicked, this, &TimeSettingsDialog::openHelp);
    connect(m_actions, &QButtonGroup::idClicked, this, &TimeSettingsDialog::autoSaveActionClicked);
    connect(m_follows, &QButtonGroup::idClicked, this, &TimeSettingsDialog::autoSaveFollowClicked);
    connect(m_loopModes, &QButtonGroup::idClicked, this, &TimeSettingsDialog::loopModeClicked);
    m_form.open();
}

QWidget* TimeSettingsDialog::continuousGroup()
{
    auto* group = new QGroupBox("Recording time properties for continuous mode");
    auto* grid = new QGridLayout(group);
    grid->addWidget(radio(m_actions, "None (inifinite recording)", 0), 0, 0);
    grid->addWidget(radio(m_actions, "Save on application close", 1), 1, 0);
    grid->addWidget(radio(m_actions, "Save after:", 2), 2, 0);
    grid->addWidget(radio(m_actions, "Edit after:", 3), 3, 0);
    m_autoSaveTime = timeBox("autoSaveTime");
    grid->addWidget(m_autoSaveTime, 2, 1, 2, 1);
    grid->addWidget(new QLabel("and:"), 0, 2);
    const char* follows[] = {"close application", "enter idle mode", "restart continuous mode",
                             "restart cont. mode and inc. filename", "loop mode"};
    for (std::int32_t id = 0; id < 5; ++id) {
        grid->addWidget(radio(m_follows, follows[id], id), id, 3);
    }
    return group;
}

QWidget* TimeSettingsDialog::loopGroup()
{
    auto* group = new QGroupBox("Loop Properties");
    auto* grid = new QGridLayout(group);
    grid->addWidget(radio(m_loopModes, "Loop Mode. Maximum recording time in Loop Mode:", 0), 0, 0);
    m_loopTime = timeBox("loopTime");
    grid->addWidget(m_loopTime, 0, 1);
    grid->addWidget(radio(m_loopModes, "Archive Mode. Save every:", 1), 1, 0);
    m_interval = timeBox("archiverInterval");
    grid->addWidget(m_interval, 1, 1);
    auto* overlap = new QHBoxLayout;
    m_before = timeBox("archiverBefore");
    m_after = timeBox("archiverAfter");
    overlap->addWidget(new QLabel("overlapping:"));
    overlap->addWidget(new QLabel("before:"));
    overlap->addWidget(m_before);
    overlap->addWidget(new QLabel("after:"));
    overlap->addWidget(m_after);
    grid->addLayout(overlap, 2, 0, 1, 2);
    grid->addWidget(radio(m_loopModes, "Archive vox mode - record sound only", 2), 3, 0, 1, 2);
    m_trigger = new QSlider(Qt::Horizontal);
    m_trigger->setObjectName("triggerLevel");
    m_trigger->setRange(0, 100);
    m_trigger->setTickInterval(10);
    m_trigger->setTickPosition(QSlider::TicksBelow);
    m_profile = new QComboBox;
    m_profile->setObjectName("profile");
    auto* vox = new QGridLayout;
    vox->addWidget(new QLabel("Trigger Level:"), 0, 0);
    vox->addWidget(m_trigger, 0, 1);
    vox->addWidget(new QLabel("Profile:"), 1, 0);
    vox->addWidget(m_profile, 1, 1);
    grid->addLayout(vox, 4, 0, 1, 2);
    return group;
}

QRadioButton* TimeSettingsDialog::radio(QButtonGroup* group, const char* text, std::int32_t id)
{
    auto* button = new QRadioButton(text);
    group->addButton(button, id);
    return button;
}

QComboBox* TimeSettingsDialog::timeBox(const char* name)
{
    auto* box = new QComboBox;
    box->setObjectName(name);
    box->setEditable(true);
    box->addItems(kTimePresets);
    return box;
}

void TimeSettingsDialog::accept()
{
    m_form.accept();
    QDialog::accept();
}

void TimeSettingsDialog::showChoices(const TimeSettingsChoices& choices)
{
    const auto check = [](QButtonGroup* group, std::int32_t id) {
        QAbstractButton* button = group->button(id);
        if (button != nullptr) {
            button->setChecked(true);
        }
    };
    check(m_actions, choices.autoSaveAction);
    check(m_follows, choices.autoSaveFollow);
    check(m_loopModes, choices.loopMode);
}

void TimeSettingsDialog::showEnabling(const TimeSettingsEnabling& enabling)
{
    m_autoSaveTime->setEnabled(enabling.autoSaveTime);
    for (std::int32_t id = 0; id < static_cast<std::int32_t>(enabling.follow.size()); ++id) {
        m_follows->button(id)->setEnabled(enabling.follow[static_cast<std::size_t>(id)]);
    }
    m_loopTime->setEnabled(enabling.loopTime);
    m_interval->setEnabled(enabling.archive);
    m_before->setEnabled(enabling.archive);
    m_after->setEnabled(enabling.archive);
    m_trigger->setEnabled(enabling.vox);
    m_profile->setEnabled(enabling.vox);
}

void TimeSettingsDialog::showTexts(const TimeSettingsTexts& texts)
{
    m_autoSaveTime->setCurrentText(qt(texts.autoSaveTime));
    m_loopTime->setCurrentText(qt(texts.loopTime));
    m_interval->setCurrentText(qt(texts.archiverInterval));
    m_before->setCurrentText(qt(texts.before));
    m_after->setCurrentText(qt(texts.after));
}

void TimeSettingsDialog::showTriggerPosition(std::int32_t position)
{
    m_trigger->setValue(position);
}

void TimeSettingsDialog::showProfiles(const std::vector<std::string>& names, std::int32_t selected)
{
    m_profile->clear();
    for (const std::string& name : names) {
        m_profile->addItem(qt(name));
    }
    m_profile->setCurrentIndex(selected);
}

TimeSettingsTexts TimeSettingsDialog::texts() const
{
    return {text(m_autoSaveTime), text(m_loopTime), text(m_interval), text(m_before),
            text(m_after)};
}

std::int32_t TimeSettingsDialog::triggerPosition() const
{
    return m_trigger->value();
}

std::int32_t TimeSettingsDialog::selectedProfile() const
{
    return m_profile->currentIndex();
}

void TimeSettingsDialog::autoSaveActionClicked(int id)
{
    m_form.chooseAutoSaveAction(id);
}

void TimeSettingsDialog::autoSaveFollowClicked(int id)
{
    m_form.chooseAutoSaveFollow(id);
}

void TimeSettingsDialog::loopModeClicked(int id)
{
    m_form.chooseLoopMode(id);
}

void TimeSettingsDialog::openHelp()
{
    m_help(TimeSettingsForm::kHelpTopic);
}

} // namespace sorvella
