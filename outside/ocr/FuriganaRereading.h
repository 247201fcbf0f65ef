// Furigana, the reading of a Japanese name printed in small kana just over it (or under it), is
// what puts a misread name kanji right; the engine, reading it among the card's other lines, loses
// it or misreads a kana (おくむら as "おくおら", アベ as "アベべ"). It is found by its place and size
// next to the name and read again alone, at the height the engine reads best, in kana only.
#pragma once

#include "outside/ocr/CardFields.h"

#include <string>
#include <vector>

struct Pix;
class TesseractEngine;

// Whether `kana` (blanks aside) has as many kana as a reading of a name of `characters` kanji can
// have: one kana a character at least, three and one more at most.
bool fitsNameReading(const QString& kana, int characters);

// Of the readings of one row in kana only, the surest that is all kana of one script, of a length
// a reading of a name of `characters` kanji can have, and read surely enough; `readings.end()`
// when none is.
std::vector<RecognizedLine>::const_iterator surestFurigana(const std::vector<RecognizedLine>& readings, int characters);

// What the engine read where furigana is printed: a title or a romanised name ("グループ長",
// "Sota Yakushiji"), kana read well (all kana of one script, of a length that fits), or kana read
// badly ("スガワラ:ソウタ", "そがべ" of "そがべ はやと", "ツガべ カズキ"), which a reading in kana
// only replaces.
enum class FuriganaLine { Other, ReadWell, ReadBadly };
FuriganaLine furiganaLine(const QString& text, int characters);

// For each line of `lines` of a name's size (`nameHeight` pixels high at least) in kana and kanji,
// the row of ink just over it (else just under it) of a third of its height or so is read in kana
// only, hiragana, katakana and either; the surest reading replaces the kana read badly there (and
// the other pieces of that row), or goes in as a line of its own where nothing was read.
void rereadFurigana(TesseractEngine& engine, Pix* pix, const std::string& data, int nameHeight, std::vector<RecognizedLine>* lines);
