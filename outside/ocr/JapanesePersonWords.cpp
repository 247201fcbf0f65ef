#include "outside/ocr/JapanesePersonWords.h"

#include "outside/ocr/JapaneseLineText.h"

#include <QRegularExpression>
#include <QSet>
#include <QStringList>

#include <algorithm>
#include <bit>
#include <vector>

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

bool startsWithCommonSurname(const QString& name)
{
    // The family names most often met in Japan, as they are commonly written, written down by hand.
    static const QSet<QString> surnames = {
        u"南"_qs, u"原"_qs, u"堀"_qs, u"岡"_qs, u"岸"_qs, u"星"_qs, u"東"_qs, u"林"_qs, u"森"_qs, u"西"_qs, u"辻"_qs, u"関"_qs,
        u"三上"_qs, u"三宅"_qs, u"三浦"_qs, u"上田"_qs, u"上野"_qs, u"中井"_qs, u"中原"_qs, u"中尾"_qs, u"中山"_qs, u"中島"_qs, u"中嶋"_qs,
        u"中川"_qs, u"中本"_qs, u"中村"_qs, u"中田"_qs, u"中西"_qs, u"中谷"_qs, u"中野"_qs, u"丸山"_qs, u"久保"_qs, u"二宮"_qs, u"井上"_qs,
        u"今井"_qs, u"今村"_qs, u"今野"_qs, u"伊藤"_qs, u"佐藤"_qs, u"佐野"_qs, u"内山"_qs, u"内田"_qs, u"内藤"_qs, u"冨田"_qs, u"前川"_qs,
        u"前田"_qs, u"加藤"_qs, u"北川"_qs, u"北村"_qs, u"千田"_qs, u"千葉"_qs, u"原田"_qs, u"古川"_qs, u"吉岡"_qs, u"吉川"_qs, u"吉本"_qs,
        u"吉村"_qs, u"吉田"_qs, u"吉野"_qs, u"和田"_qs, u"土井"_qs, u"土屋"_qs, u"坂口"_qs, u"坂本"_qs, u"堀内"_qs, u"堀江"_qs, u"堀田"_qs,
        u"増田"_qs, u"大塚"_qs, u"大島"_qs, u"大川"_qs, u"大平"_qs, u"大森"_qs, u"大橋"_qs, u"大石"_qs, u"大竹"_qs, u"大西"_qs, u"大谷"_qs,
        u"大野"_qs, u"太田"_qs, u"奥村"_qs, u"奥田"_qs, u"宇野"_qs, u"安田"_qs, u"安藤"_qs, u"宮下"_qs, u"宮内"_qs, u"宮崎"_qs, u"宮本"_qs,
        u"宮田"_qs, u"富田"_qs, u"寺田"_qs, u"小倉"_qs, u"小山"_qs, u"小島"_qs, u"小川"_qs, u"小松"_qs, u"小林"_qs, u"小森"_qs, u"小池"_qs,
        u"小沢"_qs, u"小澤"_qs, u"小田"_qs, u"小西"_qs, u"小野"_qs, u"尾崎"_qs, u"山下"_qs, u"山中"_qs, u"山内"_qs, u"山口"_qs, u"山崎"_qs,
        u"山本"_qs, u"山根"_qs, u"山田"_qs, u"岡崎"_qs, u"岡本"_qs, u"岡田"_qs, u"岩井"_qs, u"岩崎"_qs, u"岩本"_qs, u"岩田"_qs, u"島田"_qs,
        u"川上"_qs, u"川口"_qs, u"川崎"_qs, u"川村"_qs, u"川端"_qs, u"工藤"_qs, u"市川"_qs, u"平井"_qs, u"平川"_qs, u"平田"_qs, u"平野"_qs,
        u"広瀬"_qs, u"後藤"_qs, u"徳永"_qs, u"成田"_qs, u"斉木"_qs, u"斉藤"_qs, u"斎藤"_qs, u"新井"_qs, u"新田"_qs, u"早川"_qs, u"星野"_qs,
        u"服部"_qs, u"望月"_qs, u"木下"_qs, u"木村"_qs, u"本田"_qs, u"本間"_qs, u"杉山"_qs, u"杉本"_qs, u"杉浦"_qs, u"村上"_qs, u"村井"_qs,
        u"村田"_qs, u"松下"_qs, u"松井"_qs, u"松原"_qs, u"松尾"_qs, u"松山"_qs, u"松岡"_qs, u"松本"_qs, u"松村"_qs, u"松永"_qs, u"松浦"_qs,
        u"松田"_qs, u"柴田"_qs, u"栗原"_qs, u"根本"_qs, u"桑原"_qs, u"桜井"_qs, u"梅田"_qs, u"森下"_qs, u"森本"_qs, u"森田"_qs, u"植田"_qs,
        u"榊原"_qs, u"樋口"_qs, u"横山"_qs, u"横田"_qs, u"橋本"_qs, u"武田"_qs, u"水谷"_qs, u"水野"_qs, u"永井"_qs, u"池田"_qs, u"河合"_qs,
        u"河野"_qs, u"津田"_qs, u"浅野"_qs, u"浜口"_qs, u"浜田"_qs, u"清水"_qs, u"渡辺"_qs, u"渡邊"_qs, u"渡部"_qs, u"熊谷"_qs, u"片山"_qs,
        u"片岡"_qs, u"田中"_qs, u"田代"_qs, u"田口"_qs, u"田村"_qs, u"田辺"_qs, u"白石"_qs, u"矢野"_qs, u"石井"_qs, u"石原"_qs, u"石川"_qs,
        u"石橋"_qs, u"石田"_qs, u"石黒"_qs, u"福井"_qs, u"福島"_qs, u"福本"_qs, u"福田"_qs, u"秋山"_qs, u"稲垣"_qs, u"竹中"_qs, u"竹内"_qs,
        u"竹田"_qs, u"篠原"_qs, u"米田"_qs, u"細川"_qs, u"荒井"_qs, u"荒木"_qs, u"菅原"_qs, u"菅野"_qs, u"菊地"_qs, u"菊池"_qs, u"藤井"_qs,
        u"藤原"_qs, u"藤川"_qs, u"藤本"_qs, u"藤田"_qs, u"西尾"_qs, u"西山"_qs, u"西岡"_qs, u"西川"_qs, u"西村"_qs, u"西田"_qs, u"谷口"_qs,
        u"近藤"_qs, u"遠藤"_qs, u"酒井"_qs, u"野口"_qs, u"野村"_qs, u"野田"_qs, u"金井"_qs, u"金子"_qs, u"鈴木"_qs, u"鎌田"_qs, u"長田"_qs,
        u"関口"_qs, u"阿部"_qs, u"青山"_qs, u"青木"_qs, u"須藤"_qs, u"飯田"_qs, u"馬場"_qs, u"高木"_qs, u"高橋"_qs, u"高田"_qs, u"高野"_qs,
        u"黒田"_qs, u"齋藤"_qs, u"久保田"_qs, u"五十嵐"_qs, u"佐々木"_qs, u"大久保"_qs, u"小野寺"_qs, u"長谷川"_qs};
    const QString compact = QString(name).remove(u' ').remove(QChar(0x3000));
    for (qsizetype length = 1; length <= 3 && length < compact.size(); ++length) {
        if (surnames.contains(compact.left(length)))
            return true;
    }
    return false;
}

