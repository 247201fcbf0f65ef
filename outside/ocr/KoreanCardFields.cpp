#include "outside/ocr/KoreanCardFields.h"

#include "outside/ocr/JobTitleWords.h"
#include "outside/ocr/KoreanAddressLines.h"
#include "outside/ocr/NumberLabels.h"
#include "outside/ocr/ScriptCardFields.h"

#include <QRegularExpression>
#include <QStringList>

#include <algorithm>
#include <optional>

namespace {

bool isHangul(QChar c)
{
    return c.unicode() >= 0xAC00 && c.unicode() <= 0xD7A3;
}

qsizetype hangulCount(const QString& text)
{
    return std::count_if(text.begin(), text.end(), isHangul);
}

QString compact(const QString& text)
{
    return QString(text).remove(u' ').remove(QChar(0x3000));
}

// Marks a logo, an icon or a rule leaves at a line's ends.
QString withoutMarks(const QString& text)
{
    static const QRegularExpression ends(QStringLiteral(R"(^[^\p{L}\p{N}(（㈜]+|[^\p{L}\p{N})）]+$)"));
    return QString(text).remove(ends).trimmed();
}

int heightOf(const RecognizedLine& l)
{
    return l.bottom - l.top + 1;
}

bool sameBox(const RecognizedLine& l, const SlotFill& slot)
{
    return slot.filled && l.top <= slot.bottom && l.bottom >= slot.top && l.left <= slot.right && l.right >= slot.left
        && std::abs(l.top - slot.top) < heightOf(l) / 2;
}

struct Role {
    const RecognizedLine* line;
    QString department, title;
};

// The lines that may be the card's department and title, the nearest to the name first (in
// reading order on a card whose name was not found). A role is set no larger than the name (the
// engine's boxes of small type may be taller) and is none of its other fields.
std::vector<Role> roleLines(const ResultSlots& fields, const std::vector<RecognizedLine>& lines)
{
    const SlotFill& name = fields[kNameSlot];
    // A name in Latin letters is its reading, set smaller than the name the engine did not read.
    const int nameHeight = name.filled && hangulCount(name.text) > 0 ? name.bottom - name.top + 1 : 0;
    std::vector<Role> roles;
    for (const RecognizedLine& line : lines) {
        const QString text = withoutMarks(line.text);
        const auto [department, title] = koreanDepartmentAndTitle(text);
        // "물류센터 그룹장": a title's words may hold a company's ("그룹").
        if (text.contains(u'@') || hangulCount(text) < 2 || isAddressOfScript(text) || (isCompanyOfScript(text) && title.isEmpty())
            || !numbersOfLine(text).empty() || sameBox(line, name) || (sameBox(line, fields[kCompanySlot]) && title.isEmpty())
            || (nameHeight > 0 && heightOf(line) * 10 > nameHeight * 12))
            continue;
        roles.push_back({&line, department, title});
    }
    const int middle = (name.top + name.bottom) / 2;
    std::stable_sort(roles.begin(), roles.end(), [&](const Role& a, const Role& b) {
        if (!name.filled)
            return a.line->top < b.line->top;
        return std::abs((a.line->top + a.line->bottom) / 2 - middle) < std::abs((b.line->top + b.line->bottom) / 2 - middle);
    });
    return roles;
}

// A line standing next to the name, above or below it within twice its height and across the
// same column.
bool besideName(const RecognizedLine& line, const SlotFill& name)
{
    const int h = name.bottom - name.top + 1;
    return name.filled && line.top < name.bottom + 2 * h && line.bottom > name.top - 2 * h && line.left < name.right + h
        && line.right > name.left - h;
}

SlotFill slotOf(const QString& text, const RecognizedLine& line)
{
    return {text, line.left, line.top, line.right, line.bottom, true};
}

// The title and the department from the role lines: each from the nearest line that names it. A
// lone word of Hangul no table knows, set beside the name in smaller type, is the title when no
// line names one.
void fillRoles(ResultSlots& fields, const std::vector<RecognizedLine>& lines)
{
    const std::vector<Role> roles = roleLines(fields, lines);
    std::optional<SlotFill> title, department;
    for (const Role& role : roles) {
        if (!title && !role.title.isEmpty())
            title = slotOf(role.title, *role.line);
        if (!department && !role.department.isEmpty())
            department = slotOf(role.department, *role.line);
    }
    if (!title && fields[kCompanySlot].filled) {
        static const QRegularExpression word(QStringLiteral(R"(^[\x{AC00}-\x{D7A3}]{2,6}$)"));
        for (const Role& role : roles) {
            const QString text = withoutMarks(role.line->text);
            if (role.department.isEmpty() && word.match(text).hasMatch() && besideName(*role.line, fields[kNameSlot])) {
                title = slotOf(text, *role.line);
                break;
            }
        }
    }
    if (title)
        fields[kTitleSlot] = *title;
    // What the general rules took for a department but is a line of the address or holds numbers
    // ("강남파이낸스센터 16층") goes when no line names a department.
    const QString taken = compact(fields[kDepartmentSlot].text);
    if (department)
        fields[kDepartmentSlot] = *department;
    else if (fields[kDepartmentSlot].filled
             && (compact(fields[kAddressSlot].text).contains(taken) || !isKoreanUnitWord(taken)
                 || compact(fields[kTitleSlot].text) == taken))
        fields[kDepartmentSlot] = {};
}

// "권동 연": a blank the engine put inside a name printed without one, anywhere but after the
// family name, goes.
QString nameAsPrinted(const QString& name)
{
    const QString whole = compact(name);
    const int family = scriptSurnameLength(whole);
    if (!name.contains(u' ') || family == 0 || std::any_of(whole.begin(), whole.end(), [](QChar c) { return !isHangul(c); }))
        return name;
    return name.simplified() == whole.left(family) + u' ' + whole.mid(family) ? name.simplified() : whole;
}

// "all 주식회사 새봄디자인", "주)미래로직스": the small letters a logo before the company reads as, and
// the bracket of its legal form the engine lost.
QString companyAsPrinted(const QString& company)
{
    static const QRegularExpression scrap(QStringLiteral(R"(^[a-z]{1,3}\s+(?=[\x{AC00}-\x{D7A3}(（㈜]))"));
    // "소 성원엔지니어링(주)", "로더 동서식품산업 주식회사", "() 유한회사 새한화학", "더 | 진성기계(주)",
    // "\" 주식회사 한빛소프트", "00 유한회사 우리들약품": a logo read as a syllable or two, as digits or as
    // marks before a company its legal form names, which keeps a name of its own ("대성 주식회사" is
    // all name and form).
    static const QRegularExpression logo(QStringLiteral(R"(^(?:[\x{AC00}-\x{D7A3}]{1,2}|[0-9]{1,3}|\(\)|[|]+|["'“”‘’]+)(?:\s*[|]?\s+)(?=\S))"));
    static const QRegularExpression legalForm(QStringLiteral(R"(주식회사|유한회사|[(（]주[)）]|㈜)"));
    if (const QString rest = QString(company).remove(logo);
        rest != company && isCompanyOfScript(rest) && hangulCount(QString(rest).remove(legalForm)) >= 2)
        return companyAsPrinted(rest);
    static const QRegularExpression bracket(QStringLiteral(R"(^주\)|(?<=[\x{AC00}-\x{D7A3}])\(주$)"));
    QString out = QString(company).remove(scrap);
    if (const auto m = bracket.match(out); m.hasMatch())
        out = m.capturedStart() == 0 ? u'(' + out : out + u')';
    return out;
}

// The company of a card that prints it without a legal form the rules know ("하늘정밀", "에이치엠테크",
// a "㈜" misread): the largest line of Hangul that is no other field, label, number or name of a
// person's length.
void fillCompanyWithoutLegalForm(ResultSlots& fields, const std::vector<RecognizedLine>& lines)
{
    static const QRegularExpression labels(QStringLiteral(R"(전화|팩스|휴대폰|핸드폰|이메일|메일|홈페이지|주소|[:：])"));
    static const QRegularExpression words(QStringLiteral(R"(^[\x{AC00}-\x{D7A3}A-Za-z&]+(?: [\x{AC00}-\x{D7A3}A-Za-z&]+){0,2}$)"));
    const RecognizedLine* company = nullptr;
    for (const RecognizedLine& line : lines) {
        const QString text = withoutMarks(line.text);
        const auto [department, title] = koreanDepartmentAndTitle(text);
        if (hangulCount(text) < 2 || !words.match(text).hasMatch() || labels.match(text).hasMatch() || isAddressOfScript(text)
            || !department.isEmpty() || !title.isEmpty() || sameBox(line, fields[kNameSlot]) || sameBox(line, fields[kTitleSlot])
            || sameBox(line, fields[kDepartmentSlot]) || compact(fields[kAddressSlot].text).contains(compact(text))
            || (compact(text).size() <= 3 && scriptSurnameLength(compact(text)) > 0))
            continue;
        if (!company || heightOf(line) > heightOf(*company))
            company = &line;
    }
    if (company)
        fields[kCompanySlot] = slotOf(withoutMarks(company->text), *company);
}

// Whether the text stands in the address (its lines joined).
bool inAddress(const QString& text, const ResultSlots& fields)
{
    const QString address = compact(fields[kAddressSlot].text).remove(u'\n');
    return fields[kAddressSlot].filled && !compact(text).isEmpty() && address.contains(compact(text));
}

// The company when the line the rules took is one of the address, its building named after a bank
// or a group ("월아산로 221, 신한은행빌딩 27층"): the tallest other line with a legal form, or none. A
// company without numbers the address took in, from beside or between its lines, leaves it.
void fillCompanyOutsideAddress(ResultSlots& fields, const std::vector<RecognizedLine>& lines)
{
    SlotFill& company = fields[kCompanySlot];
    if (!company.filled || !inAddress(company.text, fields))
        return;
    if (std::none_of(company.text.begin(), company.text.end(), [](QChar c) { return c.isDigit(); })) {
        SlotFill& address = fields[kAddressSlot];
        address.text = QString(address.text).replace(company.text, QStringLiteral(" ")).simplified();
        return;
    }
    company = {};
    const RecognizedLine* found = nullptr;
    for (const RecognizedLine& line : lines) {
        const QString text = withoutMarks(line.text);
        if (isCompanyOfScript(text) && !text.contains(u'@') && !inAddress(text, fields) && (!found || heightOf(line) > heightOf(*found)))
            found = &line;
    }
    if (found)
        company = slotOf(withoutMarks(found->text), *found);
}

} // namespace

bool isKoreanTitleWord(const QString& word)
{
    if (hangulCount(word) == 0 || std::any_of(word.begin(), word.end(), [](QChar c) { return c.isDigit(); }))
        return false;
    static const QRegularExpression head(QStringLiteral(R"(^[\x{AC00}-\x{D7A3}]{1,5}장$)"));
    static const QStringList notHeads = {u"공장"_qs, u"시장"_qs, u"광장"_qs, u"매장"_qs, u"현장"_qs, u"입장"_qs, u"주장"_qs};
    return namesAJobTitle(word) || (head.match(word).hasMatch() && !notHeads.contains(word));
}

bool isKoreanUnitWord(const QString& word)
{
    // "R&D센터", "SCM팀", "IT운영팀": a unit's work may be named in Latin letters.
    static const QRegularExpression unit(QStringLiteral(
        R"(^(?:[\x{AC00}-\x{D7A3}A-Za-z0-9&]+(?:팀|부|실|과|본부|센터|연구소|연구실|그룹|파트|사업부|사업단|지점|지사|랩)|연구소|연구실|본부)$)"));
    // An institute, a task force, a bureau ("인재개발원", "신사업추진단"): a word of a name's length led
    // by a surname ("김지원") is none.
    static const QRegularExpression body(QStringLiteral(R"(^[\x{AC00}-\x{D7A3}A-Za-z0-9&]+(?:원|단|국|처)$)"));
    const bool unitWord = unit.match(word).hasMatch()
        || (body.match(word).hasMatch() && (word.size() > 4 || scriptSurnameLength(word) == 0));
    return word.size() >= 2 && word.size() <= 14 && hangulCount(word) > 0 && unitWord && !isKoreanTitleWord(word);
}

std::pair<QString, QString> koreanDepartmentAndTitle(const QString& text)
{
    static const QRegularExpression separators(QStringLiteral(R"(\s*[|/·•,]\s*|\s+)"));
    const QStringList words = text.trimmed().split(separators, Qt::SkipEmptyParts);
    if (words.isEmpty() || text.contains(u'@') || hangulCount(text) < 2)
        return {};
    qsizetype end = words.size();
    while (end > 0 && isKoreanTitleWord(words[end - 1]))
        --end;
    // "인재개발원 선임매니저": the word after a unit is its holder's title, whether a table knows it or not.
    static const QRegularExpression hangulWord(QStringLiteral(R"(^[\x{AC00}-\x{D7A3}]{1,6}$)"));
    if (end == words.size() && words.size() >= 2 && isKoreanUnitWord(words[end - 2]) && hangulWord.match(words.last()).hasMatch()
        && !isKoreanUnitWord(words.last()))
        --end;
    const QStringList department = words.mid(0, end);
    if (!department.isEmpty() && !isKoreanUnitWord(department.last()))
        return {};
    return {department.join(u' '), words.mid(end).join(u' ')};
}

std::vector<RecognizedLine> withKoreanLegalForms(std::vector<RecognizedLine> lines)
{
    // The circled 주 read as "@)", "&)" or "@" before the company's name, or as a syllable of 주
    // with strokes of the circle ("쥐", "줘"); a logo's letter before it goes.
    // "@)Nexgen Korea": before a name in Latin letters only the bracketed marks.
    static const QRegularExpression circled(QStringLiteral(
        R"(^[^\p{L}\p{N}(（]*(?:[A-Za-z]{1,2}\s+)?(?:(?:[@&]\)|@|쥐|줘|쥬|줴|져|줍)(?=\s*[\x{AC00}-\x{D7A3}]{2})|[@&]\)(?=\s*[A-Z][A-Za-z])))"));
    // After the name: "케이엠에스 @)" for "케이엠에스 ㈜", "Hansung Robotics (#)" for "…(주)", whose
    // bracket the engine sets apart from the name; "새벽물산 쥐", "미르에너지 주": the circled 주 read
    // as a syllable set apart after a name of two letters or more.
    static const QRegularExpression circledAfter(QStringLiteral(
        R"((?<=[\x{AC00}-\x{D7A3}A-Za-z])(\s*)(?:[@&]\)|\(@\))$|(?<=[\x{AC00}-\x{D7A3}A-Za-z]{2})(\s)(?:쥐|주|줘|쥬|줴|져|줍)$)"));
    static const QRegularExpression bracketedAfter(QStringLiteral(R"((?<=[\x{AC00}-\x{D7A3}A-Za-z])\s*\(#\)$|^\(#\)(?=\s*[\x{AC00}-\x{D7A3}]))"));
    static const QRegularExpression logo(QStringLiteral(R"(^[^\p{L}\p{N}]*\([@©®0-9]\)\s*(?=[\x{AC00}-\x{D7A3}(（㈜]))"));
    for (RecognizedLine& line : lines) {
        const QString text = line.text.trimmed();
        if (text.contains(QRegularExpression(QStringLiteral(R"(@\S*\.)"))))
            continue;
        // An icon read as "@" before an address stays the address's.
        if (const auto m = circled.match(text); m.hasMatch() && !isAddressOfScript(text.mid(m.capturedEnd()))
            && std::none_of(text.begin(), text.end(), [](QChar c) { return c.isDigit(); }))
            line.text = QStringLiteral("㈜") + text.mid(m.capturedEnd());
        else if (const auto l = logo.match(text); l.hasMatch())
            line.text = text.mid(l.capturedEnd());
        if (std::none_of(line.text.begin(), line.text.end(), [](QChar c) { return c.isDigit(); })) {
            line.text.replace(circledAfter, QStringLiteral("\\1\\2㈜"));
            line.text.replace(bracketedAfter, QString::fromUtf8("(주)"));
        }
    }
    return lines;
}

void fillKoreanFields(ResultSlots& fields, const std::vector<RecognizedLine>& lines)
{
    // What the general rules took for the name when no line has a name's shape: a title or a unit
    // ("공장장") is none.
    if (SlotFill& name = fields[kNameSlot]; name.filled && (isKoreanTitleWord(compact(name.text)) || isKoreanUnitWord(compact(name.text))))
        name = {};
    if (SlotFill& name = fields[kNameSlot]; name.filled)
        name.text = nameAsPrinted(name.text);
    fillCompanyOutsideAddress(fields, lines);
    if (SlotFill& company = fields[kCompanySlot]; company.filled)
        company.text = companyAsPrinted(company.text);
    // A role line the company's words took is no company.
    if (SlotFill& company = fields[kCompanySlot]; company.filled && !koreanDepartmentAndTitle(company.text).second.isEmpty())
        company = {};
    fillRoles(fields, lines);
    if (!fields[kCompanySlot].filled)
        fillCompanyWithoutLegalForm(fields, lines);
    // The mapping reads an address of three lines as state, city and street and turns it round; a
    // Korean address is one line of blank-separated parts however the card wraps it.
    if (SlotFill& address = fields[kAddressSlot]; address.filled) {
        address.text = koreanAddressAsPrinted(address.text.split(u'\n', Qt::SkipEmptyParts).join(u' '));
        if (SlotFill& code = fields[kPostalCodeSlot]; !code.filled && !koreanPostalCodeOf(address.text).isEmpty())
            code = {koreanPostalCodeOf(address.text), address.left, address.top, address.right, address.bottom, true};
    }
}
