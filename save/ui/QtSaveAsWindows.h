#pragma once

#include "save/SaveAsWindows.h"
#include "save/ui/QtFormatOptionChooser.h"
#include "save/ui/QtSaveFileDialog.h"

namespace sorvella {

// The Qt windows of "Save As...", all above `parent`.
class QtSaveAsWindows {
public:
    QtSaveAsWindows(QWidget* parent, Prompter& prompter, HelpTopicOpener help)
        : m_files(parent), m_formats(parent, std::move(help)), m_prompter(prompter)
    {
    }

    // For chooseTargetFile; valid while this object lives.
    SaveAsWindows windows() { return SaveAsWindows{m_files, m_formats, m_prompter}; }

private:
    QtSaveFileDialog m_files;
    QtFormatOptionChooser m_formats;
    Prompter& m_prompter;
};

} // namespace sorvella
