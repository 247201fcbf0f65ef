// A request frame body as the OCR application receives it: decoded, checked, and its image
// description's text run through the line sorting.
#include "outside/ocr/CardFields.h"
#include "outside/ocr/RecognitionRequest.h"
#include "platform/events/OcrChannel.h"

#include <QStringList>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray body(reinterpret_cast<const char*>(data), qsizetype(size));
    OcrMessage message;
    if (OcrChannel::decodeBody(body, &message)) {
        RecognitionRequest request;
        parseRecognitionRequest(message, &request);
        const QByteArray again = OcrChannel::encode(message, false);
        OcrMessage twice;
        if (!OcrChannel::decodeBody(again.mid(8), &twice))
            __builtin_trap();
    }
    std::vector<RecognizedLine> lines;
    for (const QString& text : QString::fromUtf8(body).split(u'\n'))
        lines.push_back({cleanRecognizedText(text), 0, int(lines.size()) * 10, 100, int(lines.size()) * 10 + 9});
    encodeResultSlots(classifyCardLines(lines));
    return 0;
}
