#include "tests/outside/ocr/ScannedCard.h"

#include <QFont>
#include <QPainter>

#include <leptonica/allheaders.h>

QTransform scanTurn(const QSize& size, double degrees)
{
    const QTransform turn = QTransform().rotate(degrees);
    const QRect bounds = turn.mapRect(QRectF(QPointF(0, 0), size)).toAlignedRect();
    return turn * QTransform::fromTranslate(-bounds.left(), -bounds.top());
}

QImage scannedCard(const QImage& card, double degrees, int bed, int low, int high)
{
    const QTransform turn = scanTurn(card.size(), degrees);
    QImage scan(turn.mapRect(QRectF(card.rect())).toAlignedRect().size(), QImage::Format_RGB32);
    scan.fill(QColor(bed, bed, bed));
    QPainter painter(&scan);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.setTransform(turn);
    painter.drawImage(0, 0, card);
    painter.end();
    QImage grey = scan.convertToFormat(QImage::Format_Grayscale8);
    for (int y = 0; y < grey.height(); ++y) {
        uchar* row = grey.scanLine(y);
        for (int x = 0; x < grey.width(); ++x)
            row[x] = uchar(low + row[x] * (high - low) / 255);
    }
    return grey;
}

QImage smallPrintCard()
{
    QImage card(4300, 2600, QImage::Format_Grayscale8);
    card.fill(255);
    QPainter painter(&card);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(7);
    painter.setFont(font);
    for (int i = 0; i < 300; ++i) {
        painter.drawText(60, 47 + i * 8,
                         QStringLiteral("Clause %1 of the small print, see terms; call 0%2 555 01%3 or write x%1@example.com")
                             .arg(i)
                             .arg(100 + i)
                             .arg(i % 100, 2, 10, QLatin1Char('0')));
    }
    painter.end();
    return card;
}

PixPtr pixOf(const QImage& image)
{
    const QImage grey = image.convertToFormat(QImage::Format_Grayscale8);
    PixPtr pix(pixCreate(grey.width(), grey.height(), 8));
    for (int y = 0; y < grey.height(); ++y) {
        for (int x = 0; x < grey.width(); ++x)
            pixSetPixel(pix.get(), x, y, grey.constScanLine(y)[x]);
    }
    return pix;
}

RecognizedLine drawLine(QImage* card, const QString& text, int pixelSize, int x, int baseline, int confidence)
{
    QPainter painter(card);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(pixelSize);
    painter.setFont(font);
    painter.setPen(Qt::black);
    painter.drawText(x, baseline, text);
    const QRect box = QFontMetrics(font).tightBoundingRect(text).translated(x, baseline);
    return RecognizedLine{text, box.left(), box.top(), box.right(), box.bottom(), confidence};
}
