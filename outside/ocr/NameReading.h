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

private:
    mecab_t* tagger();

    mecab_t* m_tagger = nullptr;
    bool m_tried = false;
};
