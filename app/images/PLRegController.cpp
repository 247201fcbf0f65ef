// The recognition run: one 'RUNO' request per card, its status, mapping and page turns.
#include "app/images/PLRegController.h"

#include "app/images/CardFieldKeys.h"
#include "app/images/ManagedCardRecord.h"
#include "app/images/OcrApplicationLink.h"
#include "app/images/OcrBitmap.h"
#include "app/images/OcrPendingExchange.h"
#include "app/images/RecognitionCardJob.h"
#include "app/images/RecognitionImages.h"
#include "app/images/RecognitionPendingRun.h"
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

constexpr int kStatusNoData = 1001;
constexpr int kStatusLanguageError = 1008;

// The Debian packages of the recognition data, by recognition language 0..10.
constexpr std::array<const char*, 11> kLanguagePackages = {
    "tesseract-ocr-jpn", "tesseract-ocr-eng", "tesseract-ocr-chi-tra", "tesseract-ocr-chi-sim", "tesseract-ocr-kor", "tesseract-ocr-deu",
    "tesseract-ocr-fra", "tesseract-ocr-ita", "tesseract-ocr-spa",     "tesseract-ocr-rus",     "tesseract-ocr-por",
};
constexpr int kLanguageAutomatic = 11;

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

bool PLRegController::replyEndsRun(int16_t error, int32_t status, const QByteArray& result, const QByteArray& orientation)
{
    // Only 0 comes with the blocks (finishCard refuses a reply without them) and 1001 has none.
    if (error != 0 || status == kStatusNoData)
        return error != 0;
    return status != 0 || size_t(result.size()) < ocr::kResultSize || size_t(orientation.size()) < ocr::kOrientationSize;
}

int PLRegController::openOcrApplication()
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
    return 0;
}

RecognitionRunSetup PLRegController::runSetup(const QRectF& rect, bool isRect, int recognizeType, int regCountry) const
{
    return {m_images,   QDir(DatabaseLayout::imagesFolderPath(m_images->databaseFolder())), rect, isRect, recognizeType,
            regCountry, recognizeType != kTypeWholeNew && recognizeType != kTypeWholeAgain};
}

void PLRegController::recognizeCardAhead(const CardRecord& card, int recognizeType, int regCountry)
{
    if (!m_images || m_aheadRefused)
        return;
    const RecognitionRunSetup setup = runSetup(QRectF(), false, recognizeType, regCountry);
    if (m_ahead && (m_ahead->setup().type != recognizeType || m_ahead->setup().country != regCountry))
        m_ahead.reset();
    if (!m_ahead) {
        // The run is opened here as recongnizeCard would; an application that cannot be had is
        // left to recongnizeCard, which tries again and reports it.
        if (setup.fieldTag || openOcrApplication() != 0) {
            m_aheadRefused = true;
            return;
        }
        // The main thread goes on importing: one core fewer prepares cards.
        m_ahead = std::make_shared<RecognitionPendingRun>(setup, ocrWorkerCount(), std::max(1, QThread::idealThreadCount() - 1));
    }
    m_ahead->add(makeJob(setup, &card));
    m_ahead->pump();
}

QString PLRegController::missingLanguagePackage() const
{
    for (size_t language = 0; language < kLanguagePackages.size(); ++language) {
        if (m_missingData & (1 << language))
            return QString::fromLatin1(kLanguagePackages[language]);
    }
    return QString();
}

