#include "app/images/OcrApplicationLink.h"

#include "app/images/OcrPendingExchange.h"
#include "platform/events/OcrChildProcess.h"
#include "platform/events/OcrProtocol.h"
#include "platform/foundation/Log.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QThread>

#include <algorithm>
#include <vector>

namespace {

const char kRelativePath[] = "OCR/Tamberl/Quillant";

struct LinkState {
    QString folder;
    OcrConnector connector;
    // Link 0 is the OCR application that single requests go to; the others are the extra workers
    // of a parallel recognition run.
    std::vector<std::unique_ptr<OcrConnection>> links;
    int workers = std::clamp(QThread::idealThreadCount(), 1, kMaxOcrWorkers);
    uint32_t nextReturnId = 1;
    int openMs = 30000;
    int statusMs = 5000;
    int runMs = 120000;
};

LinkState& state()
{
    static LinkState s;
    return s;
}

std::unique_ptr<OcrConnection> startChild()
{
    const QString path = ocrApplicationPath();
    PLNSLog(QStringLiteral("OCR app path:%@"), path);
    if (!QFileInfo(path).isExecutable()) {
        PLNSLog(QStringLiteral("OCR App not exist at path."));
        return nullptr;
    }
    return OcrChildProcess::start(path);
}

int timeoutFor(uint32_t eventId)
{
    if (eventId == ocr::kEventOpen)
        return state().openMs;
    if (eventId == ocr::kEventIsOk)
        return state().statusMs;
    return state().runMs;
}

int16_t errorOf(OcrChannel::Result result)
{
    return result == OcrChannel::TimedOut ? kOcrErrTimeout : kOcrErrConnection;
}

std::unique_ptr<OcrConnection>* linkAt(int index)
{
    LinkState& s = state();
    if (index < 0 || index >= kMaxOcrWorkers)
        return nullptr;
    if (size_t(index) >= s.links.size())
        s.links.resize(size_t(index) + 1);
    return &s.links[size_t(index)];
}

bool isLinkAlive(int index)
{
    const std::unique_ptr<OcrConnection>* link = linkAt(index);
    return link && *link && (*link)->isAlive();
}

// Starts link `index` unless it runs; a link that hung or died is ended before its replacement starts.
bool launchLink(int index)
{
    if (isLinkAlive(index))
        return true;
    std::unique_ptr<OcrConnection>* link = linkAt(index);
    if (!link)
        return false;
    if (*link)
        (*link)->stop();
    *link = state().connector ? state().connector() : startChild();
    return *link != nullptr;
}

void stopLink(std::unique_ptr<OcrConnection>& link)
{
    if (link)
        link->stop();
    link.reset();
}

} // namespace

QString ocrApplicationPath()
{
    QString folder = state().folder;
    if (folder.isEmpty() && QCoreApplication::instance())
        folder = QCoreApplication::applicationDirPath();
    return QDir(folder).filePath(QString::fromLatin1(kRelativePath));
}

void setOcrApplicationFolder(const QString& folder) { state().folder = folder; }

void setOcrConnector(OcrConnector connector)
{
    LinkState& s = state();
    for (std::unique_ptr<OcrConnection>& link : s.links)
        stopLink(link);
    s.links.clear();
    s.connector = std::move(connector);
}

void setOcrWorkerCount(int count)
{
    state().workers = std::clamp(count, 1, std::clamp(QThread::idealThreadCount(), 1, kMaxOcrWorkers));
}

int ocrWorkerCount() { return state().workers; }

void setOcrTimeouts(int openMs, int statusMs, int runMs)
{
    state().openMs = openMs;
    state().statusMs = statusMs;
    state().runMs = runMs;
}

bool isOCRApplicationRunning() { return isLinkAlive(0); }

bool LaunchOCRApplication()
{
    if (isOCRApplicationRunning()) {
        PLNSLog(QStringLiteral("Quillant.app found."));
        return true;
    }
    if (!launchLink(0)) {
        PLNSLog(QStringLiteral("launchApplication failed."));
        return false;
    }
    return true;
}

bool isOcrWorkerRunning(int index)
{
    return isLinkAlive(index);
}

bool startOcrWorker(int index)
{
    return index > 0 && launchLink(index);
}

void stopOcrWorker(int index)
{
    if (std::unique_ptr<OcrConnection>* link = linkAt(index))
        stopLink(*link);
}

