// Which language a card is in, from the lines the engine read: the Latin languages by the words,
// forms and numbers a card of each prints, the scripts by their characters. The language decides
// which models read the card again (Automatic reads it in English first).
#pragma once

#include "outside/ocr/CardFields.h"

#include <string>
#include <vector>

// The recognition languages of the request ("country"), 0..10; 11 is Automatic.
enum RecognitionLanguage : int {
    kLanguageJapanese = 0,
    kLanguageEnglish = 1,
    kLanguageChineseTraditional = 2,
    kLanguageChineseSimplified = 3,
    kLanguageKorean = 4,
    kLanguageGerman = 5,
    kLanguageFrench = 6,
    kLanguageItalian = 7,
    kLanguageSpanish = 8,
    kLanguageRussian = 9,
    kLanguagePortuguese = 10,
    kLanguageAutomatic = 11,
};

// A Han character (kanji, hanzi, hanja) of the basic blocks.
bool isHanCharacter(QChar c);
// A letter of the script a language is written in: Hangul for Korean, Cyrillic for Russian, Han
// characters for Chinese, Han characters and kana for Japanese; false for the Latin languages.
bool isLetterOfScript(int language, QChar c);

// The models that read a card of the language (its own first, English beside it for the e-mail and
// web addresses and the words in English every card prints), as the engine names them; empty for
// a value outside 0..10.
std::string modelsOfLanguage(int language);
// The language's own model alone ("fra" of "fra+eng").
std::string ownModelOfLanguage(int language);

// The Latin language of lines read with the English model: German, French, Italian, Spanish or
// Portuguese where the card shows its words (function words, street words, legal forms, number
// labels), its country, telephone code, web domain or postal code form; English otherwise.
int latinLanguageOf(const std::vector<RecognizedLine>& lines);

// Kana in lines read with the Japanese model: a card in Chinese has none, one in Japanese some in
// its address, title, company or name reading.
bool showsKana(const std::vector<RecognizedLine>& lines);
// The kana of the lines the model is sure of.
int kanaIn(const std::vector<RecognizedLine>& lines);

// What only a card in Chinese prints among Han characters: its legal forms and number labels in
// either script (有限公司, 电话, 手機; not 電話, which Japanese cards print too), a province, a
// Chinese country code or web domain, and unless `byWordsOnly` the traditional forms of 号 and 区
// (which a Chinese model makes of a Japanese address's).
bool showsChinese(const std::vector<RecognizedLine>& lines, bool byWordsOnly = false);
// How many kinds of what only a card in Chinese prints the lines show: a legal form, a number or
// address label, a Chinese country code, a Chinese web domain.
int chineseMarkCount(const std::vector<RecognizedLine>& lines);

// What only a card in Japanese prints among Han characters: its legal forms (株式会社, 有限会社),
// the postal mark 〒 or a postal code opening a line, 丁目 and 番地 of its addresses, the label 携帯,
// Japan's country code or web domain.
bool showsJapanese(const std::vector<RecognizedLine>& lines);

// What only a card from Korea prints: a +82 number, a .kr domain, the "H.P" label of a mobile.
bool showsKorea(const std::vector<RecognizedLine>& lines);

// What a card from Russia prints: a +7 number or one in the country's own form ("8 (812) 473-14-94"),
// a .ru domain.
bool showsRussia(const std::vector<RecognizedLine>& lines);

// Whether a card in Chinese is in the traditional script (above 0) or the simplified one (below 0),
// by the telephone codes, mobile numbers and web domains of the places that write each, and by the
// traditional forms the Japanese model read in its lines; 0 when nothing tells.
int traditionalLead(const std::vector<RecognizedLine>& lines);

// The lines of a reading in English whose words the model doubts though they hold letters: type of
// another script it made letters of ("MeHemxep", "FAISAL SEBEL"). E-mail and web addresses, numbers
// and scraps of a logo are left out; the largest type comes first.
std::vector<RecognizedLine> linesInDoubt(const std::vector<RecognizedLine>& lines);

// Whether the lines in doubt read like Cyrillic type the English model made letters of: capitals
// inside small letters ("CTpo", "MeHemxep") and digits inside words ("6ypr").
bool readsLikeCyrillic(const std::vector<RecognizedLine>& doubted);
