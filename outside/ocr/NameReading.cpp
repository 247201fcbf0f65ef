#include "outside/ocr/NameReading.h"

#include <QStringList>

#include <mecab.h>

#include <algorithm>

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
    const QByteArray text = name.toUtf8();
    const mecab_node_t* node = mecab_sparse_tonode2(analyser, text.constData(), size_t(text.size()));
    int family = 0;
    int rest = 0;
    for (; node; node = node->next) {
        if (node->stat == MECAB_BOS_NODE || node->stat == MECAB_EOS_NODE)
            continue;
        const QStringList fields = QString::fromUtf8(node->feature).split(u',');
        const int length = int(QString::fromUtf8(node->surface, int(node->length)).size());
        const bool person = fields.size() > kNameKindField && fields.at(kNameClassField) == u"人名";
        if (family == 0) {
            if (!person || fields.at(kNameKindField) != u"姓")
                return 0;
            family = length;
            continue;
        }
        // The given name may be one the dictionary lacks, read as single plain characters.
        const bool given = person && fields.at(kNameKindField) == u"名";
        if (!given && (length > 1 || fields.value(1) == u"接尾"))
            return 0;
        rest += length;
    }
    return rest > 0 && rest <= kLongestGivenName ? family : 0;
}
