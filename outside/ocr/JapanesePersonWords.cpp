#include "outside/ocr/JapanesePersonWords.h"

#include "outside/ocr/JapaneseLineText.h"

#include <QRegularExpression>
#include <QStringList>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

bool isKanji(QChar c)
{
    const ushort u = c.unicode();
    return (u >= 0x3400 && u <= 0x9FFF) || (u >= 0xF900 && u <= 0xFAFF) || u == 0x3005 || c.isSurrogate();
}

bool isKatakana(QChar c)
{
    const ushort u = c.unicode();
    return u >= 0x30A1 && u <= 0x30FF;
}

bool isHiragana(QChar c)
{
    const ushort u = c.unicode();
    return u >= 0x3041 && u <= 0x309F;
}

bool isWideWord(const QString& w)
{
    return !w.isEmpty() && std::all_of(w.begin(), w.end(), [](QChar c) {
        return (c.unicode() >= 0x3000 && !c.isDigit() && c.unicode() < 0xFF10) || c.isSurrogate();
    });
}

} // namespace

bool isJapaneseTitleWord(const QString& word)
{
    if (word.size() < 2 || !isWideWord(word))
        return false;
    // Rank words a title is or ends in, with the fewest characters the whole title has: "長" needs
    // a unit before it ("班長"), a profession a field ("弁護士").
    static const std::pair<QString, int> ends[] = {{u"長"_qs, 2},     {u"役"_qs, 3},           {u"役員"_qs, 4},        {u"代理"_qs, 3},
                                                   {u"代行"_qs, 3},   {u"補佐"_qs, 3},         {u"心得"_qs, 3},        {u"待遇"_qs, 3},
                                                   {u"主任"_qs, 2},   {u"主査"_qs, 2},         {u"主幹"_qs, 2},        {u"主事"_qs, 2},
                                                   {u"参与"_qs, 2},   {u"参事"_qs, 2},         {u"理事"_qs, 2},        {u"監事"_qs, 2},
                                                   {u"顧問"_qs, 2},   {u"担当"_qs, 2},         {u"専務"_qs, 2},        {u"常務"_qs, 2},
                                                   {u"代表"_qs, 2},   {u"教授"_qs, 2},         {u"士"_qs, 3},          {u"師"_qs, 2},
                                                   {u"員"_qs, 3},     {u"マネージャー"_qs, 6}, {u"マネジャー"_qs, 5},  {u"リーダー"_qs, 4},
                                                   {u"チーフ"_qs, 3}, {u"エンジニア"_qs, 5},   {u"ディレクター"_qs, 6},
                                                   {u"コンサルタント"_qs, 7}, {u"アナリスト"_qs, 5}, {u"デザイナー"_qs, 5},
                                                   {u"プランナー"_qs, 5}, {u"アドバイザー"_qs, 6}, {u"スペシャリスト"_qs, 7}};
    return std::any_of(std::begin(ends), std::end(ends),
                       [&word](const auto& e) { return word.size() >= e.second && word.endsWith(e.first); });
}

bool isJapaneseDepartmentWord(const QString& word, bool titleFollows)
{
    static const QStringList units = {u"部"_qs,   u"課"_qs,       u"室"_qs,       u"係"_qs,     u"局"_qs,       u"部門"_qs,
                                      u"本部"_qs, u"支店"_qs,     u"支社"_qs,     u"営業所"_qs, u"事業所"_qs,   u"出張所"_qs,
                                      u"工場"_qs, u"センター"_qs, u"グループ"_qs, u"チーム"_qs, u"ユニット"_qs, u"オフィス"_qs};
    if (!isWideWord(QString(word).remove(QRegularExpression(QStringLiteral("[A-Za-z&]")))))
        return false;
    // A phrase with particles ("地域の未来を創るグループ") is a slogan; "お客様相談室" is a department.
    if (std::any_of(word.begin() + 1, word.end(), isHiragana))
        return false;
    for (const QString& unit : units) {
        if (word.endsWith(unit) && word.size() > unit.size())
            return word.size() >= 3 || titleFollows;
    }
    return false;
}

