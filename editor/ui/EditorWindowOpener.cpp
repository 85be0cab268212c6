#include "editor/ui/EditorWindowOpener.h"

#include "engine/RingStore.h"

namespace sorvella {

void EditorWindowOpener::openEditor(std::unique_ptr<RingStore> store)
{
    // Deletes itself when it closes.
    auto* window = new EditorWindow(m_services, std::move(store), m_mainWindow);
    window->show();
}

} // namespace sorvella
