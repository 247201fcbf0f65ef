// The engine sometimes ends an address line early, most often light type on a dark band ("63000
// CLERMON" for "63000 CLERMONT-FERRAND", "Avenida Lourenço Peix" for "Avenida Lourenço Peixinho,
// 175, 1.º Dto."), or leaves the line under it unread (a town, the country): that part of the
// address is then stored nowhere.
#pragma once

#include "outside/ocr/CardFields.h"

#include <string>
#include <vector>

class TesseractEngine;
struct Pix;

// The right end of the ink of `line`'s row in an 8-bit image: from the line's end, on through gaps
// of paper no wider than the line is high, to where the paper of another shade (a band's edge)
// or wider paper begins. Ink is told from the line's own paper, light or dark.
int inkEndOfRow(Pix* pix, const RecognizedLine& line);

// Each line of a Latin address (a street, a post box or a postcode line) whose ink runs on past its
// end by a character or more, where no other line was read, is read again out to the ink's end
// with `data`; the reading takes the line's place where it starts as the line did and goes on.
void readCutLatinAddressEnds(TesseractEngine& engine, Pix* pix, const std::string& data, std::vector<RecognizedLine>* lines);

// The row of ink under each line of a Latin address, in its width, that no line was read in (a town
// line, a postcode or the country the engine's layout left out, as it does light type on a dark band)
// is read with `data` and goes in after the line where it reads surely as a town or postcode line or
// a country.
void readRowsUnderLatinAddresses(TesseractEngine& engine, Pix* pix, const std::string& data, std::vector<RecognizedLine>* lines);
