#include "platform/addressbook/VCardText.h"

#include <QStringDecoder>

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
    line->value = QString::fromUtf8(logical.mid(colon + 1));
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
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString decoded = decoder.decode(data);
    if (decoder.hasError())
        return fail("not UTF-8 text");

    const int bomLength = data.startsWith("\xEF\xBB\xBF") ? 3 : 0;
    QList<QByteArray> logical;
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
        if (continuation) {
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
        else if (next == QLatin1Char('\\') || next == QLatin1Char(',') || next == QLatin1Char(';'))
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
    QString out;
    out.reserve(text.size() + 8);
    for (int i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == QLatin1Char('\\') || c == QLatin1Char(',') || c == QLatin1Char(';')) {
            out.append(QLatin1Char('\\'));
            out.append(c);
        } else if (c == QLatin1Char('\r')) {
            if (i + 1 < text.size() && text.at(i + 1) == QLatin1Char('\n'))
                ++i;
            out.append(QLatin1String("\\n"));
        } else if (c == QLatin1Char('\n')) {
            out.append(QLatin1String("\\n"));
        } else {
            out.append(c);
        }
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
