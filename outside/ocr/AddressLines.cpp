#include "outside/ocr/AddressLines.h"

#include <QHash>
#include <QRegularExpression>

#include <algorithm>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

// The last Japanese postal code in a text, blanks dropped ("〒389-01 02", "81 2-001 1"), its
// separator read as a dot or a mark, its 〒 as a 7 or a 1; `start` receives where it begins.
QString lastPostalCode(const QString& text, qsizetype* start)
{
    static const QRegularExpression code(
        QStringLiteral(R"((?:^|[^0-9０-９])([71]?)([0-9０-９]{3})\s*[-－ー一‐−.・',]\s*([0-9０-９]{4})(?![0-9０-９]))"));
    static const QRegularExpression blankInDigits(QStringLiteral(R"((?<=[0-9０-９\-－])\s+(?=[0-9０-９\-－]))"));
    const QString compact = QString(text).replace(blankInDigits, QString());
    QRegularExpressionMatch m;
    for (auto it = code.globalMatch(compact); it.hasNext();)
        m = it.next();
    if (!m.hasMatch())
        return {};
    // Where the code starts in the text as given: the same count of non-blank characters in.
    qsizetype nonBlank = 0;
    for (qsizetype i = 0; i < m.capturedStart(1); ++i)
        nonBlank += compact.at(i).isSpace() ? 0 : 1;
    qsizetype at = 0;
    for (; at < text.size() && nonBlank > 0; ++at)
        nonBlank -= text.at(at).isSpace() ? 0 : 1;
    *start = at;
    return m.captured(2) + u'-' + m.captured(3);
}

bool isWideDigit(QChar c)
{
    return c >= u'０' && c <= u'９';
}

// Where the place ends in a text of the directory: after its prefecture, municipality or district.
bool endsPlacePart(QChar c)
{
    return QStringView(u"都道府県市区町村郡").contains(c);
}

qsizetype prefectureLength(const QString& place)
{
    if (place.startsWith(u"北海道"_s) || place.startsWith(u"東京都"_s))
        return 3;
    for (qsizetype i = 1; i < std::min<qsizetype>(place.size(), 4); ++i) {
        if (place.at(i) == u'府' || place.at(i) == u'県')
            return i + 1;
    }
    return 0;
}

// A kanji numeral and its digit are one: the directory writes "１条通" where cards print "一条通".
bool sameInPlace(QChar a, QChar b)
{
    static const QStringView numerals = u"一二三四五六七八九";
    const auto value = [](QChar c) { return c.isDigit() ? c.digitValue() : int(numerals.indexOf(c)) + 1; };
    return a == b || (value(a) > 0 && value(a) == value(b));
}

// How a place of the directory lies over the start of an address line: the characters of the
// line it puts right, and how many of its characters the line shows as they are.
struct PlaceMatch {
    QString line;
    qsizetype same = 0;
    int edits = 0;
    bool whole = false;
};

// The whole place over the start of the line character for character, where the vertical models
// misread a kanji or two of each name ("山山県尚山巾北区駅前町8-4", "広筐巾中区紙屋叩8-14"): each
// name of the place shows a character of its own, half the place reads as it is, its last name
// (the district) has one character misread at most, and block numbers or the line's end follow.
// A street or district the card prints in the place's stead never passes ("烏丸通5-28").
PlaceMatch matchWholePlaceMisread(const QString& line, const QString& place)
{
    const qsizetype n = place.size();
    static const QRegularExpression numbersAfter(QStringLiteral(R"(^(?:$|[\s0-9０-９〇一二三四五六七八九十]))"));
    if (n < 4 || line.size() < n || !numbersAfter.match(QStringView(line).mid(n)).hasMatch())
        return {line, 0, 0, false};
    QString fixed = line;
    qsizetype same = 0, partSame = 0, partEdits = 0;
    for (qsizetype i = 0; i < n; ++i) {
        if (sameInPlace(place.at(i), line.at(i))) {
            ++same;
            ++partSame;
        } else {
            if (line.at(i).unicode() < 0x3040 || !line.at(i).isLetter())
                return {line, 0, 0, false};
            fixed[i] = place.at(i);
            ++partEdits;
        }
        if (endsPlacePart(place.at(i)) || i == n - 1) {
            if (partSame == 0)
                return {line, 0, 0, false};
            if (i == n - 1 && partEdits > 1)
                return {line, 0, 0, false};
            partSame = partEdits = 0;
        }
    }
    if (same * 2 < n)
        return {line, 0, 0, false};
    return {fixed, same, int(n - same), true};
}

