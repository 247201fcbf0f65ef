#include "app/images/CardTextRules.h"

#include "app/core/Identifiers.h"
#include "app/core/StringUtilities.h"
#include "app/images/CardFieldKeys.h"

#include <array>
#include <utility>

namespace {

bool isLineEnd(QChar c) { return c == u'\n' || c == u'\r' || c == QChar(0x2028); }

// The text less its first word and the one character after it, trimmed.
QString afterFirstWord(const QString& trimmed, const QString& firstWord)
{
    return trimmed.mid(firstWord.size() + 1).trimmed();
}

} // namespace

void setNameParts(CardRecord* card, const QString& name, const std::array<const QString*, 3>& keys)
{
    const int type = languageTypeOfaString(name);
    const NameWords w = splitNameWords(name);
    if (type == 2) {
        card->setValueForKey(*keys[0], w.first);
        if (w.words.size() >= 3)
            card->setValueForKey(*keys[1], w.middle);
        if (w.words.size() >= 2)
            card->setValueForKey(*keys[2], w.last);
        return;
    }
    card->setValueForKey(*keys[2], w.first);
    if (w.words.size() > 1)
        card->setValueForKey(*keys[0], afterFirstWord(trimmedOrSelf(name), w.first));
}

namespace {

bool isBlankValue(const QVariant& v) { return !v.isValid() || v.toString().isEmpty(); }

} // namespace

int languageTypeOfaString(const QString& text)
{
    for (QChar c : text) {
        if (c.unicode() >= 0x3001)
            return 1;
    }
    return 2;
}

QString trimOnlyNewline(const QString& text)
{
    for (QChar c : text) {
        if (!isLineEnd(c))
            return text;
    }
    return QStringLiteral("");
}

QString trimmedOrSelf(const QString& text)
{
    const QString t = text.trimmed();
    return t.isEmpty() ? text : t;
}

NameWords splitNameWords(const QString& name)
{
    NameWords w;
    const QString trimmed = trimmedOrSelf(name);
    w.words = trimmed.split(u' ');
    w.first = w.words.first();
    w.last = w.words.last();
    if (w.words.size() >= 3) {
        const qsizetype from = w.first.size() + 1;
        w.middle = trimmed.mid(from, trimmed.size() - from - w.last.size() - 1).trimmed();
    }
    return w;
}

int separateValue(const QVariantMap& changedValues, CardRecord* card)
{
    using namespace cardkey;
    if (!card)
        return 3;
    auto splitInto = [card](const QVariant& value, const std::array<const QString*, 5>& parts) {
        for (const QString* key : parts)
            card->setValueForKey(*key, QVariant());
        if (!value.isValid())
            return;
        QString name = value.toString();
        if (name.split(QChar(0x3000)).size() >= 2)
            name.replace(QChar(0x3000), u' ');
        setNameParts(card, name, {parts[0], parts[1], parts[2]});
    };
    if (changedValues.contains(kFullName))
        splitInto(changedValues.value(kFullName), {&kFirstName, &kMiddleName, &kFamilyName, &kSuffixName, &kPrefixName});
    if (changedValues.contains(kFullNameKana)) {
        const QVariant reading = changedValues.value(kFullNameKana);
        if (reading.isValid())
            card->setValueForKey(kFullNameKana, reading);
        splitInto(reading, {&kFirstNameKana, &kMiddleNameKana, &kFamilyNameKana, &kSuffixNameKana, &kPrefixNameKana});
    }
    if (changedValues.contains(kAddress)) {
        card->setValueForKey(kStreet, QVariant());
        card->setValueForKey(kCity, QVariant());
        card->setValueForKey(kState, QVariant());
        const QVariant value = changedValues.value(kAddress);
        if (value.isValid()) {
            const QStringList lines = value.toString().split(u'\n');
            card->setValueForKey(kState, trimOnlyNewline(lines.at(0)));
            if (lines.size() >= 2)
                card->setValueForKey(kCity, trimOnlyNewline(lines.at(1)));
            if (lines.size() >= 3) {
                const QString rest = lines.mid(2).join(u'\n');
                card->setValueForKey(kStreet, trimOnlyNewline(StrNullToEmpty(rest)));
            }
        }
    }
    static const std::array<std::pair<const QString*, const QString*>, 5> kSyncPairs = {{
        {&kEmail, &kSyncEmail},
        {&kWebPage, &kSyncUrl},
        {&kTelephone, &kSyncPhoneWork},
        {&kMobile, &kSyncPhoneMobile},
        {&kFax, &kSyncPhoneFax},
    }};
    for (const auto& [field, sync] : kSyncPairs) {
        if (!isBlankValue(changedValues.value(*field)) && isBlankValue(card->valueForKey(*sync)))
            card->setValueForKey(*sync, getUUID());
    }
    const bool streetChanged = !isBlankValue(changedValues.value(kAddress))
                            || !isBlankValue(changedValues.value(kPostalCode))
                            || !isBlankValue(changedValues.value(kCountry));
    if (streetChanged && isBlankValue(card->valueForKey(kSyncStreet)))
        card->setValueForKey(kSyncStreet, getUUID());
    return 0;
}
