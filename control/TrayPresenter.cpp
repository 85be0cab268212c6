#include "control/TrayPresenter.h"

#include "control/ProductInfo.h"

namespace sorvella {

void TrayPresenter::create(bool iconInTray, StateIcon icon)
{
    remove();
    if (iconInTray && m_view.createTrayIcon(icon)) {
        update(iconInTray, icon);
    }
}

void TrayPresenter::update(bool iconInTray, StateIcon icon)
{
    if (!iconInTray) {
        return;
    }
    bool shown = m_view.updateTrayIcon(icon, kProductName);
    if (!shown) {
        // The icon went away (the tray host restarted): one new attempt.
        m_view.removeTrayIcon();
        shown = m_view.createTrayIcon(icon) && m_view.updateTrayIcon(icon, kProductName);
    }
    // Without an icon a hidden window could not be reached again.
    if (shown && m_view.isMinimised()) {
        m_view.hideWindow();
    }
}

void TrayPresenter::remove()
{
    m_view.removeTrayIcon();
}

} // namespace sorvella