namespace {

QString compactKatakana(const QString& text)
{
    QString out;
    for (QChar c : text) {
        if (c.isSpace() || c == QChar(0x3000))
            continue;
        out += isHiragana(c) && c.unicode() <= 0x3096 ? QChar(c.unicode() + 0x60) : c;
    }
    return out;
}

// The characters of `a` and `b` set side by side by the fewest edits: pairs of one character
// each, or of one and none where a character stands in one reading only.
std::vector<std::pair<QString, QString>> alignedCharacters(const QString& a, const QString& b)
{
    const qsizetype n = a.size(), m = b.size();
    std::vector<std::vector<int>> cost(size_t(n + 1), std::vector<int>(size_t(m + 1)));
    for (qsizetype i = 0; i <= n; ++i)
        for (qsizetype j = 0; j <= m; ++j)
            cost[size_t(i)][size_t(j)] = i == 0 ? int(j)
                : j == 0                       ? int(i)
                                               : std::min({cost[size_t(i - 1)][size_t(j)] + 1, cost[size_t(i)][size_t(j - 1)] + 1,
                                                           cost[size_t(i - 1)][size_t(j - 1)] + (a.at(i - 1) == b.at(j - 1) ? 0 : 1)});
    std::vector<std::pair<QString, QString>> pairs;
    for (qsizetype i = n, j = m; i > 0 || j > 0;) {
        if (i > 0 && j > 0 && cost[size_t(i)][size_t(j)] == cost[size_t(i - 1)][size_t(j - 1)] + (a.at(i - 1) == b.at(j - 1) ? 0 : 1)) {
            pairs.emplace_back(a.at(i - 1), b.at(j - 1));
            --i, --j;
        } else if (i > 0 && cost[size_t(i)][size_t(j)] == cost[size_t(i - 1)][size_t(j)] + 1) {
            pairs.emplace_back(a.at(--i), QString());
        } else {
            pairs.emplace_back(QString(), b.at(--j));
        }
    }
    std::reverse(pairs.begin(), pairs.end());
    return pairs;
}

} // namespace

