#include "outside/ocr/LatinNameShape.h"

#include <QRegularExpression>
#include <QStringList>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

// The particles of family names, printed in lower case between the capitalised words.
const QStringList& particles()
{
    static const QStringList words = {u"van"_qs, u"von"_qs, u"der"_qs, u"den"_qs, u"de"_qs,  u"del"_qs, u"della"_qs,
                                      u"di"_qs,  u"da"_qs,  u"das"_qs, u"dos"_qs, u"du"_qs,  u"la"_qs,  u"le"_qs,
                                      u"ten"_qs, u"ter"_qs, u"zu"_qs,  u"zum"_qs, u"zur"_qs, u"af"_qs,  u"av"_qs,
                                      u"bin"_qs, u"ibn"_qs, u"al"_qs,  u"el"_qs,  u"y"_qs,   u"op"_qs,  u"'t"_qs};
    return words;
}

const QRegularExpression& namePattern()
{
    static const QString word = QStringLiteral(R"(\p{Lu}[\p{L}'’.\-]*)");
    static const QString particle = QStringLiteral("(?:%1)").arg(particles().join(u'|'));
    static const QRegularExpression re(
        QStringLiteral(R"(^(?:(?:Dr|Prof|Mr|Mrs|Ms|Mx)\.?\s+)*%1(?:\s+(?:%2\s+){0,2}%1){1,3}(?:,?\s+(?:PhD|MBA|Jr\.?|Sr\.?|II|III))?$)")
            .arg(word, particle));
    return re;
}

} // namespace

bool isLatinNameShaped(const QString& text)
{
    return namePattern().match(text).hasMatch();
}

QString latinNameWithoutTrailingNoise(const QString& text)
{
    const QStringList words = text.split(u' ', Qt::SkipEmptyParts);
    for (qsizetype n = std::min<qsizetype>(words.size() - 1, 8); n >= 2; --n) {
        const QString name = words.mid(0, n).join(u' ');
        if (!isLatinNameShaped(name))
            continue;
        // What follows is no more of the name when it starts with a mark or holds a number.
        const QString after = words.mid(n).join(u' ');
        const bool noise = !after.front().isLetter() || std::any_of(after.begin(), after.end(), [](QChar c) { return c.isDigit(); });
        return noise ? name : text;
    }
    return text;
}

QString latinNameWithInitialStops(const QString& text)
{
    static const QRegularExpression initial(QStringLiteral(R"((?<=\p{L}\s)(\p{Lu})[^\p{L}\p{N}\s.]{0,2}\.?(?=\s\p{Lu}))"));
    const QString stopped = QString(text).replace(initial, QStringLiteral("\\1."));
    return isLatinNameShaped(stopped) ? stopped : text;
}

namespace {

// "McIntyre", "McCready": the letter after "Mc" is a capital, whatever the engine or small
// capitals made of it.
QString withMcCapital(QString text)
{
    static const QRegularExpression mc(QStringLiteral(R"((?<![\p{L}'])Mc\p{Ll}{3})"));
    for (auto it = mc.globalMatch(text); it.hasNext();) {
        const qsizetype at = it.next().capturedStart() + 2;
        text[at] = text.at(at).toUpper();
    }
    return text;
}

} // namespace

QString latinNameWithLettersForMarks(const QString& text)
{
    QString out = text;
    // "!" for an I among capitals.
    static const QRegularExpression exclamation(QStringLiteral(R"((?<=\p{Lu})!(?=\p{Lu}|\s|$))"));
    out.replace(exclamation, QStringLiteral("I"));
    // A bracket opening a word with none closing it is a speck.
    static const QRegularExpression bracket(QStringLiteral(R"((?<=^|\s)[(\[{](?=\p{Lu}[^)\]}]*$))"));
    out.remove(bracket);
    // A hyphen the engine set apart from the part of the name after it.
    static const QRegularExpression spacedHyphen(QStringLiteral(R"((?<=\p{L})-\s+(?=\p{Lu}\p{Ll}))"));
    out.replace(spacedHyphen, QStringLiteral("-"));
    return withMcCapital(out);
}

