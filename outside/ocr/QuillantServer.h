// The OCR application's answers: 'OPEN' opens the engine, 'ISOK' tells whether it is ready,
// 'RUNO' recognises one image and answers the result slots and the orientation found.
#pragma once

#include "outside/ocr/GlyphShapes.h"
#include "outside/ocr/NameReading.h"
#include "outside/ocr/PostalCodeDirectory.h"
#include "outside/ocr/RecognitionRequest.h"
#include "outside/ocr/TesseractEngine.h"
#include "platform/events/OcrChannel.h"

class QuillantServer {
public:
    // The reply to a request; `quit` is set for the quit event, which has no reply.
    OcrMessage handle(const OcrMessage& request, bool* quit);
    // Serves the requests of a channel until it closes or a quit comes.
    void serve(OcrChannel& channel);

private:
    int32_t recognize(const RecognitionRequest& request, QByteArray* result, QByteArray* orientation);

    TesseractEngine m_engine;
    NameReading m_readings;
    PostalCodeDirectory m_postalCodes;
    GlyphShapes m_shapes;
};
