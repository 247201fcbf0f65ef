#include "app/ui/logic/LinkMessageMarkup.h"

namespace LinkMessageMarkup {

namespace {

bool isBlank(QChar c)
{
    return c == QLatin1Char(' ') || c == QLatin1Char('\t');
}

QString skipBlanks(const QString& text)
{
    int i = 0;
    while (i < text.size() && isBlank(text[i]))
        ++i;
    return text.mid(i);
}

// The length of the end tag "<", blanks, "/", blanks, "help", blanks, ">" at the start of `text`; 0 when none.
int endTagLength(const QString& text)
{
    QString rest = stringRemovePrefixIngoreBlank(text, QStringLiteral("<"));
    if (rest.isNull() || (rest = stringRemovePrefixIngoreBlank(rest, QStringLiteral("/"))).isNull()
        || (rest = stringRemovePrefixIngoreBlank(rest, QStringLiteral("help"))).isNull()
        || (rest = stringRemovePrefixIngoreBlank(rest, QStringLiteral(">"))).isNull())
        return 0;
    return int(text.size() - rest.size());
}

struct Read {
    QString anchor;
    QString linkText;
    int consumed = 0;
};

// A whole link at the start of `text` ("<" included), or nothing.
bool readLink(const QString& text, Read* read)
{
    QString rest = text.mid(1);
    rest = stringRemovePrefixIngoreBlank(rest, QStringLiteral("help "));
    if (rest.isNull())
        return false;
    for (const char* token : {"anchor", "=", "\""}) {
        rest = stringRemovePrefixIngoreBlank(rest, QLatin1String(token));
        if (rest.isNull())
            return false;
    }
    const int quote = int(rest.indexOf(QLatin1Char('"')));
    if (quote < 0)
        return false;
    read->anchor = rest.left(quote);
    rest = stringRemovePrefixIngoreBlank(rest.mid(quote + 1), QStringLiteral(">"));
    if (rest.isNull())
        return false;
    for (int i = 0; i < rest.size(); ++i) {
        if (rest[i] != QLatin1Char('<'))
            continue;
        const int tag = endTagLength(rest.mid(i));
        if (tag == 0)
            continue;
        if (i == 0)
            return false;
        read->linkText = rest.left(i);
        read->consumed = int(text.size() - rest.size()) + i + tag;
        return true;
    }
    return false;
}

} // namespace

QString Link::key() const
{
    return QStringLiteral("%1/%2").arg(location).arg(length);
}

QString stringRemovePrefixIngoreBlank(const QString& text, const QString& prefix)
{
    const QString rest = skipBlanks(text);
    if (!rest.startsWith(prefix))
        return QString();
    const QString after = rest.mid(prefix.size());
    return after.isNull() ? QStringLiteral("") : after;
}

Parsed parseMessageString(const QString& message)
{
    Parsed parsed;
    int i = 0;
    while (i < message.size()) {
        const int open = int(message.indexOf(QLatin1Char('<'), i));
        if (open < 0) {
            parsed.text += message.mid(i);
            break;
        }
        parsed.text += message.mid(i, open - i);
        Read read;
        if (readLink(message.mid(open), &read)) {
            parsed.links.append({int(parsed.text.size()), int(read.linkText.size()), read.anchor});
            parsed.text += read.linkText;
            i = open + read.consumed;
        } else {
            parsed.text += QLatin1Char('<');
            i = open + 1;
        }
    }
    return parsed;
}

int defaultButton(int number, bool secondShown, bool thirdShown)
{
    if (number == 2)
        return thirdShown ? 2 : 0;
    if (number == 1)
        return secondShown ? 1 : 0;
    return 0;
}

} // namespace LinkMessageMarkup
