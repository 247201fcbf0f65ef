// An address line the engine ended early, light type on a dark band, is read on to its ink's end.
#include "outside/ocr/LatinAddressEnds.h"

#include "outside/ocr/TesseractEngine.h"
#include "tests/outside/ocr/ScannedCard.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <QRandomGenerator>

#include <algorithm>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

// A card whose lower part is a dark band ending left of the card's edge, with white type on it.
struct BandCard {
    QImage image{1075, 650, QImage::Format_RGB32};
    QFont font{u"DejaVu Sans"_s};

    BandCard()
    {
        image.fill(Qt::white);
        QPainter(&image).fillRect(0, 380, 1000, 270, QColor(14, 110, 90));
        font.setPixelSize(30);
    }

    // The band, its levels spread by the scanner's noise as on a real scan; the type stays one white.
    PixPtr scanned() const
    {
        QImage grey = image.convertToFormat(QImage::Format_Grayscale8);
        QRandomGenerator noise(7);
        for (int y = 380; y < grey.height(); ++y) {
            uchar* row = grey.scanLine(y);
            for (int x = 0; x < 1000; ++x) {
                if (row[x] < 250)
                    row[x] = uchar(std::min(255, int(row[x]) + int(noise.bounded(40))));
            }
        }
        return pixOf(grey);
    }

    // Draws `text` in white; the line as the engine read it: only `read`, its first characters.
    RecognizedLine draw(const QString& text, int x, int baseline, const QString& read)
    {
        QPainter painter(&image);
        painter.setFont(font);
        painter.setPen(Qt::white);
        painter.drawText(x, baseline, text);
        const QRect box = QFontMetrics(font).tightBoundingRect(read).translated(x, baseline);
        const QRect whole = QFontMetrics(font).tightBoundingRect(text).translated(x, baseline);
        return RecognizedLine{read, box.left(), whole.top(), box.right(), whole.bottom(), 92};
    }
};

TEST(LatinAddressEnds, TheInkOfALineOnADarkBandEndsWhereItsTypeDoes)
{
    BandCard card;
    const RecognizedLine cut = card.draw(u"63000 CLERMONT-FERRAND"_s, 540, 560, u"63000 CLERMON"_s);
    const RecognizedLine whole = card.draw(u"163 route de Lyon, BP 590,"_s, 540, 515, u"163 route de Lyon, BP 590,"_s);
    const PixPtr pix = card.scanned();
    const int end = QFontMetrics(card.font).tightBoundingRect(u"63000 CLERMONT-FERRAND"_s).right() + 540;
    // On through the hyphen and the capitals' stems; not into the band's edge and the paper past it.
    EXPECT_NEAR(inkEndOfRow(pix.get(), cut), end, 2);
    EXPECT_NEAR(inkEndOfRow(pix.get(), whole), whole.right, 2);
}

TEST(LatinAddressEnds, AnAddressLineEndedEarlyIsReadOn)
{
    BandCard card;
    std::vector<RecognizedLine> lines = {
        // Not an address: left as read.
        card.draw(u"imprimerie-montaigne.com"_s, 540, 440, u"imprimerie-mont"_s),
        card.draw(u"Avenida Lourenco Peixinho, 175"_s, 100, 500, u"Avenida Lourenco Peix"_s),
        card.draw(u"63000 CLERMONT-FERRAND"_s, 540, 560, u"63000 CLERMON"_s),
    };
    const PixPtr pix = card.scanned();
    TesseractEngine engine;
    ASSERT_TRUE(engine.open());
    readCutLatinAddressEnds(engine, pix.get(), "eng", &lines);
    EXPECT_EQ(lines[0].text.toStdString(), u"imprimerie-mont"_s.toStdString());
    EXPECT_EQ(lines[1].text.toStdString(), u"Avenida Lourenco Peixinho, 175"_s.toStdString());
    EXPECT_EQ(lines[2].text.toStdString(), u"63000 CLERMONT-FERRAND"_s.toStdString());
}

TEST(LatinAddressEnds, ATownOrCountryLineLeftUnreadUnderAnAddressIsRead)
{
    BandCard card;
    const RecognizedLine street = card.draw(u"Avenida de Huelva, 119"_s, 540, 450, u"Avenida de Huelva, 119"_s);
    const RecognizedLine town = card.draw(u"09001 Burgos"_s, 540, 495, u"09001 Burgos"_s);
    card.draw(u"Spain"_s, 540, 540, {});
    const RecognizedLine mail = card.draw(u"ana@huelva.es"_s, 540, 590, u"ana@huelva.es"_s);
    const PixPtr pix = card.scanned();
    TesseractEngine engine;
    ASSERT_TRUE(engine.open());
    std::vector<RecognizedLine> lines = {street, town, mail};
    readRowsUnderLatinAddresses(engine, pix.get(), "eng", &lines);
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[2].text.toStdString(), "Spain");
    // A row under the address already read is not read again.
    readRowsUnderLatinAddresses(engine, pix.get(), "eng", &lines);
    EXPECT_EQ(lines.size(), 4u);
}

} // namespace
