// The shape of a person's name printed in Latin letters, as the engine reads it: two to four
// capitalised words, with particles ("van der", "di", "ten"), initials, hyphens and apostrophes;
// what tells it from a company's name; and what the engine makes of a name set letter-spaced.
#pragma once

#include <QString>

#include <vector>

// Two to four capitalised words, lower-case particles between them, an optional academic or
// courtesy title before and a degree or generation after.
bool isLatinNameShaped(const QString& text);

// A name with what the engine read after it on its row cut off: "Benjamin Dubois | §"p59 2018 c"
// gives "Benjamin Dubois"; a text that does not start with a name stays as it is.
QString latinNameWithoutTrailingNoise(const QString& text);

// A middle initial as printed, with its full stop: "Tobias R Wolff" and "Robert S$. Novak" give
// "Tobias R. Wolff" and "Robert S. Novak".
QString latinNameWithInitialStops(const QString& text);

// A name's marks the engine made of its letters or of specks beside them: "PIERLUIG!" gives
// "PIERLUIGI", "(GUIMARÃES" "GUIMARÃES", "García- Olmedo" "García-Olmedo"; "Mcintyre" is
// "McIntyre", as such names are spelled.
QString latinNameWithLettersForMarks(const QString& text);

// A word that says what kind of business a line names ("Capital", "Studio", "Foods"): a line with
// one is a company's name even without a legal form.
bool namesAKindOfBusiness(const QString& text);

// A name the engine split inside its words, as it does with letter-spaced or bold type: "Han nah
// Chen", "To b ias M O reau", "G COrge A eye mI".
bool looksSplitInsideWords(const QString& text);

// The name put right by the person's own e-mail address where they spell the same letters: words
// split inside ("Han nah" for "hannah@") joined, a hyphen the engine lost put back ("MEI LING" for
// "mei-ling.k@"), and a thin letter it lost restored ("L ndqvist" or "Lndqvist" for "lindqvist@").
QString latinNameSpelledByMail(const QString& name, const QString& mailAddress);

// An e-mail address whose name spells the person's name words run together, with a dot the
// engine put inside one of the words where it read a blank ("simone.dossa.ntossimoes@" for
// "Simone dos Santos Simões"), without that dot; dots between the words stay, and any other
// address stays as it is.
QString mailAddressWithNameWordsWhole(const QString& mailAddress, const QString& name);

// The top and bottom of a letter as printed, in pixels.
struct LetterExtent {
    int top = 0, bottom = 0;
};

// Whether a symbol the engine read in a name's box stands for one of the name's letters: a letter,
// or a bar, as the symbol reading takes a capital I or L of some types.
bool symbolStandsForALetter(const QString& symbol);

// A name printed in small capitals, which the engine reads as capitals ("RAJ FITZGERALD", "RaJ
// FITZGERALD"), as it is spelled: each word whose first letter stands clearly taller than the
// letters after it is a capital and small letters ("Raj Fitzgerald"). `letters` are the extents
// of the name's letters in reading order; a name in capitals of one height, or whose letters do
// not match `letters`, stays as it is.
QString latinNameOutOfSmallCaps(const QString& name, const std::vector<LetterExtent>& letters);
