// An e-mail row whose reading the engine's layout ended early is read again out to the card's edge.
#include "outside/ocr/MailRowRereading.h"

#include "outside/ocr/TesseractEngine.h"
#include "tests/outside/ocr/ScannedCard.h"
#include "tests/support/cards/SyntheticCard.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

TEST(MailRowRereading, ARowEndedEarlyIsReadToTheCardsEdge)
{
    const QImage card = drawCard({{u"Andrés Hernández"_qs, 60},
                                  {u"Asesoría Fiscal Montaña"_qs, 40},
                                  {u"Tel. +34 913 630 382"_qs, 34},
                                  {u"Correo. andres.hernandez@asesoria-montana.es"_qs, 34}},
                                 u"DejaVu Sans"_qs);
    TesseractEngine engine;
    ASSERT_TRUE(engine.open());
    const PixPtr pix = pixOf(card);
    std::vector<RecognizedLine> lines;
    ASSERT_TRUE(engine.recognize(pix.get(), 300, "spa+eng", 0, 0, card.width() - 1, card.height() - 1, &lines));
    const auto mail = std::find_if(lines.begin(), lines.end(), [](const RecognizedLine& l) { return l.text.contains(u'@'); });
    ASSERT_NE(mail, lines.end());
    // What the whole line holds: a card that has its address is not read again.
    std::vector<RecognizedLine> whole = lines;
    EXPECT_FALSE(rereadCutMailRows(engine, pix.get(), 300, "spa+eng", &whole));
    // The row as the layout ended it.
    mail->text = u"Correo. andres.hernand"_qs;
    mail->right = mail->left + (mail->right - mail->left) / 2;
    ASSERT_TRUE(rereadCutMailRows(engine, pix.get(), 300, "spa+eng", &lines));
    EXPECT_EQ(mailAddressIn(mail->text), u"andres.hernandez@asesoria-montana.es"_qs) << mail->text.toStdString();
}

// A long address fitted into the card in small type beside a line of the body's: the engine reads
// the small row as scraps, which are read again as one row, larger; the line beside them stays.
TEST(MailRowRereading, ARowOfSmallTypeBrokenIntoScrapsIsReadAgainLarger)
{
    QImage card(1075, 650, QImage::Format_RGB32);
    card.fill(Qt::white);
    const auto draw = [&card](const QString& text, int pixelSize, int x, int baseline) {
        return drawLine(&card, text, pixelSize, x, baseline, 90);
    };
    std::vector<RecognizedLine> lines = {draw(u"Joaquín Navarro"_qs, 56, 60, 120), draw(u"Gerente"_qs, 34, 60, 200),
                                         draw(u"Tel. 661 843 360"_qs, 34, 560, 380), draw(u"Administración"_qs, 34, 60, 460)};
    const RecognizedLine row = draw(u"E | joaquin.navarro@energia-solar-andaluza.com"_qs, 15, 560, 455);
    const PixPtr pix = pixOf(card.convertToFormat(QImage::Format_Grayscale8));
    // What the engine made of the row: two scraps of no address's shape.
    const int middle = (row.left + row.right) / 2;
    lines.push_back({u"El isaquíns"_qs, row.left, row.top + 3, middle - 20, row.bottom, 37});
    lines.push_back({u"iessdlarsandalizacom"_qs, middle + 20, row.top + 3, row.right, row.bottom - 2, 23});
    TesseractEngine engine;
    ASSERT_TRUE(engine.open());
    ASSERT_TRUE(rereadCutMailRows(engine, pix.get(), 300, "spa+eng", &lines));
    QStringList texts;
    for (const RecognizedLine& l : lines)
        texts << l.text;
    ASSERT_EQ(texts.size(), 5) << texts.join(u" / "_qs).toStdString();
    EXPECT_EQ(mailAddressIn(texts.at(4)), u"joaquin.navarro@energia-solar-andaluza.com"_qs) << texts.at(4).toStdString();
    EXPECT_EQ(texts.at(3), u"Administración"_qs);
}

} // namespace
