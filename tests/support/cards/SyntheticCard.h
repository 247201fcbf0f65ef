// Business cards drawn for the recognition tests and benchmark: text lines at 300 dpi on a white
// 91 x 55 mm card, in 8-bit grey.
#pragma once

#include <QImage>
#include <QList>
#include <QRectF>
#include <QString>

#include <vector>

struct CardLine {
    QString text;
    int pixelSize;
};

QImage drawCard(const std::vector<CardLine>& lines, const QString& fontFamily);

// An English card; `variant` changes the person, so that a series of cards is not one image.
// Variant 0 is Anna Lopez of Acme Widgets Inc., anna.lopez@acme-widgets.com, Tel: +1 217 555 0134.
QImage englishCard(int variant = 0);
// 山田 太郎 of 株式会社山田商事, taro.yamada@yamada-shoji.co.jp, TEL 03-1234-5678.
QImage japaneseCard();
QImage turnedClockwise(const QImage& image);

// The card's lines of text from top to bottom, each as a box in image pixels counted from the
// bottom-left corner (as stored field rectangles are), across the card and with a margin round it.
QList<QRectF> textLineBoxes(const QImage& card, int margin = 8);
