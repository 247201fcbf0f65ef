#include "platform/events/SingleInstance.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QLocalSocket>
#include <QTemporaryDir>
#include <QtEndian>
#include <gtest/gtest.h>

#include <future>
#include <sys/stat.h>
#include <unistd.h>

namespace {

class FixedResolver : public SenderResolver {
public:
    QString senderNameForProcess(pid_t) const override { return QStringLiteral("Brevix Manager"); }
};

template <typename Pred>
bool spinUntil(Pred done, int ms = 5000)
{
    QDeadlineTimer deadline(ms);
    while (!done() && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    return done();
}

} // namespace

TEST(InstanceRequest, RoundTripKeepsPathBytes)
{
    InstanceRequest open{InstanceRequest::Kind::OpenFiles, {QByteArray("/tmp/a.pdf"), QByteArray("/tmp/\xff\xfe card.pdf")}, {}};
    InstanceRequest search{InstanceRequest::Kind::SearchText, {}, QStringLiteral("山田")};
    for (const InstanceRequest& request : {open, search, InstanceRequest{}}) {
        const QByteArray frame = encodeInstanceRequest(request);
        ASSERT_EQ(qFromLittleEndian<quint32>(frame.constData()), static_cast<quint32>(frame.size() - 4));
        InstanceRequest back;
        ASSERT_TRUE(decodeInstanceRequest(frame.mid(4), back));
        EXPECT_EQ(back, request);
    }
}

TEST(InstanceRequest, MalformedPayloadsAreRefused)
{
    const QByteArray good = encodeInstanceRequest({InstanceRequest::Kind::OpenFiles, {QByteArray("/a")}, {}}).mid(4);
    const QByteArray cases[] = {
        QByteArray(),
        QByteArray("\x09", 1),                                        // unknown kind
        good.left(good.size() - 1),                                   // truncated
        good + QByteArray("x"),                                       // trailing bytes
        encodeInstanceRequest({InstanceRequest::Kind::OpenFiles, {QByteArray("relative.pdf")}, {}}).mid(4),
        QByteArray("\x02\xff\xff\xff\x7f", 5),                        // count far beyond the data
    };
    for (const QByteArray& payload : cases) {
        InstanceRequest out;
        EXPECT_FALSE(decodeInstanceRequest(payload, out)) << payload.toHex().toStdString();
    }
}

TEST(SingleInstance, SecondLaunchForwardsToTheFirst)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("instance.sock");
    SingleInstance first(path, std::make_unique<FixedResolver>());
    ASSERT_EQ(first.start(InstanceRequest{}, 500), SingleInstance::Role::Primary);

    QList<InstanceRequest> received;
    QString sender;
    QObject::connect(&first, &SingleInstance::requestReceived, [&](const InstanceRequest& r, const QString& s) {
        received.append(r);
        sender = s;
    });

    // Thousands of long paths at once travel in one request.
    InstanceRequest request{InstanceRequest::Kind::OpenFiles, {}, {}};
    for (int i = 0; i < 2000; ++i)
        request.paths.append("/tmp/" + QByteArray(200, 'x') + QByteArray::number(i) + ".pdf");
    auto second = std::async(std::launch::async, [&] {
        SingleInstance other(path);
        return other.start(request, 3000);
    });
    ASSERT_TRUE(spinUntil([&] { return second.wait_for(std::chrono::seconds(0)) == std::future_status::ready; }));
    EXPECT_EQ(second.get(), SingleInstance::Role::Forwarded);
    ASSERT_TRUE(spinUntil([&] { return !received.isEmpty(); }));
    EXPECT_EQ(received.first(), request);
    EXPECT_EQ(sender, "Brevix Manager");
}

TEST(SingleInstance, OversizedOrGarbageFramesAreDropped)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("instance.sock");
    SingleInstance first(path, std::make_unique<FixedResolver>());
    ASSERT_EQ(first.start(InstanceRequest{}, 500), SingleInstance::Role::Primary);
    int count = 0;
    QObject::connect(&first, &SingleInstance::requestReceived, [&] { ++count; });

    for (const QByteArray& frame : {QByteArray("\xff\xff\xff\xff", 4), QByteArray("\x01\x00\x00\x00\x09", 5)}) {
        QLocalSocket socket;
        socket.connectToServer(path);
        ASSERT_TRUE(socket.waitForConnected(1000));
        socket.write(frame);
        socket.flush();
        EXPECT_TRUE(spinUntil([&] { return socket.state() == QLocalSocket::UnconnectedState; }, 3000));
    }
    EXPECT_EQ(count, 0);
}

// The first instance's main thread is busy (it runs no events here): a second launch is still
// answered at once, and its request waits until the main thread gets to it.
TEST(SingleInstance, BusyInstanceStillTakesASecondLaunch)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("instance.sock");
    SingleInstance first(path, std::make_unique<FixedResolver>());
    ASSERT_EQ(first.start(InstanceRequest{}, 500), SingleInstance::Role::Primary);
    QList<InstanceRequest> received;
    QObject::connect(&first, &SingleInstance::requestReceived, [&](const InstanceRequest& r) { received.append(r); });

    const InstanceRequest request{InstanceRequest::Kind::OpenFiles, {QByteArray("/tmp/card.pdf")}, {}};
    auto second = std::async(std::launch::async, [&] {
        SingleInstance other(path);
        return other.start(request, 3000);
    });
    EXPECT_EQ(second.get(), SingleInstance::Role::Forwarded);
    EXPECT_TRUE(received.isEmpty());
    ASSERT_TRUE(spinUntil([&] { return !received.isEmpty(); }));
    EXPECT_EQ(received.first(), request);
}

// A runtime folder others may enter, or one of another user, is not used: no channel, no socket.
TEST(SingleInstance, RuntimeFolderMustBeTheUsersOwnAndClosed)
{
    QTemporaryDir dir;
    const QByteArray saved = qgetenv("XDG_RUNTIME_DIR");
    const QString open = dir.filePath("open");
    const QString foreign = dir.filePath("foreign");
    const QString own = dir.filePath("own");
    for (const QString& folder : {open, foreign, own})
        QDir().mkpath(folder);
    ::chmod(QFile::encodeName(open).constData(), 0755);
    ::chmod(QFile::encodeName(own).constData(), 0700);
    ::chmod(QFile::encodeName(foreign).constData(), 0700);
    const bool canGiveAway = ::geteuid() == 0 && ::chown(QFile::encodeName(foreign).constData(), 65534, 65534) == 0;

    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(open));
    EXPECT_TRUE(SingleInstance::defaultSocketPath().isEmpty());
    SingleInstance refused(SingleInstance::defaultSocketPath());
    EXPECT_EQ(refused.start(InstanceRequest{}, 200), SingleInstance::Role::Failed);
    EXPECT_TRUE(QDir(open).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot));
    if (canGiveAway) {
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(foreign));
        EXPECT_TRUE(SingleInstance::defaultSocketPath().isEmpty());
    }
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(own));
    EXPECT_EQ(SingleInstance::defaultSocketPath(), own + "/com.orvane.zor.Pelmora.sock");
    qputenv("XDG_RUNTIME_DIR", saved);
}