bool namesAKindOfBusiness(const QString& text)
{
    static const QRegularExpression kinds(
        QStringLiteral(R"(\b(?:Capital|Studios?|Foods?|Analytics|Partners|Systems|Logistics|Media|Labs?|Laboratories|Ventures|Press|)"
                       R"(Security|Design|Interiors|Bakery|Farms?|Dental|Health|Healthcare|Medical|Software|Data|Optics|Automation|)"
                       R"(Engineering|Consulting|Consultants|Group|Holdings|Solutions|Services|Technologies|Technology|Industries|)"
                       R"(Shipping|Freight|Transport|Marine|Aerospace|Architects|Agency|Bank|Insurance|Realty|Properties|Pharma|)"
                       R"(Pharmaceuticals|Clinic|Dairy|Brewery|Energy|Electric|Motors|Trading|Publishing|Productions|Creative|)"
                       R"(Digital|Networks|Communications|Telecom|Travel|Construction|Builders|Homes|Botanics|Fisheries|Coffee|)"
                       R"(Wines|Cosmetics|Works|Mills|Foundry|Institute|Academy|Foundation|Trust|Investments|Advisors|Advisory|)"
                       R"(Accountants|Dynamics|Robotics|Photonics|Biotech|Therapeutics|Diagnostics|Instruments|Devices|Materials|)"
                       R"(Chemicals|Packaging|Electronics|Apparel|Textiles|Supplies|Imports|Exports|Distribution|Events|Education|)"
                       R"(Logistik|Technik|Systemtechnik|Maschinenbau|Beratung|Immobilien|Versicherung|Verpackung|Werke?)\b)"),
        QRegularExpression::CaseInsensitiveOption);
    return kinds.match(text).hasMatch();
}

bool looksSplitInsideWords(const QString& text)
{
    static const QRegularExpression courtesy(QStringLiteral(R"(^(?:(?:Dr|Prof|Mr|Mrs|Ms|Mx)\.?\s+)+)"));
    const QStringList words = QString(text).remove(courtesy).split(u' ', Qt::SkipEmptyParts);
    static const QRegularExpression capitalsThenSmall(QStringLiteral(R"(^\p{Lu}{2,}\p{Ll})"));
    static const QRegularExpression capitalAtEnd(QStringLiteral(R"(\p{Ll}\p{Lu}$)"));
    const auto broken = [](const QString& word) {
        if (word.isEmpty())
            return false;
        // A mark the engine made of the first letters: "“oe Becker".
        if (!word.front().isLetter())
            return word.size() > 1 && word.back().isLetter();
        if (word.front().isLower())
            return !particles().contains(word);
        // A letter alone is an initial only with its full stop.
        return word.size() == 1 || capitalsThenSmall.match(word).hasMatch() || capitalAtEnd.match(word).hasMatch();
    };
    const auto named = std::count_if(words.begin(), words.end(), [](const QString& word) { return !particles().contains(word); });
    return named > 4 || std::any_of(words.begin(), words.end(), broken);
}

namespace {

// The letters of a word as an e-mail address spells them: lower case, without accents and marks.
QString mailSpelling(const QString& text)
{
    QString out;
    for (QChar c : text.normalized(QString::NormalizationForm_KD)) {
        if (c.unicode() < 0x80 && c.isLetterOrNumber())
            out += c.toLower();
    }
    return out;
}

// The word with the thin letter the engine lost put back where the address has it, or empty.
QString withThinLetter(const QString& word, const QString& spelled)
{
    if (spelled.size() != word.size() + 1 || mailSpelling(word).size() != word.size())
        return {};
    // Inside the word only: a letter more at either end is more often the address's own misreading
    // ("h.mitchelli@") or an initial before the family name ("lkeller@").
    for (qsizetype at = 1; at < word.size(); ++at) {
        const QChar letter = spelled.at(at);
        if ((letter == u'i' || letter == u'l') && spelled.left(at) == word.left(at).toLower()
            && spelled.mid(at + 1) == word.mid(at).toLower()) {
            const bool capitals = word.size() > 1 && word == word.toUpper();
            return word.left(at) + (capitals ? letter.toUpper() : letter) + word.mid(at);
        }
    }
    return {};
}

} // namespace

