#include "outside/ocr/MailRowRereading.h"

#include "outside/ocr/TesseractEngine.h"
#include "outside/ocr/WebAddressShape.h"

#include <QRegularExpression>

#include <algorithm>
#include <leptonica/allheaders.h>

namespace {

// A mail label, or a piece of an address with its "@", without a whole address after it.
bool startsAMailAddress(const QString& text)
{
    static const QRegularExpression label(
        QStringLiteral(R"(^[^\p{L}\p{N}]{0,3}\s*(?:e-?mail|mail|correo(?:\s+electr[oó]nico)?|courriel|e)\b)"),
        QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression piece(QStringLiteral(R"([A-Za-z0-9._\-]+@)"));
    return label.match(text).hasMatch() || piece.match(text).hasMatch();
}

} // namespace

bool rereadCutMailRows(TesseractEngine& engine, Pix* pix, int dpi, const std::string& data, std::vector<RecognizedLine>* lines)
{
    if (std::any_of(lines->begin(), lines->end(), [](const RecognizedLine& l) { return !mailAddressIn(withWebAddressShape(l.text)).isEmpty(); }))
        return false;
    const int width = int(pixGetWidth(pix)), height = int(pixGetHeight(pix));
    bool changed = false;
    for (RecognizedLine& line : *lines) {
        if (!startsAMailAddress(line.text.trimmed()))
            continue;
        // A margin of paper round the row, as the engine wants to see it.
        const int h = std::max(1, line.bottom - line.top);
        const RecognizedLine again = engine.recognizeLine(pix, dpi, data, std::max(0, line.left - h / 2), std::max(0, line.top - h / 4),
                                                          width - 1, std::min(height - 1, line.bottom + h / 4));
        if (mailAddressIn(withWebAddressShape(again.text)).isEmpty())
            continue;
        line.text = again.text;
        line.right = std::max(line.right, again.right);
        changed = true;
    }
    return changed;
}
