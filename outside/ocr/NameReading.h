// Readings of Japanese personal names through MeCab with the IPA dictionary, in katakana, with a
// blank between the family name and the given name: 山田太郎 gives "ヤマダ タロウ".
#pragma once

#include <QString>

struct mecab_t;

class NameReading {
public:
    NameReading() = default;
    ~NameReading();
    NameReading(const NameReading&) = delete;
    NameReading& operator=(const NameReading&) = delete;

    // Empty when the name is not wholly Japanese, the analyser is not there, or a part of the name
    // has no reading in the dictionary: a guessed reading would be worse than none.
    QString reading(const QString& name);
    // The length of the family name a Japanese personal name written without blanks starts with,
    // by the dictionary's person-name entries ("北村雄一" gives 2); 0 when the text does not read
    // as a family name followed by a given name.
    int familyNameLength(const QString& name);
    // Whether the dictionary knows the name whole, blanks or none: a family name it files as one,
    // then a given name of up to three characters made of given names it knows, and of common
    // nouns of one character beside one.
    bool isKnownName(const QString& name);
    // What the analyser's best reading of `text` as words costs it: the lower, the more the text
    // reads as words it knows ("営業部" far less than "常業部"); -1 when the analyser is not there.
    long wordCost(const QString& text);

private:
    mecab_t* tagger();

    mecab_t* m_tagger = nullptr;
    bool m_tried = false;
};
