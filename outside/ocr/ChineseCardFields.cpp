#include "outside/ocr/ChineseCardFields.h"

#include "outside/ocr/CardLanguage.h"
#include "outside/ocr/JobTitleWords.h"
#include "outside/ocr/NumberLabels.h"
#include "outside/ocr/ScriptCardFields.h"

#include <QRegularExpression>

#include <algorithm>
#include <numeric>

namespace {

// A line with no legal form is taken for the company only when read this surely (not a logo's scrap).
constexpr int kSureCompany = 80;
// The result record's first e-mail and web address slots.
constexpr size_t kMailSlot = 23;
constexpr size_t kWebSlot = 27;

int height(const RecognizedLine& l)
{
    return std::max(1, l.bottom - l.top + 1);
}

QString compact(const QString& text)
{
    return QString(text).remove(u' ').remove(QChar(0x3000));
}

qsizetype hanCount(const QString& text)
{
    return std::count_if(text.begin(), text.end(), isHanCharacter);
}

bool sameRow(const RecognizedLine& a, const RecognizedLine& b)
{
    const int overlap = std::min(a.bottom, b.bottom) - std::max(a.top, b.top) + 1;
    return 2 * overlap > std::min(height(a), height(b));
}

// A scrap of a logo or a label before the text: a character or two and a blank, or a label's colon.
bool isScrapOrLabel(const QString& text)
{
    static const QRegularExpression scrap(QString::fromUtf8(R"(^\s*(?:\S{1,2}\s+|[^\s:：]{0,4}\s*[:：]\s*)$)"));
    return text.trimmed().isEmpty() || scrap.match(text).hasMatch();
}

SlotFill slotOf(const QString& text, const RecognizedLine& box)
{
    return {text, box.left, box.top, box.right, box.bottom, true};
}

// The labels an address line and a postal code line begin with.
const QRegularExpression& addressLabel()
{
    static const QRegularExpression label(QString::fromUtf8(R"(^\s*(?:地址|地點|住址|通讯地址|通訊地址|Add(?:r(?:ess)?)?\.?)\s*[:：]?\s*)"),
                                          QRegularExpression::CaseInsensitiveOption);
    return label;
}

const QRegularExpression& postalLabel()
{
    static const QRegularExpression label(
        QString::fromUtf8(R"((?:邮编|郵編|邮政编码|郵政編碼|郵遞區號|郵递区号|邮递区号)\s*[:：]?\s*([0-9]{3,6})?)"));
    return label;
}

// Taiwan's postal code of three, five or six digits before the place it belongs to: "106台北市…",
// "11049 台北市…".
const QRegularExpression& leadingPostalCode()
{
    static const QRegularExpression code(QStringLiteral(R"(^([0-9]{3}(?:[0-9]{2,3})?)\s*(?=\p{Han}))"));
    return code;
}

// What starts a Chinese address: a place of the administration ("上海市", "新北市", "广东省",
// "朝阳区", "九龍") near the line's start, or a road with its number.
bool startsAnAddress(const QString& text)
{
    static const QRegularExpression place(QString::fromUtf8(R"(^\p{Han}{1,6}?(?:省|市|區|区|縣|县|自治州|特别行政区|特別行政區)|^(?:香港|九龍|九龙|新界|澳門|澳门))"));
    // A title's region ("區域銷售經理", "大区经理") or a sales region ("北方大区") is no district.
    static const QRegularExpression region(QString::fromUtf8(R"((?:大区|大區)(?![\p{Han}0-9]))"));
    return hanCount(text) >= 4 && !namesAJobTitle(compact(text)) && !region.match(text).hasMatch()
        && (place.match(text).hasMatch() || isAddressOfScript(text));
}

// A line going on with an address the layout wrapped: the rest of a road, its number, a building, a
// floor or a room ("国路212号967室", "世貿中心16樓之5").
bool goesOnWithAddress(const QString& text)
{
    static const QRegularExpression parts(QString::fromUtf8(R"([0-9０-９一二三四五六七八九十]\s*(?:号|號|楼|樓|层|層|室|段|巷|弄|座|F)|(?:路|街|道|大厦|大廈|中心|广场|廣場|大楼|大樓))"));
    return hanCount(text) >= 1 && parts.match(text).hasMatch() && !text.contains(u'@') && numbersOfLine(text).empty();
}

// The text without an icon or a mark the engine read before it ("© 上海市…", "OQ 成都市…", "《@》香港…"), or a
// round icon read as a zero before a postal code and its town ("0 600 嘉義市…").
QString withoutLeadingScrap(const QString& text)
{
    // A round icon in brackets ("《@》 香港…"): the brackets count as Han characters to the pattern.
    static const QRegularExpression scrap(QStringLiteral(
        R"(^(?:[《〈【(（\[][^\p{L}\p{N}\s]{1,2}[》〉】)）\]]\s*|[^\p{Han}0-9\s]{1,3}\s+|[^\p{Han}\p{L}0-9\s]{1,3}(?=[\p{Han}0-9])))"));
    static const QRegularExpression zeroIcon(QStringLiteral(R"(^0\s+(?=[0-9]{3}(?:[0-9]{2,3})?\s*\p{Han}))"));
    return QString(text).remove(scrap).remove(zeroIcon).trimmed();
}

// A line's text up to a wide blank, where the engine ran it into a rule or a column beside it
// ("嘉里中心429室          |").
QString beforeWideBlank(const QString& text)
{
    static const QRegularExpression wideBlank(QStringLiteral(R"(\s{3,})"));
    static const QRegularExpression trailingMarks(QStringLiteral(R"([^\p{L}\p{N})）]+$)"));
    return text.trimmed().section(wideBlank, 0, 0).remove(trailingMarks);
}

// A title or department as printed: the first of the pieces a wide blank parts, marks taken out.
QString titleText(const QString& text)
{
    static const QRegularExpression marks(QStringLiteral(R"([^\p{L}\p{N}\s])"));
    QString first = beforeWideBlank(text);
    if (hanCount(first) * 2 >= first.size())
        first.remove(marks);
    return compact(first);
}

// "采购部技术总监", "業務部 行銷總監", "研发中心 董事长": a department's unit and the title after it.
std::pair<QString, QString> departmentAndTitle(const QString& text)
{
    static const QRegularExpression split(
        QString::fromUtf8(R"(^(\p{Han}{1,8}?(?:部|处|處|中心|组|組|课|課|科|室))\s*[|｜,，、·/]?\s*(\p{Han}{2,8})$)"));
    const auto m = split.match(text.trimmed());
    if (!m.hasMatch() || !(namesAJobTitle(m.captured(2)) || !namesADepartment(m.captured(2))))
        return {};
    // Of the units that end other words too ("实验室", "学科"), only a department's word is one.
    if (!namesADepartment(m.captured(1)) && !m.captured(1).endsWith(u'部') && !m.captured(1).endsWith(QString::fromUtf8("中心")))
        return {};
    return {m.captured(1), m.captured(2)};
}

} // namespace