QString betterSupportedName(const QString& name, const QString& other, const QString& furigana,
                            const std::function<bool(const QString&)>& isKnownName,
                            const std::function<QString(const QString&)>& readingOf)
{
    // Each place the readings differ at doubles the names tried: a few places only.
    constexpr int kMostDifferences = 4;
    const QString printed = compactKatakana(furigana);
    const auto support = [&](const QString& candidate) {
        if (candidate.size() < 2)
            return 0;
        const bool readsAsPrinted = !printed.isEmpty() && readingOf && compactKatakana(readingOf(candidate)) == printed;
        return (readsAsPrinted ? 4 : 0) + (isKnownName && isKnownName(candidate) ? 2 : 0) + (startsWithCommonSurname(candidate) ? 1 : 0);
    };
    const QString compact = compactKatakana(name);
    const std::vector<std::pair<QString, QString>> pairs = alignedCharacters(compact, compactKatakana(other));
    std::vector<size_t> differing;
    for (size_t i = 0; i < pairs.size(); ++i) {
        if (pairs[i].first != pairs[i].second)
            differing.push_back(i);
    }
    if (differing.empty() || differing.size() > kMostDifferences)
        return {};
    // The fewest characters taken from the other reading, of the names best supported.
    QString best;
    int bestSupport = support(compact);
    for (int taken = 1; taken <= int(differing.size()); ++taken) {
        for (unsigned mask = 1; mask < (1u << differing.size()); ++mask) {
            if (std::popcount(mask) != taken)
                continue;
            QString candidate;
            for (size_t i = 0, d = 0; i < pairs.size(); ++i) {
                const bool differs = d < differing.size() && differing[d] == i;
                candidate += differs && (mask >> d) & 1u ? pairs[i].second : pairs[i].first;
                d += differs ? 1 : 0;
            }
            if (const int s = support(candidate); s > bestSupport)
                best = candidate, bestSupport = s;
        }
    }
    return best;
}