// The place aligned with the start of the line by the fewest edits; the longest part of the place
// that ends at its prefecture, municipality or district and has no more than one edit in four
// characters is taken, and only its misread characters (a kanji or kana for another, never two
// side by side) are replaced.
PlaceMatch matchPlace(const QString& line, const QString& place)
{
    const qsizetype n = place.size();
    const qsizetype m = std::min<qsizetype>(line.size(), n + n / 4 + 1);
    std::vector<std::vector<int>> cost(size_t(n + 1), std::vector<int>(size_t(m + 1)));
    for (qsizetype i = 0; i <= n; ++i)
        cost[size_t(i)][0] = int(i);
    for (qsizetype j = 0; j <= m; ++j)
        cost[0][size_t(j)] = int(j);
    for (qsizetype i = 1; i <= n; ++i) {
        for (qsizetype j = 1; j <= m; ++j) {
            const int same = sameInPlace(place.at(i - 1), line.at(j - 1)) ? 0 : 1;
            cost[size_t(i)][size_t(j)] = std::min(
                {cost[size_t(i - 1)][size_t(j - 1)] + same, cost[size_t(i - 1)][size_t(j)] + 1, cost[size_t(i)][size_t(j - 1)] + 1});
        }
    }
    PlaceMatch best{line, 0, 0, false};
    for (qsizetype k = n; k >= 4; --k) {
        if (k < n && !endsPlacePart(place.at(k - 1)))
            continue;
        qsizetype end = 0;
        for (qsizetype j = 1; j <= m; ++j) {
            if (cost[size_t(k)][size_t(j)] <= cost[size_t(k)][size_t(end)])
                end = j;
        }
        const int edits = cost[size_t(k)][size_t(end)];
        if (edits > k / 4 || place.at(0) != line.at(0))
            continue;
        // Back along the alignment: a character of the line against another of the place is replaced.
        QString fixed = line;
        bool misread = true;
        for (qsizetype i = k, j = end; misread && i > 0 && j > 0;) {
            const int here = cost[size_t(i)][size_t(j)];
            const bool same = sameInPlace(place.at(i - 1), line.at(j - 1));
            if (here == cost[size_t(i - 1)][size_t(j - 1)] + (same ? 0 : 1)) {
                const QChar read = line.at(j - 1);
                if (!same && read.unicode() >= 0x3040 && read.isLetter() && !read.isDigit()) {
                    // Two neighbours read otherwise are another name ("中柴町" for "野黒町"), not a misreading.
                    misread = j == line.size() || fixed.at(j) == line.at(j);
                    fixed[j - 1] = place.at(i - 1);
                }
                --i;
                --j;
            } else if (here == cost[size_t(i - 1)][size_t(j)] + 1) {
                // A letter of the whole place the engine lost between two it read ("北条西" for
                // "北七条西") is put back.
                if (k == n && edits == 1 && j < line.size() && place.at(i - 1).unicode() >= 0x3040)
                    fixed.insert(j, place.at(i - 1));
                --i;
            } else {
                --j;
            }
        }
        if (misread)
            return {fixed, k - edits, edits, k == n};
    }
    return matchWholePlaceMisread(line, place);
}

// The best match of any place of a code, with or without its prefecture (cards often leave it out).
PlaceMatch bestPlaceMatch(const QString& line, const QStringList& places)
{
    PlaceMatch best{line, 0, 0, false};
    for (const QString& place : places) {
        for (const QString& form : {place, place.mid(prefectureLength(place))}) {
            const PlaceMatch match = matchPlace(line, form);
            if (match.same > best.same || (match.same == best.same && match.edits < best.edits))
                best = match;
        }
    }
    return best;
}

} // namespace

