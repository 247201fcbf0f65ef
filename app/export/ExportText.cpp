#include "app/export/ExportText.h"

#include <QDateTime>
#include <QUrl>

QString exportValueText(const QVariant& value)
{
    if (hasExportDate(value))
        return exportDateText(value);
    return value.toString();
}

QString cleanExportText(const QString& text)
{
    QString clean;
    clean.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        const char16_t u = c.unicode();
        if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            clean.append(c);
            clean.append(text.at(++i));
        } else if (c.isSurrogate()) {
            clean.append(QChar(QChar::ReplacementCharacter));
        } else if ((u < 0x20 && u != u'\t' && u != u'\n' && u != u'\r') || u == 0xFFFE || u == 0xFFFF) {
            continue;
        } else {
            clean.append(c);
        }
    }
    return clean;
}

QString unifyLineBreaks(const QString& text)
{
    QString unified = text;
    unified.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    unified.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return unified;
}

bool hasExportDate(const QVariant& value)
{
    const int type = value.typeId();
    if (type == QMetaType::QDateTime)
        return value.toDateTime().isValid();
    if (type == QMetaType::QDate)
        return value.toDate().isValid();
    return false;
}

// "yyyy-MM-dd"; the ISO form is the same text for the years it covers and is made without reading
// a format for every date.
static QString dateText(const QDate& date)
{
    if (date.year() >= 1 && date.year() <= 9999)
        return date.toString(Qt::ISODate);
    return date.toString(QStringLiteral("yyyy-MM-dd"));
}

QString exportDateText(const QVariant& value)
{
    if (value.typeId() == QMetaType::QDate)
        return dateText(value.toDate());
    if (value.typeId() == QMetaType::QDateTime && value.toDateTime().isValid())
        return dateText(value.toDateTime().toLocalTime().date());
    return QString();
}

QString exportFileUrl(const QString& path)
{
    return QString::fromLatin1(QUrl::fromLocalFile(path).toEncoded(QUrl::FullyEncoded));
}
