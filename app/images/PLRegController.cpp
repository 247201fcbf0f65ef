// The recognition run: one 'RUNO' request per card, its status, mapping and page turns.
#include "app/images/PLRegController.h"

#include "app/images/CardFieldKeys.h"
#include "app/images/ManagedCardRecord.h"
#include "app/images/OcrApplicationLink.h"
#include "app/images/OcrBitmap.h"
#include "app/images/OcrPendingExchange.h"
#include "app/images/RecognitionCardJob.h"
#include "app/images/RecognitionImages.h"
#include "app/images/RecognitionPreparation.h"
#include "app/images/RecognitionWait.h"
#include "platform/events/OcrProtocol.h"
#include "platform/foundation/Log.h"
#include "platform/store/DatabaseLayout.h"

#include <QDir>
#include <QThread>

#include <algorithm>
#include <array>
#include <cmath>
#include <deque>

namespace {

constexpr int kTypeWholeNew = 0;
constexpr int kTypeWholeAgain = 1;

struct StatusRule {
    int status;
    const char* log; // null: nothing logged
    int result;
};

// Statuses of 'RUNO' that end the run, with their results.
constexpr std::array<StatusRule, 9> kEndingStatuses = {{
    {1002, nullptr, 91},
    {1003, "recognize separate file no exist", 92},
    {1009, "recognize separate file no exist", 92},
    {1010, "recognize separate file no exist", 92},
    {1004, nullptr, 4},
    {1005, nullptr, 93},
    {1006, nullptr, 97},
    {1007, "file form error", 94},
    {1008, "recognize language error", 95},
}};
constexpr int kStatusNoData = 1001;

bool isBlank(const QVariant& value) { return !value.isValid() || value.toString().trimmed().isEmpty(); }

} // namespace

int PLRegController::recongnizeDetailCard(const QRectF& rect, int tag, int country, const QList<CardRecord*>* cards)
{
    return recongnizeCard(rect, cards, true, tag, country);
}

int PLRegController::recongnizeCard(const QRectF& rect, const ManagedObjectList* cards, bool isRect,
                                    int recognizeType, int regCountry)
{
    if (!cards)
        return recongnizeCard(rect, static_cast<const QList<CardRecord*>*>(nullptr), isRect, recognizeType,
                              regCountry);
    std::vector<ManagedCardRecord> records;
    records.reserve(size_t(cards->size()));
    QList<CardRecord*> list;
    for (const ManagedObjectPtr& card : *cards) {
        if (card)
            records.emplace_back(card.get());
        list << (card ? &records.back() : nullptr);
    }
    return recongnizeCard(rect, &list, isRect, recognizeType, regCountry);
}

