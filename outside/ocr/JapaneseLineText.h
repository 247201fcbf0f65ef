// What the engine makes of a line of Japanese type, put right where the way such lines are printed
// leaves one reading: the dashes between an address's block numbers, and katakana that look like
// kanji standing among kanji.
#pragma once

#include <QString>

// "2一2ー2", "1—16", "3.4-5", "2-4-.10" and "3ー 1 3" as printed: "2-2-2", "1-16", "3-4-5",
// "2-4-10", "3-13". A dash between two digits is never a kanji or a long vowel mark; a dot or a
// blank inside a run of numbers that has a dash is a dash read badly or a gap the engine saw.
QString blockNumberDashes(const QString& text);

// "S20-0047 大津市…" is "520-0047 大津市…": in a postal code of three and four digits before
// Japanese, letters of a digit's shape (O, D, I, l, Z, S, B) are that digit.
QString postalCodeDigits(const QString& text);

// The kanji a katakana letter or the long vowel mark is printed like (ニ and 二, ー and 一), or a
// null QChar.
QChar kanjiShapedLike(QChar c);

// "石井浩ニ" is "石井浩二": a lone katakana that has the shape of a kanji (ニ, ロ, エ, カ, タ, ト,
// ハ) between kanji, or after one at the end of a word, is that kanji; a long vowel mark between
// two kanji is 一.
QString kanjiLookAlikes(const QString& text);

// The text without its blanks, narrow or wide: how many characters a name or its reading holds.
QString withoutBlanks(const QString& text);
