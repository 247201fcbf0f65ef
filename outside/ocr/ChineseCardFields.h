// The fields of a card in Chinese (simplified or traditional) that its own forms tell: the postal
// code after its label ("邮编：200040") or before a Taiwanese address ("106台北市…"), an address
// the layout wrapped anywhere inside a word, and a department and a title printed on one line.
#pragma once

#include "outside/ocr/CardFields.h"

#include <vector>

// The lines without those the engine read twice: where a line lies inside another and the other's
// text is only a label or a logo's scrap more, the inner one stays.
std::vector<RecognizedLine> withoutRepeatedLines(std::vector<RecognizedLine> lines);

// The pieces of one row the layout set apart with a little space ("邮编" and "：200040", "地址："
// and "北京市朝阳区建"), joined into one line.
std::vector<RecognizedLine> withRowPiecesJoined(std::vector<RecognizedLine> lines);

// `fields` as the general and the script's rules sorted `lines` of a Chinese card, with the postal
// code, the address, the department and the title put right by the forms of Chinese cards.
void fillChineseFields(ResultSlots& fields, const std::vector<RecognizedLine>& lines);
