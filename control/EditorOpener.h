#pragma once

#include <memory>

namespace sorvella {

class RingStore;

// Opens the graphical editor on recorded sound; the editor window owns the
// store from then on and joins the main window's open windows. Main thread.
class EditorOpener {
public:
    virtual ~EditorOpener() = default;

    virtual void openEditor(std::unique_ptr<RingStore> store) = 0;
};

} // namespace sorvella
