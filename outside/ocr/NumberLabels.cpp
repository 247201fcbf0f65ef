#include "outside/ocr/NumberLabels.h"

#include "outside/ocr/CardLanguage.h"
#include "outside/ocr/JobTitleWords.h"

#include <QRegularExpression>

#include <algorithm>
#include <array>
#include <map>

namespace {

// What a word before a number says of it; a suffix ("Nr.", "番号") says nothing but belongs to the
// label.
enum class Says { Telephone, Fax, Mobile, Suffix };

struct LabelWord {
    const char16_t* word;
    Says says;
};

// Number labels of the languages cards are read in, lower case, without their full stop. Words of
// Latin or Cyrillic letters count only as whole words; Japanese, Chinese and Korean ones also
// inside a longer label ("携帯電話", "手机号码").
constexpr LabelWord kLabelWords[] = {
    // English; a lone "O" is no label: it is what the engine makes of a round icon.
    {u"tel", Says::Telephone}, {u"tele", Says::Telephone}, {u"telephone", Says::Telephone}, {u"phone", Says::Telephone},
    {u"ph", Says::Telephone}, {u"p", Says::Telephone}, {u"t", Says::Telephone},
    {u"d", Says::Telephone}, {u"dd", Says::Telephone}, {u"direct", Says::Telephone}, {u"dir", Says::Telephone},
    {u"office", Says::Telephone}, {u"main", Says::Telephone}, {u"work", Says::Telephone}, {u"switchboard", Says::Telephone},
    {u"landline", Says::Telephone}, {u"line", Says::Telephone},
    {u"mobile", Says::Mobile}, {u"mob", Says::Mobile}, {u"m", Says::Mobile}, {u"cell", Says::Mobile},
    {u"cellular", Says::Mobile}, {u"c", Says::Mobile},
    {u"fax", Says::Fax}, {u"f", Says::Fax}, {u"fx", Says::Fax}, {u"facsimile", Says::Fax},
    {u"no", Says::Suffix}, {u"number", Says::Suffix}, {u"num", Says::Suffix}, {u"#", Says::Suffix},
    // German
    {u"telefon", Says::Telephone}, {u"durchwahl", Says::Telephone}, {u"dw", Says::Telephone}, {u"zentrale", Says::Telephone},
    {u"fon", Says::Telephone}, {u"festnetz", Says::Telephone}, {u"büro", Says::Telephone}, {u"direkt", Says::Telephone},
    {u"mobil", Says::Mobile}, {u"handy", Says::Mobile}, {u"mobiltelefon", Says::Mobile}, {u"funk", Says::Mobile},
    {u"telefax", Says::Fax}, {u"nr", Says::Suffix}, {u"nummer", Says::Suffix},
    // French
    {u"tél", Says::Telephone}, {u"téléphone", Says::Telephone}, {u"ligne", Says::Telephone}, {u"directe", Says::Telephone},
    {u"ld", Says::Telephone}, {u"standard", Says::Telephone}, {u"bureau", Says::Telephone}, {u"fixe", Says::Telephone},
    {u"portable", Says::Mobile}, {u"port", Says::Mobile}, {u"gsm", Says::Mobile},
    {u"télécopie", Says::Fax}, {u"telecopie", Says::Fax}, {u"télécopieur", Says::Fax}, {u"n°", Says::Suffix},
    {u"numéro", Says::Suffix},
    // Italian
    {u"telefono", Says::Telephone}, {u"ufficio", Says::Telephone}, {u"diretto", Says::Telephone}, {u"centralino", Says::Telephone},
    {u"cellulare", Says::Mobile}, {u"cell", Says::Mobile}, {u"cel", Says::Mobile}, {u"numero", Says::Suffix},
    // Spanish
    {u"teléfono", Says::Telephone}, {u"tfno", Says::Telephone}, {u"tfn", Says::Telephone}, {u"tlf", Says::Telephone},
    {u"tlfno", Says::Telephone}, {u"tf", Says::Telephone}, {u"fijo", Says::Telephone}, {u"oficina", Says::Telephone},
    {u"directo", Says::Telephone}, {u"centralita", Says::Telephone},
    {u"móvil", Says::Mobile}, {u"movil", Says::Mobile}, {u"mov", Says::Mobile}, {u"celular", Says::Mobile},
    {u"número", Says::Suffix}, {u"nº", Says::Suffix},
    // Portuguese
    {u"telefone", Says::Telephone}, {u"fone", Says::Telephone}, {u"escritório", Says::Telephone},
    {u"escritorio", Says::Telephone}, {u"direto", Says::Telephone}, {u"fixo", Says::Telephone},
    {u"telemóvel", Says::Mobile}, {u"telemovel", Says::Mobile}, {u"tlm", Says::Mobile}, {u"tm", Says::Mobile},
    {u"tim", Says::Mobile}, // "Tlm." as the engine reads it
    {u"telm", Says::Mobile}, {u"telef", Says::Telephone}, {u"whatsapp", Says::Mobile}, {u"whats", Says::Mobile},
    {u"móvel", Says::Mobile}, {u"movel", Says::Mobile},
    // Russian
    {u"тел", Says::Telephone}, {u"телефон", Says::Telephone}, {u"т", Says::Telephone}, {u"раб", Says::Telephone},
    {u"рабочий", Says::Telephone}, {u"офис", Says::Telephone}, {u"моб", Says::Mobile}, {u"мобильный", Says::Mobile},
    {u"мобил", Says::Mobile}, {u"сот", Says::Mobile}, {u"сотовый", Says::Mobile}, {u"м", Says::Mobile},
    {u"факс", Says::Fax}, {u"ф", Says::Fax}, {u"номер", Says::Suffix},
    // Korean in Latin letters: "H.P." is the mobile ("hand phone").
    {u"hp", Says::Mobile}, {u"h.p", Says::Mobile},
    // Japanese, Chinese and Korean
    {u"電話", Says::Telephone}, {u"直通", Says::Telephone}, {u"代表", Says::Telephone}, {u"电话", Says::Telephone},
    {u"座机", Says::Telephone}, {u"座機", Says::Telephone}, {u"办公", Says::Telephone}, {u"辦公", Says::Telephone},
    {u"总机", Says::Telephone}, {u"總機", Says::Telephone}, {u"直线", Says::Telephone}, {u"直線", Says::Telephone},
    {u"直拨", Says::Telephone}, {u"전화", Says::Telephone}, {u"직통", Says::Telephone}, {u"대표", Says::Telephone},
    {u"사무실", Says::Telephone},
    {u"携帯", Says::Mobile}, {u"ケータイ", Says::Mobile}, {u"モバイル", Says::Mobile}, {u"手机", Says::Mobile},
    {u"手機", Says::Mobile}, {u"移动", Says::Mobile}, {u"行動", Says::Mobile}, {u"휴대폰", Says::Mobile},
    {u"핸드폰", Says::Mobile}, {u"휴대", Says::Mobile}, {u"모바일", Says::Mobile},
    {u"ファックス", Says::Fax}, {u"ファクス", Says::Fax}, {u"传真", Says::Fax}, {u"傳真", Says::Fax}, {u"팩스", Says::Fax},
    {u"番号", Says::Suffix}, {u"号码", Says::Suffix}, {u"號碼", Says::Suffix}, {u"번호", Says::Suffix},
    // Icons a font or the engine gives as characters of their own
    {u"☎", Says::Telephone}, {u"☏", Says::Telephone}, {u"✆", Says::Telephone}, {u"📞", Says::Telephone},
    {u"℡", Says::Telephone}, {u"🕿", Says::Telephone}, {u"📱", Says::Mobile}, {u"📲", Says::Mobile},
    {u"📠", Says::Fax}, {u"℻", Says::Fax},
};

bool isEastAsian(QChar c)
{
    const ushort u = c.unicode();
    return (u >= 0x2E80 && u <= 0x9FFF) || (u >= 0xAC00 && u <= 0xD7AF) || (u >= 0x1100 && u <= 0x11FF)
        || (u >= 0x3130 && u <= 0x318F) || (u >= 0xF900 && u <= 0xFAFF);
}

// Full-width Latin letters ("ＴＥＬ"), letters in a circle ("Ⓣ", "ⓜ") and accented letters ("Mövil"
// as the engine reads "Móvil") as plain small letters, one character for one, so that places in the
// text stay.
QString plainLetters(const QString& text)
{
    QString out = text;
    for (QChar& c : out) {
        const ushort u = c.unicode();
        if (u >= 0xFF01 && u <= 0xFF5E)
            c = QChar(u - 0xFEE0);
        else if (u >= 0x24B6 && u <= 0x24CF)
            c = QChar(u'A' + (u - 0x24B6));
        else if (u >= 0x24D0 && u <= 0x24E9)
            c = QChar(u'a' + (u - 0x24D0));
    }
    return foldedForWords(out);
}

struct Label {
    QString word; // as `plainLetters` gives it
    Says says;
};

// The label words, longest first, so that "telefax" is tried before "fax".
const std::vector<Label>& labelWords()
{
    static const std::vector<Label> words = [] {
        std::vector<Label> all;
        for (const LabelWord& w : kLabelWords)
            all.push_back({plainLetters(QString::fromUtf16(w.word)), w.says});
        std::stable_sort(all.begin(), all.end(), [](const Label& a, const Label& b) { return a.word.size() > b.word.size(); });
        return all;
    }();
    return words;
}

const QRegularExpression& numberPattern()
{
    // A dot before the last four digits may be read as a comma ("010.0999,5202").
    static const QRegularExpression re(
        QStringLiteral(R"([+十]?[(（]?[0-9０-９](?:[0-9０-９()（）\-－ ./]|(?<=[0-9]),(?=[0-9]{4}(?![0-9]))){5,}[0-9０-９])"));
    return re;
}

// "ext. 45", "x204", "poste 12", "p. 12", "App. 12", "Durchwahl -12", "（内線123）": an extension right after
// a number, of up to six digits that no more digits follow.
const QRegularExpression& extensionPattern()
{
    static const QRegularExpression re(
        QStringLiteral(R"(^\s*[,;]?\s*[(（]?\s*(?:ext|extn|ext'n|x|poste|p(?=\.)|app|apparat|durchwahl|dw|int|interno|anexo|ramal|доб|вн|内線|內線|分机|分機|转|轉|내선|분기)\.?\s*[:：.]?\s*[-–]?\s*[0-9０-９]{1,6}(?![0-9０-９]|\s*[-–./]?\s*[0-9０-９])\s*[)）]?)"),
        QRegularExpression::CaseInsensitiveOption);
    return re;
}

QString asciiDigits(const QString& text)
{
    QString out;
    for (QChar c : text) {
        if (c.unicode() >= 0xFF10 && c.unicode() <= 0xFF19)
            out += QChar(u'0' + (c.unicode() - 0xFF10));
        else if (c.isDigit())
            out += c;
    }
    return out;
}

// The digits of a number, "+" first when it is dialled from abroad ("+44 (0)20…" and "0044 20…"
// give "+4420…"; the "(0)" is not dialled from abroad).
QString digitsOf(const QString& number)
{
    QString n = QString(number).replace(u'十', u'+');
    static const QRegularExpression trunk(QStringLiteral(R"(\(\s*0\s*\))"));
    const bool international = n.trimmed().startsWith(u'+');
    n.remove(trunk);
    QString digits = asciiDigits(n);
    if (international)
        return u'+' + digits;
    if (digits.startsWith(QStringLiteral("00")) && digits.size() > 10)
        return u'+' + digits.mid(2);
    return digits;
}

struct LeadLabel {
    bool telephone = false, fax = false, mobile = false;
    bool icon = false; // a mark or a letter no label knows
    int words = 0, letters = 0; // label words found, and of them those of one letter
    qsizetype at = 0; // where the label and its icon start in the lead
};

// The label at the end of the text before a number, read backwards word by word: "Teléfono móvil:",
// "Tel./Fax", "(M)", "携帯電話：", "© ". Words before it that are no label are left.
LeadLabel labelAtEnd(const QString& lead)
{
    static const QRegularExpression separators(QStringLiteral(R"([\s:：.．\-–—/|·•,;=()\[\]（）【】&＆+]+$)"));
    const QString plain = plainLetters(lead);
    LeadLabel found;
    qsizetype end = lead.size();
    found.at = end;
    for (;;) {
        const auto sep = separators.match(plain.left(end));
        if (sep.hasMatch())
            end = sep.capturedStart();
        const QString text = plain.left(end);
        // The label word the text ends in, whole; else a long one with one letter misread
        // ("Telemével").
        const auto differences = [&text](const QString& word, qsizetype at) {
            qsizetype differ = 0;
            for (qsizetype i = 0; i < word.size() && differ < 2; ++i)
                differ += text.at(at + i) != word.at(i);
            return differ;
        };
        const Label* label = nullptr;
        for (int misread = 0; misread < 2 && !label; ++misread) {
            for (const Label& w : labelWords()) {
                const qsizetype at = end - w.word.size();
                const bool wholeWord = at == 0 || (at > 0 && (!text.at(at - 1).isLetterOrNumber() || isEastAsian(w.word.front())));
                if (wholeWord && differences(w.word, at) == misread && (misread == 0 || w.word.size() >= 7)) {
                    label = &w;
                    end = at;
                    break;
                }
            }
        }
        bool matched = label != nullptr;
        if (label) {
            ++found.words;
            found.letters += label->word.size() == 1;
            found.telephone |= label->says == Says::Telephone;
            found.fax |= label->says == Says::Fax;
            found.mobile |= label->says == Says::Mobile;
        }
        if (!matched && !found.icon) {
            // A round or square icon read as a stray mark or letter: "©", "@", "Q", "O", "(", "®)".
            static const QRegularExpression icon(QStringLiteral(R"((?:^|\s)([^\s\p{L}\p{N}]{1,3}|[^\s\p{N}])$)"));
            if (const auto m = icon.match(text); m.hasMatch() && end > 0) {
                found.icon = true;
                end = m.capturedStart(1);
                matched = true;
            }
        }
        if (!matched)
            break;
        found.at = end;
    }
    return found;
}

NumberKind kindOf(const LeadLabel& label)
{
    if (label.mobile)
        return NumberKind::Mobile;
    if (label.telephone && label.fax)
        return NumberKind::TelephoneAndFax;
    if (label.fax)
        return NumberKind::Fax;
    if (label.telephone)
        return NumberKind::Telephone;
    return NumberKind::Unknown;
}

// A telephone number has at least seven digits; fewer is a postal code, a street number or a date,
// and a Japanese postal code has seven in its own shape.
bool isNumberOfAPhone(const QString& number)
{
    // Japanese, Brazilian and Portuguese postal codes: "104-0061", "13015-904", "1000-001".
    static const QRegularExpression postalCode(
        QStringLiteral(R"(^(?:[0-9０-９]{3}[-－ー‐−][0-9０-９]{4}|[0-9]{5}-[0-9]{3}|[0-9]{4}-[0-9]{3})$)"));
    return asciiDigits(number).size() >= 7 && !postalCode.match(number.trimmed()).hasMatch();
}

struct MobileForm {
    const char* country;
    const char* code; // the country code
    const char* trunk; // dialled before a national number at home, "" for none
    const char* prefixes; // of the mobile numbers, after the country code or trunk prefix; "^$" for none
    int minLength, maxLength; // of the national significant number
};

constexpr MobileForm kMobileForms[] = {
    {"GB", "44", "0", "^7[1-57-9]", 10, 10},  {"DE", "49", "0", "^1[5-7]", 10, 11},   {"FR", "33", "0", "^[67]", 9, 9},
    {"ES", "34", "", "^[67]", 9, 9},          {"IT", "39", "", "^3", 9, 10},          {"PT", "351", "", "^9[1236]", 9, 9},
    {"AU", "61", "0", "^4", 9, 9},            {"JP", "81", "0", "^[789]0", 10, 10},   {"CN", "86", "", "^1[3-9]", 10, 11},
    {"KR", "82", "0", "^1[016-9]", 9, 10},    {"RU", "7", "8", "^9", 10, 10},         {"NL", "31", "0", "^6", 9, 9},
    {"BE", "32", "0", "^4[5-9]", 9, 9},       {"CH", "41", "0", "^7[5-9]", 9, 9},     {"AT", "43", "0", "^6[5-9]", 8, 13},
    {"IE", "353", "0", "^8[3-9]", 9, 9},      {"BR", "55", "", "^[1-9][0-9]9", 11, 11}, {"SE", "46", "0", "^7[02369]", 9, 9},
    {"NO", "47", "", "^[49]", 8, 8},          {"NZ", "64", "0", "^2", 8, 10},         {"SG", "65", "", "^[89]", 8, 8},
    {"TW", "886", "0", "^9", 9, 9},           {"MX", "52", "", "^1", 11, 11},         {"US", "1", "", "^$", 10, 10},
};

// Countries all of whose numbers have one length, or two: that of the national significant number,
// after the trunk prefix dialled at home, which a number printed for home callers always shows, or
// may leave out ("1" of the North American plan, "8" of Russia).
struct NumberLength {
    const char* country;
    const char* trunk;
    bool trunkPrinted;
    int minLength, maxLength;
};

constexpr NumberLength kNumberLengths[] = {
    {"FR", "0", true, 9, 9},   {"ES", "", false, 9, 9}, {"PT", "", false, 9, 9},  {"US", "1", false, 10, 10},
    {"RU", "8", false, 10, 10}, {"AU", "0", true, 9, 9}, {"GB", "0", true, 9, 10}, {"NL", "0", true, 9, 9},
    {"BE", "0", true, 8, 9},   {"CH", "0", true, 9, 9}, {"BR", "", false, 10, 11}, {"MX", "", false, 10, 10},
};

bool isMobile(const MobileForm& form, const QString& significant)
{
    return significant.size() >= form.minLength && significant.size() <= form.maxLength
        && QRegularExpression(QString::fromLatin1(form.prefixes)).match(significant).hasMatch();
}

const MobileForm* formOfCountryCode(const QString& international);

// How many digits of two codes differ, one for one.
int digitsApart(const QString& a, const QString& b)
{
    int differ = 0;
    for (qsizetype i = 0; i < std::min(a.size(), b.size()); ++i)
        differ += a[i] != b[i] ? 1 : 0;
    return differ + int(std::abs(a.size() - b.size()));
}

// Whether an international number is a mobile of the country its code names.
bool isKnownMobile(const QString& international)
{
    const MobileForm* form = formOfCountryCode(international);
    return form && isMobile(*form, international.mid(1 + qsizetype(qstrlen(form->code))));
}

const MobileForm* formOfCountryCode(const QString& international)
{
    // "+351" before "+35", "+44" before "+4": the longest code that is one.
    for (int length = 3; length >= 1; --length) {
        for (const MobileForm& form : kMobileForms) {
            if (qstrlen(form.code) == size_t(length) && international.mid(1, length) == QLatin1String(form.code))
                return &form;
        }
    }
    return nullptr;
}

// "4351 214133464": the plus before a country code read as a four. Only where the digits are too
// many for a number dialled at home and, after the plus, are a whole number of that country.
QString withPlusReadAsFour(const QString& number)
{
    const QString digits = asciiDigits(number);
    if (!number.startsWith(u'4') || digits.size() < 12)
        return number;
    const QString international = u'+' + digits.mid(1);
    const MobileForm* form = formOfCountryCode(international);
    if (!form)
        return number;
    const qsizetype significant = international.size() - 1 - qsizetype(qstrlen(form->code));
    const bool whole = significant >= form->minLength && significant <= form->maxLength && international.at(1 + qstrlen(form->code)) != u'0';
    return whole ? u'+' + number.mid(1) : number;
}

// Where the numbers of a line stand (start, end): the matches of `numberPattern`, but two numbers
// set on one row apart by a slash ("0161 496 0000 / 07700 900123") are two, where together they have
// more digits than any number has and each has a number's; a slash inside one ("0171 / 8920975")
// stays.
std::vector<std::pair<qsizetype, qsizetype>> numberSpans(const QString& text)
{
    std::vector<std::pair<qsizetype, qsizetype>> spans;
    for (auto it = numberPattern().globalMatch(text); it.hasNext();) {
        const auto m = it.next();
        qsizetype start = m.capturedStart();
        const QString found = m.captured();
        if (asciiDigits(found).size() > 15) {
            for (qsizetype slash = found.indexOf(u'/'); slash > 0; slash = found.indexOf(u'/', slash + 1)) {
                if (isNumberOfAPhone(found.left(slash)) && isNumberOfAPhone(found.mid(slash + 1))) {
                    spans.emplace_back(start, start + found.left(slash).trimmed().size());
                    start += slash + 1;
                    while (start < m.capturedEnd() && text.at(start).isSpace())
                        ++start;
                    break;
                }
            }
        }
        spans.emplace_back(start, m.capturedEnd());
    }
    return spans;
}

} // namespace

