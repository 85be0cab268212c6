#include "config/ui/ConfigureDialog.h"

#include "save/ui/DialogCodecConfigure.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace sorvella {
namespace {

QString qt(const std::string& text)
{
    return QString::fromStdString(text);
}

// -1 (or any id without a button) leaves every button unchecked.
void check(QButtonGroup* group, std::int32_t id)
{
    group->setExclusive(false);
    for (QAbstractButton* button : group->buttons()) {
        button->setChecked(group->id(button) == id);
    }
    group->setExclusive(true);
}

// An index outside the list selects nothing.
void select(QComboBox* box, std::int32_t index)
{
    box->setCurrentIndex(index >= 0 && index < box->count() ? index : -1);
}

std::string selectedText(const QComboBox* box)
{
    return box->currentIndex() < 0 ? std::string() : box->currentText().toStdString();
}

QWidget* labelled(const char* label, QWidget* field)
{
    auto* row = new QWidget;
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(new QLabel(label));
    layout->addWidget(field, 1);
    return row;
}

} // namespace

ConfigureDialog::ConfigureDialog(QWidget* parent, Settings& working, ConfigSheet::Services sheet,
                                 SaveDialogServices saveDialogs)
    : QDialog(parent), m_saveDialogs(std::move(saveDialogs)),
      m_sheet(*this, working, std::move(sheet))
{
    setWindowTitle("Configure Sorvella");
    m_pages->addTab(inputPage(), "Input");
    m_pages->addTab(generalPage(), "General");
    m_pages->addTab(filePage(), "File");
    auto* buttons =
        new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, Qt::Horizontal);
    buttons->button(QDialogButtonBox::Ok)->setText("OK");
    buttons->button(QDialogButtonBox::Cancel)->setText("Cancel");
    QPushButton* help = buttons->addButton("Help", QDialogButtonBox::HelpRole);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_pages);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &ConfigureDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &ConfigureDialog::reject);
    connect(help, &QPushButton::clicked, this, &ConfigureDialog::openHelp);
    connect(m_tempChoice, &QButtonGroup::idClicked, this,
            [this](int id) { m_sheet.chooseTempDirectory(id); });
    m_sheet.open();
}

QWidget* ConfigureDialog::inputPage()
{
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    auto* channels = new QHBoxLayout;
    for (std::int32_t id = 0; id < 2; ++id) {
        auto* radio = new QRadioButton(id == 0 ? "Mono" : "Stereo");
        m_channels->addButton(radio, id);
        channels->addWidget(radio);
    }
    layout->addLayout(channels);
    m_bufferSize = list("bufferSize", ConfigLists::bufferSizes);
    m_granularity = list("granularity", ConfigLists::granularities);
    m_rate = list("rate", ConfigLists::rates);
    m_soundCard = list("soundCard", {});
    layout->addWidget(labelled("Total Buffersize [kB]:", m_bufferSize));
    layout->addWidget(labelled("Buffer granularity:", m_granularity));
    layout->addWidget(labelled("Sample frequency:", m_rate));
    layout->addWidget(labelled("Sound Card:", m_soundCard));
    auto* volume = new QGroupBox("Volume settings");
    auto* volumeLayout = new QGridLayout(volume);
    m_volume = new QLineEdit;
    m_volume->setObjectName("volume");
    m_volume->setReadOnly(true);
    volumeLayout->addWidget(m_volume, 0, 0, 1, 2);
    volumeLayout->addWidget(button("Retrieve Volume settings", &ConfigSheet::retrieveVolume), 1, 0);
    volumeLayout->addWidget(button("Clear Volume settings", &ConfigSheet::clearVolume), 1, 1);
    auto* note = new QLabel("(remember to press \"Save as Default\" in main window to restore "
                            "these settings on startup)");
    note->setWordWrap(true);
    volumeLayout->addWidget(note, 2, 0, 1, 2);
    layout->addWidget(volume);
    layout->addStretch();
    return page;
}