int PLRegController::recongnizeCard(const QRectF& rect, const QList<CardRecord*>* cards, bool isRect, int recognizeType, int regCountry)
{
    m_missingData = 0;
    // A run started ahead for these cards goes on; any other is ended first.
    std::shared_ptr<RecognitionPendingRun> run = std::move(m_ahead);
    m_aheadRefused = false;
    if (run && !(m_images && cards && !isRect && continuesRun(*run, *cards, recognizeType, regCountry)))
        run.reset();
    if (!run) {
        if (const int refused = openOcrApplication())
            return refused;
    }
    if (!cards || cards->isEmpty())
        return 0;
    // Without the card images there is no database to read the cards from.
    if (!m_images) {
        PLNSLog(QStringLiteral("no card images to recognise"));
        return kMissingArgument;
    }
    if (!run) {
        // Cards are decoded on a pool of threads and go to several OCR applications at once; their
        // replies are taken in the cards' order, so results, messages and page turns come as from
        // one application. A field-tag run ends with its first card mapped, so it keeps to one.
        const RecognitionRunSetup setup = runSetup(rect, isRect, recognizeType, regCountry);
        const int workers = setup.fieldTag ? 1 : int(std::clamp<qsizetype>(cards->size(), 1, ocrWorkerCount()));
        run = std::make_shared<RecognitionPendingRun>(setup, workers,
                                                      int(std::clamp<qsizetype>(cards->size(), 1, QThread::idealThreadCount())));
    }
    // The cards the run has already are these cards' first ones; the rest join it.
    for (qsizetype i = 0; i < cards->size(); ++i) {
        if (i >= qsizetype(run->jobs().size()))
            run->add(makeJob(run->setup(), cards->at(i)));
        run->setCard(i, cards->at(i));
        PLNSLog(QStringLiteral("Reg: %d"), int(i));
    }

    // The run answers the last card's result, or the status that ended it: a card that is
    // skipped without a result of its own leaves the one before it standing.
    int cardResult = 0;
    for (;;) {
        run->pump();
        while (!run->jobs().empty() && run->jobs().front().ready()) {
            RecognitionCardJob job = run->takeFront();
            if (const std::optional<int> end = finishCard(run->setup(), job, &cardResult))
                return *end;
            run->pump();
        }
        // Cards read without the data they needed are written; the user is told what is missing.
        if (run->jobs().empty())
            return cardResult == 0 && m_missingData != 0 ? kLanguageDataMissing : cardResult;
        // Woken when a reply is in, or a card is prepared.
        waitForRecognitionWork([&run] { return run->hasWork(); });
    }
}

bool PLRegController::continuesRun(RecognitionPendingRun& run, const QList<CardRecord*>& cards, int recognizeType, int regCountry) const
{
    if (run.setup().type != recognizeType || run.setup().country != regCountry || run.jobs().size() > size_t(cards.size()))
        return false;
    for (size_t i = 0; i < run.jobs().size(); ++i) {
        const RecognitionCardJob& job = run.jobs()[i];
        const RecognitionCardJob named = makeJob(run.setup(), cards.at(qsizetype(i)));
        if (named.prepared->frontPath != job.prepared->frontPath || named.prepared->backPath != job.prepared->backPath)
            return false;
    }
    return true;
}

RecognitionCardJob PLRegController::makeJob(const RecognitionRunSetup& setup, const CardRecord* card) const
{
    RecognitionCardJob job;
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
    const QByteArray& result = job.result;
    const QByteArray& orientation = job.orientation;
    const int32_t status = job.status;
    if (job.error != 0)
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
    if (status == kStatusLanguageError) {
        // Automatic reads English first: it is English's data that is missing.
        const int language = setup.country == kLanguageAutomatic ? kLanguageEnglish : setup.country;
        if (language >= 0 && language < int(kLanguagePackages.size()))
            m_missingData |= 1 << language;
    }
    for (const EndingStatus& rule : kEndingStatuses) {
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
    m_missingData |= ocr::readI32(turnBlock + ocr::kOrientationMissingDataOffset);
    const int found = ocr::readI32(turnBlock + ocr::kOrientationLanguageOffset);
    // Another language the OCR application names is mapped as that language: a Chinese card found
    // automatically splits its name's reading as one recognised in Chinese.
    const int other = turnBlock[ocr::kOrientationFoundOtherOffset] - 1;
    const int language = found == ocr::kFoundJapanese                                                 ? kLanguageJapanese
        : found == ocr::kFoundOtherLanguage && other > kLanguageEnglish && other < kLanguageAutomatic ? other
        : found == ocr::kFoundOtherLanguage                                                           ? kLanguageOther
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