std::vector<NumberOnLine> numbersOfLine(const QString& read)
{
    // "+33 4 76 96 O1 28", "555 O161": a zero of a number read as the letter O, one for one so that
    // places in the text stay.
    static const QRegularExpression letterForZero(QStringLiteral(R"((?<=[0-9]|[0-9][ .\-])[Oo](?=[0-9]))"));
    QString text = QString(read).replace(letterForZero, QStringLiteral("0"));
    // "T1+33 2 55 90 90 55", "T 1 +49 …": no number has a digit before its plus; one run into it or
    // alone after a label is the icon's or the label's stop misread, and stands apart, one for one so
    // that places in the text stay.
    static const QRegularExpression digitBeforePlus(QStringLiteral(R"([0-9](?=\+[0-9])|(?<=^|[^\s\p{N}]|[^\s\p{N}]\s)[0-9](?=\s\+[0-9]))"));
    text.replace(digitBeforePlus, QStringLiteral(" "));
    // "+39 349 864 oso1": a group of a number whose zeros and fives the engine read as the letters
    // o and s, where the group holds a digit too.
    static const QRegularExpression lettersForDigits(QStringLiteral(R"((?<=[0-9][ .\-])[0-9OoSs]{3,}(?![\p{L}\p{N}]))"));
    for (auto it = lettersForDigits.globalMatch(text); it.hasNext();) {
        const auto m = it.next();
        const QString group = m.captured();
        if (std::none_of(group.begin(), group.end(), [](QChar c) { return c.isDigit(); }))
            continue;
        for (qsizetype i = m.capturedStart(); i < m.capturedEnd(); ++i) {
            if (text.at(i).toLower() == u'o')
                text[i] = u'0';
            else if (text.at(i).toLower() == u's')
                text[i] = u'5';
        }
    }
    std::vector<NumberOnLine> numbers;
    qsizetype from = 0;
    for (const auto& [start, end] : numberSpans(text)) {
        const QString found = text.mid(start, end - start);
        if (start < from || !isNumberOfAPhone(found))
            continue;
        const QString lead = text.mid(from, start - from);
        const LeadLabel label = labelAtEnd(lead);
        NumberOnLine n;
        n.kind = kindOf(label);
        // The Japanese model reads the plus of a country code as the kanji "十".
        n.number = found.trimmed().replace(u'十', u'+');
        // An icon read as a digit before a number: "9 055 7637702", "T1 0341 913 400", "0) 799 36 31
        // 86", "(7) 08 2789 6683". No number starts with a lone digit before its trunk zero, nor with a
        // bracket it never opened.
        static const QRegularExpression iconDigit(QStringLiteral(R"(^(?:[0-9](?:\s+(?=0)|\)\s*)|\([0-9]\)\s*(?=0)))"));
        n.number.remove(iconDigit);
        // "+33 (017 32 38 66 45": the bracket that closes the trunk zero read as a one.
        static const QRegularExpression openTrunk(QStringLiteral(R"(^(\+[0-9]{1,3}\s*)\(0[1Il]\s?(?=[1-9]))"));
        if (!n.number.contains(u')'))
            n.number.replace(openTrunk, QStringLiteral("\\1(0)"));
        n.number = withPlusReadAsFour(n.number);
        n.digits = digitsOf(n.number);
        n.labelAt = from + label.at;
        n.letter = label.words > 0 && label.letters == label.words;
        n.end = end;
        // Round icons the engine reads as circled numbers ("@⑩⑬") are marks too.
        static const QRegularExpression marks(QStringLiteral(R"((?:[^\p{L}\p{N}]|[\x{2460}-\x{24FF}\x{3251}-\x{325F}\x{32B1}-\x{32BF}])*)"));
        // A short word or a character alone before the line's first number, or before its icon,
        // is a label or an icon the engine misread ("Mose" for "Mobil", "1:" for "T:", "8" for a
        // telephone, "0%" for a handset, "수 @" for a round telephone icon).
        // A letter of it may be read as a digit ("Mo6." for "Моб."), and before a number dialled
        // with its plus, no digits of the number itself, an icon may be read as any short scrap
        // ("45", "[2]").
        static const QRegularExpression misreadLabel(
            QStringLiteral(R"(^\s*(?:[^\s\p{N}]{2,5}|\S|\p{N}[^\s\p{L}\p{N}]{1,2}|(?=\S*\p{L})\S{2,5})[.:)]?\s*$)"));
        static const QRegularExpression iconBeforePlus(QStringLiteral(R"(^\s*\S{1,3}\s*$)"));
        // "GUDRUN KUHN | © 0151 …": the engine ran a row of another column into the number's with a
        // bar between them; the number stands alone in its part of the row.
        static const QRegularExpression columnBar(QStringLiteral(R"(\s[|¦]\s*$)"));
        n.bare = marks.match(lead.left(label.at)).capturedLength() == label.at
            || (from == 0 && n.kind == NumberKind::Unknown
                && (misreadLabel.match(lead).hasMatch() || (label.icon && misreadLabel.match(lead.left(label.at)).hasMatch())
                    || (n.number.startsWith(u'+') && iconBeforePlus.match(lead).hasMatch())
                    || columnBar.match(lead.left(label.at)).hasMatch()));
        if (const auto ext = extensionPattern().match(text.mid(n.end)); ext.hasMatch()) {
            // "（内線123）" is kept as "内線123".
            static const QRegularExpression wrapping(QStringLiteral(R"(^\s*[,;]?\s*[(（]?\s*|\s*[)）]?\s*$)"));
            n.number += u' ' + ext.captured().remove(wrapping);
            n.end += ext.capturedLength();
        }
        from = n.end;
        numbers.push_back(n);
    }
    return numbers;
}

