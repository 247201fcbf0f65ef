// The engine reads large Japanese type badly on a whole card (a name's character or two comes out
// wrong) and runs a short line into the next. Each Japanese line is therefore read again alone:
// its box is cut into the rows of ink it holds, and each row is read as one line at the height the
// engine reads best.
#pragma once

#include "outside/ocr/CardFields.h"
#include "outside/ocr/TesseractEngine.h"

#include <functional>
#include <string>
#include <vector>

struct Pix;

// The rows of ink (inclusive top and bottom) within a box of an 8-bit image; a row is set apart
// from the next by paper across the whole box. Specks and rules too thin to be type are left out.
std::vector<std::pair<int, int>> inkRows(Pix* pix, int left, int top, int right, int bottom);

// The box (inclusive) of `pix` with a margin of a quarter of its height, scaled so that the box is
// `heightRead` pixels high, read as one line (or as `mode` says); the reading keeps `box`'s place.
RecognizedLine readBoxAt(TesseractEngine& engine, Pix* pix, const std::string& data, const RecognizedLine& box, float heightRead,
                         const LineMode& mode = {});

// Whether lines read in English come from a Japanese card printed in both scripts: a Japanese
// domain, country code, postal mark or country name.
bool showsJapan(const std::vector<RecognizedLine>& lines);

// Whether the lines of a card read in English hold type the English model could not read: two
// lines or more, and one in five at least, not e-mail or web addresses, of words it doubts
// (Japanese type it made letters of: "RAE EB RNAi"); a reading of more lines than a card holds
// is small print.
bool holdsUnreadType(const std::vector<RecognizedLine>& lines);

// The height of the line in the middle of the lines' heights (0 for none): the card's body type.
int medianHeight(const std::vector<RecognizedLine>& lines);

// Whether a line of `lines` was read across `box`: it overlaps the box's width and stands more than
// half of its own height within the box's rows.
bool coveredByLine(const std::vector<RecognizedLine>& lines, const RecognizedLine& box);

// Whether `lines`, read from `pix`, leave out a row of large characters set apart, as an English
// reading does a Japanese name it saw no text in.
bool leavesCharacterRowUnread(Pix* pix, const std::vector<RecognizedLine>& lines);

// Replaces the Japanese lines of `lines`, read from `pix`, by their rows read again with `data`,
// and the e-mail and web addresses by their lines read again with `latinData`, as long as
// `hasTime` says there is time left.
void rereadJapaneseLines(TesseractEngine& engine, Pix* pix, const std::string& data, const std::string& latinData, std::vector<RecognizedLine>* lines,
                         const std::function<bool()>& hasTime);
