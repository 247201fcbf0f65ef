// A job title or department too long for its line goes on over a second one ("Начальник отдела" over
// "снабжения", "Direction des" over "systèmes d'information"): the engine gives two lines, and
// the second, no title by its words, was lost.
#pragma once

#include "outside/ocr/CardFields.h"

#include <vector>

// The lines with each Latin or Cyrillic title or department line joined to the line set just below
// it in the same type that goes on with it: one that starts in a small letter, or any words after
// a line that ends in a word joining others ("of", "des", "der", "de la", "по"). A line with
// digits or an address in it goes on with nothing. A line or two of another column the engine read
// between them ("+7 343 416-79-91" beside "Начальник отдела" over "снабжения") are passed over.
std::vector<RecognizedLine> withTitleLinesJoined(const std::vector<RecognizedLine>& lines);

// A title or department with a word the engine split at a blank ("Responsa bile commerciale", "Ab
// ogado") with that word whole again: two pieces, the second in small letters, that are no words
// of titles (departments) apart but one together. `names` tells a title's (department's) words.
QString withTitleWordsWhole(const QString& text, bool (*names)(const QString&));
