#include "plugin/Common/UnansweredCards.h"

#include "plugin/Common/LogManager.h"
#include "plugin/Common/PluginPreferences.h"

QMap<QString, QString> UnansweredCards::all()
{
    QMap<QString, QString> cards;
    const PlistValue::Dictionary stored = PluginPreferences::domain().value(QString::fromLatin1(kPrefUnansweredCards)).toDictionary();
    for (auto it = stored.begin(); it != stored.end(); ++it) {
        if (it.value().isString())
            cards.insert(it.key(), it.value().toString());
    }
    return cards;
}

void UnansweredCards::update(const QStringList& resolved, const QStringList& lost, const QString& type)
{
    if (resolved.isEmpty() && lost.isEmpty())
        return;
    PreferenceDomain preferences = PluginPreferences::domain();
    const QString key = QString::fromLatin1(kPrefUnansweredCards);
    PlistValue::Dictionary cards = preferences.value(key).toDictionary();
    for (const QString& id : resolved)
        cards.remove(id);
    for (const QString& id : lost) {
        if (!id.isEmpty())
            cards.insert(id, PlistValue(type));
    }
    if (cards.isEmpty())
        preferences.remove(key);
    else
        preferences.setValue(key, PlistValue(cards));
    if (!preferences.synchronize())
        LogManager::LogOutput(kLogError, QStringLiteral("Cards without an answer could not be noted"));
}
