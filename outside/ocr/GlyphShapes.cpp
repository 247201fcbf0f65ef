#include "outside/ocr/GlyphShapes.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include <leptonica/allheaders.h>
#include FT_FREETYPE_H

#include <QList>

#include <algorithm>
#include <cmath>
#include <numeric>

namespace {

constexpr int kInk = 128;
// Glyphs are drawn this many pixels high before they are brought to the square.
constexpr int kDrawnSize = 64;

} // namespace

GlyphShapes::~GlyphShapes()
{
    for (FT_Face face : m_faces)
        FT_Done_Face(face);
    if (m_library)
        FT_Done_FreeType(m_library);
}

bool GlyphShapes::openFaces()
{
    if (m_tried)
        return !m_faces.empty();
    m_tried = true;
    if (FT_Init_FreeType(&m_library) != 0) {
        m_library = nullptr;
        return false;
    }
    // Names are printed in a gothic or a mincho face, regular or bold: the system's Japanese faces
    // of each kind.
    FcConfig* config = FcInitLoadConfigAndFonts();
    if (!config)
        return false;
    std::vector<std::pair<std::string, int>> opened;
    for (const char* kind : {"sans-serif:lang=ja", "serif:lang=ja", "sans-serif:lang=ja:weight=bold", "serif:lang=ja:weight=bold"}) {
        FcPattern* pattern = FcNameParse(reinterpret_cast<const FcChar8*>(kind));
        if (!pattern)
            continue;
        FcConfigSubstitute(config, pattern, FcMatchPattern);
        FcDefaultSubstitute(pattern);
        FcResult result = FcResultNoMatch;
        FcPattern* match = FcFontMatch(config, pattern, &result);
        FcChar8* file = nullptr;
        int index = 0;
        if (match && FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch) {
            FcPatternGetInteger(match, FC_INDEX, 0, &index);
            const std::pair<std::string, int> key{reinterpret_cast<const char*>(file), index};
            FT_Face face = nullptr;
            if (std::find(opened.begin(), opened.end(), key) == opened.end()
                && FT_New_Face(m_library, key.first.c_str(), index, &face) == 0) {
                FT_Set_Pixel_Sizes(face, 0, kDrawnSize);
                m_faces.push_back(face);
                opened.push_back(key);
            }
        }
        if (match)
            FcPatternDestroy(match);
        FcPatternDestroy(pattern);
    }
    FcConfigDestroy(config);
    return !m_faces.empty();
}

const std::vector<GlyphShapes::Shape>& GlyphShapes::shapesOf(char32_t character)
{
    if (auto it = m_shapes.find(character); it != m_shapes.end())
        return it->second;
    std::vector<Shape> shapes;
    for (FT_Face face : m_faces) {
        const FT_UInt glyph = FT_Get_Char_Index(face, character);
        if (glyph == 0 || FT_Load_Glyph(face, glyph, FT_LOAD_RENDER) != 0)
            continue;
        const FT_Bitmap& bitmap = face->glyph->bitmap;
        if (bitmap.pixel_mode != FT_PIXEL_MODE_GRAY || bitmap.width == 0 || bitmap.rows == 0)
            continue;
        std::vector<float> ink(size_t(bitmap.width) * bitmap.rows);
        for (unsigned y = 0; y < bitmap.rows; ++y) {
            for (unsigned x = 0; x < bitmap.width; ++x)
                ink[size_t(y) * bitmap.width + x] = bitmap.buffer[y * unsigned(std::abs(bitmap.pitch)) + x] >= kInk ? 1.0f : 0.0f;
        }
        if (Shape shape = normalised(ink, int(bitmap.width), int(bitmap.rows)); !shape.empty())
            shapes.push_back(std::move(shape));
    }
    return m_shapes.emplace(character, std::move(shapes)).first->second;
}

