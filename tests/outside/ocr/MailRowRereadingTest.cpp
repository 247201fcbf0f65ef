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

} // namespace
