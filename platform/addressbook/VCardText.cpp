#include "platform/addressbook/VCardText.h"

#include <QStringDecoder>
#include <QStringEncoder>

#include <algorithm>

namespace {

bool isBlank(const QByteArray& logical)
{
    for (char c : logical) {
        if (c != ' ' && c != '\t')
            return false;
    }
    return true;
}

// Splits at `separator` outside double quotes.
QList<QByteArray> splitOutsideQuotes(const QByteArray& text, char separator)
{
    QList<QByteArray> parts;
    QByteArray current;
    bool quoted = false;
    for (char c : text) {
        if (c == '"')
            quoted = !quoted;
        if (c == separator && !quoted) {
            parts.append(current);
            current.clear();
        } else {
            current.append(c);
        }
    }
    parts.append(current);
    return parts;
}

QString unquoted(const QByteArray& value)
{
    QByteArray v = value;
    v.replace('"', QByteArray());
    return QString::fromUtf8(v);
}

// Windows-1252 from 0x80 to 0x9F; the five bytes it leaves out read as in Latin-1.
constexpr char16_t kWindows1252High[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
                                           0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
                                           0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

QString decodeWindows1252(const QByteArray& bytes)
{
    QString text(bytes.size(), Qt::Uninitialized);
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const unsigned char b = static_cast<unsigned char>(bytes.at(i));
        text[i] = QChar(b >= 0x80 && b < 0xA0 ? kWindows1252High[b - 0x80] : char16_t(b));
    }
    return text;
}

bool isUtf8Name(const QString& charset)
{
    return charset.compare(QLatin1String("UTF-8"), Qt::CaseInsensitive) == 0
        || charset.compare(QLatin1String("UTF8"), Qt::CaseInsensitive) == 0;
}

bool isAscii(const QByteArray& bytes)
{
    return std::all_of(bytes.begin(), bytes.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

// Text in the charset a line names; bytes that are not in it, or a line that names none, are
// read as UTF-8 and, failing that, as Windows-1252 (what other programs write without saying).
// `used` receives the charset the bytes were read in (empty for ASCII).
QString decodeText(const QByteArray& bytes, const QString& charset, QByteArray* used)
{
    if (isAscii(bytes)) {
        used->clear();
        return QString::fromLatin1(bytes);
    }
    if (!charset.isEmpty() && !isUtf8Name(charset)) {
        QStringDecoder named(charset.toLatin1().constData(), QStringDecoder::Flag::Stateless);
        if (named.isValid()) {
            const QString text = named.decode(bytes);
            if (!named.hasError()) {
                *used = charset.toLatin1();
                return text;
            }
        }
    }
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = utf8.decode(bytes);
    if (!utf8.hasError()) {
        *used = "UTF-8";
        return text;
    }
    *used = kUndeclaredCharset;
    return decodeWindows1252(bytes);
}

// The inverse of decodeWindows1252: every character it gives goes back to its byte.
bool encodeWindows1252(const QString& text, QByteArray* bytes)
{
    bytes->resize(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text.at(i).unicode();
        if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) {
            (*bytes)[i] = char(c);
            continue;
        }
        const char16_t* high = std::find(std::begin(kWindows1252High), std::end(kWindows1252High), c);
        if (high == std::end(kWindows1252High))
            return false;
        (*bytes)[i] = char(0x80 + (high - std::begin(kWindows1252High)));
    }
    return true;
}

int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

// "=XY" escapes decoded; an "=" without two hex digits stays as it is.
QByteArray decodeQuotedPrintable(const QByteArray& text)
{
    QByteArray out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char c = text.at(i);
        if (c == '=' && i + 2 < text.size() && hexValue(text.at(i + 1)) >= 0 && hexValue(text.at(i + 2)) >= 0) {
            out.append(char(hexValue(text.at(i + 1)) * 16 + hexValue(text.at(i + 2))));
            i += 2;
        } else {
            out.append(c);
        }
    }
    return out;
}

// Whether the parameters of an unparsed logical line ask for quoted-printable (vCard 2.1).
bool looksQuotedPrintable(const QByteArray& logical)
{
    const qsizetype colon = logical.indexOf(':');
    return colon > 0 && logical.left(colon).toUpper().contains("QUOTED-PRINTABLE");
}

// Binary properties: their values are long and nobody reads them as text.
bool isBinaryLine(const VCardContentLine& line)
{
    const QString encoding = line.parameter("ENCODING");
    return line.name == "PHOTO" || line.name == "LOGO" || line.name == "SOUND" || line.name == "KEY"
        || encoding.compare(QLatin1String("b"), Qt::CaseInsensitive) == 0
        || encoding.compare(QLatin1String("BASE64"), Qt::CaseInsensitive) == 0;
}

// Reads "group.NAME;params:value" of one unfolded line; false when there is no colon.
bool parseLogicalLine(const QByteArray& logical, VCardContentLine* line)
{
    bool quoted = false;
    int colon = -1;
    int firstSemicolon = -1;
    for (int i = 0; i < logical.size(); ++i) {
        const char c = logical.at(i);
        if (c == '"' && firstSemicolon >= 0)
            quoted = !quoted;
        else if (c == ';' && !quoted && firstSemicolon < 0)
            firstSemicolon = i;
        else if (c == ':' && !quoted) {
            colon = i;
            break;
        }
    }
    if (colon < 0)
        return false;
    const int nameEnd = firstSemicolon >= 0 ? firstSemicolon : colon;
    QByteArray name = logical.left(nameEnd).trimmed();
    const int dot = name.lastIndexOf('.');
    if (dot >= 0) {
        line->group = name.left(dot);
        name = name.mid(dot + 1);
    }
    line->name = name.toUpper();
    if (firstSemicolon >= 0) {
        line->paramText = logical.mid(firstSemicolon, colon - firstSemicolon);
        const QList<QByteArray> params = splitOutsideQuotes(line->paramText.mid(1), ';');
        for (const QByteArray& param : params) {
            if (param.isEmpty())
                continue;
            VCardParameter p;
            const int eq = param.indexOf('=');
            const QByteArray values = eq >= 0 ? param.mid(eq + 1) : param;
            p.name = eq >= 0 ? param.left(eq).trimmed().toUpper() : QByteArray("TYPE");
            // A quoted list ("work,voice") is a list as well.
            for (const QByteArray& v : splitOutsideQuotes(values, ','))
                p.values.append(unquoted(v).split(QLatin1Char(',')));
            line->parameters.append(p);
        }
    }
    if (isBinaryLine(*line))
        return true;
    QByteArray value = logical.mid(colon + 1);
    if (line->hasType("QUOTED-PRINTABLE")
        || line->parameter("ENCODING").compare(QLatin1String("QUOTED-PRINTABLE"), Qt::CaseInsensitive) == 0)
        value = decodeQuotedPrintable(value);
    line->value = decodeText(value, line->parameter("CHARSET"), &line->charset);
    return true;
}

bool isLine(const VCardContentLine& line, const char* name, const char* value)
{
    return line.name == name && line.value.trimmed().compare(QLatin1String(value), Qt::CaseInsensitive) == 0;
}

} // namespace

