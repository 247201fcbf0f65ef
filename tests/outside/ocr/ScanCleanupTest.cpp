#include "outside/ocr/ScanCleanup.h"
#include "outside/ocr/TesseractEngine.h"

#include "tests/outside/ocr/ScannedCard.h"
#include "tests/support/cards/SyntheticCard.h"

#include <QPainter>

#include <leptonica/allheaders.h>

#include <gtest/gtest.h>

#include <cmath>

namespace {

PixPtr toPix(const QImage& image)
{
    const QImage grey = image.convertToFormat(QImage::Format_Grayscale8);
    PixPtr pix(pixCreate(grey.width(), grey.height(), 8));
    for (int y = 0; y < grey.height(); ++y) {
        l_uint32* line = pixGetData(pix.get()) + size_t(y) * size_t(pixGetWpl(pix.get()));
        for (int x = 0; x < grey.width(); ++x)
            SET_DATA_BYTE(line, x, grey.constScanLine(y)[x]);
    }
    return pix;
}

int greyAt(Pix* pix, int x, int y)
{
    return int(GET_DATA_BYTE(pixGetData(pix) + size_t(y) * size_t(pixGetWpl(pix)), x));
}

// Pixels darker than mid grey inside a rectangle.
int inkIn(Pix* pix, int left, int top, int right, int bottom)
{
    int ink = 0;
    for (int y = top; y <= bottom; ++y) {
        for (int x = left; x <= right; ++x)
            ink += greyAt(pix, x, y) < 128;
    }
    return ink;
}

TEST(ScanCleanup, SkewedCardLosesTheBedAndFarAskewComesOutStraight)
{
    const QImage card = englishCard();
    PixPtr crisp = toPix(card);
    const int crispInk = inkIn(crisp.get(), 0, 0, card.width() - 1, card.height() - 1);
    const struct {
        double degrees;
        bool turned; // far enough askew to be turned straight
    } cases[] = {{7.0, true}, {-6.0, true}, {2.0, false}, {-1.5, false}};
    for (const auto& c : cases) {
        const QImage scan = scannedCard(card, c.degrees, 70, 0, 255);
        PixPtr pix = toPix(scan);
        float found = 0;
        PixPtr clean = cleanScan(pix.get(), &found);
        ASSERT_TRUE(clean) << c.degrees;
        EXPECT_EQ(pixGetWidth(clean.get()), scan.width());
        EXPECT_NEAR(std::abs(found), c.turned ? std::abs(c.degrees) : 0.0, 0.25) << c.degrees;
        if (c.turned) {
            // Straight now: cleaning again finds nothing left to turn.
            float again = 0;
            PixPtr twice = cleanScan(clean.get(), &again);
            EXPECT_EQ(again, 0) << c.degrees;
        }
        // The bed in the corners is gone and the card's ink is all there.
        const int w = scan.width(), h = scan.height();
        EXPECT_EQ(inkIn(clean.get(), 0, 0, w - 1, 3) + inkIn(clean.get(), 0, h - 4, w - 1, h - 1), 0) << c.degrees;
        EXPECT_EQ(inkIn(clean.get(), 0, 0, 3, h - 1) + inkIn(clean.get(), w - 4, 0, w - 1, h - 1), 0) << c.degrees;
        EXPECT_NEAR(inkIn(clean.get(), 0, 0, w - 1, h - 1), crispInk, crispInk / 8) << c.degrees;
    }
}

TEST(ScanCleanupBox, BackInTheFrameOfTheImageAsSent)
{
    // A point of a straightened image goes back where the turn took it from.
    const int w = 1000, h = 600;
    const float degrees = 2.0f;
    int left = 700, top = 450, right = 700, bottom = 450;
    unturnBox(w, h, degrees, &left, &top, &right, &bottom);
    const double a = degrees * 3.14159265 / 180;
    const double x = 500 + 200 * std::cos(a) + 150 * std::sin(a), y = 300 - 200 * std::sin(a) + 150 * std::cos(a);
    EXPECT_NEAR(left, x, 1.5);
    EXPECT_NEAR(top, y, 1.5);
    // No turn: the box stays; a box near the edge stays inside the image.
    int l = 10, t = 20, r = 30, b = 40;
    unturnBox(w, h, 0, &l, &t, &r, &b);
    EXPECT_EQ(QRect(QPoint(l, t), QPoint(r, b)), QRect(QPoint(10, 20), QPoint(30, 40)));
    l = 0, t = 0, r = w - 1, b = h - 1;
    unturnBox(w, h, -3, &l, &t, &r, &b);
    EXPECT_EQ(QRect(QPoint(l, t), QPoint(r, b)), QRect(0, 0, w, h));
}

TEST(ScanCleanup, FaintScansDarkEdgesAndBlankCards)
{
    const QImage card = englishCard();
    PixPtr crisp = toPix(card);
    const int crispInk = inkIn(crisp.get(), 0, 0, card.width() - 1, card.height() - 1);
    float degrees = 0;

    // Grey ink on grey paper: the ink comes back black and the paper white.
    PixPtr faint = toPix(scannedCard(card, 0, 255, 140, 220));
    ASSERT_EQ(inkIn(faint.get(), 0, 0, card.width() - 1, card.height() - 1), 0);
    PixPtr stretched = cleanScan(faint.get(), &degrees);
    EXPECT_EQ(degrees, 0);
    EXPECT_NEAR(inkIn(stretched.get(), 0, 0, card.width() - 1, card.height() - 1), crispInk, crispInk / 5);
    EXPECT_EQ(greyAt(stretched.get(), card.width() / 2, 2), 255);

    // A straight card with the dark bed showing along two edges.
    QImage framed = card.convertToFormat(QImage::Format_Grayscale8);
    QPainter painter(&framed);
    painter.fillRect(0, 0, framed.width(), 12, QColor(60, 60, 60));
    painter.fillRect(framed.width() - 9, 0, 9, framed.height(), QColor(60, 60, 60));
    painter.end();
    PixPtr bed = toPix(framed);
    PixPtr cleaned = cleanScan(bed.get(), &degrees);
    EXPECT_EQ(inkIn(cleaned.get(), 0, 0, card.width() - 1, card.height() - 1), crispInk);

    // A card of paper grain only stays as it is: its noise is not made into ink.
    QImage grain(600, 400, QImage::Format_Grayscale8);
    for (int y = 0; y < grain.height(); ++y) {
        for (int x = 0; x < grain.width(); ++x)
            grain.scanLine(y)[x] = uchar(236 + (x * 7 + y * 13) % 11);
    }
    PixPtr paper = toPix(grain);
    PixPtr same = cleanScan(paper.get(), &degrees);
    EXPECT_EQ(inkIn(same.get(), 0, 0, grain.width() - 1, grain.height() - 1), 0);
}

TEST(TesseractEngine, StopsAtItsTimeWithTheLinesReadSoFar)
{
    TesseractEngine engine;
    ASSERT_TRUE(engine.open());
    PixPtr pix = toPix(smallPrintCard());
    std::vector<RecognizedLine> lines;
    int confidence = 0;
    // Read in full, the engine finds some 70 lines on it; stopped at once, next to none.
    EXPECT_TRUE(engine.recognize(pix.get(), 1200, "eng", 0, 0, int(pixGetWidth(pix.get())) - 1,
                                 int(pixGetHeight(pix.get())) - 1, &lines, &confidence, 1));
    EXPECT_LT(lines.size(), 10u);
}

} // namespace