int PLRegController::recongnizeCard(const QRectF& rect, const QList<CardRecord*>* cards, bool isRect,
                                    int recognizeType, int regCountry)
{
    LaunchOCRApplication();
    int32_t status = 0;
    for (auto send : {PLSendOpenEventToOCR, PLSendStatusEventToOCR}) {
        status = 0;
        if (send(&status) != 0) {
            PLNSLog(QStringLiteral("send msg fail"));
            return kSendFailed;
        }
        if (status != 0) {
            PLNSLog(QStringLiteral("open engine fail"));
            return kEngineNotReady;
        }
    }
    if (!cards || cards->isEmpty())
        return 0;
    // Without the card images there is no database to read the cards from.
    if (!m_images) {
        PLNSLog(QStringLiteral("no card images to recognise"));
        return kMissingArgument;
    }
    RecognitionImages* const imageSource = m_images;
    const RecognitionRunSetup setup{imageSource, QDir(DatabaseLayout::imagesFolderPath(imageSource->databaseFolder())),
                         rect, isRect, recognizeType, regCountry,
                         recognizeType != kTypeWholeNew && recognizeType != kTypeWholeAgain};

    // Cards are decoded on a pool of threads and go to several OCR applications at once; their
    // replies are taken in the cards' order, so results, messages and page turns come as from one
    // application. A field-tag run ends with its first card mapped, so it keeps to one.
    const int workers = setup.fieldTag ? 1 : int(std::clamp<qsizetype>(cards->size(), 1, ocrWorkerCount()));
    const int threads = int(std::clamp<qsizetype>(cards->size(), 1, QThread::idealThreadCount()));
    const qsizetype window = std::max(qsizetype(workers) * 3, qsizetype(threads) * 2);
    std::vector<char> usable(size_t(workers), 1);
    std::deque<RecognitionCardJob> jobs;
    RecognitionPreparation preparation(setup, threads);
    auto idleWorker = [&]() {
        for (int w = 0; w < workers; ++w) {
            const bool working = std::any_of(jobs.begin(), jobs.end(), [w](const RecognitionCardJob& job) {
                return job.worker == w && job.exchange && !job.exchange->isDone();
            });
            if (usable[size_t(w)] && !working)
                return w;
        }
        return -1;
    };
    // Requests start in the cards' order: the first card not yet sent.
    auto nextToSend = [&jobs]() -> RecognitionCardJob* {
        for (RecognitionCardJob& job : jobs) {
            if (!job.sent)
                return job.prepared->isDone() ? &job : nullptr;
        }
        return nullptr;
    };
    // The requests still out when the run ends are answered (or time out) before it returns.
    auto drain = [&jobs]() {
        for (RecognitionCardJob& job : jobs) {
            if (job.exchange) {
                int32_t ignored = 0;
                PLFinishEventOnOCRWorker(job.worker, *job.exchange, &ignored, {ocr::kKeyUnused, nullptr},
                                         {ocr::kKeyUnused, nullptr});
            }
        }
        jobs.clear();
    };

    // The run answers the last card's result, or the status that ended it: a card that is
    // skipped without a result of its own leaves the one before it standing.
    int cardResult = 0;
    qsizetype next = 0;
    for (;;) {
        // Replies are taken first, so that with one application no request follows one that ended the run.
        while (!jobs.empty() && jobs.front().ready()) {
            RecognitionCardJob job = std::move(jobs.front());
            jobs.pop_front();
            if (const std::optional<int> end = finishCard(setup, job, &cardResult)) {
                drain();
                return *end;
            }
        }
        if (jobs.empty() && next >= cards->size())
            return cardResult;
        while (next < cards->size() && qsizetype(jobs.size()) < window) {
            PLNSLog(QStringLiteral("Reg: %d"), int(next));
            RecognitionCardJob job = startCard(setup, cards->at(next), preparation);
            job.index = next++;
            jobs.push_back(std::move(job));
        }
        RecognitionCardJob* job = nullptr;
        int worker = -1;
        while ((job = nextToSend()) && (job->prepared->skipped || (worker = idleWorker()) >= 0)) {
            if (job->prepared->skipped) {
                job->sent = true;
                continue;
            }
            // Extra workers start on first use; one that cannot be had is left out of the run.
            if (worker > 0 && !LaunchOCRWorker(worker)) {
                usable[size_t(worker)] = 0;
                continue;
            }
            const PreparedCard& prepared = *job->prepared;
            job->worker = worker;
            job->sent = true;
            job->exchange = PLStartEventOnOCRWorker(
                worker, ocr::kEventRun, {ocr::kKeyParam, prepared.param.constData(), int32_t(prepared.param.size())},
                {ocr::kKeyImageInfo, prepared.info.constData(), int32_t(prepared.info.size())},
                {ocr::kKeyImage, prepared.bitmap.data.constData(), int32_t(prepared.bitmap.data.size())}, &job->startError);
            if (jobs.front().ready())
                break;
        }
        // Woken when the first card's reply is in, or a card can be sent that could not before.
        waitForRecognitionWork([&]() {
            if (jobs.front().ready())
                return true;
            const RecognitionCardJob* waiting = nextToSend();
            return waiting && (waiting->prepared->skipped || idleWorker() >= 0);
        });
    }
}

RecognitionCardJob PLRegController::startCard(const RecognitionRunSetup& setup, CardRecord* card, RecognitionPreparation& preparation)
{
    RecognitionCardJob job;
    job.card = card;
    PreparedCard& prepared = *job.prepared;
    auto skip = [&prepared](int result) {
        prepared.skipResult = result;
        prepared.done.store(true, std::memory_order_release);
    };
    if (!card) {
        skip(kMissingArgument);
        return job;
    }
    const QVariant faceFile = card->valueForKey(cardkey::kFaceImageFile);
    if (!faceFile.isValid()) {
        PLNSLog(QStringLiteral("get pdf path is failed :%i"), kNoFrontImage);
        skip(kNoFrontImage);
        return job;
    }
    prepared.frontPath = setup.folder.filePath(faceFile.toString());
    const QVariant backFile = card->valueForKey(cardkey::kBackImageFile);
    if (!isBlank(backFile))
        prepared.backPath = setup.folder.filePath(backFile.toString());
    preparation.prepare(job.prepared);
    return job;
}

