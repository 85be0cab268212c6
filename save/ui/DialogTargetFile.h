#pragma once

#include "save/ui/QtSaveAsWindows.h"
#include "save/ui/SaveDialogServices.h"
#include "save/ui/TargetFilePresenter.h"

#include <QDialog>

#include <memory>

namespace Ui {
class DialogTargetFile;
}

namespace sorvella {

// "Select Targetfile...": the target's name template with its variables
// explained and three examples to copy. Works on a copy of the target; OK
// copies the copy back.
class DialogTargetFile final : public QDialog, private TargetFileView {
    Q_OBJECT

public:
    // `target` must outlive the dialog.
    DialogTargetFile(QWidget* parent, SaveTarget& target, const SaveDialogServices& services);
    ~DialogTargetFile() override;

    void accept() override;

private:
    std::string fileName() const override;
    void showFileName(const std::string& name) override;
    void showInstalledCodecs(std::int32_t codecNumber) override;

    void copyFirstExample();
    void copySecondExample();
    void copyThirdExample();
    void browse();
    void installedCodecs();
    void openHelp();

    std::unique_ptr<Ui::DialogTargetFile> m_ui;
    SaveTarget& m_target;
    SaveDialogServices m_services;
    QtSaveAsWindows m_saveAs;
    TargetFilePresenter m_presenter;
};

} // namespace sorvella
