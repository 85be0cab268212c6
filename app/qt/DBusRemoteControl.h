#pragma once

#include <QDBusContext>
#include <QObject>
#include <QString>
#include <QVariantMap>

#include <string>

namespace sorvella {

class RemoteControl;

// The remote control on the session bus (interface org.sorvella.Recorder at
// /Recorder): each method forwards to RemoteControl on the main thread and
// answers its failure as a D-Bus error with the same text.
class DBusRemoteControl : public QObject, protected QDBusContext {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.sorvella.Recorder")

public:
    explicit DBusRemoteControl(RemoteControl& control) : m_control(control) {}

    // Takes the instance's names on the session bus. Without a bus the
    // program runs on and says so once on standard error.
    void publish();
    // A save of the main window has ended.
    void announceSaved(const std::string& file, bool ok);

public slots:
    QString QuickSave();
    void EditAndSave();
    QVariantMap Status();
    void Show();

signals:
    void Saved(const QString& file, bool ok);

private:
    template <typename Command> auto answer(Command command) -> decltype(command());

    RemoteControl& m_control;
};

} // namespace sorvella
