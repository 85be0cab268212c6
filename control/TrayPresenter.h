#pragma once

#include "control/MainView.h"

namespace sorvella {

// The tray icon's life: created while the setting asks for it, updated with
// the state icon, recreated once when an update finds it gone. A minimised
// window is hidden only while an icon exists to bring it back.
class TrayPresenter {
public:
    explicit TrayPresenter(MainView& view) : m_view(view) {}

    void create(bool iconInTray, StateIcon icon);
    void update(bool iconInTray, StateIcon icon);
    void remove();

private:
    MainView& m_view;
};

} // namespace sorvella
