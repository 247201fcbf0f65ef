// A Japanese name is the card's largest type but for the company's, often set with wide gaps
// between its characters; the engine's layout may drop such a row, cut it into scraps or run it
// into the column beside it. The rows are therefore found again in the ink itself.
#pragma once

#include "outside/ocr/CardFields.h"

#include <vector>

struct Pix;

// Boxes of ink (no text) side by side, of about one height and no further apart than the gaps of
// a letter-spaced name ("吉 村    彩花"), joined into the rows they make.
std::vector<RecognizedLine> joinedSideBySide(std::vector<RecognizedLine> boxes);

// The rows (boxes of their ink, no text) of an 8-bit image holding characters at least `least`
// pixels high and under a third of the image: each character's strokes are joined into a blob,
// blobs of about one size side by side make a row, so that small type beside a row stays apart.
std::vector<RecognizedLine> largeTypeRows(Pix* pix, int least);
