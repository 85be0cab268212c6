#include "app/qt/DBusRemoteControl.h"

#include "app/qt/RemoteBusNames.h"
#include "control/RemoteControl.h"
#include "core/RecException.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>

#include <iostream>

namespace sorvella {

void DBusRemoteControl::publish()
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        std::cerr << "Remote control is unavailable: there is no D-Bus session bus.\n";
        return;
    }
    if (!bus.registerObject(kRemoteObject, this,
                            QDBusConnection::ExportAllSlots | QDBusConnection::ExportAllSignals)) {
        std::cerr << "Remote control is unavailable: " << bus.lastError().message().toStdString()
                  << '\n';
        return;
    }
    QDBusConnectionInterface* names = bus.interface();
    // A later instance waits in line for the common name: when the first
    // ends, the commands reach the one that runs on.
    names->registerService(kRemoteService, QDBusConnectionInterface::QueueService,
                           QDBusConnectionInterface::DontAllowReplacement);
    names->registerService(remoteServiceOf(QCoreApplication::applicationPid()),
                           QDBusConnectionInterface::DontQueueService,
                           QDBusConnectionInterface::DontAllowReplacement);
}

void DBusRemoteControl::announceSaved(const std::string& file, bool ok)
{
    emit Saved(QString::fromStdString(file), ok);
}

// Qt's event loop, which calls the slots, lets no exception through.
template <typename Command> auto DBusRemoteControl::answer(Command command) -> decltype(command())
{
    try {
        return command();
    } catch (const RecException& error) {
        if (calledFromDBus()) {
            sendErrorReply(kRemoteError, QString::fromStdString(error.message()));
        }
        return decltype(command())();
    }
}

QString DBusRemoteControl::QuickSave()
{
    return answer([this] { return QString::fromStdString(m_control.quickSave()); });
}

void DBusRemoteControl::EditAndSave()
{
    answer([this] { m_control.editAndSave(); });
}

QVariantMap DBusRemoteControl::Status()
{
    const RemoteStatus status = m_control.status();
    return {
        {"state", QString::fromStdString(status.state)},
        {"mode", QString::fromStdString(status.mode)},
        {"heldSeconds", qlonglong{status.heldSeconds}},
        {"loopTime", status.loopSeconds},
        {"target", QString::fromStdString(status.target)},
        {"dropouts", qlonglong{status.dropouts}},
    };
}

void DBusRemoteControl::Show()
{
    m_control.show();
}

} // namespace sorvella
