#pragma once

#include "control/MainView.h"

namespace sorvella {

// The tray icon's life: created while the setting asks for it, updated with
// the state icon, recreated once when an update finds it gone. A minimised
// window is hidden only while an icon exists to bring it back.
class TrayPresenter {
public:
    explicit TrayPresenter(MainView& view);

    void create(bool iconInTray, StateIcon icon);
    void update(bool iconInTray, StateIcon icon);
    void remove();
    // The tooltip: the product's name, then `health` (warning lines) when
    // there is any. An existing icon shows a changed tip at once.
    void setHealth(const std::string& health, StateIcon icon);

private:
    MainView& m_view;
    std::string m_tip;
};

} // namespace sorvella
