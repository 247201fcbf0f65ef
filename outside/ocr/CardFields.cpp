#include "outside/ocr/CardFields.h"

#include "outside/ocr/AddressLines.h"
#include "outside/ocr/JapaneseNameCorrection.h"
#include "outside/ocr/JapanesePersonWords.h"
#include "outside/ocr/JobTitleWords.h"
#include "outside/ocr/LatinAddressLines.h"
#include "outside/ocr/LatinNameShape.h"
#include "outside/ocr/NumberLabels.h"
#include "outside/ocr/RomanisedJapaneseAddress.h"
#include "outside/ocr/SocialAddresses.h"
#include "outside/ocr/SpacedDashes.h"
#include "outside/ocr/TitleLines.h"
#include "platform/events/OcrProtocol.h"

#include <QRegularExpression>
#include <QStringList>

#include <algorithm>
#include <deque>

using namespace Qt::StringLiterals;

namespace {

// Slot groups: first slot and number of fields.
struct Group {
    int first;
    int count;
};
constexpr Group kName{0, 5};
constexpr Group kTitle{10, 3};
constexpr Group kTelephone{13, 3};
constexpr Group kFax{16, 3};
constexpr Group kPostal{19, 2};
constexpr Group kAddress{21, 1}; // slot 22 would replace the address: it is left empty
constexpr Group kEmail{23, 3};
constexpr Group kWeb{27, 3};
constexpr Group kMobile{31, 2};
constexpr Group kCompany{35, 1};
constexpr Group kDepartment{37, 1};

bool isWide(QChar c)
{
    const ushort u = c.unicode();
    return (u >= 0x3000 && u <= 0x9FFF) || (u >= 0xF900 && u <= 0xFAFF) || (u >= 0xFF00 && u <= 0xFFEF)
        || c.isSurrogate();
}

bool put(ResultSlots& fields, Group group, const QString& text, const RecognizedLine& box)
{
    for (int i = group.first; i < group.first + group.count; ++i) {
        if (!fields[size_t(i)].filled) {
            fields[size_t(i)] = {text, box.left, box.top, box.right, box.bottom, true};
            return true;
        }
    }
    return false;
}

void extend(SlotFill& slot, const QString& text, const RecognizedLine& box, QChar separator)
{
    slot.text += separator + text;
    slot.left = std::min(slot.left, box.left);
    slot.top = std::min(slot.top, box.top);
    slot.right = std::max(slot.right, box.right);
    slot.bottom = std::max(slot.bottom, box.bottom);
}

const QRegularExpression& emailPattern()
{
    // Latin letters with accents and "ß" are an address's too ("strauß@…", "@müller-bau.de").
    static const QRegularExpression re(QStringLiteral(
        R"([A-Za-z0-9._%+\-\x{00C0}-\x{00D6}\x{00D8}-\x{00F6}\x{00F8}-\x{024F}]+@[A-Za-z0-9\-\x{00C0}-\x{00D6}\x{00D8}-\x{00F6}\x{00F8}-\x{024F}]+(?:\.[A-Za-z0-9\-]+)+)"));
    return re;
}

// A web address; a domain's ending alone ("com.tw" of an e-mail address broken apart) is none, nor
// is the tail of a word ("-fiscal-montana.es" of an e-mail address whose "@" was misread).
const QRegularExpression& webPattern()
{
    static const QRegularExpression re(
        QStringLiteral(R"((?:https?://|www\.)[^\s]+|(?<![\w@\-])(?!(?:com|co|net|org|ac|gov|edu|ne|or|go)\.[a-z]{2}(?![\w.\-]))[A-Za-z0-9][A-Za-z0-9\-]*(?:\.[A-Za-z0-9\-]+)*\.(?:com|net|org|jp|co\.jp|io|de|fr|uk|eu|us|ca|ch|at|nl|info|biz|co|ai|app|dev|tech|au|br|es|it|pt|be|mx|ar|cl|nz|kr|cn|tw|hk|ru|se|dk|fi|pl|ie|za|sg|lu|cz|gr|cat|online|studio|agency|design|global|solutions)(?:/[^\s]*)?\b)"),
        QRegularExpression::CaseInsensitiveOption);
    return re;
}

int digitCount(const QString& text)
{
    return int(std::count_if(text.begin(), text.end(), [](QChar c) { return c.isDigit(); }));
}

// What the engine makes of large Japanese type read into another column's line: Japanese and
// Latin letters mixed ("日 下部 Wal AK").
bool isMixedScrap(const QString& text)
{
    return std::any_of(text.begin(), text.end(), isWide)
        && std::any_of(text.begin(), text.end(), [](QChar c) { return c.isLetter() && c.unicode() < 0x80; });
}

// The Japanese words a text starts with: "日 下部" of "日 下部 Wal AK".
QString leadingJapanese(const QString& text)
{
    QStringList words;
    for (const QString& word : text.split(u' ', Qt::SkipEmptyParts)) {
        if (!std::all_of(word.begin(), word.end(), isWide))
            break;
        words << word;
    }
    return words.join(u' ');
}

// Letters other than the long vowel mark, which the engine also makes of a rule ("ーー").
int letterCount(const QString& text)
{
    return int(std::count_if(text.begin(), text.end(), [](QChar c) { return c.isLetter() && c != u'ー'; }));
}

// "URL.www.x.jp", "Awww.x.jp", "https:/Awww.x.jp": what the engine makes of a label or of "//"
// before "www." goes.
QString webAddress(const QString& found)
{
    static const QRegularExpression beforeWww(QStringLiteral(R"(^(https?:/*)?([^/]*?)(?=www\.))"), QRegularExpression::CaseInsensitiveOption);
    const auto m = beforeWww.match(found);
    if (!m.hasMatch() || (m.capturedLength(2) == 0 && (m.capturedLength(1) == 0 || m.captured(1).endsWith(QStringLiteral("//")))))
        return found;
    const QString scheme = m.captured(1).isEmpty() ? QString() : m.captured(1).section(u':', 0, 0) + QStringLiteral("://");
    return scheme + found.mid(m.capturedEnd());
}

// A number that no label names, kept until the card's country tells a mobile by its form.
struct UnnamedNumber {
    const RecognizedLine* line;
    NumberOnLine number;
};

// What the card's numbers show as a whole: the country whose numbering they follow, whether a
// label names a mobile, and whether a number without a label has a mobile's form.
struct CardNumbering {
    QString country;
    bool mobileNamed = false;
    bool unnamedMobile = false;

    explicit CardNumbering(const std::vector<RecognizedLine>& lines)
    {
        QStringList texts;
        for (const RecognizedLine& l : lines)
            texts << l.text;
        country = numberingCountryOf(texts);
        for (const QString& text : texts) {
            for (const NumberOnLine& read : numbersOfLine(text)) {
                const NumberOnLine n = mendedForCountry(read, country);
                mobileNamed |= n.kind == NumberKind::Mobile;
                unnamedMobile |= n.kind == NumberKind::Unknown && n.bare && hasMobileForm(n.digits, country);
            }
        }
    }

