#include "outside/ocr/JapaneseNameCorrection.h"

#include "outside/ocr/JapanesePersonWords.h"

#include <QFile>
#include <QHash>
#include <QRegularExpression>

#include <algorithm>
#include <cstring>
#include <mecab.h>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

struct PersonName {
    QString text;
    QString reading;
    bool family;
};

// The dictionary file: ten 32-bit words (sizes at 6, 7 and 8: index, tokens, features), the
// character set, then the index, the tokens and the features as text ending in a zero byte.
constexpr qsizetype kHeaderWords = 10;
constexpr qsizetype kHeaderSize = kHeaderWords * 4 + 32;
// Fields of an entry's features: part of speech (4), conjugation (2), base form, reading, sound.
constexpr qsizetype kClassField = 2;
constexpr qsizetype kKindField = 3;
constexpr qsizetype kTextField = 6;
constexpr qsizetype kReadingField = 7;

// The system dictionary's person-name entries, read once from the file MeCab itself opens.
std::vector<PersonName> loadPersonNames()
{
    std::vector<PersonName> names;
    mecab_t* tagger = mecab_new2("");
    if (!tagger)
        return names;
    const mecab_dictionary_info_t* info = mecab_dictionary_info(tagger);
    for (; info && info->type != MECAB_SYS_DIC; info = info->next) {}
    QFile file(info ? QString::fromLocal8Bit(info->filename) : QString());
    mecab_destroy(tagger);
    if (!file.open(QIODevice::ReadOnly))
        return names;
    const QByteArray data = file.readAll();
    if (data.size() < kHeaderSize)
        return names;
    quint32 header[kHeaderWords];
    std::memcpy(header, data.constData(), sizeof header);
    const qsizetype start = kHeaderSize + qsizetype(header[6]) + qsizetype(header[7]);
    const qsizetype size = qsizetype(header[8]);
    if (start + size > data.size())
        return names;
    for (qsizetype at = start; at < start + size;) {
        qsizetype end = data.indexOf('\0', at);
        if (end < 0 || end > start + size)
            end = start + size;
        const QByteArray feature = data.mid(at, end - at);
        at = end + 1;
        if (!feature.contains(",人名,"))
            continue;
        const QStringList fields = QString::fromUtf8(feature).split(u',');
        if (fields.size() <= kReadingField || fields.at(kClassField) != u"人名")
            continue;
        const QString kind = fields.at(kKindField);
        if (kind == u"姓" || kind == u"名")
            names.push_back({fields.at(kTextField), fields.at(kReadingField), kind == u"姓"});
    }
    return names;
}

const std::vector<PersonName>& personNames()
{
    static const std::vector<PersonName> names = loadPersonNames();
    return names;
}

QString katakana(QString kana)
{
    for (QChar& c : kana) {
        if (c.unicode() >= 0x3041 && c.unicode() <= 0x3096)
            c = QChar(c.unicode() + 0x60);
    }
    return kana;
}

// How a part of the name is printed in reading: the katakana of the furigana's word, or the Latin
// words it may be.
struct PrintedReading {
    QString kana;
    QStringList latin;
    bool matches(const QString& reading) const
    {
        if (!kana.isEmpty())
            return reading == kana;
        return std::any_of(latin.begin(), latin.end(), [&reading](const QString& w) { return readsAsRomanised(reading, w); });
    }
};

struct PartResult {
    bool read = false; // the part has the printed reading (as read or put right)
    bool changed = false;
    QString text;
};

// The ink looks like another character when its likeness gains this much over the one read; less
// is asked of a character the printed reading names.
constexpr double kClearGain = 0.04;
constexpr double kReadingGain = 0.01;
// Among entries of one score, one whose gain is ahead of the next by less than this is no sure
// choice.
constexpr double kGainMargin = 0.02;

