#include "outside/ocr/LatinNameRereading.h"

#include "outside/ocr/LatinNameShape.h"
#include "outside/ocr/TesseractEngine.h"

#include <QRegularExpression>

#include <algorithm>
#include <leptonica/allheaders.h>

namespace {

int letterCount(const QString& text)
{
    return int(std::count_if(text.begin(), text.end(), [](QChar c) { return c.isLetter(); }));
}

} // namespace

bool rereadSplitLatinName(TesseractEngine& engine, Pix* pix, int dpi, const std::string& data, const SlotFill& name,
                          std::vector<RecognizedLine>* lines)
{
    const bool latin = std::all_of(name.text.begin(), name.text.end(), [](QChar c) { return c.unicode() < 0x3000; });
    if (!name.filled || !latin || !looksSplitInsideWords(name.text))
        return false;
    const auto line = std::find_if(lines->begin(), lines->end(), [&name](const RecognizedLine& l) {
        return l.left == name.left && l.top == name.top && l.right == name.right && l.bottom == name.bottom;
    });
    if (line == lines->end())
        return false;
    // A margin of paper round the line, as the engine wants to see it.
    const int h = std::max(1, line->bottom - line->top);
    const RecognizedLine again = engine.recognizeLine(pix, dpi, data, std::max(0, line->left - h / 2), std::max(0, line->top - h / 4),
                                                      std::min(int(pixGetWidth(pix)) - 1, line->right + h / 2),
                                                      std::min(int(pixGetHeight(pix)) - 1, line->bottom + h / 4));
    static const QRegularExpression edgeMarks(QStringLiteral(R"(^[^\p{L}]+|[^\p{L}.]+$)"));
    const QString text = latinNameWithoutTrailingNoise(QString(again.text).remove(edgeMarks));
    const int before = letterCount(name.text);
    if (!isLatinNameShaped(text) || looksSplitInsideWords(text) || std::abs(letterCount(text) - before) > 2 + before / 2)
        return false;
    line->text = text;
    return true;
}
