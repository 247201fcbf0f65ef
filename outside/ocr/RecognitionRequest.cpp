#include "outside/ocr/RecognitionRequest.h"

#include "platform/events/OcrProtocol.h"

int32_t parseRecognitionRequest(const OcrMessage& message, RecognitionRequest* out)
{
    const QByteArray* param = message.param(ocr::kKeyParam);
    const QByteArray* info = message.param(ocr::kKeyImageInfo);
    const QByteArray* image = message.param(ocr::kKeyImage);
    if (!param || !info || !image || size_t(param->size()) != ocr::kParamSize
        || size_t(info->size()) != ocr::kImageInfoSize)
        return kStatusFormError;
    const auto* pa = reinterpret_cast<const uint8_t*>(param->constData());
    const auto* in = reinterpret_cast<const uint8_t*>(info->constData());

    out->type = pa[ocr::kParamTypeOffset];
    if (out->type != 0 && out->type != 1 && (out->type < ocr::kTagFirst || out->type > ocr::kTagLast))
        return kStatusFormError;
    out->language = ocr::readI32(pa + ocr::kParamLanguageOffset);
    if (out->language < 0 || out->language > 11)
        return kStatusLanguageError;

    out->width = ocr::readU16(in + ocr::kInfoWidthOffset);
    out->height = ocr::readU16(in + ocr::kInfoHeightOffset);
    out->bytesPerRow = ocr::readU16(in + ocr::kInfoBytesPerRowOffset);
    out->vdpi = ocr::readU16(in + ocr::kInfoVerticalDpiOffset);
    out->hdpi = ocr::readU16(in + ocr::kInfoHorizontalDpiOffset);
    out->bitsPerPixel = in[ocr::kInfoBitsPerPixelOffset];
    const uint32_t dataSize = ocr::readU32(in + ocr::kInfoDataSizeOffset);
    if (out->width == 0 || out->height == 0 || int64_t(out->width) * out->height > kMaxRequestPixels)
        return kStatusFormError;
    if (out->bitsPerPixel != ocr::kBitsMono && out->bitsPerPixel != ocr::kBitsGrey)
        return kStatusFormError;
    const int minRow = (out->width * out->bitsPerPixel + 7) / 8;
    if (out->bytesPerRow < minRow || uint64_t(out->bytesPerRow) * out->height != dataSize
        || uint64_t(image->size()) != dataSize)
        return kStatusFormError;

    out->left = ocr::readI32(pa + ocr::kParamLeftOffset);
    out->top = ocr::readI32(pa + ocr::kParamTopOffset);
    out->right = ocr::readI32(pa + ocr::kParamRightOffset);
    out->bottom = ocr::readI32(pa + ocr::kParamBottomOffset);
    if (out->left < 0 || out->top < 0 || out->left > out->right || out->top > out->bottom
        || out->right >= out->width || out->bottom >= out->height)
        return kStatusFormError;
    out->pixels = *image;
    return kStatusOk;
}