bool isNumberLabelOnly(const QString& text)
{
    const LeadLabel label = labelAtEnd(text.trimmed());
    return label.at == 0 && !label.icon && kindOf(label) != NumberKind::Unknown;
}


bool hasMobileForm(const QString& digits, const QString& country)
{
    if (digits.startsWith(u'+')) {
        const MobileForm* form = formOfCountryCode(digits);
        if (!form)
            return false;
        QString significant = digits.mid(1 + int(qstrlen(form->code)));
        // Italian numbers keep their 0 after the code; a mobile never has one.
        return isMobile(*form, significant);
    }
    for (const MobileForm& form : kMobileForms) {
        if (country != QLatin1String(form.country))
            continue;
        const QString trunk = QString::fromLatin1(form.trunk);
        if (!trunk.isEmpty() && !digits.startsWith(trunk))
            return false;
        return isMobile(form, digits.mid(trunk.size()));
    }
    return false;
}

NumberOnLine mendedForCountry(NumberOnLine number, const QString& country)
{
    const auto home = std::find_if(std::begin(kMobileForms), std::end(kMobileForms),
                                   [&country](const MobileForm& form) { return country == QLatin1String(form.country); });
    if (home == std::end(kMobileForms))
        return number;
    const QString code = QString::fromLatin1(home->code);
    const qsizetype codeLength = code.size();
    if (!number.digits.startsWith(u'+')) {
        // "182 10 0215 3706": the plus before the country's own code read as a one, where the rest
        // is a whole number of the country (no number dialled at home starts so).
        static const QRegularExpression plusAsOne(QStringLiteral(R"(^1(?=[0-9]))"));
        if (const QString rest = number.digits.mid(1 + codeLength); codeLength >= 2 && number.digits.mid(1, codeLength) == code
            && number.number.contains(plusAsOne) && !rest.startsWith(u'0') && rest.size() >= home->minLength && rest.size() <= home->maxLength) {
            number.number.replace(plusAsOne, QStringLiteral("+"));
            number.digits = u'+' + number.digits.mid(1);
            return number;
        }
        // Where no trunk prefix is dialled, a digit set apart before a number is the icon where the
        // number is one digit too long for a country whose numbers have one length, or where the
        // rest has a mobile's form and the whole has not.
        static const QRegularExpression iconDigit(QStringLiteral(R"(^[0-9]\s+)"));
        const auto icon = iconDigit.match(number.number);
        const bool tooLong = home->minLength == home->maxLength && number.digits.size() == home->minLength + 1;
        const bool mobile = hasMobileForm(number.digits.mid(1), country) && !hasMobileForm(number.digits, country);
        if (icon.hasMatch() && qstrlen(home->trunk) == 0 && (tooLong || mobile)) {
            number.number.remove(0, icon.capturedLength());
            number.digits.remove(0, 1);
        }
        return number;
    }
    // "+62 10 6579 2354" on a Korean card: a digit of the country's own code misread, where the
    // rest has the form of the country's mobiles and is none of the code read.
    if (const QString read = number.digits.mid(1, codeLength), rest = number.digits.mid(1 + codeLength); codeLength >= 2 && read != code
        && digitsApart(read, code) == 1 && isMobile(*home, rest) && !isKnownMobile(u'+' + read + rest)) {
        number.number.replace(number.number.indexOf(read, number.number.indexOf(u'+')), codeLength, code);
        number.digits = u'+' + code + rest;
        return number;
    }
    if (codeLength < 2 || formOfCountryCode(number.digits))
        return number;
    const QString mended = u'+' + code.left(1) + number.digits.mid(1);
    const qsizetype significant = mended.size() - 1 - code.size();
    if (!number.digits.mid(1).startsWith(code.mid(1)) || significant < home->minLength || significant > home->maxLength)
        return number;
    number.number.insert(number.number.indexOf(u'+') + 1, code.left(1));
    number.digits = mended;
    return number;
}