std::vector<RecognizedLine> withoutRepeatedLines(std::vector<RecognizedLine> lines)
{
    for (size_t i = 0; i < lines.size(); ++i) {
        for (size_t j = 0; j < lines.size(); ++j) {
            if (i == j)
                continue;
            const RecognizedLine& outer = lines[i];
            const RecognizedLine& inner = lines[j];
            const QString outerText = outer.text.trimmed(), innerText = inner.text.trimmed();
            const bool within = inner.left >= outer.left - height(inner) / 2 && inner.right <= outer.right + height(inner) / 2 && sameRow(outer, inner);
            if (!within || innerText.isEmpty() || !outerText.endsWith(innerText))
                continue;
            if (outerText.size() == innerText.size() && j < i)
                continue; // of two equal readings the first stays
            if (!isScrapOrLabel(outerText.left(outerText.size() - innerText.size())))
                continue;
            lines.erase(lines.begin() + qsizetype(i));
            i = size_t(-1);
            break;
        }
    }
    return lines;
}

namespace {

// A piece that starts a column of its own: a line of the row above or below begins where it does
// ("北路546号33楼" under "南京市鼓楼区中山", beside the company of the column to its left).
bool startsAColumn(const RecognizedLine& piece, const std::vector<RecognizedLine>& lines)
{
    const int h = height(piece);
    return std::any_of(lines.begin(), lines.end(), [&](const RecognizedLine& other) {
        return &other != &piece && !sameRow(other, piece) && std::abs(other.left - piece.left) <= h / 2 && other.bottom >= piece.top - h
            && other.top <= piece.bottom + h;
    });
}

} // namespace

