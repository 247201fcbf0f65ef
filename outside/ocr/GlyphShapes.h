// The shapes of characters as the system's Japanese typefaces draw them, to tell which of a few
// characters a piece of ink on a card is most like: the engine's alphabet lacks many kanji of
// names (梢, 蔦, 颯) and reads them as others.
#pragma once

#include <QString>

#include <map>
#include <utility>
#include <vector>

struct Pix;
struct FT_LibraryRec_;
struct FT_FaceRec_;

class GlyphShapes {
public:
    GlyphShapes() = default;
    ~GlyphShapes();
    GlyphShapes(const GlyphShapes&) = delete;
    GlyphShapes& operator=(const GlyphShapes&) = delete;

    // How like `character` (one code point) the ink in the box (inclusive bounds) of an 8-bit image
    // is, as the best correlation of their outlines over the typefaces, -1..1; below -1 when there
    // is no ink or no typeface draws the character.
    double likeness(Pix* pix, int left, int top, int right, int bottom, const QString& character);

private:
    // The side of the square both shapes are drawn in before they are compared.
    static constexpr int kSide = 32;
    using Shape = std::vector<float>;
    // Ink (0 paper, 1 ink) of `width` × `height` cells cut to its bounds, scaled into the square
    // keeping its proportions, centred and softened; empty when there is no ink.
    static Shape normalised(const std::vector<float>& ink, int width, int height);
    // The correlation of two shapes, -1..1; below -1 when either is blank.
    static double correlation(const Shape& a, const Shape& b);

    bool openFaces();
    const std::vector<Shape>& shapesOf(char32_t character);

    bool m_tried = false;
    FT_LibraryRec_* m_library = nullptr;
    std::vector<FT_FaceRec_*> m_faces;
    std::map<char32_t, std::vector<Shape>> m_shapes;
};
