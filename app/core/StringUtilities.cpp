#include "app/core/StringUtilities.h"

bool isWhiteSpaceCharacter(QChar c)
{
    return c == QLatin1Char('\t') || c.category() == QChar::Separator_Space;
}

QString StrNullToEmpty(const QVariant& object)
{
    if (!object.isValid() || object.isNull())
        return QStringLiteral("");
    const QString text = object.toString();
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && isWhiteSpaceCharacter(text.at(begin)))
        ++begin;
    while (end > begin && isWhiteSpaceCharacter(text.at(end - 1)))
        --end;
    return begin == end ? QStringLiteral("") : text.mid(begin, end - begin);
}

QString blankAndNewLineCharacters()
{
    return QString::fromUtf16(u"\u0009\u0020\u3000\u000A\u000D\u0085\u2028");
}

QString stringByTrimmingCharactersFromEnd(const QString& text, const QString& set)
{
    if (text.isNull() || text.isEmpty())
        return text;
    qsizetype end = text.size();
    while (end > 0 && (set.isNull() ? isWhiteSpaceCharacter(text.at(end - 1)) : set.contains(text.at(end - 1))))
        --end;
    return end == text.size() ? text : (end == 0 ? QStringLiteral("") : text.left(end));
}

int32_t get_unicharLen(const char16_t* buffer, int32_t maximum)
{
    if (!buffer)
        return -1;
    int32_t length = 0;
    while (length < maximum && buffer[length] != 0)
        ++length;
    return length;
}
