// A card as recognition and the edit split see it: values looked up and set by attribute name.
// The store's card entity and plain card dictionaries both answer it.
#pragma once

#include <QString>
#include <QVariant>
#include <QVariantMap>

// One card as a dictionary keyed by the card's attribute names.
using CardDict = QVariantMap;

class CardRecord {
public:
    virtual ~CardRecord() = default;
    virtual QVariant valueForKey(const QString& key) const = 0;
    // An invalid QVariant sets the attribute to nothing.
    virtual void setValueForKey(const QString& key, const QVariant& value) = 0;
};

// A card dictionary seen as a card record; setting nothing removes the key.
class CardDictRecord : public CardRecord {
public:
    explicit CardDictRecord(CardDict& dict) : m_dict(dict) {}
    QVariant valueForKey(const QString& key) const override { return m_dict.value(key); }
    void setValueForKey(const QString& key, const QVariant& value) override
    {
        if (value.isValid())
            m_dict.insert(key, value);
        else
            m_dict.remove(key);
    }

private:
    CardDict& m_dict;
};