GlyphShapes::Shape GlyphShapes::normalised(const std::vector<float>& ink, int width, int height)
{
    int left = width, top = height, right = -1, bottom = -1;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            if (ink[size_t(y) * size_t(width) + size_t(x)] > 0.5f) {
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
        }
    }
    if (right < 0)
        return {};
    const int w = right - left + 1, h = bottom - top + 1;
    const double scale = double(kSide - 4) / std::max(w, h);
    const double offsetX = (kSide - w * scale) / 2, offsetY = (kSide - h * scale) / 2;
    // Each cell of the square takes the share of ink of the area it covers.
    Shape shape(size_t(kSide) * kSide, 0.0f);
    std::vector<float> weight(shape.size(), 0.0f);
    for (int y = top; y <= bottom; ++y) {
        for (int x = left; x <= right; ++x) {
            const int cx = std::clamp(int(offsetX + (x - left + 0.5) * scale), 0, kSide - 1);
            const int cy = std::clamp(int(offsetY + (y - top + 0.5) * scale), 0, kSide - 1);
            shape[size_t(cy) * kSide + size_t(cx)] += ink[size_t(y) * size_t(width) + size_t(x)];
            weight[size_t(cy) * kSide + size_t(cx)] += 1.0f;
        }
    }
    for (size_t i = 0; i < shape.size(); ++i)
        shape[i] = weight[i] > 0 ? shape[i] / weight[i] : 0.0f;
    // Softened so that strokes a pixel apart (another weight, another face) still meet.
    for (int pass = 0; pass < 2; ++pass) {
        Shape soft(shape.size(), 0.0f);
        for (int y = 0; y < kSide; ++y) {
            for (int x = 0; x < kSide; ++x) {
                float sum = 0;
                int n = 0;
                for (int dy = -1; dy <= 1; ++dy) {
                    for (int dx = -1; dx <= 1; ++dx) {
                        if (x + dx >= 0 && x + dx < kSide && y + dy >= 0 && y + dy < kSide) {
                            sum += shape[size_t(y + dy) * kSide + size_t(x + dx)];
                            ++n;
                        }
                    }
                }
                soft[size_t(y) * kSide + size_t(x)] = sum / float(n);
            }
        }
        shape = std::move(soft);
    }
    return shape;
}

double GlyphShapes::correlation(const Shape& a, const Shape& b)
{
    if (a.size() != b.size() || a.empty())
        return -2;
    const double n = double(a.size());
    const double meanA = std::accumulate(a.begin(), a.end(), 0.0) / n;
    const double meanB = std::accumulate(b.begin(), b.end(), 0.0) / n;
    double ab = 0, aa = 0, bb = 0;
    for (size_t i = 0; i < a.size(); ++i) {
        ab += (a[i] - meanA) * (b[i] - meanB);
        aa += (a[i] - meanA) * (a[i] - meanA);
        bb += (b[i] - meanB) * (b[i] - meanB);
    }
    return aa > 0 && bb > 0 ? ab / std::sqrt(aa * bb) : -2;
}

double GlyphShapes::likeness(Pix* pix, int left, int top, int right, int bottom, const QString& character)
{
    const auto codes = character.toUcs4();
    if (codes.size() != 1 || !openFaces() || !pix || pixGetDepth(pix) != 8)
        return -2;
    left = std::max(0, left);
    top = std::max(0, top);
    right = std::min(int(pixGetWidth(pix)) - 1, right);
    bottom = std::min(int(pixGetHeight(pix)) - 1, bottom);
    if (right < left || bottom < top)
        return -2;
    const int width = right - left + 1, height = bottom - top + 1;
    std::vector<float> ink(size_t(width) * size_t(height));
    const l_uint32* data = pixGetData(pix);
    const int wpl = int(pixGetWpl(pix));
    for (int y = 0; y < height; ++y) {
        const l_uint32* line = data + size_t(top + y) * size_t(wpl);
        for (int x = 0; x < width; ++x)
            ink[size_t(y) * size_t(width) + size_t(x)] = GET_DATA_BYTE(line, left + x) < kInk ? 1.0f : 0.0f;
    }
    const Shape printed = normalised(ink, width, height);
    double best = -2;
    for (const Shape& drawn : shapesOf(codes.front()))
        best = std::max(best, correlation(printed, drawn));
    return best;
}