bool hasLengthOfItsCountry(const QString& digits, const QString& country)
{
    const MobileForm* form = digits.startsWith(u'+') ? formOfCountryCode(digits) : nullptr;
    const QString of = form ? QString::fromLatin1(form->country) : country;
    const auto length = std::find_if(std::begin(kNumberLengths), std::end(kNumberLengths),
                                     [&of](const NumberLength& l) { return of == QLatin1String(l.country); });
    if (length == std::end(kNumberLengths) || (digits.startsWith(u'+') && !form))
        return true;
    const auto fits = [&length](qsizetype size) { return size >= length->minLength && size <= length->maxLength; };
    if (form)
        return fits(digits.size() - 1 - qsizetype(qstrlen(form->code)));
    const QLatin1String trunk(length->trunk);
    const bool dialled = trunk.size() > 0 && digits.startsWith(trunk) && fits(digits.size() - trunk.size());
    return dialled || (!length->trunkPrinted && fits(digits.size()));
}

bool mobilesLookLikeOtherNumbers(const QString& country)
{
    return std::any_of(std::begin(kMobileForms), std::end(kMobileForms), [&country](const MobileForm& form) {
        return country == QLatin1String(form.country) && QLatin1String(form.prefixes) == QLatin1String("^$");
    });
}

namespace {

// The country of a card in Japanese, Korean, Russian or Chinese script: the script tells it before
// any postcode or domain does. Japanese by its kana or its own words and address shape, Chinese of
// Taiwan or Hong Kong by its traditional characters.
QString countryOfScript(const QStringList& lines)
{
    static const QRegularExpression japanese(
        QStringLiteral(R"([\x{3041}-\x{30FF}]|株式会社|有限会社|〒|丁目|番地|\p{Han}{1,3}[都道府県]\p{Han}{1,6}[市区町村郡])"));
    static const QRegularExpression korean(QStringLiteral(R"([\x{AC00}-\x{D7AF}])"));
    static const QRegularExpression russian(QStringLiteral(R"([\x{0400}-\x{04FF}])"));
    static const QRegularExpression chinese(QStringLiteral(R"(\p{Han})"));
    static const QRegularExpression traditional(QStringLiteral(R"([傳機號區臺灣樓廣國電話網務業際總處])"));
    const QString all = lines.join(u'\n');
    if (japanese.match(all).hasMatch())
        return QStringLiteral("JP");
    if (korean.match(all).hasMatch())
        return QStringLiteral("KR");
    if (russian.match(all).hasMatch())
        return QStringLiteral("RU");
    if (chinese.match(all).hasMatch())
        return traditional.match(all).hasMatch() ? QStringLiteral("TW") : QStringLiteral("CN");
    return {};
}

// Where no code, domain, postcode or country name tells, the language the card is written in: a
// card in Spanish with a ".com" address is a Spanish card.
QString countryOfLanguage(const QStringList& lines)
{
    std::vector<RecognizedLine> read;
    for (const QString& line : lines)
        read.push_back({line});
    switch (latinLanguageOf(read)) {
    case kLanguageGerman: return QStringLiteral("DE");
    case kLanguageFrench: return QStringLiteral("FR");
    case kLanguageItalian: return QStringLiteral("IT");
    case kLanguageSpanish: return QStringLiteral("ES");
    case kLanguagePortuguese: return QStringLiteral("PT");
    default: return {};
    }
}

} // namespace

