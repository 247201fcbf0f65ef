#include "outside/ocr/NameReading.h"

#include <QStringList>

#include <algorithm>
#include <mecab.h>
#include <numeric>
#include <vector>

namespace {

bool isJapaneseLetter(QChar c)
{
    const ushort u = c.unicode();
    return (u >= 0x3041 && u <= 0x30FF) || (u >= 0x3400 && u <= 0x9FFF) || (u >= 0xF900 && u <= 0xFAFF)
        || u == 0x3005; // 々
}

// Fields of a dictionary entry: part of speech (4), conjugation (2), base form, reading, sound.
constexpr qsizetype kReadingField = 7;
constexpr qsizetype kNameKindField = 3; // "姓" for a family name, "名" for a given name
constexpr qsizetype kNameClassField = 2; // "人名" for a personal name
// A given name is one to three characters.
constexpr qsizetype kLongestGivenName = 3;
// A family name is one to four characters ("勅使河原").
constexpr int kLongestFamilyName = 4;

// A word of the analyser's reading of a text: its length in characters and its dictionary fields.
struct Word {
    int length;
    QStringList fields;
    bool unknown;
};

std::vector<Word> wordsOf(mecab_t* analyser, const QString& name)
{
    const QByteArray text = name.toUtf8();
    std::vector<Word> words;
    for (const mecab_node_t* node = mecab_sparse_tonode2(analyser, text.constData(), size_t(text.size())); node; node = node->next) {
        if (node->stat != MECAB_BOS_NODE && node->stat != MECAB_EOS_NODE)
            words.push_back({int(QString::fromUtf8(node->surface, int(node->length)).size()), QString::fromUtf8(node->feature).split(u','),
                             node->stat == MECAB_UNK_NODE});
    }
    return words;
}

bool isName(const Word& w, const char16_t* kind)
{
    return w.fields.size() > kNameKindField && w.fields.at(kNameClassField) == u"人名" && w.fields.at(kNameKindField) == kind;
}

} // namespace

NameReading::~NameReading()
{
    if (m_tagger)
        mecab_destroy(m_tagger);
}

mecab_t* NameReading::tagger()
{
    if (!m_tried) {
        m_tried = true;
        m_tagger = mecab_new2("");
    }
    return m_tagger;
}

QString NameReading::reading(const QString& name)
{
    // "山田 太郎", "山田　太郎": each word is read alone and the blanks stay where they are.
    const QStringList words = QString(name).replace(QChar(0x3000), u' ').split(u' ', Qt::SkipEmptyParts);
    if (words.isEmpty())
        return {};
    for (const QString& word : words) {
        if (!std::all_of(word.begin(), word.end(), isJapaneseLetter))
            return {};
    }
    mecab_t* analyser = tagger();
    if (!analyser)
        return {};
    QStringList readings;
    for (const QString& word : words) {
        const QByteArray text = word.toUtf8();
        const mecab_node_t* node = mecab_sparse_tonode2(analyser, text.constData(), size_t(text.size()));
        if (!node)
            return {};
        QString reading;
        QString previousKind;
        for (; node; node = node->next) {
            if (node->stat == MECAB_BOS_NODE || node->stat == MECAB_EOS_NODE)
                continue;
            const QStringList fields = QString::fromUtf8(node->feature).split(u',');
            if (node->stat == MECAB_UNK_NODE || fields.size() <= kReadingField || fields.at(kReadingField) == u"*")
                return {};
            const QString kind = fields.at(kNameKindField);
            // A name printed without a blank: the blank goes where the family name ends.
            if (words.size() == 1 && previousKind == u"姓" && kind == u"名")
                reading += u' ';
            reading += fields.at(kReadingField);
            previousKind = kind;
        }
        if (reading.isEmpty())
            return {};
        readings << reading;
    }
    return readings.join(u' ');
}

int NameReading::familyNameLength(const QString& name)
{
    if (name.isEmpty() || !std::all_of(name.begin(), name.end(), isJapaneseLetter))
        return 0;
    mecab_t* analyser = tagger();
    if (!analyser)
        return 0;
    const std::vector<Word> words = wordsOf(analyser, name);
    int family = 0;
    int rest = 0;
    bool read = !words.empty() && isName(words.front(), u"姓");
    for (size_t i = 0; read && i < words.size(); ++i) {
        if (i == 0) {
            family = words[i].length;
            continue;
        }
        // The given name may be one the dictionary lacks, read as single plain characters.
        const bool given = isName(words[i], u"名");
        if (!given && (words[i].length > 1 || words[i].fields.value(1) == u"接尾"))
            read = false;
        rest += words[i].length;
    }
    if (read && rest > 0 && rest <= kLongestGivenName)
        return family;
    // A family name the dictionary lacks or files as a place ("薬袋", "王生") before a given name it
    // knows: the family name is what stands before the given name.
    if (words.size() < 2 || !isName(words.back(), u"名") || words.back().length > kLongestGivenName)
        return 0;
    const int before = std::accumulate(words.begin(), words.end() - 1, 0, [](int n, const Word& w) { return n + w.length; });
    const Word& first = words.front();
    const bool proper = first.unknown || first.fields.value(1) == u"固有名詞" || isName(words[words.size() - 2], u"姓");
    return proper && before <= kLongestFamilyName ? before : 0;
}

bool NameReading::isKnownName(const QString& name)
{
    const QString compact = QString(name).remove(u' ').remove(QChar(0x3000));
    if (compact.isEmpty() || !std::all_of(compact.begin(), compact.end(), isJapaneseLetter))
        return false;
    mecab_t* analyser = tagger();
    if (!analyser)
        return false;
    const std::vector<Word> words = wordsOf(analyser, compact);
    if (words.size() < 2 || !isName(words.front(), u"姓"))
        return false;
    const int given = std::accumulate(words.begin() + 1, words.end(), 0, [](int n, const Word& w) { return n + w.length; });
    // A given name the dictionary lacks whole ("悠真") is a given name's character and common
    // nouns of one character each.
    const auto isCommonCharacter = [](const Word& w) { return w.length == 1 && w.fields.value(0) == u"名詞" && w.fields.value(1) == u"一般"; };
    return given <= kLongestGivenName && std::any_of(words.begin() + 1, words.end(), [](const Word& w) { return isName(w, u"名"); })
        && std::all_of(words.begin() + 1, words.end(), [&](const Word& w) { return isName(w, u"名") || isCommonCharacter(w); });
}

long NameReading::wordCost(const QString& text)
{
    mecab_t* analyser = tagger();
    if (!analyser)
        return -1;
    const QByteArray utf8 = text.toUtf8();
    for (const mecab_node_t* node = mecab_sparse_tonode2(analyser, utf8.constData(), size_t(utf8.size())); node; node = node->next) {
        if (node->stat == MECAB_EOS_NODE)
            return node->cost;
    }
    return -1;
}
