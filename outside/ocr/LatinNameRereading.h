// The engine splits a name set letter-spaced or in heavy type inside its words ("Han nah Chen"):
// on a whole card it takes the gaps between letters for gaps between words. Read again as one line
// on its own, the line's gaps between letters and between words are told apart.
#pragma once

#include "outside/ocr/CardFields.h"

#include <string>
#include <vector>

struct Pix;
class TesseractEngine;

// Reads the line of `lines` that gave the Latin name `name` again from `pix` with the models
// `data` when the name looks split inside its words, and puts the name read in its place when it
// has a name's shape and about as many letters; whether it did.
bool rereadSplitLatinName(TesseractEngine& engine, Pix* pix, int dpi, const std::string& data, const SlotFill& name,
                          std::vector<RecognizedLine>* lines);