QString mendedNameReading(const QString& printed, const QString& dictionaryReading)
{
    const QString read = compactKatakana(printed);
    const QString known = compactKatakana(dictionaryReading);
    if (known.isEmpty() || read == known)
        return printed;
    const auto isWithin = [](const QString& few, const QString& many) {
        qsizetype at = 0;
        for (QChar c : many) {
            if (at < few.size() && c == few.at(at))
                ++at;
        }
        return at == few.size();
    };
    // Kana read twice or more, up to half as many again as there are; one kana lost of three or more; the
    // family name's reading alone, the given name's in a column the engine never found.
    const qsizetype extra = read.size() - known.size();
    const bool mended = (extra >= 1 && extra <= std::max<qsizetype>(2, (known.size() + 1) / 2) && isWithin(known, read))
        || (extra == -1 && read.size() >= 3 && isWithin(read, known))
        || (dictionaryReading.contains(u' ') && read == compactKatakana(dictionaryReading.section(u' ', 0, 0)));
    if (!mended)
        return printed;
    if (std::count_if(printed.begin(), printed.end(), isHiragana) <= std::count_if(printed.begin(), printed.end(), isKatakana))
        return dictionaryReading;
    QString hiragana = dictionaryReading;
    for (QChar& c : hiragana) {
        if (c.unicode() >= 0x30A1 && c.unicode() <= 0x30F6)
            c = QChar(c.unicode() - 0x60);
    }
    return hiragana;
}

QString withCommonKanjiForms(const QString& name, const QString& other)
{
    // Old forms of kanji common in names, and the forms used today.
    static const QString older = u"齋齊邊邉澤濱髙﨑廣櫻國藏眞惠榮德實壽關"_qs;
    static const QString today = u"斎斉辺辺沢浜高崎広桜国蔵真恵栄徳実寿関"_qs;
    const QString bare = QString(other).remove(u' ').remove(QChar(0x3000));
    QString out = name;
    for (qsizetype i = 0, at = 0; i < out.size(); ++i) {
        if (out.at(i) == u' ' || out.at(i) == QChar(0x3000))
            continue;
        if (const qsizetype k = older.indexOf(out.at(i)); k >= 0 && at < bare.size() && bare.at(at) == today.at(k))
            out[i] = today.at(k);
        ++at;
    }
    return QString(out).remove(u' ').remove(QChar(0x3000)).size() == bare.size() ? out : name;
}

bool namesAJapaneseRole(const QString& line)
{
    const DepartmentAndTitle split = splitJapaneseDepartmentAndTitle(line);
    const QStringList titles = split.title.split(u' ', Qt::SkipEmptyParts);
    return titles.isEmpty() ? !split.department.isEmpty() : std::all_of(titles.begin(), titles.end(), isJapaneseTitleWord);
}

QString roleWithWeighedCharacter(const QString& text, const std::vector<std::vector<QString>>& choices,
                                 const std::function<long(const QString&)>& cost)
{
    // A misread kanji costs the analyser an unknown word or a run of one-character words: some
    // two thousand; another well-formed word costs it far less than that more.
    constexpr long kFarMoreWords = 1500;
    QString bare = text;
    bare.remove(u' ').remove(QChar(0x3000));
    if (bare.size() < 2 || choices.size() != size_t(bare.size()) || !cost)
        return text;
    const long asRead = cost(bare);
    if (asRead < 0)
        return text;
    static const QRegularExpression kanji(QStringLiteral("^[\\x{4E00}-\\x{9FFF}]$"));
    qsizetype bestAt = -1;
    QChar bestChoice;
    long best = asRead - kFarMoreWords;
    for (size_t i = 0; i < choices.size(); ++i) {
        for (const QString& choice : choices[i]) {
            if (choice == bare.at(qsizetype(i)) || !kanji.match(choice).hasMatch())
                continue;
            QString candidate = bare;
            candidate[qsizetype(i)] = choice.at(0);
            // Still a role: a unit or rank word read right is no other word ("技術部", not "技術語").
            if (const long c = cost(candidate); c >= 0 && c < best && namesAJapaneseRole(candidate))
                best = c, bestAt = qsizetype(i), bestChoice = choice.at(0);
        }
    }
    if (bestAt < 0)
        return text;
    // The blanks stay where they were.
    QString out = text;
    for (qsizetype i = 0, at = 0; i < out.size(); ++i) {
        if (out.at(i) == u' ' || out.at(i) == QChar(0x3000))
            continue;
        if (at++ == bestAt) {
            out[i] = bestChoice;
            break;
        }
    }
    return out;
}