DepartmentAndTitle splitJapaneseDepartmentAndTitle(const QString& line)
{
    const QStringList words = QString(line).replace(QChar(0x3000), u' ').split(u' ', Qt::SkipEmptyParts);
    qsizetype units = 0;
    while (units < words.size() && isJapaneseDepartmentWord(words.at(units), units + 1 < words.size()))
        ++units;
    QStringList department = words.mid(0, units);
    QString title = words.mid(units).join(u' ');
    // "経営企画室室長": the longest head of the last word that is a unit, when a title follows it.
    if (!title.contains(u' ')) {
        for (qsizetype at = title.size() - 1; at > 0; --at) {
            if (isJapaneseDepartmentWord(title.left(at), true) && isJapaneseTitleWord(title.mid(at))) {
                department << title.left(at);
                title = title.mid(at);
                break;
            }
        }
    }
    return {department.join(u' '), title};
}

QString withLookalikeKanji(const QString& name)
{
    QString out = name;
    for (qsizetype i = 0; i < out.size(); ++i) {
        const QChar shaped = kanjiShapedLike(out.at(i));
        if (shaped.isNull())
            continue;
        const QChar before = i > 0 ? out.at(i - 1) : QChar(u' ');
        const QChar after = i + 1 < out.size() ? out.at(i + 1) : QChar(u' ');
        const bool alone = !isKatakana(before) && !isKatakana(after) && !isHiragana(before) && !isHiragana(after);
        if (alone && (isKanji(before) || isKanji(after)))
            out[i] = shaped;
    }
    return out;
}

bool readsAsFurigana(const QString& kana, const QString& dictionaryReading)
{
    const QString compact = QString(kana).replace(QChar(0x3000), u' ').trimmed();
    if (std::any_of(compact.begin(), compact.end(), isHiragana) || compact.contains(u' ') || dictionaryReading.isEmpty())
        return true;
    const QString reading = QString(dictionaryReading).remove(u' ');
    const qsizetype n = std::min<qsizetype>(2, std::min(reading.size(), compact.size()));
    return compact.left(n) == reading.left(n) || compact.right(n) == reading.right(n);
}

namespace {

// The letters of a romanised name as they are compared: lower case, long vowels short, the n
// before b, m and p as "n".
QString comparableRomanisation(QString latin)
{
    latin = latin.toLower();
    static const QRegularExpression longVowel(QStringLiteral("(?<=o)[uoh](?![aeiouy])|(?<=u)u|(?<=[aeiou])-"));
    static const QRegularExpression m(QStringLiteral("m(?=[bmp])"));
    return latin.remove(longVowel).replace(m, QStringLiteral("n"));
}

} // namespace

bool readsAsRomanised(const QString& katakana, const QString& latin)
{
    static const QString kana =
        u"アイウエオカキクケコサシスセソタチツテトナニヌネノハヒフヘホマミムメモヤユヨラリルレロワヲンガギグゲゴザジズゼゾダヂヅデドバビブベボパピプペポ"_qs;
    static const QStringList letters =
        QStringLiteral("a i u e o ka ki ku ke ko sa shi su se so ta chi tsu te to na ni nu ne no ha hi fu he ho ma mi mu me mo ya yu yo "
                       "ra ri ru re ro wa o n ga gi gu ge go za ji zu ze zo da ji zu de do ba bi bu be bo pa pi pu pe po")
            .split(u' ');
    static const QString small = u"ャュョ"_qs;
    static const QStringList smallLetters = {u"a"_qs, u"u"_qs, u"o"_qs};
    QString out;
    bool doubleNext = false;
    for (QChar c : katakana) {
        if (c == u'ッ') {
            doubleNext = true;
            continue;
        }
        if (const qsizetype s = small.indexOf(c); s >= 0 && out.endsWith(u'i')) {
            // "キョ" is "kyo", "ショ" is "sho".
            out.chop(1);
            out += (out.endsWith(u"sh") || out.endsWith(u"ch") || out.endsWith(u'j') ? QString() : u"y"_qs) + smallLetters.at(s);
            continue;
        }
        const qsizetype k = kana.indexOf(c);
        if (k < 0)
            continue; // "ー" and what has no letters
        const QString syllable = letters.at(k);
        out += (doubleNext ? syllable.left(1) : QString()) + syllable;
        doubleNext = false;
    }
    return !out.isEmpty() && comparableRomanisation(out) == comparableRomanisation(latin);
}