std::vector<RecognizedLine> withRowPiecesJoined(std::vector<RecognizedLine> lines)
{
    std::stable_sort(lines.begin(), lines.end(), [](const RecognizedLine& a, const RecognizedLine& b) { return a.left < b.left; });
    for (size_t i = 0; i < lines.size(); ++i) {
        for (size_t j = 0; j < lines.size(); ++j) {
            RecognizedLine& a = lines[i];
            const RecognizedLine& b = lines[j];
            const int h = std::max(height(a), height(b));
            // Pieces of large type the layout cut apart may touch or overlap a little ("长江精" and "密仪器…").
            if (i == j || !sameRow(a, b) || b.left <= a.right - h / 4 || b.left - a.right > 3 * h / 2 || a.text.contains(u'@')
                || b.text.contains(u'@'))
                continue;
            // A line of another column a character's width or more beside a whole line; a label or a
            // piece of large type goes on.
            if (b.left - a.right >= h && compact(a.text).size() >= 5 && startsAColumn(b, lines))
                continue;
            appendRowPiece(a, b);
            lines.erase(lines.begin() + qsizetype(j));
            if (j < i)
                --i;
            j = size_t(-1);
        }
    }
    std::stable_sort(lines.begin(), lines.end(), [](const RecognizedLine& a, const RecognizedLine& b) { return a.top < b.top; });
    return lines;
}

