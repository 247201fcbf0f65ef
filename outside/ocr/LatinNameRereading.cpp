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

// A piece of the name's row the engine set apart from it ("Daniel Ss" … "Keller"): type of about
// the name's size, on its row, within a gap of less than one and a half times its height.
bool isPieceOfRow(const RecognizedLine& name, const RecognizedLine& other)
{
    const int h = std::max(1, name.bottom - name.top);
    const int overlap = std::min(name.bottom, other.bottom) - std::max(name.top, other.top);
    const int gap = std::max(other.left - name.right, name.left - other.right);
    return overlap * 2 > h && (other.bottom - other.top) * 10 >= 7 * h && gap < 3 * h / 2;
}

// "Samu el Wolff": a word split inside reads like a short particle ("el", "di", "de") as well.
bool holdsShortLowerCaseWord(const QString& text)
{
    const QStringList words = text.split(u' ', Qt::SkipEmptyParts);
    return std::any_of(words.begin(), words.end(), [](const QString& w) {
        return w.size() <= 2 && std::all_of(w.begin(), w.end(), [](QChar c) { return c.isLower(); });
    });
}

} // namespace

bool rereadSplitLatinName(TesseractEngine& engine, Pix* pix, int dpi, const std::string& data, const SlotFill& name,
                          std::vector<RecognizedLine>* lines)
{
    const bool latin = std::all_of(name.text.begin(), name.text.end(), [](QChar c) { return c.unicode() < 0x3000; });
    if (!name.filled || !latin)
        return false;
    const auto line = std::find_if(lines->begin(), lines->end(), [&name](const RecognizedLine& l) {
        return l.left == name.left && l.top == name.top && l.right == name.right && l.bottom == name.bottom;
    });
    if (line == lines->end())
        return false;
    // The line as read: the name taken from it may have been put right in part already.
    RecognizedLine row = *line;
    const QString asRead = latinNameWithoutTrailingNoise(line->text);
    QString read = asRead;
    std::vector<bool> pieces(lines->size());
    for (size_t i = 0; i < lines->size(); ++i) {
        const RecognizedLine& other = (*lines)[i];
        pieces[i] = &other != &*line && isPieceOfRow(*line, other);
        if (pieces[i]) {
            row.left = std::min(row.left, other.left);
            row.right = std::max(row.right, other.right);
            read += u' ' + other.text;
        }
    }
    if (read == asRead && !looksSplitInsideWords(asRead) && !holdsShortLowerCaseWord(asRead))
        return false;
    // A margin of paper round the row, as the engine wants to see it.
    const int h = std::max(1, row.bottom - row.top);
    const RecognizedLine again = engine.recognizeLine(pix, dpi, data, std::max(0, row.left - h / 2), std::max(0, row.top - h / 4),
                                                      std::min(int(pixGetWidth(pix)) - 1, row.right + h / 2),
                                                      std::min(int(pixGetHeight(pix)) - 1, row.bottom + h / 4));
    static const QRegularExpression edgeMarks(QStringLiteral(R"(^[^\p{L}]+|[^\p{L}.]+$)"));
    const QString text = latinNameWithoutTrailingNoise(QString(again.text).remove(edgeMarks));
    const int before = letterCount(read);
    if (!isLatinNameShaped(text) || looksSplitInsideWords(text) || std::abs(letterCount(text) - before) > 2 + before / 2)
        return false;
    line->text = text;
    line->left = row.left;
    line->right = row.right;
    std::vector<RecognizedLine> kept;
    for (size_t i = 0; i < lines->size(); ++i) {
        if (!pieces[i])
            kept.push_back((*lines)[i]);
    }
    *lines = std::move(kept);
    return true;
}