QWidget* ConfigureDialog::generalPage()
{
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(
        button("Reset all \"don't show again\" messages", &ConfigSheet::resetMessages));
    m_animated = new QCheckBox("Animated status display");
    layout->addWidget(m_animated);
    layout->addWidget(choiceGroup(
        "On Quick Save...", m_quickSave,
        {"stop recording", "restart recording (flush buffer)", "continue recording (share data)"}));
    layout->addWidget(
        choiceGroup("On Edit and Save...", m_editSave,
                    {"stop recording", "restart recording (full duplex soundcard req.)",
                     "continue recording (full duplex soundcard req.)"}));
    layout->addWidget(
        choiceGroup("Graphical Editor", m_editorStop,
                    {"Stop playing automatically on focus loss",
                     "Stop playing automatically on iconify", "Never stop playing automatically"}));
    m_trayIcon = new QCheckBox("Show Icon in Tray");
    layout->addWidget(m_trayIcon);
    m_profile = list("profile", ConfigLists::profiles);
    layout->addWidget(labelled("Scheduling Priority:", m_profile));
    layout->addStretch();
    return page;
}

QWidget* ConfigureDialog::filePage()
{
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    auto* edit = new QHBoxLayout;
    m_editProgram = new QLineEdit;
    m_editProgram->setObjectName("editProgram");
    edit->addWidget(new QLabel("File edit with:"));
    edit->addWidget(m_editProgram, 1);
    edit->addWidget(button("Browse...", &ConfigSheet::browseEditProgram));
    layout->addLayout(edit);
    auto* temp = new QGroupBox("Directory for temporary files:");
    auto* tempLayout = new QGridLayout(temp);
    auto* system = new QRadioButton("System Temp");
    auto* other = new QRadioButton("Other:");
    m_tempChoice->addButton(system, 0);
    m_tempChoice->addButton(other, 1);
    m_tempDirectory = new QLineEdit;
    m_tempDirectory->setObjectName("tempDirectory");
    tempLayout->addWidget(system, 0, 0);
    tempLayout->addWidget(other, 1, 0);
    tempLayout->addWidget(m_tempDirectory, 1, 1);
    layout->addWidget(temp);
    m_bypassCache = new QCheckBox("Bypass Cache");
    layout->addWidget(m_bypassCache);
    // The input reader has no message queue to bypass on this system.
    m_bypassQueue = new QCheckBox("Bypass Message Queue (not available on this system)");
    m_bypassQueue->setEnabled(false);
    layout->addWidget(m_bypassQueue);
    layout->addWidget(button("Installed Codecs...", &ConfigSheet::installedCodecs));
    layout->addStretch();
    return page;
}

QWidget* ConfigureDialog::choiceGroup(const char* title, QButtonGroup* group,
                                      const std::vector<const char*>& texts)
{
    auto* box = new QGroupBox(title);
    auto* layout = new QVBoxLayout(box);
    for (std::size_t id = 0; id < texts.size(); ++id) {
        auto* radio = new QRadioButton(texts[id]);
        group->addButton(radio, static_cast<int>(id));
        layout->addWidget(radio);
    }
    return box;
}

QComboBox* ConfigureDialog::list(const char* name, const std::vector<std::string>& entries)
{
    auto* box = new QComboBox;
    box->setObjectName(name);
    for (const std::string& entry : entries) {
        box->addItem(qt(entry));
    }
    return box;
}

QAbstractButton* ConfigureDialog::button(const char* text, void (ConfigSheet::*action)())
{
    auto* pushButton = new QPushButton(text);
    connect(pushButton, &QPushButton::clicked, this, [this, action] { (m_sheet.*action)(); });
    return pushButton;
}

void ConfigureDialog::openHelp()
{
    m_saveDialogs.help(ConfigSheet::kInputHelp + m_pages->currentIndex());
}

void ConfigureDialog::accept()
{
    m_sheet.close(true);
    QDialog::accept();
}

