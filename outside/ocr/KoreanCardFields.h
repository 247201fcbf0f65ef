// What the lines of a Korean card say beyond the shapes it shares with Chinese and Russian cards:
// a department and a title printed on one line ("전략기획실 선임연구원") told apart by their words,
// a role line told by where it stands against the name and how large it is set, the name as
// printed, the company without a logo's scrap, and the address as the one line it is written as.
#pragma once

#include "outside/ocr/CardFields.h"

#include <QString>

#include <utility>
#include <vector>

// Whether the word is a Korean job title: a word of the title table, or the head of a unit
// ("지점장", "공장장": a word ending in 장).
bool isKoreanTitleWord(const QString& word);

// Whether the word names a Korean unit of a company: it ends in one ("영업1팀", "해외사업부",
// "전략기획실", "연구개발본부", "플랫폼개발파트") and is no title.
bool isKoreanUnitWord(const QString& word);

// The department and the title of a role line, either empty: its last words that are titles are
// the title, the words before them the department when the last of them is a unit. Both are empty
// for a line that is no role ("서울특별시 중구", "주식회사 새봄디자인").
std::pair<QString, QString> koreanDepartmentAndTitle(const QString& text);

// `lines` with the legal form "㈜" the engine read as marks or a syllable ("@) 서해수산", "A &)
// 케이디에스", "쥐금강테크윈") put back, and a round logo read as "(@)" before a line's Hangul taken out.
std::vector<RecognizedLine> withKoreanLegalForms(std::vector<RecognizedLine> lines);

// `fields` as the script's rules left them for `lines` of a Korean card, with the title and the
// department taken from the role lines, a blank the engine put inside a name taken out, the
// company's scraps gone and the address on one line.
void fillKoreanFields(ResultSlots& fields, const std::vector<RecognizedLine>& lines);
