// The telephone, fax and mobile numbers of a card line and what kind each is: by the label printed
// before it in any language of the cards, by an icon the engine read before it, or by its form (a
// country's mobile prefixes); an extension after a number stays with it.
#pragma once

#include <QString>
#include <QStringList>

#include <vector>

enum class NumberKind { Unknown, Telephone, Fax, Mobile, TelephoneAndFax };

struct NumberOnLine {
    NumberKind kind = NumberKind::Unknown; // Unknown: no label, or an icon read as a stray mark
    QString number; // as printed, with its extension ("+44 20 7946 0123 ext. 45")
    QString digits; // of the number without its extension, "+" first for an international one
    qsizetype labelAt = 0; // where its label, icon or the number itself starts
    qsizetype end = 0; // after the number and its extension
    bool bare = false; // nothing but a mark or an icon stands before it
    bool letter = false; // its label is one letter ("T", "M"), which may be an icon the engine misread
};

// Every number of at least seven digits on a line, in order: "TEL 03-1234-5678 FAX 03-1234-5679",
// "T +44 … | M +44 …", "Tfno. 912 345 678", "© 0161 496 0000 ext. 204", "携帯電話：090-…".
std::vector<NumberOnLine> numbersOfLine(const QString& text);

// A line that is only a number label ("Cell", "Fax:", "携帯", "Móvil"): one of a label column
// beside the numbers.
bool isNumberLabelOnly(const QString& text);

// The country whose national numbering a card's numbers follow ("GB", "DE", "FR", "JP", …), from
// the country codes of its numbers, the endings of its mail and web addresses, its postcodes,
// country names, number labels and script; empty when nothing tells.
QString numberingCountryOf(const QStringList& lines);

// Whether a number has the form of a mobile number: by its country code, or, without one, by the
// national mobile prefixes of `country` (UK 07, DE 015–017, FR 06/07, ES 6/7, IT 3, PT 9, AU 04,
// JP 070/080/090, CN 13–19, KR 010, RU 8 9…).
bool hasMobileForm(const QString& digits, const QString& country);

// Whether a number's digits ("+" first for an international one) have a length the numbers of its
// country have: of the country its code names, else of `country`, with its trunk prefix. True where
// the country's numbers differ in length (Germany, Italy) or nothing tells the country.
bool hasLengthOfItsCountry(const QString& digits, const QString& country);

// Whether the mobile numbers of `country` have no prefixes of their own (the North American plan),
// so that no form tells them from the other numbers of a card.
bool mobilesLookLikeOtherNumbers(const QString& country);

// A number the engine misread as the numbering of `country` shows: a country code it cut ("+9 338
// 434 3453" for "+39 338…", "+4 20 7946 0123" for "+44 20…") takes `country`'s back, only where the
// code read is no country's the numbering knows and the number with the whole code has the length
// of one of `country`'s; an icon read as a digit before a number ("1 265 535 556" in Portugal) goes
// where the country dials no trunk prefix and the number is one digit too long.
NumberOnLine mendedForCountry(NumberOnLine number, const QString& country);
