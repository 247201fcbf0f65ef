#include "tests/outside/ocr/ScannedCard.h"

#include <QPainter>

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
