#pragma once

#include <QIcon>
#include <QMenu>
#include <QObject>
#include <QString>
#include <QSystemTrayIcon>

#include <memory>

namespace sorvella {

// The main window's icon in the tray and its menu. The menu outlives the
// icon, so its items keep their enabling while the icon is recreated.
class MainTrayIcon : public QObject {
    Q_OBJECT

public:
    // The menu becomes a child of `window`.
    explicit MainTrayIcon(QWidget* window);
    ~MainTrayIcon() override;

    // False, with no icon, where the desktop has no tray.
    bool create(const QIcon& icon);
    // False when there is no icon to update.
    bool update(const QIcon& icon, const QString& tip);
    void remove();
    // A balloon message from the icon; false when there is no icon.
    bool showMessage(const QString& caption, const QString& text);

    // "E&dit and Save" and "Quick &Save" need a recording.
    void setSaveItemsEnabled(bool quickSave, bool editAndSave);

signals:
    void restoreRequested();
    void editAndSaveRequested();
    void quickSaveRequested();
    void exitRequested();

private:
    void activated(QSystemTrayIcon::ActivationReason reason);

    QMenu* m_menu;
    QAction* m_editAndSave;
    QAction* m_quickSave;
    std::unique_ptr<QSystemTrayIcon> m_icon;
};

} // namespace sorvella
