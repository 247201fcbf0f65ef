// The link to the OCR application `Quillant`: our own child process, started with one end of a
// socket pair, to which requests of class 'COCR' go with up to three data parameters and whose
// replies carry the status 'PLRS' and up to two data blocks. Every request has a time-out; a
// time-out, a closed connection or a malformed reply is a send error, and the next launch starts
// a fresh child. A sender waits for its reply with the event loop running (OcrPendingExchange).
#pragma once

#include "platform/events/OcrConnection.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <functional>
#include <memory>

class OcrPendingExchange;

// Error codes of the sender (0 is success).
constexpr int16_t kOcrErrNoProcess = -600;
constexpr int16_t kOcrErrConnection = -609;
constexpr int16_t kOcrErrParamMissing = -1701;
constexpr int16_t kOcrErrTimeout = -1712;
constexpr int16_t kOcrErrEmptyReply = -1;

struct OcrParamSlot {
    uint32_t keyword;
    const void* data; // null: the slot is not used
    int32_t size;
};

struct OcrReplySlot {
    uint32_t keyword;
    QByteArray* buffer; // null: the slot is not read
};

// Where the OCR application is installed: "<application folder>/OCR/Tamberl/Quillant".
QString ocrApplicationPath();
void setOcrApplicationFolder(const QString& folder);

// Makes the connection for a launch; by default it starts the installed program as a child.
// Tests put an in-process server at the other end of a socket pair instead.
using OcrConnector = std::function<std::unique_ptr<OcrConnection>()>;
void setOcrConnector(OcrConnector connector);

// Parallel recognition: a run may use this many OCR applications (workers), at most one per core;
// by default one per core. Worker 0 is the application of the functions below.
constexpr int kMaxOcrWorkers = 64;
void setOcrWorkerCount(int count);
int ocrWorkerCount();

// Time-outs in milliseconds for 'OPEN', 'ISOK' and 'RUNO'.
void setOcrTimeouts(int openMs, int statusMs, int runMs);

// YES when a child of ours runs (a broken one is ended and replaced) or one was started now.
bool LaunchOCRApplication();
// YES when an OCR application started by this process is running; never starts one.
bool isOCRApplicationRunning();

int16_t PLSendEventToOCR(uint32_t eventId, const OcrParamSlot& param1, const OcrParamSlot& param2,
                         const OcrParamSlot& param3, int32_t* status, const OcrReplySlot& reply1,
                         const OcrReplySlot& reply2);
int16_t PLSendOpenEventToOCR(int32_t* status);

// --- the workers of a parallel run (index 0 is the application above)

// Whether a child of ours runs as worker `index`. An extra worker's engine is opened ('OPEN',
// 'ISOK') by OcrWorkerLaunch, which ends the worker when that fails: outside a launch, a running
// worker is open.
bool isOcrWorkerRunning(int index);
// Starts a child as worker `index` (1…) unless one runs; a broken one is ended first. False
// when none could be started.
bool startOcrWorker(int index);
// Ends worker `index`; the next start makes a fresh child.
void stopOcrWorker(int index);
// Sends a request to worker `index` without waiting for the reply: the parameters' bytes are not
// copied and must outlive the exchange. Null with `error` set when nothing could be sent.
std::unique_ptr<OcrPendingExchange> PLStartEventOnOCRWorker(int index, uint32_t eventId, const OcrParamSlot& param1,
                                                            const OcrParamSlot& param2, const OcrParamSlot& param3,
                                                            int16_t* error);
// Waits for a started request (the event loop keeps running) and reads its reply as
// PLSendEventToOCR does. A worker whose exchange failed is ended at once.
int16_t PLFinishEventOnOCRWorker(int index, OcrPendingExchange& pending, int32_t* status, const OcrReplySlot& reply1,
                                 const OcrReplySlot& reply2);
int16_t PLSendEventToOCRWorker(int index, uint32_t eventId, const OcrParamSlot& param1, const OcrParamSlot& param2,
                               const OcrParamSlot& param3, int32_t* status, const OcrReplySlot& reply1,
                               const OcrReplySlot& reply2);
int16_t PLSendStatusEventToOCR(int32_t* status);

// At shutdown: tells every running child to quit without waiting for a reply, then ends the
// connection (a bounded wait). Nothing is started to be told to quit.
void QuitOCRApplication();
