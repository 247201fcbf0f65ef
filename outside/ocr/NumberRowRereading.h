// The engine sometimes reads a clean number row of a card's contact block as nonsense ("@ versus"
// for "01273 230436", "Dh 4 96 4s4n ona" for "Phone. +44 29 4544 2057"), most often beside a round
// icon, and the number is then stored nowhere; or it loses or doubles a digit of one ("04 28 49 704"
// for "04 28 49 70 44"), or ends the row early ("Тел. +7 (8442)", the rest read as scraps).
#pragma once

#include "outside/ocr/CardFields.h"

#include <string>
#include <vector>

class TesseractEngine;
struct Pix;

// Each line the engine doubts that holds no number, set in line with the rows of numbers or
// addresses above or below it, is read again alone; a reading that then holds a number takes its
// place. So is a line holding a number of a length no number of the card's country has, where the
// new reading's numbers all have one, and a line ending in a number's label or plus and a few
// digits, read on as far as the next text of its row; and a number row the engine doubts deeply
// whose numbers have no label it knows, where the new reading, read surely, names one. True when a
// line changed.
bool rereadGarbledNumberRows(TesseractEngine& engine, Pix* pix, const std::string& data, std::vector<RecognizedLine>* lines);
