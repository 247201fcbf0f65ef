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
    std::vector<RecognizedLine> out;
    for (size_t i = 0; i < lines.size(); ++i) {
        RecognizedLine line = lines[i];
        if (i + 1 < lines.size() && latinOrCyrillic(line.text) && (namesAJobTitle(line.text) || namesADepartment(line.text))) {
            const RecognizedLine& next = lines[i + 1];
            const QString goingOn = next.text.trimmed();
            // After a joining word a capital may go on ("Assistenz der" over "Geschäftsführung"), but a
            // person's name under the title does not.
            const bool nameShaped = isLatinNameShaped(goingOn) && !namesAJobTitle(goingOn) && !namesADepartment(goingOn);
            if (goesOnBelow(line, next) && mayGoOn(goingOn)
                && (goingOn.front().isLower() || (endsInJoiningWord(line.text) && goingOn.front().unicode() < 0x400 && !nameShaped))) {
                line.text = line.text.trimmed() + u' ' + goingOn;
                line.left = std::min(line.left, next.left);
                line.right = std::max(line.right, next.right);
                line.bottom = next.bottom;
                line.confidence = std::min(line.confidence, next.confidence);
                ++i;
            }
        }
        out.push_back(line);
    }
    return out;
}