    // A letter before a number may be an icon misread ("D" for a handset, "M" for an office
    // telephone's): where the number's form says otherwise, and the card names no mobile or has
    // another number of a mobile's form, the form decides.
    NumberKind kindOf(const NumberOnLine& n) const
    {
        if (!n.letter)
            return n.kind;
        const bool mobile = hasMobileForm(n.digits, country);
        if (n.kind == NumberKind::Telephone && mobile && !mobileNamed)
            return NumberKind::Mobile;
        if (n.kind == NumberKind::Mobile && !mobile && unnamedMobile)
            return NumberKind::Unknown;
        return n.kind;
    }
};

// "TEL 03-1234-5678 FAX 03-1234-5679", "T +44 20 7946 0123 | F +44 20 7946 0124": every labelled
// number of the line goes to its field; one without a label (or behind an icon read as a mark) that
// stands alone waits in `unnamed`. False when the line holds none. `before` receives the text
// before the first number's label, `after` the text after the last number.
bool takeNumbers(ResultSlots& fields, const QString& text, const RecognizedLine& box, const CardNumbering& numbering, QString* before,
                 QString* after, std::vector<UnnamedNumber>* unnamed)
{
    const std::vector<NumberOnLine> numbers = numbersOfLine(text);
    if (numbers.empty())
        return false;
    *before = text.left(numbers.front().labelAt).trimmed();
    *after = text.mid(numbers.back().end).trimmed();
    bool any = false;
    for (size_t i = 0; i < numbers.size(); ++i) {
        NumberOnLine n = mendedForCountry(numbers[i], numbering.country);
        n.kind = numbering.kindOf(n);
        n.bare |= n.letter && n.kind == NumberKind::Unknown;
        switch (n.kind) {
        case NumberKind::Telephone: any = put(fields, kTelephone, n.number, box) || any; break;
        case NumberKind::Fax: any = put(fields, kFax, n.number, box) || any; break;
        case NumberKind::Mobile: any = put(fields, kMobile, n.number, box) || any; break;
        case NumberKind::TelephoneAndFax:
            any = put(fields, kTelephone, n.number, box) || any;
            any = put(fields, kFax, n.number, box) || any;
            break;
        case NumberKind::Unknown: {
            const qsizetype to = i + 1 < numbers.size() ? numbers[i + 1].labelAt : text.size();
            static const QRegularExpression marks(QStringLiteral(R"(^[^\p{L}\p{N}]{0,2}$)"));
            if (n.bare && marks.match(text.mid(n.end, to - n.end).trimmed()).hasMatch()) {
                unnamed->push_back({&box, n});
                any = true;
            }
            break;
        }
        }
    }
    return any;
}

// Whether a number is of the same exchange as the telephone number: the same digits but for the
// last four ("069 719 4079" and "069 719 4047"), compared from the end so that a country code or
// trunk zero before one of them does not count.
bool ofOneExchange(const QString& telephone, const QString& digits)
{
    const std::vector<NumberOnLine> numbers = numbersOfLine(telephone);
    if (numbers.empty())
        return false;
    const QString& other = numbers.front().digits;
    const qsizetype compared = std::min(other.size(), digits.size()) - 1;
    return compared >= 7 && other.right(compared).left(compared - 4) == digits.right(compared).left(compared - 4);
}

// A line that holds a number and nothing else but marks: one of a column beside its labels.
bool isOnlyANumber(const QString& text)
{
    const std::vector<NumberOnLine> numbers = numbersOfLine(text);
    return numbers.size() == 1 && numbers.front().kind == NumberKind::Unknown && numbers.front().bare
        && text.mid(numbers.front().end).trimmed().size() <= 2;
}

bool containsAny(const QString& text, std::initializer_list<const char16_t*> words)
{
    for (const char16_t* w : words) {
        if (text.contains(QString::fromUtf16(w)))
            return true;
    }
    return false;
}

// One pattern matching any of `words` as a whole word, case-insensitively.
QRegularExpression wordPattern(std::initializer_list<const char16_t*> words)
{
    QStringList escaped;
    for (const char16_t* w : words)
        escaped << QRegularExpression::escape(QString::fromUtf16(w));
    // A digit next to a word makes it part of a code: "B3 3AG" holds no "AG".
    return QRegularExpression(QStringLiteral("(^|[^\\p{L}\\p{N}])(") + escaped.join(u'|') + QStringLiteral(")($|[^\\p{L}\\p{N}])"),
                              QRegularExpression::CaseInsensitiveOption);
}

bool isJapanese(const QString& t);

bool isCompany(const QString& t)
{
    static const QRegularExpression western = wordPattern(
        {u"Inc", u"Inc.",   u"Corp", u"Corp.",   u"Corporation", u"Co.",    u"Ltd", u"Ltd.", u"LLC",      u"LLP",    u"GmbH", u"AG",
         u"KG",  u"PLC",    u"S.A.", u"Company", u"Limited",     u"e.K.",   u"mbH", u"UG",   u"SE",       u"S.p.A.", u"SpA",  u"S.r.l.",
         u"Srl", u"S.R.L.", u"S.L.", u"S.L.U.",  u"S.A.U.",      u"S.A.S.", u"SAS", u"SARL", u"S.à r.l.", u"EURL",   u"SNC",  u"S.N.C.",
         u"Lda", u"Lda.",   u"Ltda", u"Ltda.", u"Eireli",   u"B.V.",        u"N.V.",   u"A/S", u"ApS",  u"S.Coop.",
         u"S.L.L.", u"S.L.N.E.", u"SASU", u"S.A.S.U.", u"SCOP", u"SPRL", u"OHG", u"GbR", u"KGaA", u"gGmbH", u"e.V.", u"Unipessoal", u"Pty"});
    // Offices, practices and clinics carry no legal form but end in what they are.
    static const QRegularExpression japaneseOffice(
        QStringLiteral("(事務所|クリニック|病院|医院|診療所|眼科|歯科|内科|外科|皮膚科|研究所|協会|組合|商店|工務店|法人)$"));
    // A partnership names its partners after the founder's name: "Müller und Partner", "Brandt &
    // Söhne", "Bianchi & Associati"; "Founder & Partner" is a title.
    static const QRegularExpression partnership(
        QStringLiteral(R"(^(.*\p{L}.*?)\s*(?:&|\+|\b(?:und|and|e|et|y)\b)\s*(?:Partner|Partners|Partnerinnen|Söhne|Sohn|Sons|Töchter|Associates|)"
                       R"(Associati|Associés|Associées|Asociados|Associados|Cie\.?|Co\.?)$)"),
        QRegularExpression::CaseInsensitiveOption);
    const auto partners = partnership.match(t);
    return containsAny(t, {u"株式会社", u"有限会社", u"合同会社", u"合資会社", u"合名会社", u"(株)", u"（株）", u"㈱", u"(有)", u"㈲"})
        || western.match(t).hasMatch() || (isJapanese(t) && japaneseOffice.match(QString(t).remove(u' ')).hasMatch())
        || (partners.hasMatch() && digitCount(t) == 0 && !namesAJobTitle(partners.captured(1)));
}

bool hasKana(const QString& t)
{
    return std::any_of(t.begin(), t.end(), [](QChar c) { return c.unicode() >= 0x3041 && c.unicode() <= 0x30FF; });
}

bool isTitle(const QString& t)
{
    if (isJapanese(t)) {
        // "代表取締役 社長", "営業部 部長": after any department words, a title ends in a rank word.
        const QString title = splitJapaneseDepartmentAndTitle(t).title;
        if (!title.isEmpty() && digitCount(title) == 0 && isJapaneseTitleWord(title.split(u' ').last()))
            return true;
        // A Chinese title ("销售经理"); the Latin words of a Japanese line are no title of it.
        return !hasKana(t) && namesAJobTitle(t);
    }
    return namesAJobTitle(t);
}

bool isDepartment(const QString& t)
{
    if (namesADepartment(t))
        return true;
    const QStringList words = t.split(u' ', Qt::SkipEmptyParts);
    return std::any_of(words.begin(), words.end(), [](const QString& w) { return isJapaneseDepartmentWord(w, false); })
        && !t.contains(QRegularExpression(QStringLiteral("[0-9０-９]")));
}

// "Responsable marketing,": a comma a title's or a department's line ends in belongs to neither.
QString withoutTrailingComma(const QString& t)
{
    static const QRegularExpression trailing(QStringLiteral(R"(\s*[,;:]+$)"));
    return QString(t).remove(trailing);
}

// "営業部部長", "営業部 部長", "Sales | Key Account Manager", "Head of Sales, Marketing Department":
// the department and the title of one line; either may come out empty.
std::pair<QString, QString> splitDepartmentAndTitle(const QString& t)
{
    static const QRegularExpression separators(QStringLiteral(R"(\s*[|,/·•–—]\s*|\s+-\s+)"));
    const QStringList parts = t.split(separators, Qt::SkipEmptyParts);
    if (parts.size() > 1) {
        QStringList department, title;
        for (const QString& part : parts)
            (isTitle(part)
                     && !(departmentWords().match(foldedForWords(part)).hasMatch()
                          && !jobTitleWords().match(foldedForWords(part)).hasMatch())
                 ? title
                 : department)
                << part;
        if (!department.isEmpty() && !title.isEmpty())
            return {department.join(QStringLiteral(", ")), title.join(QStringLiteral(", "))};
        // "Administrativa – Administración": beside a department, a part no list knows is the title.
        const auto listed = [](const QString& part) { return isDepartment(part) || isTitle(part); };
        if (parts.size() == 2 && listed(parts.at(0)) != listed(parts.at(1)) && digitCount(t) == 0) {
            const qsizetype known = listed(parts.at(0)) ? 0 : 1;
            if (isDepartment(parts.at(known)) && !isTitle(parts.at(known)))
                return {parts.at(known), withoutTrailingComma(parts.at(1 - known))};
        }
    }
    if (isJapanese(t)) {
        const DepartmentAndTitle split = splitJapaneseDepartmentAndTitle(t);
        return {split.department, split.title};
    }
    return {QString(), withoutTrailingComma(t)};
}

const QRegularExpression& japanesePostal()
{
    // With the mark (which the models read as "T" or as a "7" before the code), or at the start of a line.
    static const QRegularExpression re(
        QStringLiteral(R"((?:[〒T]\s*|^7?)([0-9０-９]{3})\s*[-－ー‐−]\s*([0-9０-９]{4})(?![0-9０-９\-－]))"));
    return re;
}

const QRegularExpression& westernPostal()
{
    static const QRegularExpression re(QStringLiteral(
        R"(\b([A-Z]{1,2}[0-9][A-Z0-9]?\s?[0-9][A-Z]{2})\b|\b[A-Z]{2}\s+([0-9]{5}(?:-[0-9]{4})?)\b|(?:^|\s|D-)([0-9]{5})\s+\p{Lu}\p{Ll})"));
    return re;
}

QString westernPostalCode(const QString& t)
{
    const QString code = latinPostcodeOf(withTownLinePostcode(t));
    return code.isEmpty() ? romanisedJapanesePostcodeOf(t) : code;
}

bool isJapanese(const QString& t)
{
    return std::any_of(t.begin(), t.end(), isWide);
}

// A street word of a western address: "Lane", "Suite", "Leopoldstraße".
const QRegularExpression& westernStreet()
{
    static const QRegularExpression western(QStringLiteral(
        R"(\b(Street|St\.?|Avenue|Ave\.?|Road|Rd\.?|Boulevard|Blvd\.?|Lane|Suite|Floor|Drive|Dr\.|Way|Square|Plaza|Place|Court|Row|Hill|Park|Gardens|Close|Terrace|Parkway|Highway|Building|House|Unit)\b|\p{L}*(straße|strasse|str\.|weg|platz|allee|ring|gasse|damm|ufer|chaussee|kai)(?=[\s,]|$))"),
        QRegularExpression::CaseInsensitiveOption);
    return western;
}

// A pin or a house drawn before an address and read as a character or two: "9 696 Congress
// Avenue", "q Prinzipalmarkt 109", "0 Königstraße 20", "(7) Avenida …", "C9] Avenida …", "QO Travessa …",
// "9 Estr. do Coco", "9 Av. Tancredo Neves, 118", "9 Kaiser-Joseph-Straße 144"; the house number before a numbered street stays
// ("2 17th Street").
QString withoutLeadingIcon(const QString& address)
{
    static const QRegularExpression iconRead(QStringLiteral(
        R"(^(?:[(\[{]?\S{1,2}[)\]}]|\S?[^\s\p{L}\p{N},.'’/\-]\S?|[^\s\p{N}]|[0-9](?=\s+[0-9]+(?![0-9]|st\b|nd\b|rd\b|th\b))|)"
        R"([0-9](?=\s+(?:Suite|Ste|Unit|Level|Floor|Apt|PO Box|P\.O\.)\b)|[0-9A-Z]{1,2}(?=\s+(?:(?:Via|Viale|Piazza|Corso|Calle|Avenida|Avda|)"
        R"(Rua|Plaza|Paseo|Praça|Largo|Strada|Travessa|Alameda|Estrada|Rambla|Ronda|Carrer|Passeig|Camino|\p{L}+(?:straße|strasse|str\.|)"
        R"(weg|platz|allee|gasse|ring|damm|ufer|markt|kai|straat|laan|gracht|plein))\b|(?:Avda|Av|R|Al|Rod|Estr|Tv|Trav)\.))|)"
        R"([0-9A-Z]{1,2}(?=\s+(?:[\p{L}\-]+\s+)?[\p{L}\-]*(?i:straße|strasse|weg|platz|allee|gasse|ring|damm)\s+[0-9]{1,4}[a-z]?(?:[,\s]|$)))\s+)"));
    return QString(address).remove(iconRead);
}

// A street line holds its number ("Care close to home" is a slogan).
bool isWesternStreet(const QString& t)
{
    return (westernStreet().match(t).hasMatch() && digitCount(t) > 0) || isLatinStreetLine(t);
}

bool isAddress(const QString& t)
{
    static const QRegularExpression japanese(QStringLiteral("^(.{2,3}[都道府県]|.{1,6}[市区町村郡]).*([0-9０-９]|丁目|番地|番町)"));
    return japanese.match(t).hasMatch() || isWesternStreet(t) || isRomanisedJapaneseStreetLine(t) || !westernPostalCode(t).isEmpty();
}

// A line that goes on an address: a building, a floor, a country.
bool continuesAddress(const QString& t)
{
    static const QRegularExpression japanese(QStringLiteral(R"(ビル|階|[0-9０-９]+F$|タワー|ビルディング|[0-9０-９]+\s?号[室館]$)"),
                                             QRegularExpression::CaseInsensitiveOption);
    return japanese.match(t).hasMatch() || continuesLatinAddress(t);
}

// A line set just below another on the same left edge, right edge or centre: the next line of an
// address even where two columns interleave the engine's lines.
bool setBelow(const RecognizedLine& a, const RecognizedLine& b)
{
    const int h = std::max(1, a.bottom - a.top);
    const bool aligned = std::abs(a.left - b.left) < 2 * h || std::abs(a.right - b.right) < 2 * h
        || std::abs((a.left + a.right) - (b.left + b.right)) < 4 * h || (b.left >= a.left - h && b.right <= a.right + h);
    return b.top > a.top + h / 2 && b.top - a.bottom < 3 * h / 2 && aligned;
}

// The next line of an address: the line read just after it, or one set just below it.
bool goesOnBelow(const std::vector<RecognizedLine>& lines, int last, size_t index)
{
    if (last < 0)
        return false;
    // The line read next goes on below it, on its row to the right ("12 E 49th Street, #1100,"
    // "New York, NY 10017") or anywhere in a box of two rows the engine merged; a piece it read
    // again within the line ("番町1-23" over its address) does not.
    RecognizedLine above = lines[size_t(last)];
    const RecognizedLine& next = lines[index];
    const int h = above.bottom - above.top;
    const bool placed = next.top > above.top + h / 2 || next.left > above.right || h > 2 * (next.bottom - next.top);
    // A pin drawn before the line and read as a piece of its own ("9", "©") is where the line starts.
    for (const RecognizedLine& pin : lines) {
        const int overlap = std::min(pin.bottom, above.bottom) - std::max(pin.top, above.top);
        if (pin.text.trimmed().size() <= 2 && pin.right < above.left && above.left - pin.right < h && 2 * overlap > h)
            above.left = pin.left;
    }
    return (last == int(index) - 1 && placed) || setBelow(above, next);
}

// "Manchester M2 4LQ) NORTHWIND ANALYTICS": what follows a UK or US postcode, but for the country,
// was read into the town line from another column. The end of the town line, else the text's size.
qsizetype townLineEnd(const QString& t)
{
    const auto m = westernPostal().match(t);
    if (!m.hasMatch() || (m.captured(1).isEmpty() && m.captured(2).isEmpty()))
        return t.size();
    const qsizetype end = m.capturedEnd(m.captured(1).isEmpty() ? 2 : 1);
    static const QRegularExpression marks(QStringLiteral(R"(^[^\p{L}\p{N}]+)"));
    const QString after = t.mid(end).remove(marks);
    // "CS 40258, 87000 Limoges": a French post box is no US state and ZIP code.
    return letterCount(after) < 2 || continuesAddress(after) || latinPostcodeOf(t.left(end)).isEmpty() ? t.size() : end;
}

// Block numbers set apart at the end of the address's row: "東大通" … "2-4-10".
bool continuesOnRow(const RecognizedLine& address, const RecognizedLine& next, const QString& text)
{
    static const QRegularExpression numbers(QStringLiteral(R"(^[0-9０-９][0-9０-９\-－ー一‐−]*(\s|$))"));
    const int overlap = std::min(address.bottom, next.bottom) - std::max(address.top, next.top);
    // A Latin address's number set apart stands close to its street; a digit far off on the row
    // ("40 Union Street," … "1") is a speck or an icon of the column beside it.
    const int h = address.bottom - address.top + 1;
    const bool near = isJapanese(address.text) || next.left - address.right < 2 * h;
    return overlap * 2 > std::min(address.bottom - address.top, next.bottom - next.top) && next.left > address.right && near
        && numbers.match(text).hasMatch();
}

// "1一16", "3--4ー10": the dashes between block numbers as the engine reads them become one hyphen,
// full-width between full-width digits.
QString withBlockHyphens(const QString& address)
{
    static const QRegularExpression dashes(QStringLiteral(R"(([0-9０-９])\s*[\-－ー一‐−–—]+\s*(?=[0-9０-９]))"));
    QString out;
    qsizetype from = 0;
    auto it = dashes.globalMatch(address);
    while (it.hasNext()) {
        const auto m = it.next();
        const QChar digit = m.captured(1).front();
        out += address.mid(from, m.capturedStart() - from) + digit + (digit.unicode() >= 0xFF10 ? u'－' : u'-');
        from = m.capturedEnd();
    }
    return out + address.mid(from);
}

// The letters of a text in lower case, without blanks, punctuation and accents: "H A R B O U R L I N E"
// and "harbourline" meet, as do "Éditions Sablier" and "editions-sablier".
QString letters(const QString& t)
{
    QString out;
    for (QChar c : foldedForWords(t)) {
        if (c.isLetterOrNumber())
            out += c;
    }
    return out;
}

// The e-mail address gives the name ("a.nakamura", "anna.lopez") and the company ("hinode-foods")
// that a line of the card should hold.
struct MailEvidence {
    QStringList nameParts;
    QString domain;
};

MailEvidence mailEvidence(const QString& address)
{
    MailEvidence e;
    const qsizetype at = address.indexOf(u'@');
    if (at < 0)
        return e;
    static const QRegularExpression split(QStringLiteral("[._\\-+]"));
    for (const QString& part : address.left(at).split(split, Qt::SkipEmptyParts)) {
        if (part.size() >= 3)
            e.nameParts << part.toLower();
    }
    const QStringList labels = address.mid(at + 1).split(u'.');
    static const QStringList generic = {u"gmail"_qs, u"yahoo"_qs, u"outlook"_qs, u"hotmail"_qs, u"mail"_qs,
                                        u"web"_qs, u"gmx"_qs, u"icloud"_qs};
    if (!labels.isEmpty() && !generic.contains(labels.first().toLower()))
        e.domain = letters(labels.first());
    return e;
}

// A card without an e-mail address names its company by its web address: "https://www.vireolabs.io".
QString webDomain(const QString& url)
{
    static const QRegularExpression host(QStringLiteral(R"(^(?:https?:/*)?(?:www\.)?([A-Za-z0-9\-]+)\.)"),
                                         QRegularExpression::CaseInsensitiveOption);
    const auto m = host.match(url.trimmed());
    return m.hasMatch() ? letters(m.captured(1)) : QString();
}

bool matchesDomain(const QString& text, const QString& domain)
{
    if (domain.size() < 4)
        return false;
    const QString all = letters(text);
    if (all.size() >= 4 && domain.contains(all))
        return true;
    // "A Northwind" for "northwind-analytics": one word of the line in the domain is enough.
    const QStringList words = text.split(u' ', Qt::SkipEmptyParts);
    return std::any_of(words.begin(), words.end(), [&](const QString& w) {
        const QString l = letters(w);
        return l.size() >= 4 && domain.contains(l);
    });
}

bool matchesMailName(const QString& text, const QStringList& parts)
{
    const QString l = letters(text);
    return std::any_of(parts.begin(), parts.end(), [&](const QString& p) { return l.contains(p); });
}

// "nishimura-kaseijp", "wwwshirakaba-ac.jp", "x.co,jp": a web address whose host differs from the
// e-mail's domain only in lost or misread dots takes the domain's spelling.
QString withMailDomain(const QString& url, const QString& email)
{
    const qsizetype at = email.indexOf(u'@');
    static const QRegularExpression parts(QStringLiteral(R"(^((?:https?://)?(?:www\.)?)([^/]+)(.*)$)"), QRegularExpression::CaseInsensitiveOption);
    const auto m = parts.match(url);
    if (at < 0 || !m.hasMatch())
        return url;
    const QString domain = email.mid(at + 1);
    const QString host = letters(m.captured(2));
    if (m.captured(2).compare(domain, Qt::CaseInsensitive) == 0)
        return url;
    if (host == letters(domain))
        return m.captured(1) + domain + m.captured(3);
    if (m.captured(1).isEmpty() && host == QStringLiteral("www") + letters(domain))
        return QStringLiteral("www.") + domain + m.captured(3);
    return url;
}

QString katakanaOf(const QString& kana)
{
    QString out = kana;
    for (QChar& c : out) {
        if (c.unicode() >= 0x3041 && c.unicode() <= 0x3096)
            c = QChar(c.unicode() + 0x60);
    }
    return out;
}

bool isKanaOnly(const QString& t)
{
    bool any = false;
    for (QChar c : t) {
        const ushort u = c.unicode();
        if (c.isSpace())
            continue;
        if (!((u >= 0x3040 && u <= 0x30FF) || u == 0x30FC))
            return false;
        any = true;
    }
    return any;
}

// A person's name: two to four words of letters, or up to six Japanese characters.
bool looksLikeName(const QString& t)
{
    if (isJapanese(t)) {
        const QString compact = QString(t).remove(u' ');
        return compact.size() >= 2 && compact.size() <= 6 && !isKanaOnly(t)
            && std::all_of(compact.begin(), compact.end(), [](QChar c) { return isWide(c); });
    }
    return isLatinNameShaped(t);
}

// Drops the marks a logo or a rule leaves at the edge of a line: "@ 株式会社…", "| Anna".
QString withoutEdgeMarks(const QString& text)
{
    static const QRegularExpression edges(QStringLiteral(R"(^(?:[@©®|_~•·*»«\[\]{}<>=〇○◯]+\s+)+|(?:\s+[©®|_~•·*»«\[\]{}<>=\-–—]+)+$)"));
    // A logo before Japanese text reads as a short Latin word or a lone character: "Beek 主任".
    static const QRegularExpression scrapBeforeJapanese(QStringLiteral(R"(^(?:[A-Za-z]{1,4}|[^\p{L}\p{N}\s])\s+(?=[\x{3040}-\x{30FF}\x{4E00}-\x{9FFF}]{2}))"));
    QString t = text;
    t.remove(edges);
    t.remove(scrapBeforeJapanese);
    return t.trimmed();
}

// A logo drawn before a wordmark comes out as a short scrap: "O NORTHWIND", "iil] GREENHOLLOW".
QString withoutLogoScraps(const QString& text, const QString& domain)
{
    // "all | Climatización Levante S.L.U.": a logo's scraps before a rule go with it.
    static const QRegularExpression scrapsBeforeRule(QStringLiteral(R"(^(?:\S{1,3}\s+){0,2}[|¦]\s+(?=\p{L}{2,}))"));
    QStringList words = QString(text).remove(scrapsBeforeRule).split(u' ', Qt::SkipEmptyParts);
    // "Wi MARLOW CREATIVE" for "marlowcreative": a short first word the domain does not hold.
    static const QRegularExpression mark(QStringLiteral(R"(^[(（\[]?[〇○◯●◎□■◇◆]$)"));
    while (words.size() > 1 && (mark.match(words.first()).hasMatch()
                                || (domain.size() >= 4 && words.first().size() <= 2 && !isJapanese(words.first())
                                    && !domain.contains(letters(words.first())) && domain.contains(letters(words.at(1))))))
        words.removeFirst();
    const auto scrap = [](const QString& w) {
        if (w.size() > 4 || isJapanese(w))
            return false;
        const bool lower = std::all_of(w.begin(), w.end(), [](QChar c) { return c.isLower(); });
        const bool letters = std::all_of(w.begin(), w.end(), [](QChar c) { return c.isLetter(); });
        return w.size() == 1 || lower || !letters;
    };
    // A letter-spaced wordmark ("H A R B O U R") is all single letters and stays whole.
    while (words.size() > 1 && scrap(words.first()) && words.at(1).size() > 1)
        words.removeFirst();
    // "較 株式会社浜風…": one character before a Japanese company name.
    if (words.size() > 1 && words.first().size() == 1 && isJapanese(words.at(1)) && isCompany(words.mid(1).join(u' ')))
        words.removeFirst();
    return words.join(u' ');
}

// A wordmark set over two lines or in two sizes: the piece beside it or just below it.
bool continuesWordmark(const RecognizedLine& mark, const RecognizedLine& next, const QString& nextText)
{
    const int height = std::max(1, mark.bottom - mark.top);
    const bool sameRow = next.top < mark.bottom && mark.top < next.bottom && next.left > mark.right
        && next.left - mark.right < 2 * height;
    const bool below = next.top >= mark.bottom && next.top - mark.bottom < height * 3 / 4
        && (std::abs(next.left - mark.left) < 2 * height || std::abs(next.right - mark.right) < 2 * height
            || std::abs((next.left + next.right) - (mark.left + mark.right)) < 4 * height);
    return (sameRow || below) && next.bottom - next.top <= height * 5 / 4 && digitCount(nextText) == 0
        && nextText.split(u' ', Qt::SkipEmptyParts).size() <= 2;
}

// A person's name stands just over the title (or the department) set under it in smaller type.
bool setOverTitle(const RecognizedLine& name, const SlotFill& title)
{
    const int h = std::max(1, name.bottom - name.top);
    return title.filled && title.bottom - title.top < h && title.top >= name.bottom - h / 4 && title.top - name.bottom < 5 * h / 2
        && title.left < name.right && title.right > name.left;
}

// The height of the card's body type: the median of its lines'.
int medianHeight(const std::vector<RecognizedLine>& lines)
{
    std::vector<int> heights;
    for (const RecognizedLine& l : lines) {
        if (!l.text.trimmed().isEmpty())
            heights.push_back(l.bottom - l.top);
    }
    if (heights.empty())
        return 0;
    const size_t middle = (heights.size() - 1) / 2;
    std::nth_element(heights.begin(), heights.begin() + qsizetype(middle), heights.end());
    return heights[middle];
}

// A Japanese line of a name's shape set in type well above the body's: family and given name with
// a blank between (maybe one more the engine put inside either) and after the first word neither a
// unit nor a title ("営業部 部長", "技術部 開発課" are not), or the family name alone with the given
// name set apart on its row in the same type.
bool setInNameType(const std::vector<RecognizedLine>& lines, const RecognizedLine& line, int bodyHeight)
{
    const int h = line.bottom - line.top;
    if (bodyHeight <= 0 || h * 10 < bodyHeight * 13)
        return false;
    const QStringList words = QString(line.text).replace(QChar(0x3000), u' ').split(u' ', Qt::SkipEmptyParts);
    if (words.size() == 2 || words.size() == 3)
        return std::none_of(words.begin() + 1, words.end(),
                            [](const QString& w) { return isJapaneseDepartmentWord(w, false) || isJapaneseTitleWord(w); });
    return words.size() == 1 && std::any_of(lines.begin(), lines.end(), [&](const RecognizedLine& other) {
               const QString given = QString(other.text).remove(u' ');
               const bool sameRow = std::min(line.bottom, other.bottom) - std::max(line.top, other.top) > h / 2
                   && std::abs(other.bottom - other.top - h) * 4 < h && other.left > line.right && other.left - line.right < 4 * h;
               return sameRow && looksLikeName(words.at(0) + given) && !isJapaneseDepartmentWord(given, false)
                   && !isJapaneseTitleWord(given);
           });
}

// The Latin words of a card, its e-mail address's parts among them: "Kusakabe", "sota", "kusakabe-s".
QStringList latinWordsOf(const std::vector<RecognizedLine>& lines)
{
    QStringList words;
    static const QRegularExpression latin(QStringLiteral(R"([A-Za-z]{3,})"));
    for (const RecognizedLine& l : lines) {
        const QString text = emailPattern().match(QString(l.text).remove(u' ')).hasMatch() ? l.text.section(u'@', 0, 0) : l.text;
        for (auto it = latin.globalMatch(text); it.hasNext();)
            words << it.next().captured();
    }
    return words;
}

// A name whose family name the card also prints romanised ("日下部 颯太" and "Sota Kusakabe").
bool romanisedOnCard(const QString& name, const QStringList& latinWords, const NameReadingOf& readingOf)
{
    const QString family = name.section(u' ', 0, 0, QString::SectionSkipEmpty);
    if (!readingOf || !name.contains(u' ') || family.size() < 2 || latinWords.isEmpty())
        return false;
    const QString reading = readingOf(family);
    return !reading.isEmpty()
        && std::any_of(latinWords.begin(), latinWords.end(), [&](const QString& w) { return readsAsRomanised(reading, w); });
}

// "Makoto Kuwabara General Manager": a name the engine read into one line with the title set on its
// row. The words before the title are the name where they have a name's shape and the e-mail
// address spells them: large type alone does not tell them, as a title in large type under the
// name ("Senior Procurement Manager") begins with words of a name's shape too. The name and the
// title, else nothing.
std::pair<QString, QString> latinNameAndTitle(const QString& text, const QStringList& mailName)
{
    if (isJapanese(text))
        return {};
    const QStringList words = text.split(u' ', Qt::SkipEmptyParts);
    for (qsizetype n = 2; n <= 3 && n < words.size(); ++n) {
        const QString name = words.mid(0, n).join(u' ');
        const QString title = words.mid(n).join(u' ');
        if (isLatinNameShaped(name) && !isTitle(name) && !isDepartment(name) && isTitle(title)
            && matchesMailName(name, mailName))
            return {name, title};
    }
    return {};
}

// A title or department no word list knows is set just under the name in smaller type, the
// department under the title: the lines so set that no rule took, not the company's.
void takeTitleAndDepartmentUnderName(ResultSlots& fields, const RecognizedLine& name,
                                     const std::vector<std::pair<const RecognizedLine*, QString>>& rest,
                                     const std::vector<const std::pair<const RecognizedLine*, QString>*>& used,
                                     const std::function<bool(const QString&)>& companys)
{
    const int nameHeight = std::max(1, name.bottom - name.top);
    RecognizedLine above = name;
    // Start under the title the rules already found just under the name.
    if (const SlotFill& title = fields[size_t(kTitle.first)]; title.filled) {
        const RecognizedLine line{title.text, title.left, title.top, title.right, title.bottom};
        if (title.top >= above.top && setBelow(above, line))
            above = line;
    }
    for (int taken = 0; taken < 2;) {
        const std::pair<const RecognizedLine*, QString>* next = nullptr;
        for (const auto& candidate : rest) {
            const RecognizedLine& l = *candidate.first;
            const QString& t = candidate.second;
            const int h = l.bottom - l.top;
            const bool under = l.top > above.top + (above.bottom - above.top) / 2
                && l.top - above.bottom < std::max(1, above.bottom - above.top) * 3 / 2 && l.left < above.right && l.right > above.left;
            if (!under || h * 10 >= nameHeight * 9 || &l == &name || letterCount(t) < 3 || digitCount(t) > 0
                || t.split(u' ', Qt::SkipEmptyParts).size() > 6 || companys(t) || isCountryLine(t)
                || std::find(used.begin(), used.end(), &candidate) != used.end())
                continue;
            if (!next || l.top < next->first->top)
                next = &candidate;
        }
        if (!next)
            return;
        const bool titleFree = !fields[size_t(kTitle.first)].filled;
        const bool departmentFree = !fields[size_t(kDepartment.first)].filled;
        const QString text = withoutTrailingComma(next->second);
        if (titleFree && (!isDepartment(text) || !departmentFree))
            put(fields, kTitle, text, *next->first);
        else if (departmentFree)
            put(fields, kDepartment, text, *next->first);
        else
            return;
        above = *next->first;
        ++taken;
    }
}

// A line's e-mail and web address as printed where the engine read a label into them or broke
// their dots.
QString withMailAndWebShape(QString text)
{
    if (text.contains(u'@')) {
        // "E. yumi@…", "Mail: s.yamaguchi@…", "e Correo. andres@…" (a scrap of an icon before it),
        // "E-mail. mankit. hsieh@…": the label goes before the dots are joined.
        static const QRegularExpression mailLabel(
            QStringLiteral(R"(^(?:\p{L}\s+(?=(?:e-?mail|mail|correo|courriel)\b))?(?:(?:e-?mail|mail|correo|courriel)\s*(?:[:：._]+\s*|\s+)|)"
                           R"(e\s*(?:[:：_]+\s*|\.\s+|\s+)|(?-i:E)\.)(?=[^\s@]+(?:\.\s+[^\s@]+)*\s*@))"),
                                                  QRegularExpression::CaseInsensitiveOption);
        // "e.belousov@": a small e and a dot run into the name are its initial, no label.
        text.remove(mailLabel);
        // A small l of the address's name read as a bar ("ponomarev_|@").
        static const QRegularExpression barInName(QStringLiteral(R"((?<=[a-z0-9][._\-])\|(?=[a-z0-9._\-]*@)|(?<=[a-z0-9])\|(?=[a-z0-9._\-]*[a-z0-9]@))"));
        text.replace(barInName, QStringLiteral("l"));
        // "… 18055 Rostock E-Mail. pfeiffer_i@…": a label after other words on the row goes too.
        static const QRegularExpression mailLabelInRow(
            QStringLiteral(R"((?<=\s)(?:e-?mail|mail|correo|courriel)\s*(?:[:：._]+\s*|\s+)(?=[^\s@]+\s*@))"),
            QRegularExpression::CaseInsensitiveOption);
        text.remove(mailLabelInRow);
        // "Site. www.x.fr" after the address: a web label is no part of the web address.
        static const QRegularExpression webLabel(
            QStringLiteral(R"((?<![\p{L}\p{N}.@\-])(?:site|sitio|sito|web|website|internet|url|homepage)\.\s+(?=[a-z0-9][a-z0-9\-]*\.))"),
            QRegularExpression::CaseInsensitiveOption);
        text.remove(webLabel);
        // An underscore of the local part set apart ("legoff _g@") or read as a blank ("greco m@",
        // "elodie perrin@"): one letter after it follows an underscore, a longer piece a dot.
        static const QRegularExpression spacedUnderscore(QStringLiteral(R"((?<=[a-z0-9])\s*_\s*(?=[a-z0-9._\-]*@))"));
        text.replace(spacedUnderscore, QStringLiteral("_"));
        static const QRegularExpression blankInLocalPart(
            QStringLiteral(R"((?<![\p{L}\p{N}._\-@])(?!(?:e|o|at|mail|email|courriel|correo)\s)([a-z][a-z0-9]*(?:[._\-][a-z0-9]+)*)\s([a-z][a-z0-9]*)@(?=[a-z0-9]))"));
        // A piece of one or two letters may be a scrap of an icon ("ia henderson@"), unless a mail
        // label stands before it.
        static const QRegularExpression labelBefore(QStringLiteral(R"(^\W*(?:e-?mail|mail|courriel|correo|e)\W*$)"),
                                                    QRegularExpression::CaseInsensitiveOption);
        if (const auto m = blankInLocalPart.match(text);
            m.hasMatch() && (m.capturedLength(1) >= 3 || labelBefore.match(text.left(m.capturedStart())).hasMatch())) {
            text.replace(m.capturedStart(), m.capturedLength(),
                         m.captured(1) + (m.capturedLength(2) == 1 ? u'_' : u'.') + m.captured(2) + u'@');
            // "E-mail. simone.dossantos simoes@": the label the broken name kept goes now.
            text.remove(mailLabel);
        }
        // The Japanese model reads "taro.yamada@x.co.jp" as "taro. yamada@x.co. jp".
        static const QRegularExpression spacedDots(QStringLiteral(R"(([A-Za-z0-9])\s*([.@])\s+(?=[A-Za-z0-9]))"));
        static const QRegularExpression spacedAt(QStringLiteral(R"(([A-Za-z0-9])\s+@\s*(?=[A-Za-z0-9]))"));
        static const QRegularExpression comma(QStringLiteral(R"(([A-Za-z0-9])\s*,\s*(?=[A-Za-z0-9._%+\-]*@))"));
        text.replace(comma, QStringLiteral("\\1."));
        text.replace(spacedDots, QStringLiteral("\\1\\2"));
        text.replace(spacedAt, QStringLiteral("\\1@"));
    }
    if (text.contains(u'@') || text.contains(QStringLiteral("www"), Qt::CaseInsensitive)
        || text.contains(QStringLiteral("http"), Qt::CaseInsensitive)) {
        // The Japanese model reads the small dot before "jp" as a blank or a comma.
        static const QRegularExpression lastDot(QStringLiteral(R"((?<=[A-Za-z0-9])\s*[,\s]\s*(?=(?:co\.)?jp(?:/|\s|$)))"));
        text.replace(lastDot, QStringLiteral("."));
    }
    if (text.contains(QStringLiteral(".cojp"), Qt::CaseInsensitive)) {
        // The dot of ".co.jp" is small enough to be lost.
        static const QRegularExpression coJp(QStringLiteral(R"(\.cojp\b)"), QRegularExpression::CaseInsensitiveOption);
        text.replace(coJp, QStringLiteral(".co.jp"));
    }
    return text;
}

// The text before a web address without the page's label at its end ("… Zaragoza W:").
QString withoutWebLabelAtEnd(const QString& text)
{
    static const QRegularExpression label(QStringLiteral(R"(\s*\b(?:W|Web|Website|Site|Sitio|URL|Internet|Página)\s*[:.]?\s*$)"),
                                          QRegularExpression::CaseInsensitiveOption);
    return QString(text).remove(label).trimmed();
}

using RestLines = std::vector<std::pair<const RecognizedLine*, QString>>;

// The line of `rest` set just above `below`: under it on the same edge or centre, or read just
// before it and close over it. An icon read as a letter or two beside the lines is none.
RestLines::iterator restLineJustAbove(RestLines& rest, const RecognizedLine& below)
{
    auto nearest = rest.end();
    for (auto it = rest.begin(); it != rest.end(); ++it) {
        const RecognizedLine& above = *it->first;
        if (letterCount(it->second) + digitCount(it->second) < 3)
            continue;
        const bool justAbove = setBelow(above, below)
            || (&above + 1 == &below && below.top > above.top
                && below.top - above.bottom < 3 * std::max(1, above.bottom - above.top) / 2);
        if (justAbove && (nearest == rest.end() || above.bottom > nearest->first->bottom))
            nearest = it;
    }
    return nearest;
}

// Whether `above`, set just above the address line `below`, is of the address: a street line, a
// floor or a building; a street's name over its number ("Avenida Conde da Boa" over "Vista, 158");
// the rest of a name with its number under its street word, or over a district or the town with
// its state; a district between a street and the town. Lines of the address's type size only, but for a street over a town line ("8 Station
// Approach" or "The Old Mill, Mill Lane" over "Cambridge CB1 2JW"; "Since 1987" is a slogan).
bool goesOnAddressAbove(RestLines& rest, RestLines::iterator above, const RecognizedLine& below, const QString& belowText)
{
    const QString& text = above->second;
    const bool streetWord = westernStreet().match(text).hasMatch() || hasLatinStreetWord(text);
    const bool townLine = !westernPostalCode(belowText).isEmpty() && !isWesternStreet(belowText);
    if (townLine && (!looksLikeName(text) || streetWord) && (digitCount(text) > 0 || streetWord))
        return true;
    // "Q unit1" over "20 Queen Street": a floor, suite or unit line, whose icon may make it taller.
    if (const QString floor = withoutLeadingIcon(text); digitCount(floor) > 0 && continuesLatinAddress(floor) && !isCountryLine(floor)
        && !isTownAndStateLine(floor) && !isJapanese(floor))
        return true;
    const int h = std::max(1, above->first->bottom - above->first->top);
    const int hBelow = std::max(1, below.bottom - below.top);
    if (isJapanese(text) || 3 * std::abs(h - hBelow) > std::max(h, hBelow))
        return false;
    const auto goesOnAbove = [&] {
        const auto next = restLineJustAbove(rest, *above->first);
        return next != rest.end() && next != above && goesOnAddressAbove(rest, next, *above->first, text);
    };
    switch (lineAboveAddress(text)) {
    case LineAboveAddress::Street:
        return true;
    case LineAboveAddress::District:
        // "Brighton" over "BN1 3FD": the town over a postcode alone on its line.
        if (const QString code = westernPostalCode(belowText); !code.isEmpty() && QString(belowText).remove(u' ').size() <= code.size() + 1)
            return true;
        return goesOnAbove();
    case LineAboveAddress::StreetNameOnly: {
        // "Paseo de Almería," over "156, planta 1": the street's number opening the line under it.
        static const QRegularExpression houseNumber(QStringLiteral(R"(^[0-9]{1,5}[A-Za-z]?(?:,|$))"));
        return !belowText.isEmpty()
            && (belowText[0].isLetter() || (text.trimmed().endsWith(u',') && houseNumber.match(belowText).hasMatch()))
            && digitCount(belowText) > 0 && !hasLatinStreetWord(belowText);
    }
    case LineAboveAddress::NameWithNumber:
        return numbersOfLine(text).empty()
            && (isTownAndStateLine(belowText) || lineAboveAddress(belowText) == LineAboveAddress::District || goesOnAbove());
    case LineAboveAddress::None:
        break;
    }
    return false;
}

// Puts the lines set above a Latin address's first line that are of it before it.
void takeAddressLinesAbove(SlotFill& address, const RecognizedLine& first, RestLines& rest)
{
    const RecognizedLine* top = &first;
    QString topText = address.text;
    for (auto above = restLineJustAbove(rest, *top); above != rest.end() && goesOnAddressAbove(rest, above, *top, topText);
         above = restLineJustAbove(rest, *top)) {
        const RecognizedLine& line = *above->first;
        QString text = above->second;
        address.right = std::max(address.right, line.right);
        // "227 Boar" … "Lane": the street's word the engine set apart on the line's row, just right of it.
        const int h = std::max(1, line.bottom - line.top);
        static const QRegularExpression wordAlone(QStringLiteral(R"(^\p{L}+\.?$)"));
        const auto beside = std::find_if(rest.begin(), rest.end(), [&](const auto& r) {
            const RecognizedLine& piece = *r.first;
            const int overlap = std::min(piece.bottom, line.bottom) - std::max(piece.top, line.top);
            return overlap * 2 > std::min(h, piece.bottom - piece.top) && piece.left > line.right && piece.left - line.right < 2 * h
                && wordAlone.match(r.second).hasMatch() && westernStreet().match(r.second).hasMatch() && digitCount(text) > 0;
        });
        if (beside != rest.end()) {
            text += u' ' + beside->second;
            address.right = std::max(address.right, beside->first->right);
        }
        address.text = text + u'\n' + address.text;
        address.top = std::min(address.top, line.top);
        address.left = std::min(address.left, line.left);
        top = &line;
        topText = text;
        std::vector<ptrdiff_t> taken = {above - rest.begin()};
        if (beside != rest.end())
            taken.push_back(beside - rest.begin());
        std::sort(taken.rbegin(), taken.rend());
        for (const ptrdiff_t i : taken)
            rest.erase(rest.begin() + i);
    }
}

// Where the part of a line that ends it, `tail` of its text, is set: in a row the engine merged with
// the next one ("poirier@… 76000 Rouen" over two rows), the lower row, `rowHeight` high.
RecognizedLine placeOfLineEnd(const RecognizedLine& line, const QString& tail, int rowHeight)
{
    RecognizedLine place = line;
    place.left = line.right - int(qint64(line.right - line.left) * tail.size() / std::max<qsizetype>(1, line.text.size()));
    if (2 * (line.bottom - line.top) > 3 * rowHeight)
        place.top = line.bottom - rowHeight;
    return place;
}

// "KESTREL PACKAGING Townsville QLD 4810" under "PO Box 6874": words of another field (the company,
// a title) the engine read into a town line's row from a column left of the address's. The town
// line's text from where the address's column starts, judged by the type of the address's own line;
// else the whole text. A building or a district before the town ("Bâtiment B, 13001 …") stays.
qsizetype townLineStartInColumn(const QString& text, const RecognizedLine& line, const RecognizedLine& addressLine, int columnLeft,
                                const QString& domain)
{
    const int h = std::max(1, addressLine.bottom - addressLine.top);
    if (line.left >= columnLeft - 3 * h || isJapanese(text))
        return 0;
    const double charWidth = double(addressLine.right - addressLine.left) / double(std::max<qsizetype>(1, addressLine.text.size()));
    qsizetype best = 0;
    double nearest = 3.0 * h;
    for (qsizetype i = text.indexOf(u' '); i > 0; i = text.indexOf(u' ', i + 1)) {
        const QString head = text.left(i), tail = text.mid(i + 1);
        const double distance = std::abs(line.right - charWidth * double(tail.size()) - columnLeft);
        const bool otherField = (matchesDomain(head, domain) || isCompany(head) || isTitle(head) || isDepartment(head))
            && !continuesLatinAddress(head) && !hasLatinStreetWord(head);
        if (distance < nearest && digitCount(head) == 0 && otherField && !westernPostalCode(tail).isEmpty()) {
            nearest = distance;
            best = i + 1;
        }
    }
    return best;
}

} // namespace

