#pragma once

#include "config/ConfigSheet.h"
#include "save/ui/SaveDialogServices.h"

#include <QDialog>

class QAbstractButton;
class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QTabWidget;

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
    QTabWidget* m_pages;
    QButtonGroup* m_channels;
    QButtonGroup* m_quickSave;
    QButtonGroup* m_editSave;
    QButtonGroup* m_editorStop;
    QButtonGroup* m_tempChoice;
    QComboBox* m_bufferSize = nullptr;
    QComboBox* m_granularity = nullptr;
    QComboBox* m_rate = nullptr;
    QComboBox* m_soundCard = nullptr;
    QComboBox* m_profile = nullptr;
    QLineEdit* m_volume = nullptr;
    QLineEdit* m_editProgram = nullptr;
    QLineEdit* m_tempDirectory = nullptr;
    QCheckBox* m_animated = nullptr;
    QCheckBox* m_trayIcon = nullptr;
    QCheckBox* m_bypassCache = nullptr;
    QCheckBox* m_bypassQueue = nullptr;
    ConfigSheet m_sheet;
};

// Runs the sheet modally on `working`; true after OK.
bool runConfiguration(QWidget* parent, Settings& working, ConfigSheet::Services sheet,
                      SaveDialogServices saveDialogs);

} // namespace sorvella
