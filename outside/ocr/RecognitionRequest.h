// A 'RUNO' request as the OCR application checks it: the request block, the image description
// and the bitmap must agree, and the bitmap must be of a size the application is willing to read.
#pragma once

#include "platform/events/OcrChannel.h"

#include <QByteArray>

#include <cstdint>

struct RecognitionRequest {
    int type = 0;     // 0, 1 or a field tag 21..33
    int language = 0; // 0..11
    int left = 0, top = 0, right = 0, bottom = 0; // inclusive, top-left origin
    int width = 0, height = 0, bytesPerRow = 0, bitsPerPixel = 0;
    int hdpi = 0, vdpi = 0;
    QByteArray pixels; // rows top to bottom; 1 bit with 0 = black, or 8-bit grey
};

// Largest bitmap read, in pixels: a card at 1,200 dpi fits with room to spare.
constexpr int64_t kMaxRequestPixels = 64ll * 1024 * 1024;

constexpr int32_t kStatusOk = 0;
constexpr int32_t kStatusNoData = 1001;
constexpr int32_t kStatusEngineError = 1002;
constexpr int32_t kStatusFormError = 1007;
constexpr int32_t kStatusLanguageError = 1008;

// kStatusOk with `out` filled, or kStatusFormError / kStatusLanguageError.
int32_t parseRecognitionRequest(const OcrMessage& message, RecognitionRequest* out);
