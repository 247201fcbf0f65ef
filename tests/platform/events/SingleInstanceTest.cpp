#include "platform/events/SingleInstance.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QLocalSocket>
#include <QTemporaryDir>
#include <QtEndian>
#include <gtest/gtest.h>

#include <future>

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