QString numberingCountryOf(const QStringList& lines)
{
    if (QString country = countryOfScript(lines); !country.isEmpty())
        return country;
    std::map<QString, int> votes;
    // Domain endings, postcodes and country names of the card, each a vote for its country.
    static const struct {
        const char* country;
        QRegularExpression sign;
    } signs[] = {
        {"GB", QRegularExpression(QStringLiteral(R"(\.(?:co\.)?uk\b|\b[A-Z]{1,2}[0-9][A-Z0-9]? [0-9][A-Z]{2}\b|\b(?:United Kingdom|England|Scotland|Wales)\b)"))},
        {"US", QRegularExpression(QStringLiteral(R"(,\s*[A-Z]{2}\s+[0-9]{5}(?:-[0-9]{4})?\b|\b(?:USA|U\.S\.A\.|United States)\b)"))},
        {"DE", QRegularExpression(QStringLiteral(R"(\.de\b|\b(?:Deutschland|Germany)\b|(?i:straße|strasse|\bstr\.|\bhandy\b|\bmobil\b|\btelefon\b|\bdurchwahl\b))"))},
        {"FR", QRegularExpression(QStringLiteral(R"(\.fr\b|\bFrance\b|\b(?:SAS|SARL|SASU|EURL|SCP)\b|(?i:\brue\b|\bcedex\b|\bimpasse\b|\ball[ée]e\b|\bquai\b|\bchemin\b|\bb[âa]timent\b|\bfaubourg\b|\bportable\b|\btél\b|\bt[ée]l[ée]copie\b|\bligne directe\b))"))},
        {"ES", QRegularExpression(QStringLiteral(R"(\.es\b|\b(?:España|Spain)\b|\bS\.L\.|\bS\.A\.U\b|(?i:\bcalle\b|\bc/|\bavda\b|\bpaseo\b|\brambla\b|\btfno\b|\bm[óo]vil\b|\bplanta\b))"))},
        {"IT", QRegularExpression(QStringLiteral(R"(\.it\b|\b(?:Italia|Italy)\b|\bS\.r\.l\.|\bS\.p\.A\.|\bSrl\b|(?i:\bvia\b|\bpiazza\b|\bviale\b|\bcorso\b|\bcellulare\b)|\b[0-9]{5}\s+\p{Lu}\p{L}+\s+[A-Z]{2}\b)"))},
        {"PT", QRegularExpression(QStringLiteral(R"(\.pt\b|\bPortugal\b|\bLda\b|(?i:\btelem[óo]vel\b|\btlm\b)|\b[0-9]{4}-[0-9]{3}\s+\p{Lu})"))},
        {"BR", QRegularExpression(QStringLiteral(R"(\.br\b|\b(?:Brasil|Brazil)\b|\b[0-9]{5}-[0-9]{3}\b)"))},
        {"AU", QRegularExpression(QStringLiteral(R"(\.au\b|\bAustralia\b|\b(?:NSW|VIC|QLD|SA|WA|TAS|ACT|NT)\s+[0-9]{4}\b)"))},
        {"NL", QRegularExpression(QStringLiteral(R"(\.nl\b|\b(?:Nederland|Netherlands)\b|\b[0-9]{4} ?[A-Z]{2}\s+\p{Lu}\p{Ll})"))},
        {"BE", QRegularExpression(QStringLiteral(R"(\.be\b|\b(?:Belgium|Belgique|België)\b)"))},
        {"CH", QRegularExpression(QStringLiteral(R"(\.ch\b|\b(?:Switzerland|Schweiz|Suisse|Svizzera)\b|\bCH-[0-9]{4}\b)"))},
        {"AT", QRegularExpression(QStringLiteral(R"(\.at\b|\b(?:Austria|Österreich)\b|\bA-[0-9]{4}\b)"))},
        {"IE", QRegularExpression(QStringLiteral(R"(\.ie\b|\bIreland\b)"))},
    };
    for (const QString& line : lines) {
        for (const NumberOnLine& n : numbersOfLine(line)) {
            if (const MobileForm* form = n.digits.startsWith(u'+') ? formOfCountryCode(n.digits) : nullptr)
                votes[QString::fromLatin1(form->country)] += 3;
        }
        for (const auto& s : signs) {
            if (s.sign.match(line).hasMatch())
                votes[QString::fromLatin1(s.country)] += 1;
        }
    }
    QString best;
    int most = 0;
    for (const auto& [country, count] : votes) {
        if (count > most) {
            best = country;
            most = count;
        }
    }
    return best.isEmpty() ? countryOfLanguage(lines) : best;
}
