// A dash set between blanks in a row ("Avenida Paulista, 51 – 14º andar", "Campinas – SP") is
// often given by the engine as a flat line of its own, the row cut in two around it.
#pragma once

#include "outside/ocr/CardFields.h"

#include <vector>

// The lines with each row that the engine cut at a dash joined again: the piece left of the dash,
// an en dash between blanks and the piece right of it, in one line over the boxes of the three.
std::vector<RecognizedLine> withRowsJoinedAtDashes(const std::vector<RecognizedLine>& lines);
