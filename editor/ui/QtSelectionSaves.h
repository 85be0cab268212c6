#pragma once

#include "editor/SelectionSaves.h"
#include "save/ui/QtSaveAsWindows.h"
#include "save/ui/StartSave.h"

namespace sorvella {

class CodecCatalogue;
struct Settings;

// What the main window lends its editors' saves.
struct EditorSaveServices {
    SaveWindowServices windows;
    const CodecCatalogue& catalogue;
    // The saves' "Saving..." windows belong to the main window: they outlive
    // the editor.
    QWidget* mainWindow;
    // Read live for the save priority.
    const Settings& mainSettings;
    HelpTopicOpener help;
};

// An editor's saves: "Save As..." over the editor, the job behind a
// "Saving..." window of the main window.
class QtSelectionSaves final : public SelectionSaves {
public:
    QtSelectionSaves(const EditorSaveServices& services, QWidget& editor)
        : m_services(services), m_saveAs(&editor, services.windows.prompter, services.help)
    {
    }

    bool chooseTarget(SaveTarget& target) override;
    void startSave(std::unique_ptr<RingStore>& snapshot, const SaveTarget& target,
                   const BlockFilter& filter) override;

private:
    EditorSaveServices m_services;
    QtSaveAsWindows m_saveAs;
};

} // namespace sorvella
