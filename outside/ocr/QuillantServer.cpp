#include "outside/ocr/QuillantServer.h"

#include "platform/events/OcrProtocol.h"

#include <leptonica/allheaders.h>

#include <algorithm>
#include <memory>

namespace {

constexpr int kDefaultDpi = 300;

struct PixDeleter {
    void operator()(Pix* pix) const { pixDestroy(&pix); }
};
using PixPtr = std::unique_ptr<Pix, PixDeleter>;

// An 8-bit grey Pix of the request's bitmap (a 1-bit bitmap has 0 = black).
PixPtr makePix(const RecognitionRequest& r)
{
    PixPtr pix(pixCreate(r.width, r.height, 8));
    if (!pix)
        return nullptr;
    l_uint32* data = pixGetData(pix.get());
    const int wpl = pixGetWpl(pix.get());
    const auto* bytes = reinterpret_cast<const uint8_t*>(r.pixels.constData());
    for (int y = 0; y < r.height; ++y) {
        const uint8_t* row = bytes + size_t(y) * size_t(r.bytesPerRow);
        l_uint32* line = data + size_t(y) * size_t(wpl);
        for (int x = 0; x < r.width; ++x) {
            const uint8_t v = r.bitsPerPixel == 8 ? row[x] : ((row[x >> 3] >> (7 - (x & 7))) & 1) ? 255 : 0;
            SET_DATA_BYTE(line, x, v);
        }
    }
    pixSetResolution(pix.get(), r.hdpi, r.vdpi);
    return pix;
}

bool isJapaneseScript(const std::string& script)
{
    return script == "Han" || script == "Hiragana" || script == "Katakana" || script == "Japanese";
}

// The models that read a card of the script found; Japanese cards carry English beside the Japanese.
std::string languageOfScript(const std::string& script)
{
    if (isJapaneseScript(script))
        return "jpn+eng";
    if (script == "Hangul" || script == "Korean")
        return "kor";
    if (script == "Cyrillic")
        return "rus";
    return "eng";
}

// Too few lines, words the engine itself doubts, or lines standing on end (the engine reads a
// turned card's lines as vertical text): the card may lie turned.
bool isWeakReading(const std::vector<RecognizedLine>& lines, int confidence)
{
    const auto standing = std::count_if(lines.begin(), lines.end(), [](const RecognizedLine& l) {
        return l.bottom - l.top > l.right - l.left;
    });
    return lines.size() < 3 || confidence < 60 || standing * 2 > qsizetype(lines.size());
}

QByteArray statusBytes(int32_t status)
{
    QByteArray bytes(4, '\0');
    ocr::writeI32(reinterpret_cast<uint8_t*>(bytes.data()), status);
    return bytes;
}

} // namespace

OcrMessage QuillantServer::handle(const OcrMessage& request, bool* quit)
{
    *quit = false;
    OcrMessage reply;
    reply.eventClass = request.eventClass;
    reply.eventId = request.eventId;
    reply.returnId = request.returnId;
    if (request.eventClass == ocr::kQuitClass && request.eventId == ocr::kQuitEvent) {
        *quit = true;
        return reply;
    }
    int32_t status = kStatusEngineError;
    QByteArray result, orientation;
    if (request.eventClass == ocr::kEventClass) {
        if (request.eventId == ocr::kEventOpen)
            status = m_engine.open() ? kStatusOk : kStatusEngineError;
        else if (request.eventId == ocr::kEventIsOk)
            status = m_engine.isOpen() ? kStatusOk : kStatusEngineError;
        else if (request.eventId == ocr::kEventRun) {
            RecognitionRequest parsed;
            status = parseRecognitionRequest(request, &parsed);
            if (status == kStatusOk)
                status = m_engine.isOpen() ? recognize(parsed, &result, &orientation) : kStatusEngineError;
        }
    }
    reply.params.emplace_back(ocr::kKeyStatus, statusBytes(status));
    if (status == kStatusOk) {
        reply.params.emplace_back(ocr::kKeyResult, result);
        reply.params.emplace_back(ocr::kKeyOrientation, orientation);
    }
    return reply;
}

void QuillantServer::serve(OcrChannel& channel)
{
    for (;;) {
        OcrMessage request;
        if (channel.receive(&request, false, -1) != OcrChannel::Ok)
            return;
        bool quit = false;
        const OcrMessage reply = handle(request, &quit);
        if (quit || channel.send(reply, true, 30000) != OcrChannel::Ok)
            return;
    }
}

int32_t QuillantServer::recognize(const RecognitionRequest& request, QByteArray* result, QByteArray* orientation)
{
    PixPtr pix = makePix(request);
    if (!pix)
        return kStatusEngineError;
    const int dpi = request.hdpi >= 70 ? request.hdpi : kDefaultDpi;
    const bool automatic = request.language == 11;
    std::string data;
    int32_t foundLanguage = 0;
    const auto chooseByScript = [&](const std::string& script) {
        data = languageOfScript(script);
        // English is the language of a card whose script could not be told or has no model here.
        if (data != "eng" && !m_engine.hasLanguage(data))
            data = "eng";
        foundLanguage = data.rfind("jpn", 0) == 0 ? ocr::kFoundJapanese : ocr::kFoundOtherLanguage;
    };
    // Automatic needs the script, and its detection tells the orientation on the way.
    TesseractEngine::Orientation found;
    bool detected = false;
    if (automatic) {
        found = m_engine.detect(pix.get(), dpi);
        detected = true;
        chooseByScript(found.script);
    } else {
        data = TesseractEngine::languageData(request.language);
    }
    if (!m_engine.hasLanguage(data))
        return kStatusLanguageError;
    std::vector<RecognizedLine> lines;
    int confidence = 0;
    // Only a new card is turned upright.
    const bool turnKnown = request.type == 0 && detected && found.turns != 0;
    if (!turnKnown
        && !m_engine.recognize(pix.get(), dpi, data, request.left, request.top, request.right, request.bottom, &lines,
                               &confidence))
        return kStatusEngineError;
    // Orientation detection costs as much as reading a card and most cards arrive upright: it
    // runs only when the card does not read well as it lies.
    int turns = 0;
    if (request.type == 0 && (turnKnown || isWeakReading(lines, confidence))) {
        if (!detected)
            found = m_engine.detect(pix.get(), dpi);
        if (found.turns != 0) {
            PixPtr turned(pixRotateOrth(pix.get(), found.turns));
            if (!turned)
                return kStatusEngineError;
            if (automatic)
                chooseByScript(found.script);
            std::vector<RecognizedLine> again;
            int againConfidence = 0;
            if (m_engine.recognize(turned.get(), dpi, data, 0, 0, int(pixGetWidth(turned.get())) - 1,
                                   int(pixGetHeight(turned.get())) - 1, &again, &againConfidence)
                && !again.empty() && againConfidence >= confidence) {
                lines = std::move(again);
                turns = found.turns;
            }
        }
    }
    if (lines.empty())
        return kStatusNoData;
    const ResultSlots fields = request.type <= 1 ? classifyCardLines(lines) : fieldTagSlots(lines, request.type);
    *result = encodeResultSlots(fields);
    *orientation = QByteArray(int(ocr::kOrientationSize), '\0');
    (*orientation)[int(ocr::kOrientationTurnsOffset)] = char(turns);
    ocr::writeI32(reinterpret_cast<uint8_t*>(orientation->data()) + ocr::kOrientationLanguageOffset, foundLanguage);
    return kStatusOk;
}
