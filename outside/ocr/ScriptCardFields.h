// The fields of a card in Chinese, Korean or Russian that the rules for Latin and Japanese cards
// do not find: the person's name (a surname of the script's own, its romanised reading printed
// beside it), the company by its legal form, and the address and postal code by the words
// addresses of the script are made of.
#pragma once

#include "outside/ocr/CardFields.h"

#include <QString>

// Whether the text names a company by a legal form or kind of the script ("有限公司", "(주)",
// "ООО «Вектор»").
bool isCompanyOfScript(const QString& text);

// The length of the surname a Chinese or Korean name printed without blanks starts with (one or
// two characters of the common surnames), 0 when the text is no such name.
int scriptSurnameLength(const QString& name);

// `piece` of the same row, read apart to the right of `row`, put at its end after a blank.
void appendRowPiece(RecognizedLine& row, const RecognizedLine& piece);

// Whether the text is a Chinese or Korean person's name: two to four Han characters or Hangul
// syllables, led by a surname.
bool isScriptName(const QString& text);

// Whether the text is one line of a Chinese, Korean or Russian address.
bool isAddressOfScript(const QString& text);

// `fields` as the general rules sorted `lines` of a card in `language` (2 Chinese traditional, 3
// simplified, 4 Korean, 9 Russian), with the name, its reading, the company, its reading in Latin
// letters and the address put right by the script's own shapes.
void fillFieldsOfScript(ResultSlots& fields, const std::vector<RecognizedLine>& lines, int language);