QString mailAddressIn(const QString& text)
{
    return emailPattern().match(withMailAndWebShape(text)).captured();
}

QString webAddressIn(const QString& text, bool* social)
{
    *social = false;
    const QString shaped = withMailAndWebShape(text);
    const QString mail = emailPattern().match(shaped).captured();
    QString found;
    for (auto it = webPattern().globalMatch(QString(shaped).remove(mail)); it.hasNext();) {
        const QString url = webAddress(it.next().captured());
        const bool network = isSocialNetworkAddress(url);
        if (found.isEmpty() || (!network && *social)) {
            found = url;
            *social = network;
        }
    }
    return found;
}

QString postalCodeIn(const QString& text)
{
    if (const auto m = japanesePostal().match(text); m.hasMatch())
        return m.captured(1) + u'-' + m.captured(2);
    if (QString code = westernPostalCode(text); !code.isEmpty())
        return code;
    // A code alone on its line: "104-0061", "80802", "1000-001", "2000".
    static const QRegularExpression alone(QStringLiteral(R"(^(?:[〒T]\s*)?([0-9]{3,5}(?:-[0-9]{3,4})?)$)"));
    return alone.match(text.trimmed()).captured(1);
}

QString cleanRecognizedText(const QString& text)
{
    // "山 田 太 郎": three or more single wide characters in a row lose the spaces between them;
    // a space between words ("山田 太郎") stays.
    const QStringList words = text.trimmed().split(u' ');
    QStringList out;
    for (qsizetype i = 0; i < words.size();) {
        qsizetype j = i;
        while (j < words.size() && words.at(j).size() == 1 && isWide(words.at(j).at(0)))
            ++j;
        if (j - i >= 3) {
            out << words.mid(i, j - i).join(QString());
            i = j;
        } else {
            out << words.at(i);
            ++i;
        }
    }
    return out.join(u' ');
}

