#include "app/ui/logic/CardUrls.h"

#include <QRegularExpression>

namespace CardUrls {

bool isPlainMailAddress(const QString& address)
{
    // Local part: printable characters other than blanks and the characters that separate
    // addresses or start URL syntax; domain: dot-separated labels of letters, digits, hyphens.
    static const QRegularExpression plain(QStringLiteral(
        R"(^[^\s@,;:?&=#%<>"'()\[\]\\/]+@[\p{L}\p{N}](?:[\p{L}\p{N}-]*[\p{L}\p{N}])?(?:\.[\p{L}\p{N}](?:[\p{L}\p{N}-]*[\p{L}\p{N}])?)+$)"));
    for (const QChar c : address) {
        if (c.category() == QChar::Other_Control || c.category() == QChar::Other_Format)
            return false;
    }
    return plain.match(address).hasMatch();
}

QUrl mailUrl(const QStringList& addresses)
{
    QByteArrayList encoded;
    for (const QString& address : addresses) {
        const QString trimmed = address.trimmed();
        if (isPlainMailAddress(trimmed))
            encoded.append(QUrl::toPercentEncoding(trimmed, "@"));
    }
    if (encoded.isEmpty())
        return QUrl();
    return QUrl::fromEncoded("mailto:" + encoded.join(','), QUrl::StrictMode);
}

QUrl webPageUrl(const QString& address)
{
    QString text = address.trimmed();
    if (text.isEmpty())
        return QUrl();
    const QString lower = text.toLower();
    if (!lower.startsWith(QLatin1String("http:")) && !lower.startsWith(QLatin1String("https:")))
        text.prepend(QLatin1String("http://"));
    QUrl url(text, QUrl::TolerantMode);
    if (!url.isValid())
        url = QUrl::fromEncoded(text.toUtf8(), QUrl::TolerantMode);
    if (!url.isValid() || url.host().isEmpty())
        return QUrl();
    return url;
}

} // namespace CardUrls
