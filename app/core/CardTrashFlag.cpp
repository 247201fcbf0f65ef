#include "app/core/CardTrashFlag.h"

#include "platform/store/ManagedObject.h"

bool isCardDeleted(const ManagedObject& card)
{
    return isDeletedFlag(card.value(QStringLiteral("deletedFlag")));
}

bool isDeletedFlag(const QVariant& flag)
{
    return !flag.isNull() && flag.toLongLong() == 1;
}

Predicate notDeletedCard()
{
    return [](const ManagedObject& card) { return !isCardDeleted(card); };
}
