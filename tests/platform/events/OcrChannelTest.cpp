#include "platform/events/OcrChannel.h"
#include "platform/events/OcrChildProcess.h"
#include "platform/events/OcrProtocol.h"

#include <QTemporaryDir>

#include <chrono>
#include <thread>
#include <unistd.h>

#include <gtest/gtest.h>

namespace {

OcrMessage runRequest()
{
    OcrMessage m;
    m.eventClass = ocr::kEventClass;
    m.eventId = ocr::kEventRun;
    m.returnId = 7;
    m.params = {{ocr::kKeyParam, QByteArray(80, '\1')}, {ocr::kKeyImageInfo, QByteArray(24, '\2')},
                {ocr::kKeyImage, QByteArray()}};
    return m;
}

// The two ends of a connection.
struct ChannelPair {
    int fds[2] = {-1, -1};
    bool made = OcrChannel::socketPair(fds);
    OcrChannel client{fds[0]};
    OcrChannel server{fds[1]};
};

TEST(OcrChannel, FramesRoundTripAndMalformedOnesAreRefused)
{
    const QByteArray frame = OcrChannel::encode(runRequest(), false);
    EXPECT_EQ(frame.left(4), QByteArray("PLAE"));
    EXPECT_EQ(frame.mid(8, 8), QByteArray("COCRRUNO"));
    OcrMessage decoded;
    ASSERT_TRUE(OcrChannel::decodeBody(frame.mid(8), &decoded));
    EXPECT_EQ(decoded.eventId, ocr::kEventRun);
    EXPECT_EQ(decoded.returnId, 7u);
    ASSERT_EQ(decoded.params.size(), 3u);
    EXPECT_EQ(*decoded.param(ocr::kKeyImageInfo), QByteArray(24, '\2'));
    EXPECT_TRUE(decoded.param(ocr::kKeyImage)->isEmpty());
    EXPECT_EQ(decoded.param(ocr::kKeyResult), nullptr);

    QByteArray body = frame.mid(8);
    QByteArray tooMany = body;
    tooMany[12] = 4;
    QByteArray pastEnd = body;
    pastEnd[20] = char(0xFF); // first parameter's length
    const QByteArray cases[] = {QByteArray(), body.left(15), body.left(body.size() - 1), body + "x", tooMany, pastEnd};
    for (const QByteArray& bad : cases) {
        EXPECT_FALSE(OcrChannel::decodeBody(bad, &decoded)) << bad.size();
        // Read from the socket, the same bodies are refused, and the channel is out of step.
        ChannelPair pair;
        ASSERT_TRUE(pair.made);
        QByteArray badFrame = frame.left(8);
        ocr::writeU32(reinterpret_cast<uint8_t*>(badFrame.data()) + 4, uint32_t(bad.size()));
        badFrame += bad;
        ASSERT_EQ(::write(pair.fds[0], badFrame.constData(), size_t(badFrame.size())), badFrame.size());
        EXPECT_EQ(pair.server.receive(&decoded, false, 1000), OcrChannel::Malformed) << bad.size();
        EXPECT_TRUE(pair.server.isBroken());
    }
}

// Parameters read from the socket are the bytes sent, a card's bitmap (many reads) among them.
TEST(OcrChannel, ReceivedParametersAreTheBytesSent)
{
    ChannelPair pair;
    ASSERT_TRUE(pair.made);
    OcrMessage request = runRequest();
    QByteArray bitmap(1076 * 650, Qt::Uninitialized);
    for (qsizetype i = 0; i < bitmap.size(); ++i)
        bitmap[i] = char(i * 7 + i / 1076);
    request.params[2].second = bitmap;
    std::thread sender([&] { EXPECT_EQ(pair.client.send(request, false, 10000), OcrChannel::Ok); });
    OcrMessage received;
    EXPECT_EQ(pair.server.receive(&received, false, 10000), OcrChannel::Ok);
    sender.join();
    EXPECT_EQ(received.returnId, request.returnId);
    EXPECT_EQ(received.params, request.params);
}

TEST(OcrChannel, TimeOutEndOfFileAndOversizedFrames)
{
    int fds[2];
    ASSERT_TRUE(OcrChannel::socketPair(fds));
    OcrChannel client(fds[0]);
    OcrChannel server(fds[1]);

    OcrMessage reply;
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(client.exchange(runRequest(), &reply, 50), OcrChannel::TimedOut);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
    EXPECT_TRUE(client.isBroken()); // a late reply would be out of step
    EXPECT_EQ(client.send(runRequest(), false, 50), OcrChannel::Closed);

    OcrMessage request;
    ASSERT_EQ(server.receive(&request, false, 1000), OcrChannel::Ok);
    EXPECT_EQ(request.returnId, 7u);
    // A header claiming more than the cap is refused before anything is allocated.
    int more[2];
    ASSERT_TRUE(OcrChannel::socketPair(more));
    OcrChannel reader(more[0]);
    const char header[8] = {'P', 'L', 'A', 'E', char(0xFF), char(0xFF), char(0xFF), char(0x7F)};
    ASSERT_EQ(::write(more[1], header, 8), 8);
    EXPECT_EQ(reader.receive(&request, false, 1000), OcrChannel::Malformed);
    ::close(more[1]);

    server.close();
    OcrChannel again(-1);
    EXPECT_EQ(again.receive(&request, true, 10), OcrChannel::Closed);
}

TEST(OcrChannel, ReplyWithAnotherReturnIdIsRefused)
{
    ChannelPair pair;
    ASSERT_TRUE(pair.made);
    OcrMessage stale = runRequest();
    stale.returnId = 6;
    ASSERT_EQ(pair.server.send(stale, true, 1000), OcrChannel::Ok);
    OcrMessage reply;
    EXPECT_EQ(pair.client.exchange(runRequest(), &reply, 1000), OcrChannel::Malformed);
}

TEST(OcrChildProcess, StartsOnlyWhatExistsAndEndsItsOwnChild)
{
    EXPECT_EQ(OcrChildProcess::start(QStringLiteral("/nonexistent/Quillant")), nullptr);

    // A child that ignores its socket and end of file is ended by the bounded stop.
    QTemporaryDir dir;
    const QString script = dir.filePath(QStringLiteral("stubborn"));
    QFile file(script);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("#!/bin/sh\ntrap '' TERM\nexec sleep 30\n");
    file.close();
    file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    auto child = OcrChildProcess::start(script);
    ASSERT_NE(child, nullptr);
    EXPECT_TRUE(child->isAlive());
    const pid_t pid = child->pid();
    const auto start = std::chrono::steady_clock::now();
    child->stop(100);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(3));
    EXPECT_FALSE(child->isAlive());
    EXPECT_NE(::kill(pid, 0), 0);
}

} // namespace