ResultSlots classifyCardLines(const std::vector<RecognizedLine>& read, const FamilyNameLength& familyNameLength,
                              const NameReadingOf& readingOf)
{
    const std::vector<RecognizedLine> lines = withTitleLinesJoined(withRowsJoinedAtDashes(read));
    ResultSlots fields{};
    std::vector<std::pair<const RecognizedLine*, QString>> rest;
    std::vector<std::pair<const RecognizedLine*, QString>> companies;
    int lastAddressLine = -2;
    // The e-mail's domain names the company: a line it names ("Shirakaba Accounting Office") is
    // no department.
    const QString domain = [&lines] {
        for (const RecognizedLine& l : lines) {
            if (const auto m = emailPattern().match(QString(l.text).remove(u' ')); m.hasMatch())
                return mailEvidence(m.captured()).domain;
        }
        for (const RecognizedLine& l : lines) {
            for (auto it = webPattern().globalMatch(l.text); it.hasNext();) {
                if (const auto m = it.next(); !isSocialNetworkAddress(m.captured()))
                    return webDomain(m.captured());
            }
        }
        return QString();
    }();
    const QStringList mailName = [&lines] {
        for (const RecognizedLine& l : lines) {
            if (const auto m = emailPattern().match(QString(l.text).remove(u' ')); m.hasMatch())
                return mailEvidence(m.captured()).nameParts;
        }
        return QStringList();
    }();
    int wordmarkLine = -1;
    const RecognizedLine* markMisread = nullptr;
    std::vector<const RecognizedLine*> labelColumn;
    std::vector<UnnamedNumber> unnamedNumbers;
    const CardNumbering forms(lines);
    const bool japaneseCard = std::any_of(lines.begin(), lines.end(), [](const RecognizedLine& l) { return isJapanese(l.text); });
    const int bodyHeight = medianHeight(lines);
    const QStringList latinWords = japaneseCard ? latinWordsOf(lines) : QStringList();
    for (size_t index = 0; index < lines.size(); ++index) {
        const RecognizedLine& line = lines[index];
        QString text = withFrenchFloorDigits(withoutEdgeMarks(line.text));
        if (text.isEmpty())
            continue;
        bool used = false;
        text = withMailAndWebShape(text);
        // "Fenella A. O Briain  fenella.obriain@…": a name the engine read into one line with the
        // address set on its row, as printed.
        QString before, after;
        if (const auto m = emailPattern().match(text); m.hasMatch()) {
            used = put(fields, kEmail, m.captured(), line);
            before = withoutEdgeMarks(line.text.left(std::max<qsizetype>(0, line.text.indexOf(m.captured()))));
            after = withoutEdgeMarks(text.mid(m.capturedEnd()));
            text.remove(m.capturedStart(), m.capturedLength());
        }
        // A social network's address or handle beside the web page is none ("linkedin.com/in/…",
        // "@anna_lopez").
        bool social = isSocialHandleLine(text), web = false;
        for (auto it = webPattern().globalMatch(text); it.hasNext();) {
            const auto m = it.next();
            if (isSocialNetworkAddress(m.captured())) {
                social = true;
            } else if (!web) {
                web = true;
                used = put(fields, kWeb, webAddress(m.captured()), line) || used;
                // "Calle Uría, 161, 1º B, 50001 Zaragoza W: https://…": an address before the web page's label.
                if (before.isEmpty())
                    before = withoutWebLabelAtEnd(withoutEdgeMarks(text.left(m.capturedStart())));
            }
        }
        // An address read into one line with the e-mail or web address after it is read on, and one the
        // engine read after it from the next column ("E-mail: g@x.com.au 218 Cavill Avenue").
        // A round icon before the e-mail read as a letter ("Avenida …, 85 – 82 O gusmao@…") is none of the address.
        static const QRegularExpression iconBeforeMail(QStringLiteral(R"(\s+[OoQ©®@]$)"));
        // "Salvador - BA O albuquerque@…": a Brazilian town with its state goes on the address above.
        const QString beforeMail = QString(before).remove(iconBeforeMail);
        const bool addressBefore = used && !japaneseCard
            && ((digitCount(before) > 0 && isAddress(beforeMail)) || (lastAddressLine >= 0 && isTownAndStateLine(beforeMail)));
        const bool addressAfter = used && !japaneseCard && !addressBefore && digitCount(after) > 0 && isAddress(after);
        if ((used || social) && !addressBefore && !addressAfter) {
            if (!japaneseCard && isLatinNameShaped(before))
                rest.emplace_back(&line, before);
            // "© x@y.fr © +33 (0)2 96 49 75 59": a number set on the address's row.
            QString labelsBefore, afterNumbers;
            takeNumbers(fields, text, line, forms, &labelsBefore, &afterNumbers, &unnamedNumbers);
            continue;
        }
        if (addressBefore || addressAfter)
            text = addressBefore ? beforeMail : after;
        // "… 76000 Rouen" after the e-mail, set under the address's street line.
        const bool pieceBelow = addressAfter && lastAddressLine >= 0
            && setBelow(lines[size_t(lastAddressLine)],
                        placeOfLineEnd(line, after, lines[size_t(lastAddressLine)].bottom - lines[size_t(lastAddressLine)].top));
        // "Creative Director, Business Development   P +44 …": the words before the number are read on.
        // A postal code whose 〒 was read as a digit: on a Japanese card, where telephone numbers
        // start with 0 or a country code, it is no telephone number.
        if (!markMisread && !postalCodeWithMarkMisread(text).isEmpty()) {
            markMisread = &line;
            continue;
        }
        // "Cell" and "917.555.0176" on one row: the label of a label column goes with the number
        // set right of it.
        if (isNumberLabelOnly(text)) {
            labelColumn.push_back(&line);
            continue;
        }
        if (isOnlyANumber(text)) {
            const auto label = std::find_if(labelColumn.begin(), labelColumn.end(), [&line](const RecognizedLine* l) {
                return std::min(l->bottom, line.bottom) - std::max(l->top, line.top) > (line.bottom - line.top) / 2 && l->right < line.left;
            });
            if (label != labelColumn.end())
                text = withoutEdgeMarks((*label)->text) + u' ' + text;
        }
        // "携帯 : +818052552149604-8152": a postal code the engine read into the number's row, the
        // blanks between them lost, stands apart from a Japanese number of its full length, as a code.
        static const QRegularExpression gluedPostalCode(QStringLiteral(R"(((?:\+81|(?<![0-9])0)[0-9]{9,10})([0-9]{3}-[0-9]{4})$)"));
        if (japaneseCard)
            text.replace(gluedPostalCode, QStringLiteral("\\1 〒\\2"));
        if (QString before, after; takeNumbers(fields, text, line, forms, &before, &after, &unnamedNumbers)) {
            // "Fax. +81 79 587 4415   兵庫県姫路市…": an address or postal code the engine read into
            // the number's row from the column beside it is read on.
            static const QRegularExpression words(QStringLiteral(R"(\p{L}{2,}.*\p{L}{2,})"));
            if (japaneseCard && (findJapaneseAddress(after).at == 0 || japanesePostal().match(after).capturedStart() == 0))
                text = after;
            else if (words.match(before).hasMatch())
                text = before;
            else
                continue;
        }
        // A Japanese address is one by its shape, wherever the line starts: what the engine read
        // into its line from another column goes on as a line of its own.
        if (const JapaneseAddressStart found = isJapanese(text) ? findJapaneseAddress(text) : JapaneseAddressStart{}; found.at >= 0) {
            if (!found.postalCode.isEmpty())
                put(fields, kPostal, found.postalCode, line);
            // Of a name in large type merged into the line ("伊 Aas ロ") the Japanese it starts with stays.
            const bool mixed = isMixedScrap(found.before);
            if (const QString before = mixed ? leadingJapanese(found.before) : found.before; letterCount(before) >= (mixed ? 1 : 3))
                rest.emplace_back(&line, before);
            put(fields, kAddress, found.address, line);
            lastAddressLine = int(index);
            continue;
        }
        // "くさかべ そうた 600-8216", "弁護士 892-0842": on a Japanese card a postal code ends a line of
        // another column (its 〒 read as a letter or a digit); what stands before it is read on.
        static const QRegularExpression trailingCode(
            QStringLiteral(R"((?<![0-9０-９\-－.])(?:[〒TF+]\s*)?[71]?([0-9０-９]{3})[-－]([0-9０-９]{4})$)"));
        if (const auto m = trailingCode.match(text); m.hasMatch() && japaneseCard) {
            put(fields, kPostal, m.captured(1) + u'-' + m.captured(2), line);
            text = text.left(m.capturedStart()).trimmed();
            if (letterCount(text) < 2 || isMixedScrap(text))
                continue;
        }
        if (const auto m = japanesePostal().match(text); m.hasMatch()) {
            put(fields, kPostal, m.captured(1) + u'-' + m.captured(2), line);
            text = (text.left(m.capturedStart()) + u' ' + text.mid(m.capturedEnd())).trimmed();
            if (text.isEmpty())
                continue;
            // "〒310-0021" after a rule ("ーー"): marks are no address.
            if (isJapanese(text) && letterCount(text) >= 2) {
                put(fields, kAddress, text, line);
                lastAddressLine = int(index);
                continue;
            }
        }
        if (isCompany(text)) {
            companies.emplace_back(&line, text);
            continue;
        }
        // The second word of a wordmark ("CRESTVIEW" over "PARTNERS", "Harbourline" over "Logistics")
        // is no title or department; a title or department under the company's name in other type
        // ("Service après-vente", "Direttore commerciale") is none of it.
        const auto capitals = [](const QString& t) { return t == t.toUpper(); };
        if (wordmarkLine >= 0 && continuesWordmark(lines[size_t(wordmarkLine)], line, text)
            && (!(isTitle(text) || isDepartment(text)) || namesAKindOfBusiness(text)
                || (capitals(text) && capitals(lines[size_t(wordmarkLine)].text)))) {
            rest.emplace_back(&line, text);
            continue;
        }
        if (matchesDomain(text, domain) && digitCount(text) == 0 && !isCompany(text))
            wordmarkLine = int(index);
        // A personal name the dictionary knows ("長谷部 健太", "北村雄一") is neither a department nor an address.
        if (familyNameLength && isJapanese(text) && looksLikeName(text) && familyNameLength(QString(text).remove(u' ')) > 0) {
            rest.emplace_back(&line, text);
            continue;
        }
        // Nor is one whose family name ends in a unit ("日下部 颯太") and whose given name the
        // dictionary lacks, set in the name's large type or spelled by the card's romanised name.
        if (isJapanese(text) && looksLikeName(text) && !isTitle(text)
            && (setInNameType(lines, line, bodyHeight) || romanisedOnCard(text, latinWords, readingOf))) {
            rest.emplace_back(&line, text);
            continue;
        }
        // "Am Wöhrder See 171, 79098" over "Freiburg im Breisgau": a postcode whose town went on the line under it.
        const auto under = std::find_if(lines.begin() + qsizetype(index) + 1, lines.end(),
                                        [&line](const RecognizedLine& l) { return setBelow(line, l); });
        const bool address = isAddress(text) || (under != lines.end() && !latinPostcodeOverTown(text, under->text).isEmpty());
        // "Setor Oeste" between the street and "Goiânia - GO": a district of the address, no department.
        const bool district = under != lines.end() && digitCount(text) == 0 && isTownAndStateLine(under->text)
            && goesOnBelow(lines, lastAddressLine, index);
        if (const auto [name, title] = latinNameAndTitle(text, mailName); !name.isEmpty()) {
            rest.emplace_back(&line, name);
            text = title;
        }
        if (!address && !district && (isTitle(text) || isDepartment(text)) && !(isDepartment(text) && !isTitle(text) && matchesDomain(text, domain))) {
            const auto [department, title] = splitDepartmentAndTitle(text);
            // What follows a Japanese department on its line is the title, also one no rule knows.
            const bool titleByPlace = !department.isEmpty() && isJapanese(title) && digitCount(title) == 0;
            if (!title.isEmpty() && (isTitle(title) || titleByPlace))
                put(fields, kTitle, title, line);
            else if (!title.isEmpty() && !isDepartment(title))
                rest.emplace_back(&line, department.isEmpty() ? text : title);
            if (!department.isEmpty())
                put(fields, kDepartment, department, line);
            else if (!title.isEmpty() && !isTitle(title))
                put(fields, kDepartment, title, line);
            continue;
        }
        // A Japanese address goes on with its building's line in Latin letters ("theSOHO 1104").
        const bool building =
            fields[size_t(kAddress.first)].filled && isJapanese(fields[size_t(kAddress.first)].text) && isLatinOrKatakanaBuildingLine(text);
        // "89 West George Street", "Birmingham", "B3 2BJ": the town on a line of its own over the postcode.
        // "Centro Histórico" over "Porto Alegre/RS": a district on its own over the town, even where the
        // engine read a line of another column between them.
        const bool townOverPostcode = under != lines.end() && digitCount(text) == 0 && letterCount(text) >= 3
            && (!westernPostalCode(under->text).isEmpty() || isTownAndStateLine(under->text));
        // "Avenida Brigadeiro" over "Faria Lima, 47": a street's name set on two lines, its number on the second.
        const SlotFill& addressSoFar = fields[size_t(kAddress.first)];
        const bool streetNameGoesOn = addressSoFar.filled && !addressSoFar.text.contains(u'\n') && hasLatinStreetWord(addressSoFar.text)
            && digitCount(withoutLeadingIcon(addressSoFar.text)) == 0 && digitCount(text) > 0 && numbersOfLine(text).empty();
        // "Unit 2" over "233 Deansgate": a house number and a street's name under an address line.
        static const QRegularExpression houseAndStreet(QStringLiteral(R"(^[0-9]{1,5}[A-Za-z]?,?\s+\p{Lu}\p{L}+)"));
        const bool streetUnder = fields[size_t(kAddress.first)].filled && !isJapanese(text) && houseAndStreet.match(text).hasMatch()
            && numbersOfLine(text).empty();
        const QString postcodeAbove = addressSoFar.filled && lastAddressLine >= 0 && setBelow(lines[size_t(lastAddressLine)], line)
            ? latinPostcodeOverTown(addressSoFar.text.section(u'\n', -1), text)
            : QString();
        // "35001 Las Palmas" over "de Gran Canaria": a town's name that ran onto the next line.
        const bool townGoesOn = addressSoFar.filled && continuesTownName(addressSoFar.text.section(u'\n', -1), text);
        const bool follows = ((goesOnBelow(lines, lastAddressLine, index) || pieceBelow)
                              && (continuesAddress(text) || building || townOverPostcode || streetUnder || streetNameGoesOn || townGoesOn
                                  || !postcodeAbove.isEmpty() || !westernPostalCode(text).isEmpty()))
            || (lastAddressLine >= 0 && continuesOnRow(lines[size_t(lastAddressLine)], line, text));
        if (address || follows) {
            // "PENNANT CIVIL WORKS | @ 119 Hunter Street": words of another column the engine read
            // into the address's row before a rule.
            static const QRegularExpression rule(QStringLiteral(R"(\s[|¦]\s)"));
            if (const auto m = rule.match(text); m.hasMatch() && !isJapanese(text) && digitCount(text.left(m.capturedStart())) == 0
                && isAddress(withoutLeadingIcon(text.mid(m.capturedEnd())))) {
                rest.emplace_back(&line, text.left(m.capturedStart()).trimmed());
                text = text.mid(m.capturedEnd());
            }
            text = withRomanisedJapanesePostcode(withTownLinePostcode(text));
            if (const qsizetype end = townLineEnd(text); end < text.size()) {
                static const QRegularExpression marks(QStringLiteral(R"(^[^\p{L}\p{N}]+)"));
                rest.emplace_back(&line, text.mid(end).remove(marks));
                text = text.left(end);
            }
            if (const QString code = postcodeAbove.isEmpty() ? westernPostalCode(text) : postcodeAbove; !code.isEmpty())
                put(fields, kPostal, code, line);
            SlotFill& slot = fields[size_t(kAddress.first)];
            if (!slot.filled) {
                put(fields, kAddress, text, line);
                if (!isJapanese(text))
                    takeAddressLinesAbove(slot, line, rest);
                // "3000 K" and "Street NW, Suite 275": the house number the engine set apart on the
                // street's row, just left of it.
                const int h = std::max(1, line.bottom - line.top);
                const auto number = std::find_if(rest.begin(), rest.end(), [&](const auto& r) {
                    const RecognizedLine& piece = *r.first;
                    const int overlap = std::min(piece.bottom, line.bottom) - std::max(piece.top, line.top);
                    return overlap * 2 > std::min(h, piece.bottom - piece.top) && piece.right < line.left && line.left - piece.right < 2 * h
                        && digitCount(r.second) > 0 && !isJapanese(r.second) && !isJapanese(text) && isWesternStreet(text);
                });
                if (number != rest.end()) {
                    slot.text = number->second + u' ' + slot.text;
                    slot.left = std::min(slot.left, number->first->left);
                    rest.erase(number);
                }
                lastAddressLine = int(index);
                continue;
            }
            if (goesOnBelow(lines, lastAddressLine, index) || pieceBelow
                || (lastAddressLine >= 0 && continuesOnRow(lines[size_t(lastAddressLine)], line, text))) {
                // "Care 2nd Floor, Apex House" over "Edinburgh EH3 8BL": a line far wider than its
                // letters, at the size of the line below, spans a gap between columns; the words
                // before its number are the other column's.
                const RecognizedLine& first = lines[size_t(lastAddressLine)];
                static const QRegularExpression leadingWords(QStringLiteral(R"(^((?:\p{L}+\s+){1,2})(?=[0-9]))"));
                const auto m = leadingWords.match(slot.text);
                if (m.hasMatch() && !slot.text.contains(u'\n') && !isJapanese(slot.text)
                    && double(first.right - first.left) / double(slot.text.size())
                        > 2.0 * double(line.right - line.left) / double(std::max<qsizetype>(1, text.size()))) {
                    rest.emplace_back(&first, m.captured(1).trimmed());
                    slot.text = slot.text.mid(m.capturedLength());
                }
                if (const qsizetype start = townLineStartInColumn(text, line, first, slot.left, domain); start > 0) {
                    rest.emplace_back(&line, text.left(start).trimmed());
                    text = text.mid(start);
                }
                extend(slot, text, line, townGoesOn && !slot.text.endsWith(u'-') ? u' ' : u'\n');
                lastAddressLine = int(index);
                continue;
            }
        }
        rest.emplace_back(&line, text);
    }

    // A country line set under the address is its last line; one set elsewhere (by the name) is
    // none of it. Neither is a name or a company.
    for (auto it = rest.begin(); it != rest.end();) {
        if (!isCountryLine(it->second)) {
            ++it;
            continue;
        }
        SlotFill& address = fields[size_t(kAddress.first)];
        const RecognizedLine& country = *it->first;
        const int h = std::max(1, country.bottom - country.top);
        if (address.filled && !isJapanese(address.text) && !isJapanese(it->second) && country.top > address.top
            && country.top - address.bottom < 3 * h && country.left < address.right + 2 * h && country.right > address.left - 2 * h)
            extend(address, it->second, country, u'\n');
        it = rest.erase(it);
    }
    // Numbers without a label: a mobile by its form, where the card tells its country, else the
    // telephone.
    const QString& country = forms.country;
    // Of several rows with an icon or a lost label each, the telephone comes first and the fax last
    // (by their place on the card, not the order the engine read its blocks in);
    // a fax is a line of the telephone's own exchange, so a number of another (a mobile whose
    // country the card does not show) is no fax, nor is one with more numbers below it (a direct
    // line between the office and the mobile). Where mobile numbers look like any other (North
    // America), one of another exchange than the telephone's is the mobile.
    const auto numbersBelow = [&lines](const RecognizedLine& row) {
        return std::any_of(lines.begin(), lines.end(), [&row](const RecognizedLine& l) {
            return l.top > (row.top + row.bottom) / 2 && !numbersOfLine(l.text).empty();
        });
    };
    std::stable_sort(unnamedNumbers.begin(), unnamedNumbers.end(),
                     [](const UnnamedNumber& a, const UnnamedNumber& b) { return a.line->top < b.line->top; });
    const UnnamedNumber* fax = nullptr;
    for (const UnnamedNumber& u : unnamedNumbers) {
        const SlotFill& telephone = fields[size_t(kTelephone.first)];
        const bool belowTelephone = telephone.filled && telephone.top != u.line->top;
        const bool ofTheExchange = belowTelephone && ofOneExchange(telephone.text, u.number.digits);
        const bool mobile = !fields[size_t(kMobile.first)].filled
            && (hasMobileForm(u.number.digits, country) || (belowTelephone && !ofTheExchange && mobilesLookLikeOtherNumbers(country)));
        if (!mobile && ofTheExchange && !numbersBelow(*u.line)) {
            if (fax)
                put(fields, kTelephone, fax->number.number, *fax->line);
            fax = &u;
        } else {
            put(fields, mobile ? kMobile : kTelephone, u.number.number, *u.line);
        }
    }
    if (fax)
        put(fields, kFax, fax->number.number, *fax->line);
    if (markMisread) {
        const QString number = withoutEdgeMarks(markMisread->text);
        if (!fields[size_t(kPostal.first)].filled && japaneseCard)
            put(fields, kPostal, postalCodeWithMarkMisread(number), *markMisread);
        else
            put(fields, kTelephone, number, *markMisread);
    }
    if (SlotFill& address = fields[size_t(kAddress.first)]; address.filled) {
        // A mark left of the address (". 2 N Central Avenue") is no part of it.
        static const QRegularExpression leadingMark(QStringLiteral(R"((^|\n)[^\p{L}\p{N}\s]{1,2}\s+)"));
        if (!isJapanese(address.text))
            address.text = withLatinAddressDashes(withLatinAddressBlanks(withLatinRomanNumerals(withLatinOrdinalSigns(
                withLatinStreetAbbreviations(withoutLeadingIcon(withLatinStreetWordsAsPrinted(withLatinLettersForCyrillic(address.text))))))));
        // Nor is a rule the engine read at the end of a line ("銀座センタービル8F_", "G2 6DS _—"), an icon
        // or a speck after it ("Coimbra ®t", "Bela (6)"), or the label of an e-mail or web address whose
        // address went to its own field ("CEP 88010-400 Email.").
        static const QRegularExpression trailingRule(
            QStringLiteral(R"((?:\s*[_|]|\s+[—–\-])[_|—–\-]*(?=\n|$)|\s+[©®@]\S?(?=\n|$)|(?<![0-9])\s+\p{Ll}(?=\n|$)|)"
                           R"(\s+(?:E-?mail|Email|Courriel|Correo|Web|Site)[.:]?(?=\n|$)|)"
                           R"(\s+[(\[{](?:[0-9]{1,2}|\p{Ll}|[^\s\p{L}\p{N}])[)\]}](?=\n|$))"));
        address.text =
            withBuildingSpelledAsPlace((isJapanese(address.text) ? withBlockHyphens(address.text) : address.text)
                                           .replace(leadingMark, QStringLiteral("\\1"))
                                           .remove(trailingRule));
    }

    if (SlotFill& web = fields[size_t(kWeb.first)]; web.filled && fields[size_t(kEmail.first)].filled)
        web.text = withMailDomain(web.text, fields[size_t(kEmail.first)].text);

    MailEvidence mail = mailEvidence(fields[size_t(kEmail.first)].text);
    if (mail.domain.isEmpty())
        mail.domain = webDomain(fields[size_t(kWeb.first)].text);
    // The company: a line with a legal form, else a wordmark the e-mail's domain names.
    const std::pair<const RecognizedLine*, QString>* company = nullptr;
    for (const auto& c : companies) {
        if (!company || (matchesDomain(c.second, mail.domain) && !matchesDomain(company->second, mail.domain)))
            company = &c;
    }
    auto wordmark = rest.end();
    for (auto it = rest.begin(); it != rest.end(); ++it) {
        if (matchesDomain(it->second, mail.domain) && !matchesMailName(it->second, mail.nameParts)) {
            wordmark = it;
            break;
        }
    }
    const auto piece = wordmark == rest.end() ? rest.end() : std::find_if(rest.begin(), rest.end(), [&](const auto& r) {
        return r.first != wordmark->first && continuesWordmark(*wordmark->first, *r.first, r.second)
            && !matchesMailName(r.second, mail.nameParts)
            && !(looksLikeName(r.second) && setOverTitle(*r.first, fields[size_t(kTitle.first)]));
    });
    if (piece != rest.end()) {
        wordmark->second += u' ' + piece->second;
        rest.erase(piece);
    }
    // The engine reads a small "plc" as "pic" or "ple".
    static const QRegularExpression plc(QStringLiteral(R"(\s(pic|ple|p1c)$)"));
    if (company) {
        put(fields, kCompany, withoutLogoScraps(company->second, mail.domain).replace(plc, QStringLiteral(" plc")), *company->first);
    } else if (wordmark != rest.end()) {
        put(fields, kCompany, withoutLogoScraps(wordmark->second, mail.domain).replace(plc, QStringLiteral(" plc")), *wordmark->first);
    }
    if (wordmark != rest.end())
        rest.erase(wordmark);

    // The name: the line the e-mail names, else the tallest line that reads as a name, else the
    // tallest line left. Printed furigana just above a Japanese name is its reading.
    const std::pair<const RecognizedLine*, QString>* name = nullptr;
    const auto height = [](const RecognizedLine* l) { return l->bottom - l->top; };
    // "矢部　浩二" set wide apart comes as two pieces of one row.
    std::deque<RecognizedLine> joined;
    for (size_t i = 0; i + 1 < rest.size(); ++i) {
        const RecognizedLine& a = *rest[i].first;
        const RecognizedLine& b = *rest[i + 1].first;
        const int h = std::max(1, height(&a));
        const bool sameRow = std::min(a.bottom, b.bottom) - std::max(a.top, b.top) > h / 2 && std::abs(height(&b) - h) * 4 < h
            && b.left > a.right && b.left - a.right < 4 * h;
        if (sameRow && isJapanese(rest[i].second) && isJapanese(rest[i + 1].second) && looksLikeName(rest[i].second + rest[i + 1].second)) {
            joined.push_back({rest[i].second + u' ' + rest[i + 1].second, a.left, std::min(a.top, b.top), b.right,
                              std::max(a.bottom, b.bottom), std::min(a.confidence, b.confidence)});
            rest[i] = {&joined.back(), joined.back().text};
            rest.erase(rest.begin() + qsizetype(i) + 1);
        }
    }
    // A mark the engine reads at the end of a name ("佐久間 カオリ|", "上村 =", a speck far right of
    // it: "岩崎 佳奈子     了") goes, and a katakana letter alone among kanji is the kanji it looks like.
    for (auto& candidate : rest) {
        static const QRegularExpression scraps(QStringLiteral(R"(^[^\p{L}\p{N}]+|\s*[^\p{L}\p{N}\s]+$|\s{3,}\S$)"));
        const QString cleaned = withLookalikeKanji(QString(candidate.second).remove(scraps));
        if (isJapanese(candidate.second) && looksLikeName(cleaned))
            candidate.second = cleaned;
    }
    // A name read together with what the engine found after it on its row.
    if (!japaneseCard) {
        for (auto& candidate : rest)
            candidate.second = latinNameWithoutTrailingNoise(candidate.second);
    }
    // A Japanese name: the line the dictionary reads as family and given name, else the tallest
    // line of a name's shape.
    const auto personal = [&familyNameLength](const QString& t) {
        return familyNameLength && familyNameLength(QString(t).remove(u' ')) > 0;
    };
    for (const auto& candidate : rest) {
        if (!isJapanese(candidate.second) || !looksLikeName(candidate.second))
            continue;
        const bool better = !name || personal(candidate.second) > personal(name->second)
            || (personal(candidate.second) == personal(name->second) && height(candidate.first) > height(name->first));
        if (better)
            name = &candidate;
    }
    for (const auto& candidate : rest) {
        if (name || !japaneseCard)
            break;
        if (matchesMailName(candidate.second, mail.nameParts) && looksLikeName(candidate.second)) {
            name = &candidate;
            break;
        }
    }
    // A Latin card's name by how cards are set: the line the e-mail names, set just over the title,
    // and not the company's (its domain's words, a kind of business, a logo mark before it).
    const auto weight = [&](const std::pair<const RecognizedLine*, QString>& candidate) {
        if (japaneseCard)
            return 0;
        const QString& t = candidate.second;
        const bool mailName = matchesMailName(t, mail.nameParts);
        static const QRegularExpression markFirst(QStringLiteral(R"(^(?:[^\p{L}\p{N}\s]+|\p{L})\s)"));
        return (mailName ? 8 : 0) - (matchesDomain(t, mail.domain) && !mailName ? 6 : 0) - (namesAKindOfBusiness(t) || isCompany(t) ? 4 : 0)
            - (markFirst.match(t).hasMatch() ? 2 : 0)
            + (setOverTitle(*candidate.first, fields[size_t(kTitle.first)])
                       || setOverTitle(*candidate.first, fields[size_t(kDepartment.first)])
                   ? 3
                   : 0);
    };
    // On a Latin card a line of the company's, or a scrap of a few letters, is the name only when
    // no other line is left.
    const auto companys = [&](const QString& t) {
        return !japaneseCard && !matchesMailName(t, mail.nameParts)
            && (matchesDomain(t, mail.domain) || namesAKindOfBusiness(t) || isCompany(t));
    };
    for (int pass = 0; pass < (japaneseCard ? 2 : 3) && !name; ++pass) {
        for (const auto& candidate : rest) {
            const QString& t = candidate.second;
            if (digitCount(t) * 2 > t.size() || isKanaOnly(t) || isAddress(t) || (pass == 0 && !looksLikeName(t))
                || (pass < 2 && (companys(t) || (!japaneseCard && letterCount(t) < 4))))
                continue;
            // A Japanese name goes before the English one printed beside it.
            const bool better = !name || (isJapanese(t) && !isJapanese(name->second))
                || (isJapanese(t) == isJapanese(name->second)
                    && (weight(candidate) > weight(*name)
                        || (weight(candidate) == weight(*name) && height(candidate.first) > height(name->first))));
            if (better)
                name = &candidate;
        }
    }
    // A Latin card's company without a legal form or a web address is the line that names a kind
    // of business ("TERN CAPITAL").
    if (!japaneseCard && !fields[size_t(kCompany.first)].filled) {
        const std::pair<const RecognizedLine*, QString>* business = nullptr;
        for (const auto& candidate : rest) {
            if (&candidate != name && namesAKindOfBusiness(candidate.second) && digitCount(candidate.second) == 0
                && (!business || height(candidate.first) > height(business->first)))
                business = &candidate;
        }
        if (business)
            put(fields, kCompany, withoutLogoScraps(business->second, mail.domain), *business->first);
    }
    if (!name)
        return fields;
    QString text = name->second;
    // Printed furigana just above the name is its reading; a katakana word there that reads
    // otherwise than the name ("アナリスト") is a job title.
    const QString dictionaryReading = readingOf && isJapanese(text) ? readingOf(text) : QString();
    std::vector<const std::pair<const RecognizedLine*, QString>*> used{name};
    for (const auto& candidate : rest) {
        if (isJapanese(text) && isKanaOnly(candidate.second) && candidate.first->bottom <= name->first->top
            && name->first->top - candidate.first->bottom < 2 * height(name->first)
            && readsAsFurigana(candidate.second, dictionaryReading)) {
            put(fields, Group{5, 5}, candidate.second, *candidate.first);
            used.push_back(&candidate);
        }
    }
    // "北村雄一": the blank goes where the dictionary's family name ends, else where the family name's
    // reading ends: the printed furigana's first word ("みない みづき" over "薬袋美月") or the family
    // name of the romanised name ("AIMONO Makoto", "Makoto Aimono").
    // "曽我部 琉 生", "日 下部 颯太": of two blanks the engine put one inside a part; the split below
    // finds the one that stays.
    if (isJapanese(text) && text.count(u' ') > 1)
        text.remove(u' ');
    if (int family = familyNameLength && isJapanese(text) && !text.contains(u' ') ? familyNameLength(text) : 0; family > 0) {
        text.insert(family, u' ');
    } else if (readingOf && isJapanese(text) && !text.contains(u' ')) {
        const QString printed = fields[5].text;
        const QString kana = printed.contains(u' ') ? katakanaOf(printed.section(u' ', 0, 0, QString::SectionSkipEmpty)) : QString();
        QString latin;
        for (const auto& candidate : rest) {
            const QStringList words = candidate.second.split(u' ', Qt::SkipEmptyParts);
            if (!kana.isEmpty() || isJapanese(candidate.second) || words.size() != 2 || !looksLikeName(candidate.second))
                continue;
            const bool firstUpper = words.at(0).size() > 1 && words.at(0) == words.at(0).toUpper();
            latin = firstUpper ? words.at(0) : words.at(1);
            break;
        }
        for (family = 1; family < text.size() && (!kana.isEmpty() || !latin.isEmpty()); ++family) {
            const QString reading = readingOf(text.left(family));
            if (!reading.isEmpty() && (reading == kana || (!latin.isEmpty() && readsAsRomanised(reading, latin)))) {
                text.insert(family, u' ');
                break;
            }
        }
    }
    if (readingOf && isJapanese(text)) {
        QStringList others;
        for (const auto& candidate : rest)
            others << candidate.second;
        others << fields[size_t(kEmail.first)].text;
        text = correctedJapaneseName(text, fields[5].text, others);
    }
    if (!japaneseCard)
        text = latinNameWithInitialStops(latinNameSpelledByMail(latinNameWithLettersForMarks(text), fields[size_t(kEmail.first)].text));
    put(fields, kName, text, *name->first);
    if (SlotFill& mail = fields[size_t(kEmail.first)]; mail.filled && !japaneseCard)
        mail.text = mailAddressWithNameWordsWhole(mail.text, text);
    // A title no rule knows is still set just above the name (or left of it on its row), smaller:
    // the nearest such Japanese line is the title, or the department when it ends in a unit.
    const int nameHeight = std::max(1, height(name->first));
    const std::pair<const RecognizedLine*, QString>* nearest = nullptr;
    int nearestGap = 0;
    for (const auto& candidate : rest) {
        const RecognizedLine& l = *candidate.first;
        const QString compact = QString(candidate.second).remove(u' ');
        if (std::find(used.begin(), used.end(), &candidate) != used.end() || !isJapanese(compact) || compact.size() < 2
            || compact.size() > 16 || digitCount(compact) > 0 || height(&l) >= nameHeight || isCompany(compact)
            || compact.contains(QRegularExpression(QStringLiteral(R"([\x{3041}-\x{3096}])"))))
            continue;
        const bool above = l.bottom <= name->first->top + nameHeight / 4 && name->first->top - l.bottom < 3 * nameHeight
            && l.left < name->first->right + 2 * nameHeight && l.right > name->first->left - 2 * nameHeight;
        const bool leftOnRow = std::min(l.bottom, name->first->bottom) > std::max(l.top, name->first->top) && l.right <= name->first->left
            && name->first->left - l.right < 3 * nameHeight;
        const int gap = above ? name->first->top - l.bottom : name->first->left - l.right;
        if ((above || leftOnRow) && (!nearest || gap < nearestGap)) {
            nearest = &candidate;
            nearestGap = gap;
        }
    }
    if (nearest) {
        if (isDepartment(nearest->second))
            put(fields, kDepartment, nearest->second, *nearest->first);
        else
            put(fields, kTitle, nearest->second, *nearest->first);
    }
    if (!japaneseCard)
        takeTitleAndDepartmentUnderName(fields, *name->first, rest, used, [&](const QString& t) {
            return isCompany(t) || namesAKindOfBusiness(t) || matchesDomain(t, mail.domain) || isAddress(t);
        });
    // On a Latin or Cyrillic card where no line was the company, a "department" that no department
    // word names, or that stands over the name, is the company's name.
    if (SlotFill& department = fields[size_t(kDepartment.first)]; department.filled && !fields[size_t(kCompany.first)].filled
        && std::all_of(department.text.begin(), department.text.end(), [](QChar c) { return c.unicode() < 0x2E80; })
        && (!isDepartment(department.text) || department.bottom <= name->first->top)) {
        put(fields, kCompany, department.text, {department.text, department.left, department.top, department.right, department.bottom});
        department = SlotFill{};
    }
    if (SlotFill& title = fields[size_t(kTitle.first)]; title.filled && !japaneseCard)
        title.text = withTitleWordsWhole(title.text, namesAJobTitle);
    if (SlotFill& department = fields[size_t(kDepartment.first)]; department.filled && !japaneseCard)
        department.text = withTitleWordsWhole(department.text, namesADepartment);
    return fields;
}

