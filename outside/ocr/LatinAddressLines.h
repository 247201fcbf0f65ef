// The lines of addresses printed in Latin letters, in the forms of the countries cards come from:
// the postcode and town line, the street line, post boxes, the floor or suite line and the
// country line.
#pragma once

#include <QString>

// The postcode that stands in a line, empty when there is none: UK "SW1A 1AA", US "NY 10017",
// Canada "ON M5V 2T6", Australia "NSW 2000", a five-digit code before its town (Germany, France,
// Spain, Italy: "80802 München", "75008 PARIS", "28001 Madrid", "20121 Milano MI"), Portugal
// "1000-001 Lisboa", Brazil "01310-100", the Netherlands "1012 AB Amsterdam", and a four-digit
// code after its country letter ("CH-8001 Zürich", "A-1010 Wien").
QString latinPostcodeOf(const QString& line);

// The postcode a line ends with whose town stands alone on the line under it ("Am Wöhrder See 171,
// 79098" over "Freiburg im Breisgau"), empty when there is none.
QString latinPostcodeOverTown(const QString& line, const QString& below);

// A street word of one of the languages ("Street", "rue", "Calle", "Rambla", "Corso", "Rua",
// "-straße"), with or without the house number.
bool hasLatinStreetWord(const QString& line);

// A street line: a street word of one of the languages ("Street", "rue", "Calle", "C/", "Via",
// "Rua", "-straße") with its number, or a post box ("PO Box 123", "Postfach 10 11 12", "BP 42",
// "Apartado 123", "Casella Postale 12", "Caixa Postal 99").
bool isLatinStreetLine(const QString& line);

// The name of a country alone on its line ("United Kingdom", "France", "España", "Deutschland",
// "USA"), as cards print it under the address.
bool isCountryLine(const QString& line);

// A Brazilian town with its state, as the last lines of an address print it ("Campinas – SP",
// "Porto Alegre/RS", "Recife, PE", "Rio de Janeiro/RJ, CEP 20040-002").
bool isTownAndStateLine(const QString& line);

// A line that goes on an address set above it: a country, a floor, suite, level or unit ("Level
// 12", "Suite 400", "3rd Floor", "2e étage", "Planta 3", "Piso 2", "3. OG"), a building, a
// Brazilian town with its state, a French business zone or estate ("ZI des Vignes", "Parc
// d'activités du Moulin", "Lieu-dit Le Bourg").
bool continuesLatinAddress(const QString& line);

// A line that goes on the town's name of the postcode line above it, where the name ran onto a
// second line: "de Gran Canaria" under "35001 Las Palmas", "am Main" under "63065 Offenbach".
bool continuesTownName(const QString& townLine, const QString& line);

// What a line set above an address's first line is of it, read from its own words and the line
// under it: a street line, a floor or building, a street's name whose number went on the line under
// it ("Avenida Conde da Boa" over "Vista, 158"), the rest of a street's name with its number
// ("Vista, 158 – 3º andar") under such a line, a district ("Aldeota") between street and town. A
// house number before one word is a street ("14 Micklegate"), as many streets have no street word.
enum class LineAboveAddress { None, Street, StreetNameOnly, NameWithNumber, District };
LineAboveAddress lineAboveAddress(const QString& line);

// An address with the German street word's ß as printed where the engine read it as B or f
// ("PontstraBe 90", "Hauptstrafe 12"), and a ç it read as a cent sign ("Besan¢gon").
QString withLatinStreetWordsAsPrinted(const QString& address);

// A text with the number of a French floor as printed where the engine read it as the letter of its
// shape: "Te étage", "Se étage", "Ze étage" for 7e, 5e, 2e; "Ter étage" for 1er. Such a line would
// otherwise pass for a company's ("SE").
QString withFrenchFloorDigits(const QString& text);

// An address with the ordinal sign after a floor's number as printed ("3º B", "5.º Dto."), where the
// engine read it as a degree sign, "?", "%" or, after the house number or before "andar", a "2"
// ("Calle Mayor, 161, 12" for "161, 1º", "82 andar" for "8º andar"); a French floor's number read
// as a letter (withFrenchFloorDigits); the sign lost between a floor and its door ("166, 8 D"); the
// left-hand door after a floor read as "Esa.".
QString withLatinOrdinalSigns(const QString& address);

// An address with the blank the engine lost after a floor's or room's word or a comma ("sala1383",
// "151,3.º") put back, a blank it put after the 1 opening a room's number taken out ("sala 1 158"),
// and without a speck read after its town ("3000-150 Coimbra Ot").
QString withLatinAddressBlanks(const QString& address);

// An address with the Roman numeral of a street's name as printed where the engine read its last
// strokes as small l: "Avenida Dom João Il" for "João II", "Calle Alfonso Ill" for "Alfonso III";
// a lone I before the house number read as a bar ("Corso Umberto | 167").
QString withLatinRomanNumerals(const QString& address);

// An address with its dashes as printed: a dash set between blanks, read as a hyphen or a long
// dash ("Campinas - SP", "66 —7º andar") or without its blanks before a Brazilian state ("São
// Paulo-SP"), is an en dash between blanks.
QString withLatinAddressDashes(const QString& address);

// An address line in Latin letters with the Cyrillic letters a reading with the Russian model put
// among them as the Latin letters they look like ("Bâtiment В" with a Cyrillic Ve); lines mostly
// in Cyrillic stay.
QString withLatinLettersForCyrillic(const QString& address);

// An address with the short forms of Alameda and Avenida as printed where the engine lost their
// full stop and read the second letter as a capital: "AL das Palmeiras" for "Al. das Palmeiras"; a
// floor's word opening a line read in small letters ("unit1") in its capital.
QString withLatinStreetAbbreviations(const QString& address);