JapaneseAddressStart findJapaneseAddress(const QString& line)
{
    // A prefecture and the municipality after it ("さいたま市" in kana, "四 日市市" with the blank the
    // engine put in), or a city, ward or county and its district up to the block numbers, its first
    // kanji maybe set apart after the postal code ("510-0086 四 日市市"); each begins a run of kanji or kana.
    static const QRegularExpression start(QStringLiteral(
        R"((?<![\p{Han}\p{Hiragana}\p{Katakana}])(?:(?:北海道|\p{Han}(?:\s?\p{Han}){1,2}\s?[都府県])\s?[\p{Han}\p{Hiragana}\p{Katakana}](?:\s?[\p{Han}\p{Hiragana}\p{Katakana}]){0,5}[市区町村郡]|(?:(?<=^|[0-9０-９]\s)\p{Han}\s)?[\p{Han}\p{Hiragana}\p{Katakana}]{1,5}[市区郡][\p{Han}\p{Katakana}\p{Hiragana}ー]*\s?[0-9０-９]))"));
    JapaneseAddressStart found;
    const auto m = start.match(line);
    if (!m.hasMatch())
        return found;
    found.at = m.capturedStart();
    const QString before = line.left(found.at).trimmed();
    qsizetype codeAt = before.size();
    found.postalCode = lastPostalCode(before, &codeAt);
    // The postal mark and what the engine made of it ("〒", "T", "+") go with the code.
    static const QRegularExpression mark(QStringLiteral(R"(\s*(?:(?:^|(?<=\s))T|[^\p{L}\p{N}\s])?\s*$)"));
    found.before = found.postalCode.isEmpty() ? before : before.left(codeAt).remove(mark).trimmed();
    // The blanks the engine puts between kanji ("福岡 県") go; a postal code read after the address
    // from its own line ("駅前2-1-1 + 812-0011") and a Latin scrap ending the line ("721-1 BH") are
    // no part of it.
    static const QRegularExpression blankInKanji(
        QStringLiteral(R"((?<=[\p{Han}\p{Hiragana}\p{Katakana}])\s+(?=[\p{Han}\p{Hiragana}\p{Katakana}]))"));
    static const QRegularExpression codeAfter(QStringLiteral(R"(\s+(?:[〒T+]\s*)?[71]?([0-9０-９]{3})[-－]([0-9０-９]{4})\s*$)"));
    static const QRegularExpression scrapAfter(QStringLiteral(R"((?<=[0-9０-９\p{Han}])\s+[A-Za-z]{1,3}$)"));
    found.address = line.mid(found.at).trimmed().remove(blankInKanji).remove(scrapAfter);
    if (const auto after = codeAfter.match(found.address); after.hasMatch()) {
        if (found.postalCode.isEmpty())
            found.postalCode = after.captured(1) + u'-' + after.captured(2);
        found.address.truncate(after.capturedStart());
    }
    return found;
}

JapaneseAddressPlace withPostalCodePlace(const QString& address, const QString& postalCode, const PlacesOfPostalCode& placesOf)
{
    JapaneseAddressPlace out{address, postalCode};
    QString digits;
    for (QChar c : postalCode) {
        if (c.isDigit())
            digits += QChar(u'0' + c.digitValue());
    }
    const qsizetype lineEnd = address.indexOf(u'\n');
    const QString line = address.left(lineEnd);
    if (digits.size() != 7 || line.isEmpty())
        return out;
    const PlaceMatch match = bestPlaceMatch(line, placesOf(digits));
    if (match.same == 0) {
        // A code of no place, or of a place the line does not start with, one digit misread: the
        // one other code whose place the line spells as it stands.
        QString found;
        int count = 0;
        for (qsizetype i = 0; i < 7 && count < 2; ++i) {
            for (char16_t d = u'0'; d <= u'9'; ++d) {
                QString other = digits;
                other[i] = QChar(d);
                if (other == digits)
                    continue;
                const PlaceMatch there = bestPlaceMatch(line, placesOf(other));
                if (there.whole && there.edits == 0) {
                    found = other;
                    ++count;
                }
            }
        }
        if (count == 1) {
            for (qsizetype i = 0, k = 0; i < out.postalCode.size() && k < 7; ++i) {
                if (out.postalCode.at(i).isDigit()) {
                    const QChar d = found.at(k++);
                    out.postalCode[i] = isWideDigit(out.postalCode.at(i)) ? QChar(d.unicode() + 0xFEE0) : d;
                }
            }
            return out;
        }
    }
    if (match.edits > 0)
        out.address = match.line + (lineEnd < 0 ? QString() : address.mid(lineEnd));
    return out;
}