bool VCardContentLine::hasType(const char* type) const
{
    const QString wanted = QLatin1String(type);
    for (const VCardParameter& p : parameters) {
        if (p.name != "TYPE")
            continue;
        for (const QString& v : p.values) {
            if (v.trimmed().compare(wanted, Qt::CaseInsensitive) == 0)
                return true;
        }
    }
    return false;
}

QString VCardContentLine::parameter(const char* name) const
{
    for (const VCardParameter& p : parameters) {
        if (p.name == name && !p.values.isEmpty())
            return p.values.first();
    }
    return QString();
}

bool splitVCardLines(const QByteArray& data, QList<VCardContentLine>* lines, QByteArray* lineEnd, QString* errorText)
{
    auto fail = [errorText](const char* why) {
        if (errorText)
            *errorText = QLatin1String(why);
        return false;
    };
    lines->clear();
    if (data.contains('\0'))
        return fail("binary data");

    const int bomLength = data.startsWith("\xEF\xBB\xBF") ? 3 : 0;
    QList<QByteArray> logical;
    // Room for every physical line at once: growing would copy the lines read so far again and again.
    const qsizetype physicalLines = data.count('\n') + 1;
    lines->reserve(physicalLines);
    logical.reserve(physicalLines);
    qsizetype pos = 0;
    while (pos < data.size()) {
        qsizetype end = data.indexOf('\n', pos);
        end = end < 0 ? data.size() : end + 1;
        const QByteArray physical = data.mid(pos, end - pos);
        QByteArray content = physical;
        if (content.endsWith('\n'))
            content.chop(1);
        if (content.endsWith('\r'))
            content.chop(1);
        if (lines->isEmpty() && lineEnd)
            *lineEnd = physical.endsWith("\r\n") ? QByteArray("\r\n") : QByteArray("\n");
        const bool continuation = !lines->isEmpty() && !content.isEmpty() && (content.at(0) == ' ' || content.at(0) == '\t')
                                  && !isBlank(logical.last());
        // A quoted-printable value ending in "=" goes on in the next line, which has no indent.
        const bool softBreak = !lines->isEmpty() && logical.last().endsWith('=') && looksQuotedPrintable(logical.last());
        if (softBreak) {
            lines->last().raw.append(physical);
            logical.last().chop(1);
            logical.last().append(content);
        } else if (continuation) {
            lines->last().raw.append(physical);
            logical.last().append(content.mid(1));
        } else {
            VCardContentLine line;
            line.raw = physical;
            lines->append(line);
            logical.append(pos == 0 ? content.mid(bomLength) : content);
        }
        pos = end;
    }

    int begin = -1;
    int finish = -1;
    for (int i = 0; i < lines->size(); ++i) {
        if (isBlank(logical[i]))
            continue;
        VCardContentLine& line = (*lines)[i];
        if (!parseLogicalLine(logical[i], &line))
            return fail("a line without a colon");
        logical[i].clear();
        if (isLine(line, "BEGIN", "VCARD")) {
            if (begin >= 0)
                return fail("more than one vCard");
            begin = i;
        } else if (begin < 0) {
            return fail("no BEGIN:VCARD at the start");
        } else if (finish >= 0) {
            return fail("lines after END:VCARD");
        } else if (isLine(line, "END", "VCARD")) {
            finish = i;
        }
    }
    if (begin < 0 || finish < 0)
        return fail("no complete vCard");
    return true;
}