void ConfigureDialog::reject()
{
    m_sheet.close(false);
    QDialog::reject();
}

void ConfigureDialog::showDevices(const std::vector<std::string>& entries)
{
    m_soundCard->clear();
    for (const std::string& entry : entries) {
        m_soundCard->addItem(qt(entry));
    }
}

void ConfigureDialog::showFields(const ConfigFields& fields)
{
    check(m_channels, fields.stereo != 0 ? 1 : 0);
    m_bufferSize->setCurrentIndex(m_bufferSize->findText(qt(fields.bufferSizeText)));
    select(m_granularity, fields.granularityIndex);
    m_rate->setCurrentIndex(m_rate->findText(qt(fields.rateText)));
    m_volume->setText(qt(fields.volumeText));
    select(m_soundCard, fields.soundCardIndex);
    m_animated->setChecked(fields.animated);
    check(m_quickSave, fields.quickSaveChoice);
    check(m_editSave, fields.editSaveChoice);
    check(m_editorStop, fields.editorStopChoice);
    m_trayIcon->setChecked(fields.trayIcon);
    select(m_profile, fields.profileIndex);
    m_editProgram->setText(qt(fields.editProgramText));
    m_tempDirectory->setText(qt(fields.tempDirectoryText));
    m_bypassCache->setChecked(fields.bypassCache);
    check(m_tempChoice, fields.tempChoice);
    m_bypassQueue->setChecked(fields.bypassQueue);
}

ConfigFields ConfigureDialog::fields() const
{
    return ConfigFields{
        .stereo = m_channels->checkedId() == 1 ? 1 : 0,
        .bufferSizeText = selectedText(m_bufferSize),
        .granularityIndex = m_granularity->currentIndex(),
        .rateText = selectedText(m_rate),
        .volumeText = m_volume->text().toStdString(),
        .soundCardIndex = m_soundCard->currentIndex(),
        .animated = m_animated->isChecked(),
        .quickSaveChoice = m_quickSave->checkedId(),
        .editSaveChoice = m_editSave->checkedId(),
        .editorStopChoice = m_editorStop->checkedId(),
        .trayIcon = m_trayIcon->isChecked(),
        .profileIndex = m_profile->currentIndex(),
        .editProgramText = m_editProgram->text().toStdString(),
        .tempDirectoryText = m_tempDirectory->text().toStdString(),
        .bypassCache = m_bypassCache->isChecked(),
        .tempChoice = m_tempChoice->checkedId() == 1 ? 1 : 0,
        .bypassQueue = m_bypassQueue->isChecked(),
    };
}

void ConfigureDialog::showVolumeText(const std::string& text)
{
    m_volume->setText(qt(text));
}

void ConfigureDialog::showEditProgram(const std::string& path)
{
    m_editProgram->setText(qt(path));
}

void ConfigureDialog::enableTempDirectory(bool enabled)
{
    m_tempDirectory->setEnabled(enabled);
}

std::optional<std::string> ConfigureDialog::chooseProgram(const std::string& current)
{
    QFileDialog dialog(this, "Browse...");
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setFilter(QDir::AllDirs | QDir::Files | QDir::Executable | QDir::NoDotAndDotDot);
    dialog.selectFile(qt(current));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    const QFileInfo chosen(dialog.selectedFiles().front());
    if (!chosen.isFile() || !chosen.isExecutable()) {
        return std::nullopt;
    }
    return chosen.absoluteFilePath().toStdString();
}

void ConfigureDialog::showInstalledCodecs(SaveTarget& target)
{
    DialogCodecConfigure(this, m_saveDialogs, target.codecNumber).exec();
}

bool runConfiguration(QWidget* parent, Settings& working, ConfigSheet::Services sheet,
                      SaveDialogServices saveDialogs)
{
    ConfigureDialog dialog(parent, working, std::move(sheet), std::move(saveDialogs));
    return dialog.exec() == QDialog::Accepted;
}

} // namespace sorvella
