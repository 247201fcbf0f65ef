// A person's name read without the accents, umlauts or cedilla it is spelled with: the engine beside
// English, or the language's own model on a doubted word, reads "Loïc" as "Loic" and "Müller" as
// "Muller", and no reading of the card holds the marks to take back.
#pragma once

#include <QString>

// The name with each word whose bare letters match exactly one name of the card's language (a
// given name or common surname of AccentedNames.txt, for French, Spanish, Portuguese, Italian and
// German) spelled as that name, in capitals where the word is: "Loic Benard" on a French card gives
// "Loïc Bénard". Words of hyphenated names count apart; a word spelled both ways in the language,
// and every name of another language, stays as read.
QString withAccentsOfKnownNames(const QString& name, int language);
