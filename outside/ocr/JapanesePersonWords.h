// The shapes of the words of a Japanese card's person block: titles end in a rank word, departments
// in an organisational unit, and a name is kanji (sometimes with kana) that the engine may read with
// a look-alike katakana.
#pragma once

#include <QString>

#include <functional>
#include <vector>

// A title by its end: a rank word ("部長", "主幹", "監査役", "課長心得", "支社長"); a title no list
// holds still ends in one.
bool isJapaneseTitleWord(const QString& word);

// A department by its end: an organisational unit ("営業部", "九州支社", "物流センター"). "服部" or
// "阿部" alone is a surname, so a word of two characters only counts when a title follows it.
bool isJapaneseDepartmentWord(const QString& word, bool titleFollows);

// "営業部 部長", "大阪支店 法人営業課 支社長", "経営企画室室長": the department words the line starts
// with and the title after them; the department is empty when the line starts with none.
struct DepartmentAndTitle {
    QString department;
    QString title;
};
DepartmentAndTitle splitJapaneseDepartmentAndTitle(const QString& line);

// Whether a line names a role: departments, a title, or both ("営業部 部長", "東京支社").
bool namesAJapaneseRole(const QString& line);

// "ト部 千尋", "石井 浩ニ": a katakana letter alone among kanji is the kanji it looks like (卜, 二).
QString withLookalikeKanji(const QString& name);

// Furigana over a name is its reading: hiragana, or katakana in two words, or one katakana word that
// starts or ends like `dictionaryReading` (the name's reading, when the dictionary has one).
// "アナリスト" over "鬼塚琴音" is a job title.
bool readsAsFurigana(const QString& kana, const QString& dictionaryReading);

// Whether a katakana reading is written `latin` in Latin letters, long vowels and the n before b, m
// and p written either way: "サトウ" is "Sato" and "Satou", "ホンマ" is "Homma".
bool readsAsRomanised(const QString& katakana, const QString& latin);

// Whether a name starts with one of the family names most common in Japan ("佐藤", "三浦"), before
// a given name of a character at least.
bool startsWithCommonSurname(const QString& name);

// Of two readings of one name ("渡辺 和世" and "渡辺 和也", "木下 沙給" and "本き下 沙 織") and the
// names made of their characters where they differ, the one the name dictionary supports best:
// its reading is the printed `furigana` (blanks and the kana's kind aside), then `isKnownName`
// knows it, then it starts with a common family name. Without blanks; empty when none is better
// supported than `name`.
QString betterSupportedName(const QString& name, const QString& other, const QString& furigana,
                            const std::function<bool(const QString&)>& isKnownName,
                            const std::function<QString(const QString&)>& readingOf);

// A printed reading of a name the vertical model misread is the name's reading in the dictionary,
// in the printed kana's kind, when the printed one is that with kana read twice ("シミオズ マユミ",
// "サカグチ マ ユーミ"), with one kana lost ("たかみほ"), or its family name's alone. Other
// readings as printed.
QString mendedNameReading(const QString& printed, const QString& dictionaryReading);

// A name the vertical model read with an old form of a kanji ("齋藤") where the other reading of
// its column, of as many characters, holds the form used today ("斎藤"): the form used today.
// Other names as they are.
QString withCommonKanjiForms(const QString& name, const QString& other);

// A title or department the engine read with a kanji off ("常業部", "画支店長"): with a kanji
// another reading has for that place instead (`choices`, a list for each character of the text
// without blanks), when the words then read far more as words (`cost`, the lower the better:
// "営業部", "副支店長") and still name a role. The text as it is when no one such kanji does.
QString roleWithWeighedCharacter(const QString& text, const std::vector<std::vector<QString>>& choices,
                                 const std::function<long(const QString&)>& cost);
