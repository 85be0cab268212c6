#pragma once

#include "core/OpenWindow.h"
#include "core/OpenWindows.h"

#include <vector>

namespace sorvella {

// The main window's open save and editor windows. Only membership counts.
// Main thread.
class OpenWindowList : public OpenWindows {
public:
    void add(OpenWindow& window) override;
    // Does nothing for a window that is not in the list.
    void remove(OpenWindow& window) override;

    bool empty() const { return m_windows.empty(); }

    void showAll();
    // Closes every window; each leaves the list as it closes.
    void closeAll();
    // Closes the windows that would stay open (editors); running saves go on.
    void closeWindowsThatStay();

private:
    std::vector<OpenWindow*> m_windows;
};

} // namespace sorvella
