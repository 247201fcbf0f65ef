// Cards whose first record the service may hold although the answer to its create was lost (it
// timed out, broke off or could not be read): by the card's identifier, the kind of that record.
// They are kept in the plug-in's preferences, so that uploading such a card again, in this run or a
// later one, first looks for that record instead of making a second one.
#pragma once

#include <QMap>
#include <QString>
#include <QStringList>

inline constexpr const char* kPrefUnansweredCards = "UnansweredCards";

class UnansweredCards {
public:
    // Record type ("Lead", "Account", "Contact") by card identifier.
    static QMap<QString, QString> all();
    // Forgets `resolved`, then keeps `lost` with the record type `type`; cards without an
    // identifier cannot be told again and are left out.
    static void update(const QStringList& resolved, const QStringList& lost, const QString& type);
};
