// Beside English the engine reads a word of French, Spanish, Italian or Portuguese it doubts as an
// English word without its accents ("Ibanez" for "Ibáñez"): the language's model alone keeps them.
#pragma once

#include "outside/ocr/CardFields.h"

#include <vector>

// The words of `lines` that a reading of the same card with the language's own model alone spells
// with accents and otherwise alike ("Ibanez" and "Ibáñez", "Lefévre" and "Lefèvre") take its
// spelling; each line takes them from the line of `own` whose box lies most over its own.
void takeAccentedWords(const std::vector<RecognizedLine>& own, std::vector<RecognizedLine>* lines);
