// A `Card` record of the store seen as a card record: attribute values by name.
#pragma once

#include "app/images/CardRecord.h"
#include "platform/store/ManagedObject.h"

class ManagedCardRecord : public CardRecord {
public:
    explicit ManagedCardRecord(ManagedObject* card) : m_card(card) {}
    QVariant valueForKey(const QString& key) const override { return m_card->value(key); }
    void setValueForKey(const QString& key, const QVariant& value) override { m_card->setValue(key, value); }

private:
    ManagedObject* m_card;
};