QString latinNameSpelledByMail(const QString& name, const QString& mailAddress)
{
    const qsizetype at = mailAddress.indexOf(u'@');
    if (at <= 0)
        return name;
    static const QRegularExpression separators(QStringLiteral("[._+]"));
    QStringList words = name.split(u' ', Qt::SkipEmptyParts);
    QStringList parts = mailAddress.left(at).toLower().split(separators, Qt::SkipEmptyParts);
    // "jsmith@": the family name after the first name's initial.
    if (const QString first = words.isEmpty() ? QString() : mailSpelling(words.first());
        parts.size() == 1 && !first.isEmpty() && parts.first().size() > 4 && parts.first().front() == first.front())
        parts << parts.first().mid(1);
    for (const QString& part : parts) {
        const QString spelled = QString(part).remove(u'-');
        if (spelled.size() < 3)
            continue;
        bool done = false;
        for (qsizetype i = 0; i < words.size() && !done; ++i) {
            QString joined;
            for (qsizetype j = i; j < words.size() && j < i + 4 && !done; ++j) {
                joined += mailSpelling(words.at(j));
                // Words of their own ("Anna Lopez" for "annalopez@") stay apart; the pieces of a
                // word split inside go on in small letters, and a hyphenated name is hyphenated.
                const bool piece = j > i && words.at(j).front().isLower();
                const qsizetype hyphen = part.indexOf(u'-');
                // A hyphen between the whole name's words ("eleanor-harrington@") parts given and family name.
                const bool hyphenated = j == i + 1 && hyphen == mailSpelling(words.at(i)).size() && words.size() > 2;
                // "N Diaye" for "ndiaye@": a letter alone before the rest of the word lost its apostrophe.
                const bool elided = j == i + 1 && words.at(i).size() == 1 && words.at(i).front().isUpper() && !piece;
                if (j > i && joined == spelled && (piece || hyphenated || elided)) {
                    QString word = words.at(i);
                    for (qsizetype k = i + 1; k <= j; ++k)
                        word += (piece ? QString() : elided ? QStringLiteral("'") : QStringLiteral("-")) + words.at(k);
                    words.replace(i, word);
                    words.remove(i + 1, j - i);
                    done = true;
                } else if (const QString whole = j > i ? words.at(i) + words.at(j) : words.at(i);
                           (j == i || (j == i + 1 && piece)) && !withThinLetter(whole, spelled).isEmpty()) {
                    words.replace(i, withThinLetter(whole, spelled));
                    words.remove(i + 1, j - i);
                    done = true;
                }
            }
        }
    }
    return words.join(u' ');
}

QString mailAddressWithNameWordsWhole(const QString& mailAddress, const QString& name)
{
    const qsizetype at = mailAddress.indexOf(u'@');
    const QString local = mailAddress.left(at);
    if (at <= 0 || !local.contains(u'.'))
        return mailAddress;
    QStringList words;
    for (const QString& word : name.split(QRegularExpression(QStringLiteral(R"([\s\-'’]+)")), Qt::SkipEmptyParts))
        words << mailSpelling(word);
    const QString joined = QString(local).remove(u'.').toLower();
    // The run of the name's words the address spells, and where each word ends in it.
    for (qsizetype first = 0; first < words.size(); ++first) {
        QString run;
        QList<qsizetype> ends;
        for (qsizetype last = first; last < words.size() && run.size() < joined.size(); ++last) {
            run += words.at(last);
            ends << run.size();
        }
        if (run != joined || ends.size() < 2)
            continue;
        QString out;
        qsizetype letters = 0;
        for (QChar c : local) {
            if (c != u'.')
                ++letters;
            if (c != u'.' || ends.contains(letters))
                out += c;
        }
        return out + mailAddress.mid(at);
    }
    return mailAddress;
}

namespace {

// A capital stands above the small capitals after it by this share of its height, at least.
constexpr int kSmallCapitalRisePercent = 15;
// Capitals of one height differ by less than this share, with the line's slant.
constexpr int kSameHeightPercent = 5;

} // namespace

bool symbolStandsForALetter(const QString& symbol)
{
    return symbol.size() == 1 && (symbol.front().isLetter() || symbol.front() == u'|');
}

