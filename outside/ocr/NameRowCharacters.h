// A Japanese name in large type is set with clear gaps between its characters; when the engine
// reads the row as a whole badly ("2H 忍" for 蓬田 忍, "六" for 颯太), it reads them better one at a
// time. The row is cut at the gaps of paper in its ink and each character read alone.
#pragma once

#include "outside/ocr/CardFields.h"

#include <string>
#include <utility>
#include <vector>

struct Pix;
class TesseractEngine;

// Whether the column `x` of an 8-bit image holds ink between the rows `top` and `bottom`.
bool columnHasInk(Pix* pix, int x, int top, int bottom);

// The columns (inclusive left and right) of the characters of a row of ink (inclusive box) of an
// 8-bit image: the runs of columns with ink, the pieces of one character (川, the two halves of 颯)
// put together while they stay within a square of the row's height.
std::vector<std::pair<int, int>> characterColumns(Pix* pix, int left, int top, int right, int bottom);

// Only kana and kanji, blanks aside: what a Japanese name is printed in.
bool isKanaAndKanji(const QString& text);

// Whether `read`, the reading of a row of `characters` boxes of ink, is in doubt as a name: other
// than kana and kanji among its characters ("2H 忍", "官原 AA"), fewer or more characters than the
// ink shows, or read less surely than `sure`.
bool isDoubtfulNameRow(const QString& read, int confidence, int characters, int sure);

// `text`, one character to each of `columns` (a row of type `height` high), with a blank at the
// gap clearly wider than the others and a fifth of the height at least: where a family name ends.
QString withBlankAtWidestGap(const QString& text, const std::vector<std::pair<int, int>>& columns, int height);

// The row `row` (its box the ink's, its text the row's reading) read one character at a time at
// two sizes, each character the reading that agrees with the row's, else the surer, a blank at a
// gap clearly wider than the others; empty text when a character reads as no single kana or kanji.
// The confidence is the characters' mean.
RecognizedLine readByCharacters(TesseractEngine& engine, Pix* pix, const std::string& data, const RecognizedLine& row,
                                const std::vector<std::pair<int, int>>& columns);
