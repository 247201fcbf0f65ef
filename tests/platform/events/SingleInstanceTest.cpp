#include "platform/events/SingleInstance.h"

#include "platform/events/LocalSocketAddress.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
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

// The time-out is a safety net against a hang only.
template <typename Pred>
bool spinUntil(Pred done, int ms = 60000)
{
    QDeadlineTimer deadline(ms);
    while (!done() && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    return done();
}

// A folder below `base` whose path is `length` characters long.
QString deepFolder(const QString& base, int length)
{
    QString folder = base;
    while (folder.size() < length)
        folder += QStringLiteral("/") + QString(qMin(40, int(length - folder.size() - 1)), u'd');
    QDir().mkpath(folder);
    return folder;
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

// A socket address holds 107 bytes of path; a deep runtime folder must still carry the launch.
TEST(SingleInstance, SecondLaunchForwardsToTheFirst)
{
    for (const int depth : {0, 150}) {
        QTemporaryDir dir;
        const QString folder = depth == 0 ? dir.path() : deepFolder(dir.path(), depth);
        const QString path = folder + QStringLiteral("/instance.sock");
        SingleInstance first(path, std::make_unique<FixedResolver>());
        ASSERT_EQ(first.start(InstanceRequest{}, 500), SingleInstance::Role::Primary) << folder.size();

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
        EXPECT_EQ(second.get(), SingleInstance::Role::Forwarded) << folder.size();
        ASSERT_TRUE(spinUntil([&] { return !received.isEmpty(); }));
        EXPECT_EQ(received.first(), request);
        EXPECT_EQ(sender, "Brevix Manager");
        // The socket is in the folder itself, closed to others.
        struct stat st {};
        ASSERT_EQ(::lstat(QFile::encodeName(path).constData(), &st), 0);
        EXPECT_TRUE(S_ISSOCK(st.st_mode));
        EXPECT_EQ(st.st_mode & 0777, 0600u);
    }
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
        const LocalSocketAddress address(path);
        const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        ASSERT_EQ(::connect(fd, address.address(), address.size()), 0);
        ASSERT_EQ(::send(fd, frame.constData(), size_t(frame.size()), MSG_NOSIGNAL), frame.size());
        // The server drops the connection: a read ends without an answer (the time-out only guards a hang).
        const timeval guard{30, 0};
        ::setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &guard, sizeof(guard));
        char answer = 0;
        EXPECT_EQ(::recv(fd, &answer, 1, 0), 0);
        ::close(fd);
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
