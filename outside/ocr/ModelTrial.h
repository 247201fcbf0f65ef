// The script of a card the English or Japanese model could not read: a few of the lines it doubted
// are read again with the models of other scripts, and the model that reads them surest is the
// card's. Reading a few lines costs a fraction of reading the card once more with each model.
#pragma once

#include "outside/ocr/TesseractEngine.h"

#include <vector>

struct Pix;

struct ModelTrialReading {
    int language = -1; // the recognition language of the models
    int confidence = 0; // the mean of the lines' confidences, 0..100
    std::vector<RecognizedLine> lines; // the lines as these models read them
};

// Reads the first `count` of `lines` (boxes in `pix`'s pixels) with the models of each language
// whose data is there; one reading per language, in the order given.
std::vector<ModelTrialReading> readWithEachLanguage(TesseractEngine& engine, Pix* pix, int dpi, const std::vector<RecognizedLine>& lines,
                                                    const std::vector<int>& languages, size_t count = 3);

// The surest of the readings, or null when there are none.
const ModelTrialReading* surestReading(const std::vector<ModelTrialReading>& readings);
const ModelTrialReading* readingOf(const std::vector<ModelTrialReading>& readings, int language);

// The script's language of a card whose `lines` were read with `data` ("eng", or "jpn+eng" for a
// card that reads badly in English): Chinese in either script, Korean or Russian where the lines
// the model doubted read surer with that language's models; Japanese for Han characters with kana
// or no sign of Chinese; English for a card in Latin letters, whose words tell its language. A
// language the lines show whose data is missing is set in `missing` (1 << language).
int scriptLanguageOfCard(TesseractEngine& engine, Pix* pix, int dpi, const std::vector<RecognizedLine>& lines, const std::string& data,
                         bool weak, int* missing);
