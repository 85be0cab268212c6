#include "control/TrayPresenter.h"

#include "control/ProductInfo.h"

namespace sorvella {

TrayPresenter::TrayPresenter(MainView& view) : m_view(view), m_tip(kProductName) {}

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
    bool shown = m_view.updateTrayIcon(icon, m_tip);
    if (!shown) {
        // The icon went away (the tray host restarted): one new attempt.
        m_view.removeTrayIcon();
        shown = m_view.createTrayIcon(icon) && m_view.updateTrayIcon(icon, m_tip);
    }
    // Without an icon a hidden window could not be reached again.
    if (shown && m_view.isMinimised()) {
        m_view.hideWindow();
    }
}

void TrayPresenter::setHealth(const std::string& health, StateIcon icon)
{
    const std::string tip = health.empty() ? std::string(kProductName)
                                           : std::string(kProductName) + "\n" + health;
    if (tip != m_tip) {
        m_tip = tip;
        m_view.updateTrayIcon(icon, m_tip);
    }
}

void TrayPresenter::remove()
{
    m_view.removeTrayIcon();
}

} // namespace sorvella
