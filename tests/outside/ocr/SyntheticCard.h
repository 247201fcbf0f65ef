// Business cards drawn for the tests: text lines at 300 dpi on a white 91 x 55 mm card.
#pragma once

#include <QFont>
#include <QImage>
#include <QPainter>
#include <QString>
#include <QTransform>

#include <vector>

struct CardLine {
    QString text;
    int pixelSize;
};

inline QImage drawCard(const std::vector<CardLine>& lines, const QString& family)
{
    QImage image(1075, 650, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setPen(Qt::black);
    int y = 60;
    for (const CardLine& line : lines) {
        QFont font(family);
        font.setPixelSize(line.pixelSize);
        painter.setFont(font);
        y += line.pixelSize;
        painter.drawText(70, y, line.text);
        y += line.pixelSize / 2 + 12;
    }
    painter.end();
    return image.convertToFormat(QImage::Format_Grayscale8);
}

inline QImage englishCard()
{
    return drawCard({{u"Acme Widgets Inc."_qs, 40},
                     {u"Anna Lopez"_qs, 64},
                     {u"Senior Engineer"_qs, 34},
                     {u"1 Main Street, Springfield, IL 62701"_qs, 32},
                     {u"Tel: +1 217 555 0134"_qs, 32},
                     {u"anna.lopez@acme-widgets.com"_qs, 32}},
                    u"DejaVu Sans"_qs);
}

inline QImage japaneseCard()
{
    return drawCard({{u"株式会社山田商事"_qs, 44},
                     {u"営業部"_qs, 34},
                     {u"山田 太郎"_qs, 72},
                     {u"〒100-0005 東京都千代田区丸の内1-1-1"_qs, 34},
                     {u"TEL 03-1234-5678"_qs, 34},
                     {u"taro.yamada@yamada-shoji.co.jp"_qs, 34}},
                    u"IPAGothic"_qs);
}

inline QImage turnedClockwise(const QImage& image) { return image.transformed(QTransform().rotate(90)); }
