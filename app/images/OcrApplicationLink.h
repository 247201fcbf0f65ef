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
int16_t PLSendStatusEventToOCR(int32_t* status);

// At shutdown: tells a running child to quit without waiting for a reply, then ends the
// connection (a bounded wait). Nothing is started to be told to quit.
void QuitOCRApplication();