std::optional<int> PLRegController::finishCard(const RecognitionRunSetup& setup, RecognitionCardJob& job, int* cardResult)
{
    const PreparedCard& prepared = *job.prepared;
    if (prepared.skipped) {
        if (prepared.skipResult)
            *cardResult = *prepared.skipResult;
        return std::nullopt;
    }
    CardRecord* const card = job.card;
    QByteArray result, orientation;
    int32_t status = 0;
    const int16_t error = job.exchange ? PLFinishEventOnOCRWorker(job.worker, *job.exchange, &status,
                                                                  {ocr::kKeyResult, &result},
                                                                  {ocr::kKeyOrientation, &orientation})
                                       : job.startError;
    if (error != 0)
        return kSendFailed;

    if (status == kStatusNoData) {
        PLNSLog(QStringLiteral("recognize no data"));
        int cleared = 0;
        if (setup.fieldTag) {
            cleared = cleanDateToManagedObject(card, setup.type);
        } else {
            for (int tag = ocr::kTagFirst; tag <= ocr::kTagLast; ++tag) {
                if (tag != ocr::kTagMemo)
                    cleared = cleanDateToManagedObject(card, tag);
            }
        }
        *cardResult = cleared;
        return std::nullopt;
    }
    for (const StatusRule& rule : kEndingStatuses) {
        if (rule.status == status) {
            if (rule.log)
                PLNSLog(QString::fromLatin1(rule.log));
            return rule.result;
        }
    }
    PLNSLog(QStringLiteral("recognize default: %d"), int(status));
    // A reply shorter than its blocks is refused before anything is read from it.
    if (size_t(result.size()) < ocr::kResultSize || size_t(orientation.size()) < ocr::kOrientationSize)
        return kSendFailed;
    const auto* turnBlock = reinterpret_cast<const uint8_t*>(orientation.constData());
    const int found = ocr::readI32(turnBlock + ocr::kOrientationLanguageOffset);
    const int language = found == ocr::kFoundJapanese      ? kLanguageJapanese
                       : found == ocr::kFoundOtherLanguage ? kLanguageOther
                                                           : setup.country;
    const int turns = setup.type == kTypeWholeNew ? turnBlock[ocr::kOrientationTurnsOffset] & 3 : 0;

    CardDict dict;
    const int height = turns == 1 || turns == 3 ? prepared.bitmap.width : prepared.bitmap.height;
    const int mapped = setup.fieldTag ? setDetailRecognizeStructToDbDict(&dict, &result, height, setup.type, language)
                                      : setRecognizeStructToDbDict(&dict, &result, height, language);
    if (mapped != 0) {
        PLNSLog(QStringLiteral("get result data fail :%i"), mapped);
        return mapped;
    }
    if (setup.fieldTag) {
        cleanDateToManagedObject(card, setup.type);
        const int written = setDetailDateDictToManagedObject(card, &dict, setup.type);
        if (written != 0)
            PLNSLog(QStringLiteral("write data fail"));
        return written;
    }
    if (turns != 0) {
        RecognitionImages* const images = setup.images;
        if (images->rotatePDFPage(prepared.frontPath, 0, turns * 90) != 0)
            PLNSLog(QStringLiteral("Rotate is fail :%i"), kTurnFailed);
        if (prepared.hasBack) {
            const int degrees = turns == 1 ? 270 : turns == 3 ? 90 : turns * 90;
            const int failed = prepared.backPath.isEmpty() ? images->rotatePDFPage(prepared.frontPath, 1, degrees)
                                                           : images->rotatePDFPage(prepared.backPath, 0, degrees);
            if (failed != 0)
                PLNSLog(QStringLiteral("Rotate is fail(back size):%i"), kTurnFailed);
        }
    }
    if (setup.type == kTypeWholeAgain) {
        for (int tag = ocr::kTagFirst; tag <= ocr::kTagLast; ++tag) {
            if (tag != ocr::kTagMemo)
                cleanDateToManagedObject(card, tag);
        }
    }
    *cardResult = setDataDictToManagedObject(card, &dict);
    if (*cardResult != 0)
        PLNSLog(QStringLiteral("write data fail"));
    PLNSLog(QStringLiteral("For end: %d"), int(job.index));
    return std::nullopt;
}
