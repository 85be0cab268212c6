#include "control/ui/MainTrayIcon.h"

#include <QWidget>

namespace sorvella {

MainTrayIcon::MainTrayIcon(QWidget* window) : QObject(window), m_menu(new QMenu(window))
{
    m_menu->setObjectName(QStringLiteral("trayMenu"));
    QAction* restore = m_menu->addAction(tr("&Restore"), this, &MainTrayIcon::restoreRequested);
    m_menu->setDefaultAction(restore);
    m_menu->addSeparator();
    m_editAndSave =
        m_menu->addAction(tr("E&dit and Save"), this, &MainTrayIcon::editAndSaveRequested);
    m_quickSave = m_menu->addAction(tr("Quick &Save"), this, &MainTrayIcon::quickSaveRequested);
    m_menu->addSeparator();
    m_menu->addAction(tr("&Exit"), this, &MainTrayIcon::exitRequested);
}

MainTrayIcon::~MainTrayIcon() = default;

bool MainTrayIcon::create(const QIcon& icon)
{
    remove();
    if (!QSystemTrayIcon::isSystemTrayAvailable()) {
        return false;
    }
    m_icon = std::make_unique<QSystemTrayIcon>(icon, this);
    m_icon->setContextMenu(m_menu);
    connect(m_icon.get(), &QSystemTrayIcon::activated, this, &MainTrayIcon::activated);
    m_icon->show();
    return true;
}

bool MainTrayIcon::update(const QIcon& icon, const QString& tip)
{
    if (!m_icon) {
        return false;
    }
    m_icon->setIcon(icon);
    m_icon->setToolTip(tip);
    return true;
}

bool MainTrayIcon::showMessage(const QString& caption, const QString& text)
{
    if (!m_icon) {
        return false;
    }
    m_icon->showMessage(caption, text, QSystemTrayIcon::Warning);
    return true;
}

void MainTrayIcon::remove()
{
    m_icon.reset();
}

void MainTrayIcon::setSaveItemsEnabled(bool quickSave, bool editAndSave)
{
    m_editAndSave->setEnabled(editAndSave);
    m_quickSave->setEnabled(quickSave);
}

// Most tray hosts on Linux report only single clicks ("Trigger"); where a
// double click is reported too, restoring twice does no harm.
void MainTrayIcon::activated(QSystemTrayIcon::ActivationReason reason)
{
    if (reason == QSystemTrayIcon::Trigger || reason == QSystemTrayIcon::DoubleClick) {
        emit restoreRequested();
    }
}

} // namespace sorvella
