#include "app/ui/logic/CardUrls.h"

#include <QRegularExpression>

namespace CardUrls {

QStringList mailAddresses(const QString& field)
{
    static const QRegularExpression separators(QStringLiteral(R"([,;\s\x{2028}\x{2029}]+)"));
    QStringList addresses = field.split(separators, Qt::SkipEmptyParts);
    addresses.removeIf([](const QString& part) { return !part.contains(QLatin1Char('@')); });
    return addresses;
}

QUrl mailUrl(const QStringList& fields)
{
    QByteArrayList encoded;
    for (const QString& field : fields) {
        for (const QString& address : mailAddresses(field))
            encoded.append(QUrl::toPercentEncoding(address, "@"));
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
