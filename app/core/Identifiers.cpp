#include "app/core/Identifiers.h"

#include <QUuid>

QString generateUID()
{
    const QUuid uuid = QUuid::createUuid();
    if (uuid.isNull())
        return QString();
    return uuid.toString(QUuid::WithoutBraces).toUpper();
}

QString getUUID()
{
    return generateUID();
}
