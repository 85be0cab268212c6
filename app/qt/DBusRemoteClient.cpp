#include "app/qt/DBusRemoteClient.h"

#include "app/RemoteRequest.h"
#include "app/qt/RemoteBusNames.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusReply>

#include <algorithm>
#include <iostream>
#include <string>
#include <vector>

namespace sorvella {
namespace {

constexpr int kFailed = 1;
constexpr int kNoInstance = 2;

// Long enough for a box the save shows to be answered.
constexpr int kReplyTimeoutMs = 120000;

const char* methodOf(RemoteRequest::Command command)
{
    switch (command) {
    case RemoteRequest::Command::QuickSave:
        return "QuickSave";
    case RemoteRequest::Command::EditAndSave:
        return "EditAndSave";
    default:
        return "Status";
    }
}

void printStatus(const QVariantMap& status)
{
    for (const QString& field : remoteStatusFields()) {
        std::cout << field.toStdString() << ": " << status.value(field).toString().toStdString()
                  << '\n';
    }
}

int send(const RemoteRequest& request)
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        std::cerr << "No running Sorvella can be reached: there is no D-Bus session bus.\n";
        return kNoInstance;
    }
    const QString service =
        request.instance ? remoteServiceOf(*request.instance) : QString(kRemoteService);
    const QDBusMessage call = QDBusMessage::createMethodCall(
        service, kRemoteObject, kRemoteInterface, methodOf(request.command));
    const QDBusMessage reply = bus.call(call, QDBus::Block, kReplyTimeoutMs);
    if (reply.type() == QDBusMessage::ErrorMessage) {
        if (reply.errorName() == "org.freedesktop.DBus.Error.ServiceUnknown") {
            std::cerr << (request.instance ? "No Sorvella runs with that process id.\n"
                                           : "No Sorvella is running.\n");
            return kNoInstance;
        }
        std::cerr << reply.errorMessage().toStdString() << '\n';
        return kFailed;
    }
    if (request.command == RemoteRequest::Command::Status) {
        printStatus(QDBusReply<QVariantMap>(reply).value());
    } else if (request.command == RemoteRequest::Command::QuickSave) {
        std::cout << "Saving to " << QDBusReply<QString>(reply).value().toStdString() << '\n';
    }
    return 0;
}

} // namespace

std::optional<int> runRemoteCommand(int& argc, char** argv)
{
    const std::vector<std::string> arguments(argv + std::min(argc, 1), argv + argc);
    const std::optional<RemoteRequest> request = remoteRequest(arguments);
    if (!request) {
        return std::nullopt;
    }
    if (!request->error.empty()) {
        std::cerr << request->error << '\n';
        return kFailed;
    }
    // The bus needs Qt's core, never a window.
    const QCoreApplication qt(argc, argv);
    // Registered before the bus is opened, so that Qt's registry of types is
    // made before its D-Bus thread and outlives it at exit: the thread would
    // otherwise complain on standard error about the bus's own types when it
    // ends last.
    qRegisterMetaType<QDBusMessage>();
    return send(*request);
}

} // namespace sorvella
