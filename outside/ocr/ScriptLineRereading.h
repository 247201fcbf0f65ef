// A card in Chinese, Korean or Russian read with its script's models and English beside them: the
// lines the engine read as English words though they are the script's, and the rows its layout
// dropped or broke up (large type, a block of lines set apart), read again with the script's own
// model alone.
#pragma once

#include "outside/ocr/TesseractEngine.h"

#include <vector>

struct Pix;

// Lines that hold the script's letters, or Latin letters the engine doubts, read again with the
// script's own model: beside English the engine reads some of the script's words as English ones
// ("Невский np." for "пр.", Hangul as "MEY Se", "李静" as "AS ="). A line's new reading is kept
// when it holds no fewer of the script's letters and is about as sure, or, for a line of Latin
// letters, holds the script's letters and is sure. E-mail and web addresses stay as read.
void rereadScriptLines(TesseractEngine& engine, Pix* pix, int language, std::vector<RecognizedLine>* lines);

// Rows of ink across the card that no line read covers, read as lines with the script's own model
// and added where they read surely. On a Korean card the rows are found on a copy whose grey type
// is darkened, and a row that reads as nothing with the logo it starts with is read without it. On
// a Chinese card a logo read as a character before the company's name then goes.
void readMissedRows(TesseractEngine& engine, Pix* pix, int language, std::vector<RecognizedLine>* lines);
