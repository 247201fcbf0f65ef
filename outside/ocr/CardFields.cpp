#include "outside/ocr/CardFields.h"

#include "platform/events/OcrProtocol.h"

#include <QRegularExpression>
#include <QStringList>

#include <algorithm>

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
    static const QRegularExpression re(QStringLiteral(R"([A-Za-z0-9._%+\-]+@[A-Za-z0-9\-]+(?:\.[A-Za-z0-9\-]+)+)"));
    return re;
}

const QRegularExpression& webPattern()
{
    static const QRegularExpression re(
        QStringLiteral(R"((?:https?://|www\.)[^\s]+|\b[A-Za-z0-9\-]+(?:\.[A-Za-z0-9\-]+)*\.(?:com|net|org|jp|co\.jp|io|de|fr|uk|info|biz)(?:/[^\s]*)?\b)"),
        QRegularExpression::CaseInsensitiveOption);
    return re;
}

// Labels of numbers, longest first within each kind.
struct NumberLabel {
    const char16_t* label;
    Group group;
};
const NumberLabel kNumberLabels[] = {
    {u"携帯電話", kMobile}, {u"携帯", kMobile},   {u"ケータイ", kMobile}, {u"Mobile", kMobile}, {u"Mob", kMobile},
    {u"Cell", kMobile},     {u"M.", kMobile},     {u"M:", kMobile},       {u"ファックス", kFax}, {u"ファクス", kFax},
    {u"FAX", kFax},         {u"Fax", kFax},       {u"F.", kFax},          {u"F:", kFax},        {u"電話", kTelephone},
    {u"TEL", kTelephone},   {u"Tel", kTelephone}, {u"Phone", kTelephone}, {u"T.", kTelephone},  {u"T:", kTelephone},
    {u"☎", kTelephone},
};

const QRegularExpression& numberPattern()
{
    static const QRegularExpression re(QStringLiteral(R"(\+?[0-9０-９][0-9０-９()（）\-－ .]{5,}[0-9０-９])"));
    return re;
}

// "TEL 03-1234-5678 FAX 03-1234-5679": every labelled number of the line; false when it has none.
bool takeNumbers(ResultSlots& fields, const QString& text, const RecognizedLine& box)
{
    struct Hit {
        qsizetype at;
        qsizetype length;
        Group group;
    };
    std::vector<Hit> hits;
    for (const NumberLabel& l : kNumberLabels) {
        const QString label = QString::fromUtf16(l.label);
        for (qsizetype at = text.indexOf(label); at >= 0; at = text.indexOf(label, at + 1)) {
            const bool covered = std::any_of(hits.begin(), hits.end(), [&](const Hit& h) {
                return at < h.at + h.length && h.at < at + label.size();
            });
            // A one-letter label only counts at the start of the line or after a blank.
            const bool standalone = label.size() > 2 || at == 0 || text.at(at - 1).isSpace();
            if (!covered && standalone)
                hits.push_back({at, label.size(), l.group});
        }
    }
    std::sort(hits.begin(), hits.end(), [](const Hit& a, const Hit& b) { return a.at < b.at; });
    bool any = false;
    for (size_t i = 0; i < hits.size(); ++i) {
        const qsizetype from = hits[i].at + hits[i].length;
        const qsizetype to = i + 1 < hits.size() ? hits[i + 1].at : text.size();
        const auto match = numberPattern().match(text.mid(from, to - from));
        if (match.hasMatch() && put(fields, hits[i].group, match.captured().trimmed(), box))
            any = true;
    }
    if (!any && hits.empty()) {
        // An unlabelled line that is only a number is a telephone number.
        const auto match = numberPattern().match(text);
        if (match.hasMatch() && match.capturedLength() >= text.size() - 2)
            return put(fields, kTelephone, match.captured().trimmed(), box);
    }
    return any;
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
    return QRegularExpression(QStringLiteral("(^|[^A-Za-z])(") + escaped.join(u'|') + QStringLiteral(")($|[^A-Za-z])"),
                              QRegularExpression::CaseInsensitiveOption);
}

bool isCompany(const QString& t)
{
    static const QRegularExpression western = wordPattern({u"Inc", u"Inc.", u"Corp", u"Corp.", u"Corporation", u"Co.",
                                                           u"Ltd", u"Ltd.", u"LLC", u"GmbH", u"AG", u"PLC", u"S.A.",
                                                           u"Company", u"Limited"});
    return containsAny(t, {u"株式会社", u"有限会社", u"合同会社", u"(株)", u"（株）", u"㈱", u"(有)", u"㈲"})
        || western.match(t).hasMatch();
}

bool isTitle(const QString& t)
{
    static const QRegularExpression western = wordPattern(
        {u"Manager", u"Director", u"President", u"CEO", u"CTO", u"CFO", u"COO", u"Engineer", u"Officer", u"Chief",
         u"Head", u"Lead", u"Vice", u"Senior", u"Representative", u"Consultant", u"Specialist", u"Designer",
         u"Developer", u"Analyst", u"Partner", u"Founder", u"Architect", u"Assistant", u"Executive", u"Coordinator"});
    return containsAny(t, {u"部長", u"課長", u"係長", u"主任", u"社長", u"取締役", u"代表", u"専務", u"常務", u"会長",
                           u"室長", u"所長", u"マネージャー", u"エンジニア", u"担当"})
        || western.match(t).hasMatch();
}

