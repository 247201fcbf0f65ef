// The recognition run: one 'RUNO' request per card, its status, mapping and page turns.
#include "app/images/PLRegController.h"

#include "app/images/CardFieldKeys.h"
#include "app/images/CardFileRecognitionImages.h"
#include "app/images/ManagedCardRecord.h"
#include "app/images/OcrApplicationLink.h"
#include "app/images/OcrBitmap.h"
#include "app/images/RecognitionImages.h"
#include "platform/events/OcrProtocol.h"
#include "platform/foundation/Log.h"

#include <QDir>

#include <array>
#include <cmath>

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

QByteArray paramBlock(int type, int language, int left, int top, int right, int bottom)
{
    QByteArray block(int(ocr::kParamSize), '\0');
    auto* p = reinterpret_cast<uint8_t*>(block.data());
    p[ocr::kParamTypeOffset] = uint8_t(type);
    ocr::writeI32(p + ocr::kParamLeftOffset, left);
    ocr::writeI32(p + ocr::kParamTopOffset, top);
    ocr::writeI32(p + ocr::kParamRightOffset, right);
    ocr::writeI32(p + ocr::kParamBottomOffset, bottom);
    ocr::writeI32(p + ocr::kParamLanguageOffset, language);
    return block;
}

QByteArray imageInfoBlock(const OcrBitmap& bitmap, const CardBitmap& info)
{
    QByteArray block(int(ocr::kImageInfoSize), '\0');
    auto* p = reinterpret_cast<uint8_t*>(block.data());
    ocr::writeU16(p + ocr::kInfoWidthOffset, uint16_t(bitmap.width));
    ocr::writeU16(p + ocr::kInfoHeightOffset, uint16_t(bitmap.height));
    ocr::writeU16(p + ocr::kInfoBytesPerRowOffset, uint16_t(bitmap.bytesPerRow));
    p[ocr::kInfoFormatOffset] = ocr::kInfoFormatValue;
    ocr::writeU16(p + ocr::kInfoVerticalDpiOffset, uint16_t(std::clamp(info.info.vdpi, 0, 0xFFFF)));
    ocr::writeU16(p + ocr::kInfoHorizontalDpiOffset, uint16_t(std::clamp(info.info.hdpi, 0, 0xFFFF)));
    ocr::writeU32(p + ocr::kInfoDataSizeOffset, uint32_t(bitmap.data.size()));
    p[ocr::kInfoBitsPerPixelOffset] = uint8_t(bitmap.bitsPerPixel);
    return block;
}