QList<QByteArray> splitVCardFile(const QByteArray& data)
{
    // Every BEGIN:VCARD at the start of a line starts a vCard, so that a truncated one does not
    // swallow the next.
    QList<qsizetype> starts;
    qsizetype pos = 0;
    while (pos < data.size()) {
        qsizetype end = data.indexOf('\n', pos);
        end = end < 0 ? data.size() : end + 1;
        QByteArrayView content(data.constData() + pos, end - pos);
        if (pos == 0 && content.startsWith("\xEF\xBB\xBF"))
            content = content.sliced(3);
        // A folded line goes on the one before it, whatever it says.
        const bool folded = !content.isEmpty() && (content.front() == ' ' || content.front() == '\t');
        if (!folded && content.trimmed().compare("BEGIN:VCARD", Qt::CaseInsensitive) == 0)
            starts.append(pos);
        pos = end;
    }
    if (starts.size() <= 1)
        return {data};
    starts[0] = 0;
    QList<QByteArray> pieces;
    for (qsizetype i = 0; i < starts.size(); ++i) {
        const qsizetype end = i + 1 < starts.size() ? starts[i + 1] : data.size();
        pieces.append(data.mid(starts[i], end - starts[i]));
    }
    return pieces;
}

QByteArray paramsForRewrittenLine(const QByteArray& paramText)
{
    QByteArray out;
    for (const QByteArray& param : splitOutsideQuotes(paramText.mid(1), ';')) {
        const QByteArray name = param.left(param.indexOf('=')).trimmed().toUpper();
        if (param.isEmpty() || name == "ENCODING" || name == "CHARSET" || param.trimmed().toUpper() == "QUOTED-PRINTABLE")
            continue;
        out += ';' + param;
    }
    return out;
}