bool isDepartment(const QString& t)
{
    static const QRegularExpression western =
        wordPattern({u"Department", u"Dept", u"Dept.", u"Division", u"Section", u"Group", u"Team", u"Unit"});
    return containsAny(t, {u"部", u"課", u"室", u"グループ", u"センター", u"本部"}) || western.match(t).hasMatch();
}

const QRegularExpression& japanesePostal()
{
    static const QRegularExpression re(QStringLiteral(R"(〒\s*([0-9０-９]{3}\s*[-－ー]?\s*[0-9０-９]{4}))"));
    return re;
}

bool isAddress(const QString& t)
{
    static const QRegularExpression japanese(QStringLiteral("^(.{2,3}[都道府県]|.{1,6}[市区町村郡])"));
    static const QRegularExpression western(
        QStringLiteral(R"(\b(Street|St\.?|Avenue|Ave\.?|Road|Rd\.?|Boulevard|Blvd\.?|Lane|Suite|Floor|Drive|Dr\.|Way|Square|Plaza)\b|\b[A-Z]{2}\s+\d{5}(-\d{4})?\b|\b[A-Z]{1,2}\d[A-Z\d]?\s*\d[A-Z]{2}\b)"));
    return japanese.match(t).hasMatch() || western.match(t).hasMatch();
}

} // namespace

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

ResultSlots classifyCardLines(const std::vector<RecognizedLine>& lines)
{
    ResultSlots fields{};
    std::vector<const RecognizedLine*> rest;
    int lastAddressLine = -2;
    for (size_t index = 0; index < lines.size(); ++index) {
        const RecognizedLine& line = lines[index];
        QString text = line.text;
        if (text.isEmpty())
            continue;
        bool used = false;
        if (text.contains(u'@')) {
            // The Japanese model reads "taro.yamada@x.co.jp" as "taro. yamada@x.co. jp".
            static const QRegularExpression spacedDots(QStringLiteral(R"(([A-Za-z0-9])\s*([.@])\s+(?=[A-Za-z0-9]))"));
            text.replace(spacedDots, QStringLiteral("\\1\\2"));
        }
        if (const auto m = emailPattern().match(text); m.hasMatch()) {
            used = put(fields, kEmail, m.captured(), line);
            text.remove(m.capturedStart(), m.capturedLength());
        }
        if (const auto m = webPattern().match(text); m.hasMatch())
            used = put(fields, kWeb, m.captured(), line) || used;
        if (used)
            continue;
        if (takeNumbers(fields, text, line))
            continue;
        if (const auto m = japanesePostal().match(text); m.hasMatch()) {
            put(fields, kPostal, m.captured(1), line);
            text = text.mid(m.capturedEnd()).trimmed();
            if (text.isEmpty())
                continue;
        }
        if (isCompany(text)) {
            put(fields, kCompany, text, line);
            continue;
        }
        if (isTitle(text)) {
            // "営業部 部長": the department, then the title after the last blank.
            const qsizetype blank = text.lastIndexOf(u' ');
            if (blank > 0 && isDepartment(text.left(blank)) && !isTitle(text.left(blank))) {
                put(fields, kDepartment, text.left(blank), line);
                put(fields, kTitle, text.mid(blank + 1), line);
            } else {
                put(fields, kTitle, text, line);
            }
            continue;
        }
        if (isDepartment(text) && !isAddress(text)) {
            put(fields, kDepartment, text, line);
            continue;
        }
        if (isAddress(text) || lastAddressLine == int(index) - 1) {
            SlotFill& address = fields[size_t(kAddress.first)];
            if (!address.filled) {
                put(fields, kAddress, text, line);
                lastAddressLine = int(index);
                continue;
            }
            if (lastAddressLine == int(index) - 1) {
                extend(address, text, line, u'\n');
                lastAddressLine = int(index);
                continue;
            }
        }
        rest.push_back(&line);
    }
    // The name: the tallest line left, its letters not mostly digits.
    const RecognizedLine* name = nullptr;
    for (const RecognizedLine* line : rest) {
        const qsizetype digits = std::count_if(line->text.begin(), line->text.end(), [](QChar c) { return c.isDigit(); });
        if (digits * 2 > line->text.size())
            continue;
        if (!name || line->bottom - line->top > name->bottom - name->top)
            name = line;
    }
    if (name)
        put(fields, kName, name->text, *name);
    return fields;
}

ResultSlots fieldTagSlots(const std::vector<RecognizedLine>& lines, int tag)
{
    ResultSlots fields{};
    const int slot = ocr::slotOfTag(tag);
    if (slot < 0)
        return fields;
    SlotFill& fill = fields[size_t(slot)];
    for (const RecognizedLine& line : lines) {
        if (line.text.isEmpty())
            continue;
        if (!fill.filled)
            fill = {line.text, line.left, line.top, line.right, line.bottom, true};
        else
            extend(fill, line.text, line, tag == 26 ? u'\n' : u' ');
    }
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