std::unique_ptr<OcrPendingExchange> PLStartEventOnOCRWorker(int index, uint32_t eventId, const OcrParamSlot& param1,
                                                            const OcrParamSlot& param2, const OcrParamSlot& param3,
                                                            int16_t* error)
{
    LinkState& s = state();
    *error = 0;
    if (!isLinkAlive(index)) {
        PLNSLog(QStringLiteral("getOCRProcessSerialNumber failed\n"));
        *error = kOcrErrNoProcess;
        return nullptr;
    }
    OcrMessage request;
    request.eventClass = ocr::kEventClass;
    request.eventId = eventId;
    request.returnId = s.nextReturnId++;
    for (const OcrParamSlot* slot : {&param1, &param2, &param3}) {
        if (!slot->data)
            continue;
        if (slot->size < 0) {
            PLNSLog(QStringLiteral("AECreateDesc failed:%d\n"), int(kOcrErrParamMissing));
            *error = kOcrErrParamMissing;
            return nullptr;
        }
        // The caller's bytes travel as they are: they outlive the exchange.
        request.params.emplace_back(slot->keyword,
                                    QByteArray::fromRawData(static_cast<const char*>(slot->data), qsizetype(slot->size)));
    }
    return std::make_unique<OcrPendingExchange>((*linkAt(index))->channel(), std::move(request), timeoutFor(eventId));
}

int16_t PLFinishEventOnOCRWorker(int index, OcrPendingExchange& pending, int32_t* status, const OcrReplySlot& reply1,
                                 const OcrReplySlot& reply2)
{
    pending.wait();
    const OcrChannel::Result result = pending.result();
    const OcrMessage& reply = pending.reply();
    if (result != OcrChannel::Ok) {
        PLNSLog(QStringLiteral("AESendMessage failed:%d\n"), int(errorOf(result)));
        // An application that did not answer in time is ended now, so that it holds nothing up;
        // the next launch starts its replacement.
        stopLink(*linkAt(index));
        return errorOf(result);
    }
    const QByteArray* statusBytes = reply.param(ocr::kKeyStatus);
    if (!statusBytes || statusBytes->size() < 4) {
        PLNSLog(QStringLiteral("AEGetParamDesc failed:%d\n"), int(kOcrErrParamMissing));
        return kOcrErrParamMissing;
    }
    const int32_t replyStatus = ocr::readI32(reinterpret_cast<const uint8_t*>(statusBytes->constData()));
    if (status)
        *status = replyStatus;
    if (replyStatus != 0)
        return 0;
    for (const OcrReplySlot* slot : {&reply1, &reply2}) {
        if (!slot->buffer)
            continue;
        const QByteArray* data = reply.param(slot->keyword);
        if (!data) {
            PLNSLog(slot == &reply1 ? QStringLiteral("AEGetParamDesc failed:%d\n")
                                    : QStringLiteral("AEGetParamDesc replyID2 failed:%d\n"),
                    int(kOcrErrParamMissing));
            return kOcrErrParamMissing;
        }
        if (data->isEmpty()) {
            slot->buffer->clear();
            return kOcrErrEmptyReply;
        }
        *slot->buffer = *data;
    }
    return 0;
}

int16_t PLSendEventToOCRWorker(int index, uint32_t eventId, const OcrParamSlot& param1, const OcrParamSlot& param2,
                               const OcrParamSlot& param3, int32_t* status, const OcrReplySlot& reply1,
                               const OcrReplySlot& reply2)
{
    int16_t error = 0;
    const std::unique_ptr<OcrPendingExchange> pending =
        PLStartEventOnOCRWorker(index, eventId, param1, param2, param3, &error);
    return pending ? PLFinishEventOnOCRWorker(index, *pending, status, reply1, reply2) : error;
}

int16_t PLSendEventToOCR(uint32_t eventId, const OcrParamSlot& param1, const OcrParamSlot& param2,
                         const OcrParamSlot& param3, int32_t* status, const OcrReplySlot& reply1,
                         const OcrReplySlot& reply2)
{
    return PLSendEventToOCRWorker(0, eventId, param1, param2, param3, status, reply1, reply2);
}

int16_t PLSendOpenEventToOCR(int32_t* status)
{
    const OcrParamSlot none{ocr::kKeyUnused, nullptr, 0};
    return PLSendEventToOCR(ocr::kEventOpen, none, none, none, status, {ocr::kKeyUnused, nullptr},
                            {ocr::kKeyUnused, nullptr});
}

int16_t PLSendStatusEventToOCR(int32_t* status)
{
    const OcrParamSlot none{ocr::kKeyUnused, nullptr, 0};
    return PLSendEventToOCR(ocr::kEventIsOk, none, none, none, status, {ocr::kKeyUnused, nullptr},
                            {ocr::kKeyUnused, nullptr});
}

void QuitOCRApplication()
{
    LinkState& s = state();
    for (std::unique_ptr<OcrConnection>& link : s.links) {
        if (link && link->isAlive()) {
            OcrMessage quit;
            quit.eventClass = ocr::kQuitClass;
            quit.eventId = ocr::kQuitEvent;
            quit.returnId = s.nextReturnId++;
            link->channel().send(quit, false, 1000);
        }
    }
    for (std::unique_ptr<OcrConnection>& link : s.links)
        stopLink(link);
    s.links.clear();
}
