#include "outside/ocr/LatinAccents.h"

#include <QStringList>

#include <algorithm>

namespace {

// The letters of a word without their accents, in small letters.
QString bare(const QString& word)
{
    QString out;
    for (QChar c : word.normalized(QString::NormalizationForm_KD)) {
        if (c.category() != QChar::Mark_NonSpacing)
            out += c.toLower();
    }
    return out;
}

bool accented(const QString& word)
{
    return std::any_of(word.begin(), word.end(), [](QChar c) { return c.isLetter() && c.unicode() >= 0xC0 && c.unicode() < 0x250; });
}

int overlap(const RecognizedLine& a, const RecognizedLine& b)
{
    const int width = std::min(a.right, b.right) - std::max(a.left, b.left);
    const int height = std::min(a.bottom, b.bottom) - std::max(a.top, b.top);
    return width > 0 && height > 0 ? width * height : 0;
}

} // namespace

void takeAccentedWords(const std::vector<RecognizedLine>& own, std::vector<RecognizedLine>* lines)
{
    for (RecognizedLine& line : *lines) {
        const auto match = std::max_element(own.begin(), own.end(),
                                            [&line](const RecognizedLine& a, const RecognizedLine& b) { return overlap(a, line) < overlap(b, line); });
        if (match == own.end() || overlap(*match, line) == 0)
            continue;
        const QStringList spelled = match->text.split(u' ', Qt::SkipEmptyParts);
        QStringList words = line.text.split(u' ', Qt::SkipEmptyParts);
        for (QString& word : words) {
            // A word the line holds once, spelled alike but for accents the own reading has.
            const auto alike = std::find_if(spelled.begin(), spelled.end(),
                                            [&word](const QString& s) { return s != word && accented(s) && bare(s) == bare(word); });
            if (alike != spelled.end())
                word = *alike;
        }
        line.text = words.join(u' ');
    }
}