QByteArray encodeResultSlots(const ResultSlots& fields)
{
    QByteArray result(int(ocr::kResultSize), '\0');
    for (size_t i = 0; i < fields.size(); ++i) {
        const SlotFill& s = fields[i];
        if (!s.filled)
            continue;
        auto* field = reinterpret_cast<uint8_t*>(result.data()) + i * ocr::kFieldSize;
        ocr::writeU16(field + ocr::kFieldLeftOffset, uint16_t(std::clamp(s.left, 0, 0xFFFF)));
        ocr::writeU16(field + ocr::kFieldTopOffset, uint16_t(std::clamp(s.top, 0, 0xFFFF)));
        ocr::writeU16(field + ocr::kFieldRightOffset, uint16_t(std::clamp(s.right, 0, 0xFFFF)));
        ocr::writeU16(field + ocr::kFieldBottomOffset, uint16_t(std::clamp(s.bottom, 0, 0xFFFF)));
        QString text = s.text.left(qsizetype(ocr::kFieldTextUnits) - 1);
        if (!text.isEmpty() && text.back().isHighSurrogate())
            text.chop(1);
        for (qsizetype u = 0; u < text.size(); ++u)
            ocr::writeU16(field + ocr::kFieldTextOffset + 2 * size_t(u), text.at(u).unicode());
    }
    return result;
}
