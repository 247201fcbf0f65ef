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

// The address with its town, region and street-name words taken back alike from the places of the
// card's language (AccentedPlaces.txt): "30000 Nimes", "rue de la Republique" on a French card give
// "30000 Nîmes", "rue de la République"; a word in small letters takes them in small letters.
QString withAccentsOfKnownPlaces(const QString& address, int language);
