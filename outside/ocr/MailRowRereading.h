// The engine's layout sometimes ends a row of small type early: "Correo. andres.hernand",
// "E barbieri_t@", "E-mail" alone, the rest of the e-mail address never read; or it breaks a long
// address fitted into the card in small type into scraps ("El isaquíns", "iessdlarsandalizacom").
#pragma once

#include "outside/ocr/CardFields.h"

#include <string>
#include <vector>

class TesseractEngine;
struct Pix;

// On a card where no line holds a whole e-mail address, the rows that start one (a mail label or
// a piece with "@") are read again as single lines out to the card's right edge; failing that, a
// few rows of scraps in small type are read again, larger, between the lines of other fields on
// their row. The first row whose reading then holds an address takes it (the scraps it covers
// go). True when a row changed.
bool rereadCutMailRows(TesseractEngine& engine, Pix* pix, int dpi, const std::string& data, std::vector<RecognizedLine>* lines);
