// The card image view's arithmetic: the zoom table with its fit, the frame and scroller
// decision, the conversions between the centred view and image pixels, and the box rules.
#include "app/ui/logic/ImageViewGeometry.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace ImageViewGeometry;

TEST(ImageViewGeometry, ZoomTableFitsTheImageAndFallsBackToOneForEmptySizes)
{
    EXPECT_EQ(creationZoomTable()[kCreationZoomStep], 1.0);
    const struct {
        QSizeF image, content;
        double fit;
    } cases[] = {
        {{1000, 500}, {500, 500}, 0.5},  // width decides
        {{300, 600}, {600, 300}, 0.5},   // height decides
        {{100, 50}, {400, 400}, 4.0},    // small images grow
        {{100, 50}, {0, 400}, 1.0},      // a pane not laid out yet
        {{100, 50}, {400, 0}, 1.0},      // a collapsed pane
        {{0, 0}, {400, 400}, 1.0},       // a page of zero size
        {{100, -5}, {400, 400}, 1.0},
    };
    for (const auto& c : cases) {
        const ZoomTable table = fittedZoomTable(c.image, c.content);
        EXPECT_DOUBLE_EQ(table[kFitZoomStep], c.fit) << c.image.width() << "x" << c.image.height();
        for (int k = 1; k <= 4; ++k) {
            EXPECT_DOUBLE_EQ(table[size_t(kFitZoomStep + k)], c.fit * std::pow(1.3, k));
            EXPECT_DOUBLE_EQ(table[size_t(kFitZoomStep - k)], c.fit * std::pow(0.8, k));
        }
    }
}

TEST(ImageViewGeometry, FrameShowsTheScrollersTheScaledImageNeeds)
{
    // n: content without scrollers; h: with both (15 points each).
    const QSize n(400, 300), h(385, 285);
    const struct {
        QSize scaled;
        ViewFrame frame;
    } cases[] = {
        {{200, 100}, {false, false, {400, 300}}},
        {{400, 300}, {false, false, {400, 300}}},
        {{500, 100}, {true, false, {500, 285}}},
        {{200, 400}, {false, true, {385, 400}}},
        {{500, 400}, {true, true, {500, 400}}},
        {{390, 400}, {true, true, {390, 400}}},  // the vertical scroller leaves too little width
        {{500, 290}, {true, true, {500, 290}}},  // the horizontal scroller leaves too little height
        {{0, 0}, {false, false, {400, 300}}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(updateViewFrame(n, h, c.scaled), c.frame) << c.scaled.width() << "x" << c.scaled.height();
}

TEST(ImageViewGeometry, ImagePixelsCountFromTheBottomLeftAndSurviveTheRoundTrip)
{
    const QSizeF image(300, 200);
    const QSizeF view(600, 400);
    const struct {
        double factor;
        QRectF stored, widget;
    } cases[] = {
        // Image drawn at (150, 100)-(450, 300): its bottom edge at widget y 300.
        {1.0, {10, 20, 30, 40}, {160, 240, 30, 40}},
        // Filling the view: bottom edge at 400.
        {2.0, {10, 20, 30, 40}, {20, 280, 60, 80}},
    };
    for (const auto& c : cases) {
        const QRectF centred = imageToCentred(c.stored, image, c.factor);
        EXPECT_EQ(toWidget(centred, view), c.widget) << c.factor;
        const QRectF back = convertBoxRect(centred, image, c.factor);
        EXPECT_EQ(back, c.stored);
        EXPECT_EQ(toCentred(toWidget(QPointF(12.5, -7), view), view), QPointF(12.5, -7));
    }
}

TEST(ImageViewGeometry, BoxRules)
{
    // A recognised box is shown only wholly inside the bitmap; a PDF has no bitmap.
    const QSizeF bitmap(300, 200);
    const struct {
        QRectF box;
        bool shown;
    } boxes[] = {
        {{10, 10, 50, 20}, true}, {{0, 0, 300, 200}, true}, {{10, 10, 0, 20}, false},
        {{10, 10, 50, -1}, false}, {{-1, 10, 50, 20}, false}, {{300, 10, 1, 1}, false},
        {{10, 200, 1, 1}, false}, {{260, 10, 50, 20}, false}, {{10, 190, 50, 20}, false},
    };
    for (const auto& b : boxes)
        EXPECT_EQ(acceptsRecognizedBox(b.box, bitmap), b.shown) << b.box.x() << "," << b.box.y();
    EXPECT_FALSE(acceptsRecognizedBox({10, 10, 50, 20}, QSizeF()));

    // A drag past any edge keeps the box at that edge (scaled image 200 x 100 around 0).
    const QSizeF scaled(200, 100);
    const QPointF down(10, 10);
    EXPECT_EQ(clampedDragRect(down, {500, 20}, scaled), QRectF(10, 10, 90, 10));
    EXPECT_EQ(clampedDragRect(down, {-500, 20}, scaled), QRectF(-100, 10, 110, 10));
    EXPECT_EQ(clampedDragRect(down, {20, 500}, scaled), QRectF(10, 10, 10, 40));
    EXPECT_EQ(clampedDragRect(down, {20, -500}, scaled), QRectF(10, -50, 10, 60));
    EXPECT_FALSE(insideImage({101, 0}, scaled));
    EXPECT_TRUE(insideImage({100, -50}, scaled));

    EXPECT_EQ(roundedRect({1.4, 1.5, 2.49, 2.5}), QRectF(1, 2, 2, 3));

    // Centring a point scrolls no further than the image reaches.
    const QSizeF visible(100, 100), image(400, 300);
    EXPECT_EQ(scrollOriginForCenterPoint({200, 150}, 1.0, visible, image), QPointF(150, 100));
    EXPECT_EQ(scrollOriginForCenterPoint({10, 10}, 1.0, visible, image), QPointF(0, 0));
    EXPECT_EQ(scrollOriginForCenterPoint({390, 290}, 1.0, visible, image), QPointF(300, 200));
}