QString latinNameOutOfSmallCaps(const QString& name, const std::vector<LetterExtent>& letters)
{
    const QStringList words = name.split(u' ', Qt::SkipEmptyParts);
    const auto letterCount = std::count_if(name.begin(), name.end(), [](QChar c) { return c.isLetter(); });
    if (qsizetype(letters.size()) != letterCount)
        return name;
    QStringList spelled;
    bool small = false, capitals = false;
    size_t at = 0;
    std::vector<size_t> starts;
    std::vector<bool> turned;
    for (const QString& word : words) {
        starts.push_back(at);
        turned.push_back(false);
        const auto inWord = size_t(std::count_if(word.begin(), word.end(), [](QChar c) { return c.isLetter(); }));
        // A word in capitals, or read so in part ("RaJ", "CosTA"); "O'Connor" and "McKay" are not.
        const auto after = std::count_if(word.begin() + 1, word.end(), [](QChar c) { return c.isLetter(); });
        const auto upper = std::count_if(word.begin() + 1, word.end(), [](QChar c) { return c.isUpper(); });
        const bool upperAfterFirst = upper > 0 && 2 * upper >= after;
        // An accent over the first capital ("ÁLVARO") makes it stand taller whatever the type: the
        // word tells nothing.
        const bool accented = !word.front().decomposition().isEmpty();
        if (inWord >= 3 && upperAfterFirst && word.front().isUpper() && !accented) {
            // The first letter against the middle of the few after it: the line's slant moves
            // letters further on, and the engine places a letter's box roughly.
            const LetterExtent& first = letters[at];
            std::vector<int> tops;
            for (size_t i = at + 1; i < at + inWord && i <= at + 4; ++i)
                tops.push_back(letters[i].top);
            std::sort(tops.begin(), tops.end());
            const int next = (tops[(tops.size() - 1) / 2] + tops[tops.size() / 2]) / 2;
            const int rise = (next - first.top) * 100;
            const int height = std::max(1, first.bottom - first.top);
            if (rise >= kSmallCapitalRisePercent * height) {
                small = true;
                // "JEAN-BAPTISTE", "O'CONNOR": each part after a hyphen or an apostrophe has its capital.
                QString lower = word.front() + word.mid(1).toLower();
                for (qsizetype i = 1; i + 1 < lower.size(); ++i) {
                    if (lower.at(i) == u'-' || lower.at(i) == u'\'' || lower.at(i) == u'’')
                        lower[i + 1] = lower.at(i + 1).toUpper();
                }
                spelled << withMcCapital(lower);
                turned.back() = true;
                at += inWord;
                continue;
            }
            // A particle in small capitals is of one height as well.
            capitals |= std::abs(rise) < kSameHeightPercent * height && !particles().contains(word.toLower());
        }
        spelled << word;
        at += inWord;
    }
    if (!small || capitals)
        return name;
    // A particle too short to tell by its own letters ("DOS", "DE") is in small letters where its
    // first stands as low as the small capitals beside it, else capitalised where its second does.
    const auto rises = [&letters](size_t low, size_t high) {
        return (letters[low].top - letters[high].top) * 100 >= kSmallCapitalRisePercent * std::max(1, letters[high].bottom - letters[high].top);
    };
    for (size_t i = 0; i < size_t(spelled.size()); ++i) {
        const QString& word = spelled.at(qsizetype(i));
        const size_t neighbour = i + 1 < turned.size() && turned[i + 1] ? i + 1 : i > 0 && turned[i - 1] ? i - 1 : i;
        if (turned[i] || neighbour == i || word.size() < 2 || word != word.toUpper() || !particles().contains(word.toLower()))
            continue;
        if (rises(starts[i], starts[neighbour]))
            spelled[qsizetype(i)] = word.toLower();
        else if (rises(starts[i] + 1, starts[i]))
            spelled[qsizetype(i)] = word.front() + word.mid(1).toLower();
    }
    // "DR.", "MR.": a title of two letters before a name in small capitals is set in them too.
    static const QRegularExpression shortTitle(QStringLiteral(R"(^\p{Lu}\p{Lu}\.$)"));
    for (QString& word : spelled) {
        if (shortTitle.match(word).hasMatch())
            word = word.front() + word.mid(1).toLower();
    }
    return spelled.join(u' ');
}