// The one entry of the printed reading and `read`'s length sharing the most characters with it,
// the others being look-alikes (all of them when `alikeOnly`): characters whose ink looks more like
// them (`at` is where `read` starts in the name); empty when there is none or no single best.
QString closestEntry(const QString& read, qsizetype at, bool family, const PrintedReading& printed, bool alikeOnly, const InkGain& inkGain)
{
    int best = -1;
    double bestGain = 0;
    int bestCount = 0;
    QString bestText;
    for (const PersonName& n : personNames()) {
        if (n.family != family || n.text.size() != read.size() || n.text == bestText || !printed.matches(n.reading))
            continue;
        int shared = 0;
        bool alike = true;
        double gain = 0;
        for (qsizetype i = 0; i < read.size(); ++i) {
            if (n.text.at(i) == read.at(i)) {
                ++shared;
            } else if (const double g = inkGain ? inkGain(at + i, n.text.at(i)) : 0; g > kReadingGain) {
                gain += g;
            } else {
                alike = false;
            }
        }
        if (!alike && (shared == 0 || alikeOnly))
            continue;
        const int score = 2 * shared + (alike ? 1 : 0);
        if (score > best || (score == best && gain > bestGain + kGainMargin)) {
            bestCount = 1;
            best = score;
            bestGain = gain;
            bestText = n.text;
        } else if (score == best && gain + kGainMargin >= bestGain) {
            ++bestCount;
        }
    }
    return bestCount == 1 ? bestText : QString();
}

// A part printed without a reading that the dictionary does not know as a name of its kind: the
// entry of its kind and length that differs from it in one character, which the ink looks clearly
// more like than the one read; empty when there is none or no single best.
QString entryByInk(const QString& read, qsizetype at, bool family, const InkGain& inkGain)
{
    double best = kClearGain;
    double second = 0;
    QString bestText;
    for (const PersonName& n : personNames()) {
        if (n.family != family || n.text.size() != read.size())
            continue;
        if (n.text == read)
            return {};
        qsizetype differs = -1;
        for (qsizetype i = 0; i < read.size() && differs != -2; ++i) {
            if (n.text.at(i) != read.at(i))
                differs = differs == -1 ? i : -2;
        }
        if (differs < 0 || n.text == bestText)
            continue;
        const double gain = inkGain(at + differs, n.text.at(differs));
        if (gain > best) {
            second = std::max(second, best);
            best = gain;
            bestText = n.text;
        } else {
            second = std::max(second, gain);
        }
    }
    return best - second >= kGainMargin ? bestText : QString();
}

// "村 槽" as read: a part the dictionary lacks is put right by the ink alone.
QString correctedByInk(const QStringList& words, const QString& kept, const InkGain& inkGain)
{
    if (!inkGain || words.size() != 2)
        return kept;
    const QString family = entryByInk(words.at(0), 0, true, inkGain);
    const QString given = entryByInk(words.at(1), words.at(0).size(), false, inkGain);
    if (family.isEmpty() && given.isEmpty())
        return kept;
    return (family.isEmpty() ? words.at(0) : family) + u' ' + (given.isEmpty() ? words.at(1) : given);
}

PartResult correctedPart(const QString& part, qsizetype at, bool family, const PrintedReading& printed, const InkGain& inkGain)
{
    const auto& names = personNames();
    bool aName = false;
    for (const PersonName& n : names) {
        if (n.family == family && n.text == part) {
            if (printed.matches(n.reading))
                return {true, false, part};
            aName = true;
        }
    }
    // A name the dictionary knows under another reading ("栗栖" printed "くるす") was likely read
    // right: only a look-alike shape puts it right.
    if (const QString entry = closestEntry(part, at, family, printed, aName, inkGain); !entry.isEmpty())
        return {true, true, entry};
    // A tall kanji cut in two ("巌" read "上厳"): its top read as a character of its own.
    if (part.size() > 1) {
        if (const QString entry = closestEntry(part.mid(1), at + 1, family, printed, aName, inkGain); !entry.isEmpty())
            return {true, true, entry};
    }
    return {false, false, part};
}

bool isJapaneseWord(const QString& word)
{
    return !word.isEmpty() && std::all_of(word.begin(), word.end(), [](QChar c) {
        const ushort u = c.unicode();
        return (u >= 0x3041 && u <= 0x30FF) || (u >= 0x3400 && u <= 0x9FFF) || (u >= 0xF900 && u <= 0xFAFF) || u == 0x3005;
    });
}

} // namespace