QString postalCodeWithMarkMisread(const QString& number)
{
    // The mark may stand before it as well, read as a letter: "Q 7060-0807".
    static const QRegularExpression shape(QStringLiteral(R"(^(?:[^\s0-9]{1,2}\s+)?[71]([0-9]{3})[-－]([0-9]{4})$)"));
    const auto m = shape.match(number.trimmed());
    return m.hasMatch() ? m.captured(1) + u'-' + m.captured(2) : QString();
}

bool isLatinOrKatakanaBuildingLine(const QString& line)
{
    static const QRegularExpression shape(
        QStringLiteral(R"(^(?=.*[A-Za-z\p{Katakana}]{2})[A-Za-z\p{Katakana}ー・&'.\- ]+[A-Za-z0-9０-９\p{Katakana}]*?\s?)"
                       R"(([0-9０-９]{1,2}\s?([FＦ]|階)|[0-9０-９]{3,4}(号室)?|[0-9０-９]{1,2}号館)$)"));
    return shape.match(line.trimmed()).hasMatch();
}

QString withBuildingSpelledAsPlace(const QString& address)
{
    // Kanji the engine confuses for a stroke more or less.
    static const QHash<QChar, QChar> alike = {{u'鳥', u'烏'}, {u'烏', u'鳥'}, {u'土', u'士'}, {u'士', u'土'}, {u'末', u'未'},
                                              {u'未', u'末'}, {u'千', u'干'}, {u'干', u'千'}, {u'宮', u'室'}, {u'室', u'宮'}};
    QStringList lines = address.split(u'\n');
    for (qsizetype n = 1; n < lines.size(); ++n) {
        QString& line = lines[n];
        for (qsizetype i = 0; i < line.size(); ++i) {
            const auto other = alike.constFind(line.at(i));
            if (other == alike.constEnd())
                continue;
            QString fixed = line;
            fixed[i] = *other;
            const auto spelled = [&](qsizetype from) {
                return from >= 0 && from + 2 <= line.size() && lines.front().contains(fixed.mid(from, 2))
                    && !lines.front().contains(line.mid(from, 2));
            };
            if (spelled(i - 1) || spelled(i))
                line = fixed;
        }
    }
    // A floor's digit read as the letter of its shape ("銀座センタービルSF"): no building has a floor S.
    static const QRegularExpression floorS(QStringLiteral(R"((?<=[^\x{0}-\x{7f}])S(?=[FＦ]$))"));
    // "ピル" is a building (ビル) whose voicing mark the engine read as the round one; after 第 stands
    // a numeral, not the kana ニ or a dash ("第ニビル", "第-ビル").
    static const QRegularExpression numeralTwo(QStringLiteral("(?<=第)ニ"));
    static const QRegularExpression numeralOne(QStringLiteral("(?<=第)[-－ー‐―]"));
    // A numeral after 第 read again as its kana twin ("第二ニビル"); a kanji scrap between a room's
    // number and 号室, a mark inside a katakana name ("アー!バン"): no building is named so.
    static const QRegularExpression twinOfNumeral(QStringLiteral("(?<=第二)ニ|(?<=第一)[ー一]"));
    static const QRegularExpression scrapBeforeRoom(QStringLiteral(R"((?<=[0-9０-９])\p{Han}(?=号室$))"));
    // Nor one that starts with a scrap or two set apart by a wide blank ("べべ        出島ハーバービル12階").
    static const QRegularExpression scrapBeforeName(QStringLiteral(R"(^\S{1,2}\s{3,}(?=\S))"));
    static const QRegularExpression markInKatakana(QStringLiteral(R"((?<=\p{Katakana})[!|'"_](?=\p{Katakana}))"));
    // A building's line ends in its floor: a kanji after the floor's number other than a floor's,
    // room's, wing's or block's is 階 misread ("ビル25随", "ビル20隊").
    static const QRegularExpression floorMisread(QStringLiteral(R"((\p{Katakana}.*[^0-9０-９][0-9０-９]{1,3})[^\P{Han}階号館棟室番丁目区条]$)"));
    for (qsizetype n = 1; n < lines.size(); ++n)
        lines[n].replace(floorS, QStringLiteral("5")).replace(QStringLiteral("ピル"), QStringLiteral("ビル"))
            .replace(numeralTwo, QStringLiteral("二")).replace(numeralOne, QStringLiteral("一")).remove(twinOfNumeral)
            .remove(scrapBeforeRoom).remove(markInKatakana).remove(scrapBeforeName).replace(floorMisread, QStringLiteral("\\1階"));
    return lines.join(u'\n');
}

