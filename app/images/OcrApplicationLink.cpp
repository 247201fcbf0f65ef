#include "app/images/OcrApplicationLink.h"

#include "app/images/OcrPendingExchange.h"
#include "platform/events/OcrChildProcess.h"
#include "platform/events/OcrProtocol.h"
#include "platform/foundation/Log.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <new>

namespace {

const char kRelativePath[] = "OCR/Tamberl/Quillant";

struct LinkState {
    QString folder;
    OcrConnector connector;
    std::unique_ptr<OcrConnection> connection;
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
    if (s.connection)
        s.connection->stop();
    s.connection.reset();
    s.connector = std::move(connector);
}

void setOcrTimeouts(int openMs, int statusMs, int runMs)
{
    state().openMs = openMs;
    state().statusMs = statusMs;
    state().runMs = runMs;
}

bool isOCRApplicationRunning()
{
    LinkState& s = state();
    return s.connection && s.connection->isAlive();
}

bool LaunchOCRApplication()
{
    LinkState& s = state();
    if (isOCRApplicationRunning()) {
        PLNSLog(QStringLiteral("Quillant.app found."));
        return true;
    }
    // A child that hung or died is ended before its replacement starts.
    if (s.connection)
        s.connection->stop();
    s.connection = s.connector ? s.connector() : startChild();
    if (!s.connection) {
        PLNSLog(QStringLiteral("launchApplication failed."));
        return false;
    }
    return true;
}

int16_t PLSendEventToOCR(uint32_t eventId, const OcrParamSlot& param1, const OcrParamSlot& param2,
                         const OcrParamSlot& param3, int32_t* status, const OcrReplySlot& reply1,
                         const OcrReplySlot& reply2)
{
    LinkState& s = state();
    if (!isOCRApplicationRunning()) {
        PLNSLog(QStringLiteral("getOCRProcessSerialNumber failed\n"));
        return kOcrErrNoProcess;
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
            return kOcrErrParamMissing;
        }
        request.params.emplace_back(slot->keyword,
                                    QByteArray(static_cast<const char*>(slot->data), qsizetype(slot->size)));
    }
    OcrPendingExchange pending(s.connection->channel(), std::move(request), timeoutFor(eventId));
    pending.wait();
    const OcrChannel::Result result = pending.result();
    const OcrMessage& reply = pending.reply();
    if (result != OcrChannel::Ok) {
        PLNSLog(QStringLiteral("AESendMessage failed:%d\n"), int(errorOf(result)));
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
    if (!isOCRApplicationRunning()) {
        s.connection.reset();
        return;
    }
    OcrMessage quit;
    quit.eventClass = ocr::kQuitClass;
    quit.eventId = ocr::kQuitEvent;
    quit.returnId = s.nextReturnId++;
    s.connection->channel().send(quit, false, 1000);
    s.connection->stop();
    s.connection.reset();
}
