// Lines of a Korean card re-read with the Korean model alone, on drawn rows with the real engine.
#include "outside/ocr/ScriptLineRereading.h"

#include "outside/ocr/CardLanguage.h"
#include "tests/outside/ocr/ScannedCard.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>

#include <gtest/gtest.h>

namespace {

// A role line cut short by the engine's layout, as the lines it read of it: the syllables before
// `kept` left unread, or read as scraps of a syllable or two.
TEST(ScriptLineRereading, KoreanLineCutShortIsReadOutToItsInk)
{
    const QString line = u"기획조정실 지사장"_qs;
    QImage image(900, 200, QImage::Format_Grayscale8);
    image.fill(Qt::white);
    QFont font(u"NanumBarunGothic"_qs);
    font.setPixelSize(30);
    QPainter painter(&image);
    painter.setFont(font);
    painter.setPen(Qt::black);
    painter.drawText(100, 110, line);
    painter.end();
    const QFontMetrics metrics(font);
    const int top = 110 - metrics.ascent() + 4, bottom = 110 + metrics.descent() - 2;
    const auto x = [&](int characters) { return 100 + metrics.horizontalAdvance(line.left(characters)); };
    const struct {
        const char* what;
        std::vector<RecognizedLine> read;
    } cases[] = {
        {"first syllables unread", {{u"조정실 지사장"_qs, x(2) + 2, top, x(9), bottom, 93}}},
        {"first syllables read as scraps",
         {{u"기"_qs, 100, top, x(1), bottom, 53}, {u"획."_qs, x(1) + 2, top, x(2), bottom, 63}, {u"조정실 지사장"_qs, x(2) + 2, top, x(9), bottom, 85}}},
    };
    TesseractEngine engine;
    ASSERT_TRUE(engine.open());
    const PixPtr pix = pixOf(image);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<RecognizedLine> lines = c.read;
        rereadScriptLines(engine, pix.get(), kLanguageKorean, &lines);
        ASSERT_EQ(lines.size(), 1u);
        EXPECT_EQ(lines.front().text.toStdString(), line.toStdString());
    }
}

} // namespace
