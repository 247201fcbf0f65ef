// Drawn cards as a scanner gives them, for the clean-up and recognition tests.
#pragma once

#include "outside/ocr/CardFields.h"
#include "outside/ocr/ScanCleanup.h"

#include <QImage>
#include <QTransform>

// The turn that `scannedCard` gives a card of `size`: a point of the card goes where it maps it.
QTransform scanTurn(const QSize& size, double degrees);
// The card turned by `degrees` (clockwise) on a scanner bed of grey `bed`, its grey levels
// squeezed into low..high.
QImage scannedCard(const QImage& card, double degrees, int bed, int low, int high);
// A card of 91 x 55 mm at 1,200 dpi printed all over with 300 lines of small print.
QImage smallPrintCard();
// The image as the engine takes it: 8-bit grey.
PixPtr pixOf(const QImage& image);
// Draws `text` in black DejaVu Sans of `pixelSize` at x, baseline on `card`; the line with its ink's box
// and `confidence`, as the engine would give it.
RecognizedLine drawLine(QImage* card, const QString& text, int pixelSize, int x, int baseline, int confidence);
