#include "app/core/DatabasePassword.h"

#include "platform/foundation/Md5.h"

#include <QList>

QString getMD5String(const QString& text)
{
    return md5Hex(text.toUtf8());
}

QString getIllegalCharactersInPwdString(const QString& text)
{
    if (text.isEmpty())
        return QString();
    QString offending(QLatin1String(""));
    // Whole code points, so a character beyond the basic plane is reported as itself.
    const QList<uint> codePoints = text.toUcs4();
    for (const uint point : codePoints) {
        const char32_t c = point;
        if (c >= 0x20 && c <= 0x7E && c != U';')
            continue;
        const QString character = QString::fromUcs4(&c, 1);
        if (!offending.contains(character))
            offending += character;
    }
    return offending;
}