// The area sent for a user's box (origin bottom left) on an image w x h, clamped to the image;
// false when nothing of the box lies on it.
bool areaOfBox(const QRectF& box, int width, int height, int* left, int* top, int* right, int* bottom)
{
    const float x = float(box.x()), y = float(box.y()), w = float(box.width()), h = float(box.height());
    const float fh = float(height);
    *left = int(x);
    *top = int(fh - y - h);
    *right = int(x + w);
    *bottom = int(fh - y);
    *left = std::max(*left, 0);
    *top = std::max(*top, 0);
    *right = std::min(*right, width - 1);
    *bottom = std::min(*bottom, height - 1);
    return *left <= *right && *top <= *bottom;
}

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
    static CardFileRecognitionImages cardFiles;
    RecognitionImages* const imageSource = m_images ? m_images : &cardFiles;

    const bool fieldTag = recognizeType != kTypeWholeNew && recognizeType != kTypeWholeAgain;
    // The run answers the last card's result, or the status that ended it: a card that is
    // skipped without a result of its own leaves the one before it standing.
    int cardResult = 0;
    const QDir images(QDir(imageSource->databaseFolder()).filePath(QStringLiteral("Images")));
    for (qsizetype i = 0; i < cards->size(); ++i) {
        CardRecord* card = cards->at(i);
        PLNSLog(QStringLiteral("Reg: %d"), int(i));
        if (!card) {
            cardResult = kMissingArgument;
            continue;
        }
        const QVariant faceFile = card->valueForKey(cardkey::kFaceImageFile);
        if (!faceFile.isValid()) {
            PLNSLog(QStringLiteral("get pdf path is failed :%i"), kNoFrontImage);
            cardResult = kNoFrontImage;
            continue;
        }
        const QString frontPath = images.filePath(faceFile.toString());
        if (imageSource->checkPDF(frontPath) != RecognitionImages::kCardPdf) {
            PLNSLog(QStringLiteral("errPdf = CheckPDF(pdfPath)"));
            continue;
        }
        QString backPath;
        const QVariant backFile = card->valueForKey(cardkey::kBackImageFile);
        if (!isBlank(backFile)) {
            backPath = images.filePath(backFile.toString());
            if (imageSource->checkPDF(backPath) != RecognitionImages::kCardPdf) {
                PLNSLog(QStringLiteral("errPdf = CheckPDF(pdfPathBack)"));
                backPath.clear();
            }
        }
        CardBitmap front, back;
        if (imageSource->acquireCardImages(frontPath, backPath, &front, &back) != 0 || front.image.isNull()) {
            PLNSLog(QStringLiteral("get pdf image info is fail"));
            cardResult = 0;
            continue;
        }
        if (front.info.rotation != 0) {
            CardBitmap turned = front;
            if (imageSource->rotateBitmap(&turned, front.info.rotation))
                front = turned;
        }
        OcrBitmap bitmap;
        if (!makeOcrBitmap(front.image, &bitmap)) {
            PLNSLog(QStringLiteral("get pdf image info is fail"));
            cardResult = 0;
            continue;
        }
        int left = 0, top = 0, right = bitmap.width - 1, bottom = bitmap.height - 1;
        if (isRect && !areaOfBox(rect, bitmap.width, bitmap.height, &left, &top, &right, &bottom)) {
            cardResult = kMissingArgument;
            continue;
        }
        const QByteArray param = paramBlock(recognizeType, regCountry, left, top, right, bottom);
        const QByteArray info = imageInfoBlock(bitmap, front);

        QByteArray result, orientation;
        status = 0;
        const int16_t error = PLSendEventToOCR(
            ocr::kEventRun, {ocr::kKeyParam, param.constData(), int32_t(param.size())},
            {ocr::kKeyImageInfo, info.constData(), int32_t(info.size())},
            {ocr::kKeyImage, bitmap.data.constData(), int32_t(bitmap.data.size())}, &status,
            {ocr::kKeyResult, &result}, {ocr::kKeyOrientation, &orientation});
        if (error != 0)
            return kSendFailed;

        if (status == kStatusNoData) {
            PLNSLog(QStringLiteral("recognize no data"));
            int cleared = 0;
            if (fieldTag) {
                cleared = cleanDateToManagedObject(card, recognizeType);
            } else {
                for (int tag = ocr::kTagFirst; tag <= ocr::kTagLast; ++tag) {
                    if (tag != ocr::kTagMemo)
                        cleared = cleanDateToManagedObject(card, tag);
                }
            }
            cardResult = cleared;
            continue;
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
                                                               : regCountry;
        const int turns = recognizeType == kTypeWholeNew ? turnBlock[ocr::kOrientationTurnsOffset] & 3 : 0;

        CardDict dict;
        const int height = turns == 1 || turns == 3 ? bitmap.width : bitmap.height;
        const int mapped = fieldTag ? setDetailRecognizeStructToDbDict(&dict, &result, height, recognizeType, language)
                                    : setRecognizeStructToDbDict(&dict, &result, height, language);
        if (mapped != 0) {
            PLNSLog(QStringLiteral("get result data fail :%i"), mapped);
            return mapped;
        }
        if (fieldTag) {
            cleanDateToManagedObject(card, recognizeType);
            const int written = setDetailDateDictToManagedObject(card, &dict, recognizeType);
            if (written != 0)
                PLNSLog(QStringLiteral("write data fail"));
            return written;
        }
        if (turns != 0) {
            if (imageSource->rotatePDFPage(frontPath, 0, turns * 90) != 0)
                PLNSLog(QStringLiteral("Rotate is fail :%i"), kTurnFailed);
            if (!back.image.isNull()) {
                const int degrees = turns == 1 ? 270 : turns == 3 ? 90 : turns * 90;
                const int failed = backPath.isEmpty() ? imageSource->rotatePDFPage(frontPath, 1, degrees)
                                                      : imageSource->rotatePDFPage(backPath, 0, degrees);
                if (failed != 0)
                    PLNSLog(QStringLiteral("Rotate is fail(back size):%i"), kTurnFailed);
            }
        }
        if (recognizeType == kTypeWholeAgain) {
            for (int tag = ocr::kTagFirst; tag <= ocr::kTagLast; ++tag) {
                if (tag != ocr::kTagMemo)
                    cleanDateToManagedObject(card, tag);
            }
        }
        cardResult = setDataDictToManagedObject(card, &dict);
        if (cardResult != 0)
            PLNSLog(QStringLiteral("write data fail"));
        PLNSLog(QStringLiteral("For end: %d"), int(i));
    }
    return cardResult;
}
