// An OCR application inside the test: a thread at the other end of a socket pair that answers
// 'OPEN', 'ISOK' and 'RUNO' from a script and records what it was sent.
#pragma once

#include "platform/events/OcrConnection.h"
#include "platform/events/OcrProtocol.h"

#include <QByteArray>

#include <chrono>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

struct FakeRunReply {
    int32_t status = 0;
    QByteArray result{};      // 'PLDA'; left out when empty
    QByteArray orientation{}; // 'PLRO'; left out when empty
    int delayMs = 0;
    bool hangUp = false; // close the connection instead of answering
    bool emptyResult = false; // send 'PLDA' with no bytes
    bool neverAnswer = false; // keep the request unanswered, as a hung application does
    bool afterGivenUp = false; // answer only once the other end has given the request up and closed
};

struct FakeOcrScript {
    std::mutex mutex;
    int32_t openStatus = 0;
    int32_t statusStatus = 0;
    std::deque<FakeRunReply> runs; // an empty queue answers status 1001
    std::vector<OcrMessage> requests;
    std::function<void()> beforeRunReply; // called on the server's thread before each 'RUNO' reply
    std::function<FakeRunReply(const OcrMessage&)> answer; // when set, answers 'RUNO' in place of `runs`
    // When set, answers 'OPEN' and 'ISOK' in place of the statuses above, given the number of the
    // connection (0 for the first made); called on the server's thread.
    std::function<FakeRunReply(int connection, const OcrMessage&)> answerOpening;
    int connections = 0;
    bool quitReceived = false;

    std::vector<OcrMessage> runRequests()
    {
        std::lock_guard lock(mutex);
        std::vector<OcrMessage> out;
        for (const OcrMessage& m : requests) {
            if (m.eventId == ocr::kEventRun)
                out.push_back(m);
        }
        return out;
    }
};

inline QByteArray orientationBlock(int turns, int32_t language)
{
    QByteArray block(int(ocr::kOrientationSize), '\0');
    block[0] = char(turns);
    ocr::writeI32(reinterpret_cast<uint8_t*>(block.data()) + ocr::kOrientationLanguageOffset, language);
    return block;
}

class FakeOcrConnection : public OcrConnection {
public:
    explicit FakeOcrConnection(std::shared_ptr<FakeOcrScript> script) : m_script(std::move(script))
    {
        int fds[2];
        OcrChannel::socketPair(fds);
        m_channel = std::make_unique<OcrChannel>(fds[0]);
        int number = 0;
        {
            std::lock_guard lock(m_script->mutex);
            number = m_script->connections++;
        }
        m_thread = std::thread([fd = fds[1], script = m_script, number] { serve(fd, script, number); });
    }
    ~FakeOcrConnection() override { stop(); }
    OcrChannel& channel() override { return *m_channel; }
    bool isAlive() override { return !m_channel->isBroken(); }
    void stop() override
    {
        m_channel->close();
        if (m_thread.joinable())
            m_thread.join();
    }

private:
    static void serve(int fd, std::shared_ptr<FakeOcrScript> script, int number)
    {
        OcrChannel channel(fd);
        for (;;) {
            OcrMessage request;
            if (channel.receive(&request, false, -1) != OcrChannel::Ok)
                return;
            FakeRunReply run;
            {
                std::lock_guard lock(script->mutex);
                script->requests.push_back(request);
                if (request.eventId == ocr::kQuitEvent) {
                    script->quitReceived = true;
                    return;
                }
                if (request.eventId == ocr::kEventOpen)
                    run.status = script->openStatus;
                else if (request.eventId == ocr::kEventIsOk)
                    run.status = script->statusStatus;
                else if (script->runs.empty())
                    run.status = 1001;
                else {
                    run = script->runs.front();
                    script->runs.pop_front();
                }
            }
            if (request.eventId == ocr::kEventRun && script->answer)
                run = script->answer(request);
            if ((request.eventId == ocr::kEventOpen || request.eventId == ocr::kEventIsOk) && script->answerOpening)
                run = script->answerOpening(number, request);
            if (run.hangUp)
                return;
            if (run.neverAnswer)
                continue;
            if (run.afterGivenUp) {
                // Returns when the other end closes; a request that comes instead is one that a
                // late reply would be taken for. The minute only guards against a hang.
                OcrMessage next;
                channel.receive(&next, false, 60000);
            }
            if (request.eventId == ocr::kEventRun && script->beforeRunReply)
                script->beforeRunReply();
            if (run.delayMs)
                std::this_thread::sleep_for(std::chrono::milliseconds(run.delayMs));
            OcrMessage reply;
            reply.eventClass = request.eventClass;
            reply.eventId = request.eventId;
            reply.returnId = request.returnId;
            QByteArray status(4, '\0');
            ocr::writeI32(reinterpret_cast<uint8_t*>(status.data()), run.status);
            reply.params.emplace_back(ocr::kKeyStatus, status);
            if (!run.result.isEmpty() || run.emptyResult)
                reply.params.emplace_back(ocr::kKeyResult, run.result);
            if (!run.orientation.isEmpty())
                reply.params.emplace_back(ocr::kKeyOrientation, run.orientation);
            if (channel.send(reply, true, 2000) != OcrChannel::Ok)
                return;
        }
    }

    std::shared_ptr<FakeOcrScript> m_script;
    std::unique_ptr<OcrChannel> m_channel;
    std::thread m_thread;
};
