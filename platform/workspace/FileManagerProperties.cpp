#include "platform/workspace/FileManagerProperties.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QStringList>
#include <QTimer>
#include <QUrl>

namespace {

// The properties window opens at once; a file manager that takes longer is taken as none.
constexpr int kReplyTimeoutMs = 5000;
const QString kPrivateBusName = QStringLiteral("pelmora-file-manager-bus");

QString& busAddress()
{
    static QString address;
    return address;
}

QDBusConnection connection()
{
    if (busAddress().isEmpty())
        return QDBusConnection::sessionBus();
    return QDBusConnection::connectToBus(busAddress(), kPrivateBusName);
}

} // namespace

namespace FileManagerProperties {

void setBusAddress(const QString& address)
{
    if (!busAddress().isEmpty())
        QDBusConnection::disconnectFromBus(kPrivateBusName);
    busAddress() = address;
}

void showItemProperties(const QString& path, std::function<void(bool shown)> done)
{
    QDBusConnection bus = connection();
    if (!bus.isConnected()) {
        QTimer::singleShot(0, [done = std::move(done)] { done(false); });
        return;
    }
    QDBusMessage call = QDBusMessage::createMethodCall(QString::fromLatin1(kService), QString::fromLatin1(kObjectPath),
                                                       QString::fromLatin1(kInterface), QString::fromLatin1(kMethod));
    const QString uri = QString::fromLatin1(QUrl::fromLocalFile(path).toEncoded());
    call << QStringList{uri} << QString();
    auto* watcher = new QDBusPendingCallWatcher(bus.asyncCall(call, kReplyTimeoutMs));
    QObject::connect(watcher, &QDBusPendingCallWatcher::finished, [done = std::move(done)](QDBusPendingCallWatcher* finished) {
        finished->deleteLater();
        done(!finished->isError());
    });
}

} // namespace FileManagerProperties
