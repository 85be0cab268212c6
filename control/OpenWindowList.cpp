#include "control/OpenWindowList.h"

#include <algorithm>

namespace sorvella {

void OpenWindowList::add(OpenWindow& window)
{
    if (std::find(m_windows.begin(), m_windows.end(), &window) == m_windows.end()) {
        m_windows.push_back(&window);
    }
}

void OpenWindowList::remove(OpenWindow& window)
{
    std::erase(m_windows, &window);
}

void OpenWindowList::showAll()
{
    // A copy: the list must not change under the loop.
    for (OpenWindow* window : std::vector<OpenWindow*>(m_windows)) {
        window->showWindow();
    }
}

// A closing window removes itself from the list; one that does not is
// removed here, so the loop always ends.
void OpenWindowList::closeAll()
{
    while (!m_windows.empty()) {
        OpenWindow* window = m_windows.front();
        window->closeWindow();
        remove(*window);
    }
}

void OpenWindowList::closeWindowsThatStay()
{
    for (OpenWindow* window : std::vector<OpenWindow*>(m_windows)) {
        if (!window->closesByItself()) {
            window->closeWindow();
            remove(*window);
        }
    }
}

} // namespace sorvella
