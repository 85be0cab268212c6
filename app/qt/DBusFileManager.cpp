#include "app/qt/DBusFileManager.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QStringList>
#include <QUrl>

namespace sorvella {
namespace {

// A file manager that has to be started first may take a moment.
constexpr int kReplyTimeoutMs = 5000;

} // namespace

bool DBusFileManager::showItem(const std::string& path)
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        return false;
    }
    QDBusMessage call = QDBusMessage::createMethodCall("org.freedesktop.FileManager1",
                                                       "/org/freedesktop/FileManager1",
                                                       "org.freedesktop.FileManager1", "ShowItems");
    call << QStringList{QUrl::fromLocalFile(QString::fromStdString(path)).toString()} << QString();
    return bus.call(call, QDBus::Block, kReplyTimeoutMs).type() == QDBusMessage::ReplyMessage;
}

} // namespace sorvella
