#include "tests/support/cards/SyntheticCard.h"

#include <QFont>
#include <QPainter>
#include <QStringList>
#include <QTransform>

QImage drawCard(const std::vector<CardLine>& lines, const QString& fontFamily)
{
    QImage image(1075, 650, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setPen(Qt::black);
    int y = 60;
    for (const CardLine& line : lines) {
        QFont font(fontFamily);
        font.setPixelSize(line.pixelSize);
        painter.setFont(font);
        y += line.pixelSize;
        painter.drawText(70, y, line.text);
        y += line.pixelSize / 2 + 12;
    }
    painter.end();
    return image.convertToFormat(QImage::Format_Grayscale8);
}

QImage englishCard(int variant)
{
    static const QStringList first = {u"Anna"_qs, u"Brian"_qs, u"Clara"_qs, u"Daniel"_qs, u"Emma"_qs};
    static const QStringList family = {u"Lopez"_qs, u"Miller"_qs, u"Novak"_qs, u"Olsen"_qs, u"Parker"_qs};
    const QString given = first.at(variant % first.size());
    const QString last = family.at((variant / first.size()) % family.size());
    const QString phone = QStringLiteral("Tel: +1 217 555 %1").arg(134 + variant, 4, 10, QLatin1Char('0'));
    return drawCard({{u"Acme Widgets Inc."_qs, 40},
                     {given + u' ' + last, 64},
                     {u"Senior Engineer"_qs, 34},
                     {u"1 Main Street, Springfield, IL 62701"_qs, 32},
                     {phone, 32},
                     {given.toLower() + u'.' + last.toLower() + u"@acme-widgets.com"_qs, 32}},
                    u"DejaVu Sans"_qs);
}

QImage japaneseCard()
{
    return drawCard({{u"株式会社山田商事"_qs, 44},
                     {u"営業部"_qs, 34},
                     {u"山田 太郎"_qs, 72},
                     {u"〒100-0005 東京都千代田区丸の内1-1-1"_qs, 34},
                     {u"TEL 03-1234-5678"_qs, 34},
                     {u"taro.yamada@yamada-shoji.co.jp"_qs, 34}},
                    u"IPAGothic"_qs);
}

QImage turnedClockwise(const QImage& image) { return image.transformed(QTransform().rotate(90)); }

QList<QRectF> textLineBoxes(const QImage& card, int margin)
{
    const QImage grey = card.convertToFormat(QImage::Format_Grayscale8);
    QList<QRectF> boxes;
    int top = -1;
    for (int y = 0; y <= grey.height(); ++y) {
        bool dark = false;
        for (int x = 0; y < grey.height() && x < grey.width() && !dark; ++x)
            dark = qGray(grey.pixel(x, y)) < 128;
        if (dark && top < 0)
            top = y;
        else if (!dark && top >= 0) {
            const int height = y - top;
            boxes.append(QRectF(margin, grey.height() - y - margin, grey.width() - 2 * margin, height + 2 * margin));
            top = -1;
        }
    }
    return boxes;
}
