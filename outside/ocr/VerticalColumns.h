// Cards set in vertical writing: Japanese or Chinese text in columns read from top to bottom,
// the columns from right to left, often with horizontal rows (e-mail, web, a romanised name) at
// the foot. The columns are read with a vertical model and handed to the card's field rules as
// the lines they stand for, in reading order; the card image is not turned for it.
#pragma once

#include "outside/ocr/CardFields.h"
#include "outside/ocr/NameReading.h"
#include "outside/ocr/ScanCleanup.h"
#include "outside/ocr/TesseractEngine.h"

#include <functional>
#include <string>
#include <vector>

struct Pix;

// Whether the orientation engine's script is one that is set in columns (Han, kana).
bool isColumnScript(const std::string& script);

// Whether a card's lines, as the engine found them, run down the card more than across it: the
// length of the lines standing on end against that of the lines lying across.
bool setInColumns(const std::vector<RecognizedLine>& lines);

// Whether most lines of a reading across hold no more than three characters: the scraps of a card
// in columns whose characters, side by side, the page layout ran into made-up rows, which the
// engine may read surely all the same.
bool readsAsScraps(const std::vector<RecognizedLine>& lines);

// The vertical model for a recognition language (0 Japanese, 2 and 3 Chinese, 11 automatic, which
// starts with Japanese), empty for a language never set in columns.
std::string verticalModel(int language);

// Kanji numerals and digits set in a column where a number stands (after a postal mark or a number
// label, or a column of a number alone) become ASCII digits with hyphens: "〒一〇四'〇〇六一" is
// "〒104-0061", "電話 〇三|三五六七|八九〇一" is "電話 03-3567-8901". An address keeps its numerals.
QString withColumnNumbers(const QString& text);

// The vertical models now and then read one kana twice, once with the wrong voicing mark
// ("ピビル" for "ビル") or once small ("ツョヨシ" for "ツヨシ"): the kana once.
QString withoutDoubledKana(const QString& text);

// A company's column without what its logo reads as: marks before or after the company's words
// ("蜂 株式会社 北辰物流" is "株式会社 北辰物流"). Other columns as they are.
QString withoutLogoScraps(const QString& text);

// The lines of a card set in columns, in the image's frame: the columns and the rows across.
struct ColumnReading {
    std::vector<RecognizedLine> columns;
    std::vector<RecognizedLine> rows;
    // Of each column, what the other way of reading it read, when it was read both ways: its
    // characters set as a row, or the column as the vertical model read it; empty when not.
    std::vector<QString> otherReadings;
    int confidence = 0; // the mean of the lines'
    std::string model; // the vertical model that read the columns
};

// The lines across of a card in columns, `across` as read with the models `data`, read again on the
// card turned straight when its columns lean, their boxes put back in the card's frame: a long row
// at the foot of a leaning card is read in pieces ("…@sakura", "-design.jp"). The columns are left
// to be read as they lie. `across` when the columns stand upright or no time is left.
std::vector<RecognizedLine> rowsReadStraight(TesseractEngine& engine, Pix* pix, int dpi, const std::string& data,
                                             const std::vector<RecognizedLine>& across, int milliseconds);

// The columns the engine finds with the vertical model of `language` in `pix` (8-bit), with those
// it missed found in the ink and read one by one, and the rows across of `across`, a reading of the
// card as lines across, that lie clear of the columns. The automatic language reads in Japanese,
// and a card without a kana in Chinese as well, the surer reading taken. No columns when the
// engine cannot be made or `timeLeft` (milliseconds) runs out first.
ColumnReading readColumns(TesseractEngine& engine, Pix* pix, int dpi, int language, const std::vector<RecognizedLine>& across,
                          const std::function<int()>& timeLeft);

// The fields of a card read in columns: the columns go to the card's rules as the lines they stand
// for, right to left, the rows across after them; the boxes of the fields are those on the card.
ResultSlots classifyColumnCard(const ColumnReading& reading, int width, const FamilyNameLength& familyNameLength = {},
                               const NameReadingOf& readingOf = {});

// A name whose column the vertical model and the Japanese model read apart (`fields` in the boxes
// of `reading`) becomes the reading the name dictionary supports best, or one made of both; a
// printed reading the vertical model misread is mended by the dictionary's, and a title at the
// head of its column is the title.
void takeBetterSupportedName(const ColumnReading& reading, NameReading& names, ResultSlots* fields);

// The characters of the column in the box (inclusive bounds) of `pix`, cut apart where paper runs
// across it and set side by side as a row, in an image of their own; null for one character.
PixPtr columnAsRow(Pix* pix, int left, int top, int right, int bottom);

// What the Japanese model reads for each character of that column set as a row, a list of one
// for each (the form `roleWithWeighedCharacter` takes); empty for one character or when it cannot
// be read. The model's further choices for a well-printed character are no better words' kanji.
std::vector<std::vector<QString>> characterReadingsOfColumn(TesseractEngine& engine, Pix* pix, int left, int top, int right, int bottom);
