#pragma once

#include "control/EditorOpener.h"
#include "editor/ui/EditorWindow.h"

namespace sorvella {

// Edit and Save's editors: each a window of its own over the main window,
// shown at once.
class EditorWindowOpener final : public EditorOpener {
public:
    EditorWindowOpener(EditorWindow::Services services, QWidget* mainWindow)
        : m_services(std::move(services)), m_mainWindow(mainWindow)
    {
    }

    void openEditor(std::unique_ptr<RingStore> store) override;

private:
    EditorWindow::Services m_services;
    QWidget* m_mainWindow;
};

} // namespace sorvella
