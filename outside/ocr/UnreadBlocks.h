// Blocks of rows the engine's page layout finds no text in. On some cards (large type in thin
// strokes, Hangul whose syllables fall apart into strokes, a solid logo beside the block) the
// layout drops a whole block of rows, clean scan or not, while the same block read as rows one
// under another reads well.
#pragma once

#include "outside/ocr/CardFields.h"

#include <string>
#include <vector>

struct Pix;
class TesseractEngine;

// Where two rows of ink or more of the 8-bit card image `grey` lie that no line of `lines` covers,
// the area round them is read again with the models `data` as one block of rows, within
// `milliseconds` of processor time; its lines of text that no line of `lines` holds go into
// `lines` where they stand.
void readBlocksLeftUnread(TesseractEngine& engine, Pix* grey, int dpi, const std::string& data, std::vector<RecognizedLine>* lines,
                          int milliseconds);