bool encodeVCardText(const QString& text, const QByteArray& charset, QByteArray* bytes)
{
    if (charset.isEmpty() || sameCharset(charset, "UTF-8")) {
        *bytes = text.toUtf8();
        return true;
    }
    if (sameCharset(charset, kUndeclaredCharset))
        return encodeWindows1252(text, bytes);
    QStringEncoder encoder(charset.constData(), QStringEncoder::Flag::Stateless);
    if (!encoder.isValid())
        return false;
    *bytes = encoder.encode(text);
    return !encoder.hasError();
}

bool sameCharset(const QByteArray& a, const QByteArray& b)
{
    auto plain = [](const QByteArray& name) {
        QByteArray out = name.toUpper();
        out.replace('-', QByteArray()).replace('_', QByteArray());
        return out;
    };
    return plain(a) == plain(b);
}

QString unescapeVCardText(const QString& text)
{
    if (!text.contains(QLatin1Char('\\')))
        return text;
    QString out;
    out.reserve(text.size());
    for (int i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c != QLatin1Char('\\') || i + 1 == text.size()) {
            out.append(c);
            continue;
        }
        const QChar next = text.at(i + 1);
        if (next == QLatin1Char('n') || next == QLatin1Char('N'))
            out.append(QLatin1Char('\n'));
        else if (next.unicode() >= 0x20 && next.unicode() < 0x7F && !next.isLetterOrNumber())
            out.append(next);
        else {
            out.append(c);
            continue;
        }
        ++i;
    }
    return out;
}

QString escapeVCardText(const QString& text)
{
    const QString written = vcardTextAsWritten(text);
    QString out;
    out.reserve(written.size() + 8);
    for (QChar c : written) {
        if (c == QLatin1Char('\\') || c == QLatin1Char(',') || c == QLatin1Char(';')) {
            out.append(QLatin1Char('\\'));
            out.append(c);
        } else if (c == QLatin1Char('\n')) {
            out.append(QLatin1String("\\n"));
        } else {
            out.append(c);
        }
    }
    return out;
}

QString vcardTextAsWritten(const QString& text)
{
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text.at(i).unicode();
        if (c == u'\r' && i + 1 < text.size() && text.at(i + 1) == u'\n')
            continue;
        if (c == u'\r' || c == u'\n' || c == u'\v' || c == u'\f' || c == 0x85 || c == 0x2028 || c == 0x2029)
            out.append(u'\n');
        else if ((c >= 0x20 && c != 0x7F) || c == u'\t')
            out.append(QChar(c));
    }
    return out;
}

QStringList splitVCardValue(const QString& value, QChar separator)
{
    QStringList parts;
    QString current;
    for (int i = 0; i < value.size(); ++i) {
        const QChar c = value.at(i);
        if (c == QLatin1Char('\\') && i + 1 < value.size()) {
            current.append(c);
            current.append(value.at(++i));
        } else if (c == separator) {
            parts.append(current);
            current.clear();
        } else {
            current.append(c);
        }
    }
    parts.append(current);
    return parts;
}

QByteArray foldVCardLine(const QByteArray& line, const QByteArray& lineEnd)
{
    constexpr int kLimit = 75;
    if (line.size() <= kLimit)
        return line + lineEnd;
    QByteArray out;
    qsizetype pos = 0;
    int room = kLimit;
    while (pos < line.size()) {
        qsizetype end = std::min<qsizetype>(pos + room, line.size());
        while (end < line.size() && end > pos + 1 && (static_cast<unsigned char>(line.at(end)) & 0xC0) == 0x80)
            --end;
        if (pos > 0)
            out.append(' ');
        out.append(line.mid(pos, end - pos));
        out.append(lineEnd);
        pos = end;
        room = kLimit - 1;
    }
    return out;
}
