#include "outside/ocr/TitleLines.h"

#include "outside/ocr/JobTitleWords.h"
#include "outside/ocr/LatinAddressLines.h"
#include "outside/ocr/LatinNameShape.h"

#include <QRegularExpression>

#include <algorithm>

namespace {

bool latinOrCyrillic(const QString& t)
{
    return !t.isEmpty() && std::all_of(t.begin(), t.end(), [](QChar c) { return !c.isLetter() || c.unicode() < 0x530; });
}

// A word that joins others and never ends a title: "Head of", "Direction des", "Assistenz der",
// "Jefe de", "Специалист по".
bool endsInJoiningWord(const QString& t)
{
    static const QRegularExpression joining(QStringLiteral(
        R"((?<![\p{L}\p{N}])(?:of|for|and|the|to|des|du|de|de la|de l'|d'|et|aux|der|die|und|für|fur|vom|von|zur|zum|del|de los|de las|y|e|di|della|dei|degli|delle|per|da|do|dos|das|para|по|и|с|при|в|на)$|&$)"),
        QRegularExpression::CaseInsensitiveOption);
    return joining.match(t.trimmed()).hasMatch();
}

bool goesOnBelow(const RecognizedLine& a, const RecognizedLine& b)
{
    const int h = std::max(1, a.bottom - a.top);
    const int hb = b.bottom - b.top;
    const bool sameType = hb * 4 >= h * 3 && hb * 3 <= h * 4;
    const bool aligned = std::abs(a.left - b.left) < h || std::abs((a.left + a.right) - (b.left + b.right)) < 2 * h;
    return sameType && aligned && b.top > a.top + h / 2 && b.top - a.bottom < h;
}

// Words, not a scrap of the engine's ("пе", "a ,"), nor a number's, an address's or a street's line.
bool mayGoOn(const QString& t)
{
    static const QRegularExpression noWords(QStringLiteral(R"([0-9@]|www\.|https?:)"));
    static const QRegularExpression word(QStringLiteral(R"(\p{L}{3,})"));
    return latinOrCyrillic(t) && word.match(t).hasMatch() && !noWords.match(t).hasMatch() && !isLatinStreetLine(t)
        && !hasLatinStreetWord(t);
}

} // namespace

std::vector<RecognizedLine> withTitleLinesJoined(const std::vector<RecognizedLine>& lines)
{
    // How far on the line that goes on is looked for: the engine may read a line or two of another
    // column beside the title between the two.
    constexpr size_t kLinesBetween = 2;
    std::vector<RecognizedLine> out;
    std::vector<bool> joined(lines.size(), false);
    for (size_t i = 0; i < lines.size(); ++i) {
        if (joined[i])
            continue;
        RecognizedLine line = lines[i];
        if (latinOrCyrillic(line.text) && (namesAJobTitle(line.text) || namesADepartment(line.text))) {
            for (size_t j = i + 1; j < lines.size() && j <= i + 1 + kLinesBetween; ++j) {
                const RecognizedLine& next = lines[j];
                // A line beside the title, of another column, is passed over; the first under it ends the search.
                if (!goesOnBelow(line, next)) {
                    if (next.left <= line.right && next.right >= line.left)
                        break;
                    continue;
                }
                const QString goingOn = next.text.trimmed();
                // After a joining word a capital may go on ("Assistenz der" over "Geschäftsführung"),
                // but a person's name under the title does not.
                const bool nameShaped = isLatinNameShaped(goingOn) && !namesAJobTitle(goingOn) && !namesADepartment(goingOn);
                if (!joined[j] && mayGoOn(goingOn)
                    && (goingOn.front().isLower()
                        || (endsInJoiningWord(line.text) && goingOn.front().unicode() < 0x400 && !nameShaped))) {
                    line.text = line.text.trimmed() + u' ' + goingOn;
                    line.left = std::min(line.left, next.left);
                    line.right = std::max(line.right, next.right);
                    line.bottom = next.bottom;
                    line.confidence = std::min(line.confidence, next.confidence);
                    joined[j] = true;
                }
                break;
            }
        }
        out.push_back(line);
    }
    return out;
}

QString withTitleWordsWhole(const QString& text, bool (*names)(const QString&))
{
    QStringList words = text.split(u' ', Qt::SkipEmptyParts);
    const auto lettersOnly = [](const QString& w) { return std::all_of(w.begin(), w.end(), [](QChar c) { return c.isLetter(); }); };
    for (qsizetype i = 0; i + 1 < words.size(); ++i) {
        const QString &a = words.at(i), &b = words.at(i + 1);
        if (a.size() >= 2 && b.front().isLower() && lettersOnly(a) && lettersOnly(b) && names(a + b) && !names(a) && !names(b)) {
            words[i] = a + b;
            words.removeAt(i + 1);
        }
    }
    return words.join(u' ');
}
