// The ink of a card's Japanese name line, read again character by character: how much more a
// printed character looks like another kanji than like the one read. The engine's alphabet lacks
// many kanji of names (梢, 蔦, 颯) and reads them as others of a like shape (槽, 萬, 六).
#pragma once

#include "outside/ocr/TesseractEngine.h"

#include <QString>

#include <string>
#include <vector>

struct Pix;
class GlyphShapes;

class NameLineInk {
public:
    // `name` as read from the box (inclusive bounds) of the 8-bit image `pix`.
    NameLineInk(TesseractEngine& engine, GlyphShapes& shapes, Pix* pix, std::string data, int left, int top, int right, int bottom,
                const QString& name);

    // How much more the ink of the name's character at `at` (counted without blanks) looks like
    // `instead` than like the character read there, more when the engine weighed `instead` for it
    // too; 0 when the line's characters cannot be told apart. The line is read on the first call.
    double gain(qsizetype at, QChar instead);

private:
    const std::vector<TesseractEngine::Symbol>& symbols();

    TesseractEngine& m_engine;
    GlyphShapes& m_shapes;
    Pix* m_pix;
    std::string m_data;
    int m_left, m_top, m_right, m_bottom;
    QString m_name;
    bool m_read = false;
    std::vector<TesseractEngine::Symbol> m_symbols; // in the image's pixels, one per character
    std::vector<double> m_readLikeness; // of each character as read, computed once
};