namespace {

// An address wrapped over lines as one line: the mapping reverses the lines of a Chinese address of
// three or more. A line broken inside a word goes on without a blank; one after a house number
// ("…110号" over "汇丰大厦…") after a blank.
QString joinedAddressLines(const QString& above, const QString& below)
{
    static const QRegularExpression endsAWord(QString::fromUtf8(R"([号號樓楼层層室]$)"));
    const bool latin = above.back().isLetter() && above.back().unicode() < 0x250 && below.front().isLetter() && below.front().unicode() < 0x250;
    const bool blank = endsAWord.match(above).hasMatch() || latin;
    return above + (blank ? QStringLiteral(" ") : QString()) + below;
}

// What a Chinese card's name never is: a label ("地址", "網址"), a place, a company, a number.
bool cannotBeAName(const QString& text)
{
    static const QRegularExpression label(
        QString::fromUtf8(R"(^(?:地址|地點|住址|邮编|郵編|网址|網址|网站|網站|电话|電話|手机|手機|传真|傳真|邮箱|郵箱|电邮|電郵|信箱)[:：]?$)"));
    const QString name = compact(text);
    return label.match(name).hasMatch() || startsAnAddress(name) || isAddressOfScript(name) || isCompanyOfScript(name)
        || std::any_of(name.begin(), name.end(), [](QChar c) { return c.isDigit(); });
}

// A company many cards print without a legal form ("永泰五金"): where no line has one, the
// tallest line of Han characters that is no other field, no label and no name.
void fillCompanyWithoutLegalForm(ResultSlots& fields, const std::vector<RecognizedLine>& lines)
{
    const RecognizedLine* company = nullptr;
    for (const RecognizedLine& row : lines) {
        const QString text = compact(withoutLeadingScrap(row.text));
        if (text.size() < 3 || text.size() > 16 || hanCount(text) != text.size() || row.confidence < kSureCompany || isScriptName(text)
            || namesAJobTitle(text) || namesADepartment(text) || departmentAndTitle(text).first.size() > 0 || cannotBeAName(text)
            || text == compact(fields[kNameSlot].text))
            continue;
        if (!company || height(row) > height(*company))
            company = &row;
    }
    if (company)
        fields[kCompanySlot] = slotOf(compact(withoutLeadingScrap(company->text)), *company);
}

// A company line without the digit a logo before it was read as, set apart by a blank ("0   明德教育
// 科技股份有限公司"). A character so set apart may be the company's own ("寶 島食品…").
QString withoutLogoPiece(const QString& text)
{
    // A digit or two, or a character or two closed by a bracket or set apart by a wide blank ("合)      北京…").
    static const QRegularExpression logo(QStringLiteral(R"(^\s*(?:[0-9]{1,2}\s+(?=\p{Han}{4,})|\S{1,2}(?:[)）]\s*|\s{3,})(?=\p{Han}{2,})))"));
    const QString rest = QString(text).remove(logo);
    return rest != text && isCompanyOfScript(rest) ? rest : text;
}

// The company line with the pieces of its row the layout cut off before it ("长江精" of
// "长江精密仪器股份有限公司"), marks of a logo before it taken out.
void fillCompany(ResultSlots& fields, const std::vector<RecognizedLine>& lines, const std::vector<RecognizedLine>& rows)
{
    SlotFill& company = fields[kCompanySlot];
    if (!company.filled)
        fillCompanyWithoutLegalForm(fields, lines);
    if (!company.filled || hanCount(company.text) == 0)
        return;
    company.text = withoutLogoPiece(company.text);
    const QString text = compact(company.text);
    for (const RecognizedLine& row : rows) {
        // The row may run on into a column beside it.
        QString whole = compact(withoutLogoPiece(withoutLeadingScrap(row.text)));
        const qsizetype at = whole.indexOf(text);
        if (at <= 0)
            continue;
        whole.truncate(at + text.size());
        if (hanCount(whole) == whole.size() && isCompanyOfScript(whole)) {
            company = slotOf(whole, row);
            return;
        }
    }
    company.text = withoutLeadingScrap(company.text);
}

// A line that names a department and nothing else.
bool isDepartmentLine(const QString& text)
{
    return namesADepartment(text) && !namesAJobTitle(text) && !isCompanyOfScript(text) && !startsAnAddress(text);
}

// The department: never the company; a line that names one where the general rules took none.
void fillDepartment(ResultSlots& fields, const std::vector<RecognizedLine>& rows)
{
    SlotFill& department = fields[kDepartmentSlot];
    if (department.filled && fields[kCompanySlot].filled && compact(fields[kCompanySlot].text).contains(compact(department.text)))
        department = {};
    if (department.filled)
        return;
    for (const RecognizedLine& row : rows) {
        const QString text = titleText(row.text);
        if (hanCount(text) == text.size() && isDepartmentLine(text) && text != compact(fields[kCompanySlot].text)) {
            department = slotOf(text, row);
            return;
        }
    }
}

// The e-mail address whose "@" the engine read as a letter ("wu_lohengtong-elec.cn"): a line
// without one that runs a name into the host of the card's web address.
void fillMailOfWebHost(ResultSlots& fields, const std::vector<RecognizedLine>& lines)
{
    static const QRegularExpression site(QStringLiteral(R"(^(?:[a-z]+://)?(?:www\.)?([a-z0-9\-]+(?:\.[a-z0-9\-]+)+))"),
                                         QRegularExpression::CaseInsensitiveOption);
    const auto web = site.match(fields[kWebSlot].text.trimmed());
    if (fields[kMailSlot].filled || !fields[kWebSlot].filled || !web.hasMatch())
        return;
    const QRegularExpression runIn(QStringLiteral(R"((?<![\w.\-/])([a-z0-9][a-z0-9._\-]*)[oa](%1)\b)").arg(QRegularExpression::escape(web.captured(1))));
    for (const RecognizedLine& line : lines) {
        if (line.text.contains(u'@') || line.text.contains(QStringLiteral("www"), Qt::CaseInsensitive))
            continue;
        if (const auto m = runIn.match(line.text); m.hasMatch()) {
            fields[kMailSlot] = slotOf(m.captured(1) + u'@' + m.captured(2), line);
            return;
        }
    }
}

// The web address whose host lost the country's ending at the line's end ("aoli-prop.com" beside
// "hsiao_k@aoli-prop.com.tw"): the host is the e-mail domain but for its last label, a country's.
void fillWebOfMailDomain(ResultSlots& fields)
{
    static const QRegularExpression parts(QStringLiteral(R"(^((?:https?://)?(?:www\.)?)([a-z0-9.\-]+)(/?)$)"),
                                          QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression country(QStringLiteral(R"(^\.(?:tw|hk|mo|cn)$)"));
    const auto web = parts.match(fields[kWebSlot].text.trimmed());
    const QString mail = fields[kMailSlot].text.trimmed();
    if (!fields[kWebSlot].filled || !fields[kMailSlot].filled || !web.hasMatch() || !mail.contains(u'@'))
        return;
    const QString domain = mail.section(u'@', -1).toLower(), host = web.captured(2).toLower();
    if (host.contains(u'.') && domain.startsWith(host) && country.match(domain.mid(host.size())).hasMatch())
        fields[kWebSlot].text = web.captured(1) + domain + web.captured(3);
}

// A postal code alone on its line, its digits only.
const QRegularExpression& codeAlone()
{
    static const QRegularExpression code(QStringLiteral(R"(^([0-9]{3}(?:[0-9]{2,3})?)$)"));
    return code;
}

// The postal code printed before the address's first line, which the engine read apart with the
// icon before it ("@》320", "QO 40756"): a code alone, on the row of that line to its left or
// just above its start.
void fillPostalCodeBeside(ResultSlots& fields, const std::vector<RecognizedLine>& rows, const RecognizedLine& first)
{
    if (fields[kPostalCodeSlot].filled)
        return;
    const int h = height(first);
    for (const RecognizedLine& row : rows) {
        // The icon's marks may be read as CJK brackets ("《》220").
        static const QRegularExpression marks(QStringLiteral(R"(^[^\p{L}\p{N}]+)"));
        const auto m = codeAlone().match(withoutLeadingScrap(row.text).remove(marks));
        const bool before = sameRow(row, first) && row.right <= first.left + h;
        const bool above = row.bottom <= first.top + h / 2 && first.top - row.bottom < h && std::abs(row.left - first.left) < 2 * h;
        if (&row != &first && m.hasMatch() && (before || above)) {
            fields[kPostalCodeSlot] = slotOf(m.captured(1), row);
            return;
        }
    }
}

// The address: its first line (a label, a place of the administration), and the lines below it in
// its column that go on with it; a postal code before it goes to the postal code.
void fillAddress(ResultSlots& fields, const std::vector<RecognizedLine>& rows)
{
    const RecognizedLine* first = nullptr;
    QString text;
    for (const RecognizedLine& row : rows) {
        QString candidate = withoutLeadingScrap(beforeWideBlank(row.text));
        const bool labelled = addressLabel().match(candidate).hasMatch();
        candidate = withoutLeadingScrap(candidate.remove(addressLabel()));
        // "地址：10487" over the address: the label and the postal code on a line of their own.
        if (const auto m = codeAlone().match(candidate); labelled && m.hasMatch() && !fields[kPostalCodeSlot].filled) {
            fields[kPostalCodeSlot] = slotOf(m.captured(1), row);
            continue;
        }
        if (candidate.contains(u'@') || !numbersOfLine(candidate).empty() || isCompanyOfScript(candidate) || postalLabel().match(candidate).hasMatch())
            continue;
        QString place = candidate;
        place.remove(leadingPostalCode());
        if ((labelled && hanCount(place) >= 2) || startsAnAddress(place)) {
            first = &row;
            text = candidate;
            break;
        }
    }
    if (!first)
        return;
    fillPostalCodeBeside(fields, rows, *first);
    if (const auto m = leadingPostalCode().match(text); m.hasMatch()) {
        if (!fields[kPostalCodeSlot].filled)
            fields[kPostalCodeSlot] = slotOf(m.captured(1), *first);
        text = text.mid(m.capturedEnd()).trimmed();
    }
    SlotFill address = slotOf(text, *first);
    const RecognizedLine* last = first;
    for (const RecognizedLine& row : rows) {
        // A speck or a scrap read inside the line above is no line below it.
        if (row.top <= last->top || row.bottom <= last->bottom)
            continue;
        const int gap = row.top - last->bottom;
        if (gap > height(*last))
            break;
        // In the address's column: across the same stretch of the card as the line above.
        const int across = std::min(row.right, last->right) - std::max(row.left, last->left);
        if (2 * across < std::min(row.right - row.left, last->right - last->left))
            continue;
        const QString more = beforeWideBlank(withoutLeadingScrap(row.text));
        if (!goesOnWithAddress(more) || isCompanyOfScript(more) || postalLabel().match(more).hasMatch())
            break;
        address.text += u'\n' + more;
        address.left = std::min(address.left, row.left);
        address.right = std::max(address.right, row.right);
        address.bottom = std::max(address.bottom, row.bottom);
        last = &row;
    }
    fields[kAddressSlot] = address;
}

// The department and the title the general rules took as one, or the title as the department.
void fillDepartmentAndTitle(ResultSlots& fields)
{
    for (size_t slot : {kTitleSlot, kTitleSlot + 1, kTitleSlot + 2, kDepartmentSlot}) {
        if (fields[slot].filled)
            fields[slot].text = titleText(fields[slot].text);
    }
    // A title the general rules took for the name ("業務專員") is the title.
    if (SlotFill& name = fields[kNameSlot]; name.filled && namesAJobTitle(compact(name.text))) {
        if (!fields[kTitleSlot].filled)
            fields[kTitleSlot] = {compact(name.text), name.left, name.top, name.right, name.bottom, true};
        name = {};
    }
    for (size_t slot : {kTitleSlot, kDepartmentSlot}) {
        if (const auto [department, title] = departmentAndTitle(fields[slot].text); !department.isEmpty()) {
            const SlotFill box = fields[slot];
            fields[kDepartmentSlot] = {department, box.left, box.top, box.right, box.bottom, true};
            fields[kTitleSlot] = {title, box.left, box.top, box.right, box.bottom, true};
            break;
        }
    }
    // The further title slots hold no company, address or department read as a title.
    for (size_t slot = kTitleSlot + 1; slot < kTitleSlot + 3; ++slot) {
        const QString taken = compact(fields[slot].text);
        if (fields[slot].filled
            && (!namesAJobTitle(taken) || taken == compact(fields[kCompanySlot].text) || taken == fields[kDepartmentSlot].text
                || taken == fields[kTitleSlot].text))
            fields[slot] = {};
    }
}

} // namespace

void fillChineseFields(ResultSlots& fields, const std::vector<RecognizedLine>& lines)
{
    const std::vector<RecognizedLine> once = withoutRepeatedLines(lines);
    const std::vector<RecognizedLine> rows = withRowPiecesJoined(once);
    // The postal code: the digits after its label, on its line or on the row beside it.
    for (const RecognizedLine& row : rows) {
        if (const auto m = postalLabel().match(row.text); m.hasMatch() && !m.captured(1).isEmpty()) {
            fields[kPostalCodeSlot] = slotOf(m.captured(1), row);
            break;
        }
    }
    fillAddress(fields, rows);
    fillCompany(fields, once, rows);
    fillMailOfWebHost(fields, once);
    fillWebOfMailDomain(fields);
    if (fields[kNameSlot].filled && cannotBeAName(fields[kNameSlot].text))
        fields[kNameSlot] = {};
    fillDepartmentAndTitle(fields);
    fillDepartment(fields, rows);
    if (SlotFill& address = fields[kAddressSlot]; address.filled) {
        const QStringList parts = address.text.split(u'\n', Qt::SkipEmptyParts);
        address.text = std::accumulate(parts.begin() + 1, parts.end(), parts.value(0), joinedAddressLines);
    }
    // A piece of the address the general rules took for a department or a title is none.
    const QString address = compact(fields[kAddressSlot].text);
    for (size_t slot : {kTitleSlot, kTitleSlot + 1, kTitleSlot + 2, kDepartmentSlot}) {
        if (fields[slot].filled && fields[kAddressSlot].filled && address.contains(compact(fields[slot].text)))
            fields[slot] = {};
    }
}
