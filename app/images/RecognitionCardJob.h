// One card of a recognition run, from its checks to its reply, and what the whole run asks.
#pragma once

#include "app/images/CardRecord.h"
#include "app/images/OcrBitmap.h"
#include "app/images/OcrPendingExchange.h"

#include <QByteArray>
#include <QDir>
#include <QRectF>
#include <QString>

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

struct RecognitionCardJob {
    qsizetype index = 0;
    CardRecord* card = nullptr;
    // No request was made for the card; skipResult is what it does to the run's result (none:
    // the result before it stands).
    bool skipped = false;
    std::optional<int> skipResult;
    QString frontPath;
    QString backPath;
    bool hasBack = false;
    OcrBitmap bitmap;
    QByteArray param;
    QByteArray info;
    int worker = -1;
    std::unique_ptr<OcrPendingExchange> exchange;
    int16_t startError = 0; // why no exchange could be started

    bool ready() const { return skipped || !exchange || exchange->isDone(); }
};
