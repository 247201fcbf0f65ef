// One card of a recognition run, from its checks to its reply, and what the whole run asks.
#pragma once

#include "app/images/CardRecord.h"
#include "app/images/OcrBitmap.h"
#include "app/images/OcrPendingExchange.h"

#include <QByteArray>
#include <QDir>
#include <QRectF>
#include <QString>

#include <atomic>
#include <cstdint>
#include <memory>
#include <optional>

class RecognitionImages;

struct RecognitionRunSetup {
    RecognitionImages* images = nullptr;
    QDir folder; // the database's "Images"
    QRectF rect;
    bool isRect = false;
    int type = 0;
    int country = 0;
    bool fieldTag = false;
};

// What the preparation of a card makes of its files, on a thread of the preparation pool: the
// checks, the front as the OCR application takes it, and the request blocks. Read only once done.
struct PreparedCard {
    // No request is made for the card; skipResult is what it does to the run's result (none:
    // the result before it stands).
    bool skipped = true;
    std::optional<int> skipResult;
    QString frontPath;
    QString backPath; // empty when the card has no back file, or it is no card PDF
    bool hasBack = false;
    OcrBitmap bitmap;
    QByteArray param;
    QByteArray info;
    std::atomic<bool> done{false};

    bool isDone() const { return done.load(std::memory_order_acquire); }
};

struct RecognitionCardJob {
    qsizetype index = 0;
    CardRecord* card = nullptr;
    // Shared with the thread that prepares it, which may still run when the run ends early.
    std::shared_ptr<PreparedCard> prepared = std::make_shared<PreparedCard>();
    bool started = false; // handed to the preparation
    bool sent = false; // a request was started (or could not be)
    int worker = -1;
    std::unique_ptr<OcrPendingExchange> exchange;
    // The reply, taken from the exchange as soon as it is in (the exchange and bitmap then go):
    // the sender's error (why no request went out, or no reply came), the status and the blocks.
    bool collected = false;
    int16_t error = 0;
    int32_t status = 0;
    QByteArray result;
    QByteArray orientation;

    bool ready() const { return sent && prepared->isDone() && (prepared->skipped || collected); }
};
