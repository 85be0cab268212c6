#pragma once

#include "control/ui/MainWindow.h"

namespace sorvella {

// The main window as this program has it: "&Edit and Save" is offered only
// while an editor can be opened, so that no recording is stopped or thrown
// away for an editor that cannot open.
class ProgramWindow : public MainWindow {
public:
    void setEditorAvailable(bool available) { m_editorAvailable = available; }

    void setEnabling(const ControlEnabling& enabling) override
    {
        ControlEnabling offered = enabling;
        offered.editAndSave = offered.editAndSave && m_editorAvailable;
        MainWindow::setEnabling(offered);
    }

private:
    bool m_editorAvailable = false;
};

} // namespace sorvella
