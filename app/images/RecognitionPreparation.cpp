#include "app/images/RecognitionPreparation.h"

#include "app/images/PLRegController.h"
#include "app/images/RecognitionImages.h"
#include "app/images/RecognitionWait.h"
#include "platform/events/OcrProtocol.h"
#include "platform/foundation/Log.h"

#include <algorithm>
#include <exception>
#include <malloc.h>

namespace {

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

RecognitionPreparation::RecognitionPreparation(const RecognitionRunSetup& setup, int threads)
    : m_setup(setup), m_bitmaps(2 * std::max(1, threads))
{
    m_pool.setMaxThreadCount(std::max(1, threads));
}

RecognitionPreparation::~RecognitionPreparation()
{
    m_pool.clear();
    m_pool.waitForDone();
    // Each decoding thread frees into a heap of its own, which keeps what it freed for later:
    // it is given back once the run is over, so that runs do not add up.
    malloc_trim(0);
}

void RecognitionPreparation::prepare(std::shared_ptr<PreparedCard> card)
{
    m_pool.start([this, card = std::move(card)] {
        const GreyBitmapPool::Use bitmaps(&m_bitmaps);
        try {
            prepareNow(m_setup, *card);
        } catch (const std::exception&) {
            // Memory ran out for this card's bitmap: it is passed over like an unreadable one.
            card->skipped = true;
            card->skipResult = 0;
        }
        card->done.store(true, std::memory_order_release);
        wakeRecognitionWaiters();
    });
}

void RecognitionPreparation::prepareNow(const RecognitionRunSetup& setup, PreparedCard& card)
{
    card.skipped = true;
    RecognitionImages* const images = setup.images;
    if (images->checkPDF(card.frontPath) != RecognitionImages::kCardPdf) {
        PLNSLog(QStringLiteral("errPdf = CheckPDF(pdfPath)"));
        return;
    }
    if (!card.backPath.isEmpty() && images->checkPDF(card.backPath) != RecognitionImages::kCardPdf) {
        PLNSLog(QStringLiteral("errPdf = CheckPDF(pdfPathBack)"));
        card.backPath.clear();
    }
    CardBitmap front, back;
    if (images->acquireCardImages(card.frontPath, card.backPath, &front, &back) != 0 || front.image.isNull()) {
        PLNSLog(QStringLiteral("get pdf image info is fail"));
        card.skipResult = 0;
        return;
    }
    card.hasBack = !back.image.isNull();
    back = {};
    if (front.info.rotation != 0) {
        CardBitmap turned = front;
        if (images->rotateBitmap(&turned, front.info.rotation))
            front = std::move(turned);
    }
    if (!makeOcrBitmap(front.image, &card.bitmap)) {
        PLNSLog(QStringLiteral("get pdf image info is fail"));
        card.skipResult = 0;
        return;
    }
    int left = 0, top = 0, right = card.bitmap.width - 1, bottom = card.bitmap.height - 1;
    if (setup.isRect && !areaOfBox(setup.rect, card.bitmap.width, card.bitmap.height, &left, &top, &right, &bottom)) {
        card.skipResult = PLRegController::kMissingArgument;
        return;
    }
    card.param = paramBlock(setup.type, setup.country, left, top, right, bottom);
    card.info = imageInfoBlock(card.bitmap, front);
    card.skipped = false;
}