QString correctedJapaneseName(const QString& name, const QString& furigana, const QStringList& otherLines, const InkGain& inkGain)
{
    QStringList words = QString(name).replace(QChar(0x3000), u' ').split(u' ', Qt::SkipEmptyParts);
    // The romanised name: two words of Latin letters, the family name in capitals ("SUGAWARA
    // Makoto"), or a word that reads as a name sharing a character with the name as read ("Makoto
    // Sugawara" beside "官原 誠").
    static const QRegularExpression latinName(QStringLiteral(R"(^([A-Za-z]{2,}) ([A-Za-z]{2,})$)"));
    const QString nameText = words.join(QString());
    const auto readsAsAPart = [&nameText](const QString& latin) {
        return std::any_of(personNames().begin(), personNames().end(), [&](const PersonName& n) {
            const bool shares = std::any_of(n.text.begin(), n.text.end(), [&](QChar c) { return nameText.contains(c); });
            return shares && readsAsRomanised(n.reading, latin);
        });
    };
    QStringList familyLatin;
    QStringList givenLatin;
    for (const QString& line : otherLines) {
        const auto m = latinName.match(line.simplified());
        if (!m.hasMatch())
            continue;
        const QString a = m.captured(1);
        const QString b = m.captured(2);
        const bool aCaps = a == a.toUpper();
        const bool bCaps = b == b.toUpper();
        if (aCaps == bCaps && !readsAsAPart(a) && !readsAsAPart(b))
            continue;
        familyLatin = aCaps != bCaps ? QStringList{aCaps ? a : b} : QStringList{a, b};
        givenLatin = aCaps != bCaps ? QStringList{aCaps ? b : a} : QStringList{a, b};
        break;
    }
    // "官原 AA", "岡部 28": digits or a capital or two after the name are specks when the romanised
    // name stands elsewhere.
    static const QRegularExpression scrap(QStringLiteral("^([0-9]+|[A-Z]{1,2})$"));
    if (!familyLatin.isEmpty()) {
        while (words.size() > 1 && scrap.match(words.back()).hasMatch() && isJapaneseWord(words.at(words.size() - 2)))
            words.removeLast();
    }
    const QString kept = words.join(u' ');
    if (!std::all_of(words.begin(), words.end(), isJapaneseWord) || words.size() > 2)
        return kept;
    const QStringList kana = katakana(furigana).replace(QChar(0x3000), u' ').split(u' ', Qt::SkipEmptyParts);
    PrintedReading family;
    PrintedReading given;
    if (kana.size() == 2 && std::all_of(kana.begin(), kana.end(), [](const QString& w) {
            return std::all_of(w.begin(), w.end(), [](QChar c) { return c.unicode() >= 0x30A1 && c.unicode() <= 0x30FC; });
        })) {
        family.kana = kana.at(0);
        given.kana = kana.at(1);
    } else if (!familyLatin.isEmpty()) {
        family.latin = familyLatin;
        given.latin = givenLatin;
    } else if (words.size() == 2) {
        // The e-mail address often spells the family name ("s.sugawara@"): a word of its local part.
        static const QRegularExpression mailWords(QStringLiteral(R"([._\-]+)"));
        for (const QString& line : otherLines) {
            if (const qsizetype at = line.indexOf(u'@'); at > 0) {
                const QStringList parts = line.left(at).split(mailWords, Qt::SkipEmptyParts);
                for (const QString& part : parts) {
                    if (part.size() >= 3
                        && std::all_of(part.begin(), part.end(), [](QChar c) { return c.isLetter() && c.unicode() < 0x80; }))
                        family.latin << part;
                }
            }
        }
        if (family.latin.isEmpty())
            return correctedByInk(words, kept, inkGain);
    } else {
        return correctedByInk(words, kept, inkGain);
    }
    // A name without a blank: the one place to split it where both parts have their readings.
    std::vector<std::pair<qsizetype, qsizetype>> splits;
    if (words.size() == 2)
        splits.push_back({words.at(0).size(), 1});
    else
        for (qsizetype at = 1; at < words.at(0).size(); ++at)
            splits.push_back({at, 0});
    const QString compact = words.join(QString());
    QString result;
    int found = 0;
    for (const auto& [at, blank] : splits) {
        const PartResult f = correctedPart(compact.left(at), 0, true, family, inkGain);
        const PartResult g = correctedPart(compact.mid(at), at, false, given, inkGain);
        // Put right with a blank printed, a part the dictionary lacks may stand beside one put right.
        if (blank ? !f.read && !g.read : !f.read || !g.read)
            continue;
        if (!f.changed && !g.changed)
            return kept;
        ++found;
        result = f.text + u' ' + g.text;
    }
    return found == 1 ? result : kept;
}
