#include "outside/ocr/LineRereading.h"
#include "outside/ocr/ScanCleanup.h"

#include <leptonica/allheaders.h>

#include <gtest/gtest.h>

namespace {

void ink(Pix* pix, int left, int top, int width, int height)
{
    for (int y = top; y < top + height; ++y) {
        for (int x = left; x < left + width; ++x)
            pixSetPixel(pix, x, y, 0);
    }
}

TEST(LineRereading, RowsOfInkInABox)
{
    PixPtr pix(pixCreate(400, 200, 8));
    pixSetAllArbitrary(pix.get(), 255);
    ink(pix.get(), 20, 20, 300, 30);  // a row of type
    ink(pix.get(), 20, 52, 300, 10);  // strokes two pixels below it: the same row ("三")
    ink(pix.get(), 20, 90, 200, 40);  // the next row
    ink(pix.get(), 20, 150, 300, 3);  // a rule, too thin for type
    ink(pix.get(), 380, 170, 2, 2);   // a speck outside the box
    const auto rows = inkRows(pix.get(), 10, 10, 360, 190);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0], std::make_pair(20, 61));
    EXPECT_EQ(rows[1], std::make_pair(90, 129));
    EXPECT_TRUE(inkRows(pix.get(), 10, 160, 360, 199).empty());
}

TEST(LineRereading, JapanSeenInAnEnglishReading)
{
    const auto lines = [](const char16_t* text) { return std::vector<RecognizedLine>{{QString::fromUtf16(text)}}; };
    EXPECT_TRUE(showsJapan(lines(u"Mail y.kawamura@nishimura-kasei.jp")));
    EXPECT_TRUE(showsJapan(lines(u"Tel. +81 92 590 0674")));
    EXPECT_FALSE(showsJapan(lines(u"www.example.jpg.com/+812")));
    EXPECT_FALSE(showsJapan(lines(u"Tel: +1 217 555 0134")));
}

} // namespace
