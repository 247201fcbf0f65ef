// Text rules shared by recognition and the detail editor: the language type of a text,
// the split of a name into words, line-end trimming, and the split of edited values.
#pragma once

#include "app/images/CardRecord.h"

#include <QString>
#include <QStringList>

#include <array>

// 1 when any UTF-16 unit is U+3001 or above (East Asian text), else 2.
int languageTypeOfaString(const QString& text);

// The empty string for a text made only of line feeds, carriage returns and line separators.
QString trimOnlyNewline(const QString& text);

// White space and line ends trimmed; the untrimmed text when nothing would be left.
QString trimmedOrSelf(const QString& text);

// A name split at single spaces: the first word, the last word and the text between them.
struct NameWords {
    QStringList words;
    QString first;
    QString middle; // only with three or more words
    QString last;
};
NameWords splitNameWords(const QString& name);

// Sets the name parts `keys` (first, middle, family) from a whole name: Latin text gives the first
// word, the words between and the last word; East Asian text the first word as the family name
// and the rest as the first name.
void setNameParts(CardRecord* card, const QString& name, const std::array<const QString*, 3>& keys);

// Splits the edited name, reading and address into the card's part fields and gives newly filled
// contact fields their synchronisation identifiers. Values that are invalid QVariants stand for
// the null object. 3 when the card is missing, else 0.
int separateValue(const QVariantMap& changedValues, CardRecord* card);
