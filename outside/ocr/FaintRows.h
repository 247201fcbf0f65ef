// Rows of type the engine's layout left unread: a name set in a thin or hairline face, or in a
// light grey, gives strokes too faint for the engine's threshold of the whole card, while its own
// box, read as an image of its own, reads well.
#pragma once

#include "outside/ocr/CardFields.h"

#include <functional>
#include <string>
#include <vector>

struct Pix;

// Boxes (no text) of rows of ink on an 8-bit card image that no read line covers: at least
// `least` pixels high, under a third of the card, and several times as wide as high (a logo or an
// icon is not); at most `most` of them, the largest first. A line covers its row when `covers`
// says so; without it, when it reads as words (not scraps the engine made of strokes it saw).
std::vector<RecognizedLine> unreadInkRows(Pix* grey, const std::vector<RecognizedLine>& lines, int least, size_t most,
                                          const std::function<bool(const RecognizedLine&)>& covers = {});

class TesseractEngine;

// The rows of ink no line of `lines` covers, read each as an image of its own with the models
// `data`, go into `lines` where they stand: what reads as words (three letters or more, read
// surely) and not in smaller type than the body.
void readInkRowsLeftUnread(TesseractEngine& engine, Pix* grey, int dpi, const std::string& data, std::vector<RecognizedLine>* lines);
