#pragma once

#include "config/ConfigSheet.h"
#include "save/ui/SaveDialogServices.h"

#include <QButtonGroup>
#include <QDialog>
#include <QTabWidget>

class QAbstractButton;
class QCheckBox;
class QComboBox;
class QLineEdit;

namespace sorvella {

// "Configure Sorvella": the pages "Input", "General" and "File" with OK,
// Cancel and Help. Draws the fields and forwards every click to the sheet's
// logic, which alone writes the working copy.
class ConfigureDialog final : public QDialog, private ConfigSheetView {
    Q_OBJECT

public:
    // `working` must outlive the dialog; `saveDialogs` opens the codecs'
    // catalogue and the help.
    ConfigureDialog(QWidget* parent, Settings& working, ConfigSheet::Services sheet,
                    SaveDialogServices saveDialogs);

    void accept() override;
    void reject() override;

private:
    void showDevices(const std::vector<std::string>& entries) override;
    void showFields(const ConfigFields& fields) override;
    ConfigFields fields() const override;
    void showVolumeText(const std::string& text) override;
    void showEditProgram(const std::string& path) override;
    void enableTempDirectory(bool enabled) override;
    std::optional<std::string> chooseProgram(const std::string& current) override;
    void showInstalledCodecs(SaveTarget& target) override;

    QWidget* inputPage();
    QWidget* generalPage();
    QWidget* filePage();
    QWidget* choiceGroup(const char* title, QButtonGroup* group,
                         const std::vector<const char*>& texts);
    QComboBox* list(const char* name, const std::vector<std::string>& entries);
    QAbstractButton* button(const char* text, void (ConfigSheet::*action)());
    void openHelp();

    SaveDialogServices m_saveDialogs;
    QTabWidget* m_pages = new QTabWidget;
    // "Input"
    QButtonGroup* m_channels = new QButtonGroup(this);
    QComboBox* m_bufferSize = nullptr;
    QComboBox* m_granularity = nullptr;
    QComboBox* m_rate = nullptr;
    QComboBox* m_soundCard = nullptr;
    QLineEdit* m_volume = nullptr;
    // "General"
    QCheckBox* m_animated = nullptr;
    QButtonGroup* m_quickSave = new QButtonGroup(this);
    QButtonGroup* m_editSave = new QButtonGroup(this);
    QButtonGroup* m_editorStop = new QButtonGroup(this);
    QCheckBox* m_trayIcon = nullptr;
    QComboBox* m_profile = nullptr;
    // "File"
    QLineEdit* m_editProgram = nullptr;
    QButtonGroup* m_tempChoice = new QButtonGroup(this);
    QLineEdit* m_tempDirectory = nullptr;
    QCheckBox* m_bypassCache = nullptr;
    QCheckBox* m_bypassQueue = nullptr;
    ConfigSheet m_sheet;
};

// Runs the sheet modally on `working`; true after OK.
bool runConfiguration(QWidget* parent, Settings& working, ConfigSheet::Services sheet,
                      SaveDialogServices saveDialogs);

} // namespace sorvella
