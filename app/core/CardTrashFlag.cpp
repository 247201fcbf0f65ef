#include "app/core/CardTrashFlag.h"

#include "platform/store/ManagedObject.h"

bool isCardDeleted(const ManagedObject& card)
{
    const QVariant flag = card.value(QStringLiteral("deletedFlag"));
    return !flag.isNull() && flag.toLongLong() == 1;
}

Predicate notDeletedCard()
{
    return [](const ManagedObject& card) { return !isCardDeleted(card); };
}