QString withTownLinePostcode(const QString& line)
{
    // A UK postcode: its digits read as I, O or S where the shape wants a digit (the 1 after the
    // area's letters also as ":" or "|"), a J as "]" or "}", its first S as "$", its second letter in
    // lower case; at least one digit read as one.
    static const QRegularExpression uk(
        QStringLiteral(R"((?<![\p{L}\p{N}$])([A-Z$][A-Za-z]?)([0-9IO:|])([A-Z0-9]?)\s([0-9IOS])([A-Z\]}][A-Z\]}])(?![\p{L}\p{N}]))"));
    // A US state after its town's comma, the ZIP code run into it or the state in small letters.
    static const QRegularExpression us(QStringLiteral(R"(,\s*([A-Z][A-Za-z])\s*([0-9]{5}(?:-[0-9]{4})?)\b)"));
    const auto digit = [](const QString& c) {
        return c == u"I"_s || c == u":"_s || c == u"|"_s ? u"1"_s : c == u"O"_s ? u"0"_s : c == u"S"_s ? u"5"_s : c;
    };
    QString out = line;
    // "S014 2AQ": an outward code of one letter and three digits has an O read as its first digit.
    static const QRegularExpression letterAsZero(
        QStringLiteral(R"((?<![\p{L}\p{N}$])([A-Z$])0([0-9]{2}\s[0-9][A-Z]{2})(?![\p{L}\p{N}]))"));
    out.replace(letterAsZero, QStringLiteral("\\1O\\2"));
    // A Brazilian CEP the engine read with a blank inside: "CEP 741 20-010".
    static const QRegularExpression cepBlank(QStringLiteral(R"((CEP:?\s*)([0-9]{1,4})\s([0-9]{1,4}-[0-9]{3})(?![0-9]))"));
    if (const auto m = cepBlank.match(out); m.hasMatch() && m.capturedLength(2) + m.capturedLength(3) == 9)
        out.replace(m.capturedStart(), m.capturedLength(), m.captured(1) + m.captured(2) + m.captured(3));
    // A postcode alone on its line may have lost its blank: "RG1IAZ".
    static const QRegularExpression ukAlone(
        QStringLiteral(R"(^\s*(?=\S*[0-9])([A-Z][A-Z]?[0-9IO][A-Z0-9]?)([0-9IOS][A-Z]{2})\s*$)"));
    if (const auto m = ukAlone.match(out); m.hasMatch() && !uk.match(out).hasMatch())
        out = m.captured(1) + u' ' + m.captured(2);
    if (const auto m = uk.match(out);
        m.hasMatch() && (m.captured(2).front().isDigit() || m.captured(3).front().isDigit() || m.captured(4).front().isDigit()))
        out.replace(m.capturedStart(), m.capturedLength(),
                    m.captured(1).toUpper().replace(u'$', u'S') + digit(m.captured(2)) + m.captured(3) + u' ' + digit(m.captured(4))
                        + QString(m.captured(5)).replace(u']', u'J').replace(u'}', u'J'));
    if (const auto m = us.match(out); m.hasMatch())
        out.replace(m.capturedStart(), m.capturedLength(), u", "_s + m.captured(1).toUpper() + u' ' + m.captured(2));
    return out;
}
