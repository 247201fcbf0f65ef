// Lines of Korean and Chinese cards re-read with the script's model alone, on drawn rows with the
// real engine.
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

// A logo before a Chinese company's name that the engine read as a character of the name, on the
// company's line or as a line of its own, goes; a character of the name the engine set apart stays.
TEST(ScriptLineRereading, LogoReadAsACharacterBeforeAChineseCompanyGoes)
{
    const QString company = u"天润食品集团有限公司"_qs;
    QFont font(u"WenQuanYi Micro Hei"_qs);
    font.setPixelSize(44);
    const QFontMetrics metrics(font);
    const int baseline = 110, top = baseline - metrics.ascent(), bottom = baseline + metrics.descent();
    const int typeLeft = 200, typeRight = typeLeft + metrics.horizontalAdvance(company);
    const struct {
        const char* what;
        QRect logo; // none: the name's first character printed just before the rest
        std::vector<RecognizedLine> read;
        const char16_t* company;
        size_t lines;
    } cases[] = {
        {"a logo taller than the type, on the company's line",
         QRect(100, top - 20, 80, bottom - top + 40),
         {{u"令 天润食品集团有限公司"_qs, 100, top - 20, typeRight, bottom + 20, 85}},
         u"天润食品集团有限公司",
         1},
        {"a logo of the type's height set far apart, on the company's line",
         QRect(120, top + 4, 40, bottom - top - 8),
         {{u"图 天润食品集团有限公司"_qs, 120, top, typeRight, bottom, 85}},
         u"天润食品集团有限公司",
         1},
        {"a logo read as a line of its own",
         QRect(100, top - 20, 80, bottom - top + 40),
         {{u"合"_qs, 100, top - 20, 180, bottom + 20, 40}, {company, typeLeft, top, typeRight, bottom, 90}},
         u"天润食品集团有限公司",
         1},
        {"the name's first character set apart",
         QRect(),
         {{u"宝 天润食品集团有限公司"_qs, typeLeft - metrics.horizontalAdvance(u"宝"_qs), top, typeRight, bottom, 85}},
         u"宝 天润食品集团有限公司",
         1},
    };
    TesseractEngine engine;
    ASSERT_TRUE(engine.open());
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        QImage image(1000, 240, QImage::Format_Grayscale8);
        image.fill(Qt::white);
        QPainter painter(&image);
        painter.setFont(font);
        painter.setPen(Qt::black);
        if (c.logo.isValid())
            painter.fillRect(c.logo, Qt::black);
        else
            painter.drawText(typeLeft - metrics.horizontalAdvance(u"宝"_qs), baseline, u"宝"_qs);
        painter.drawText(typeLeft, baseline, company);
        painter.end();
        const PixPtr pix = pixOf(image);
        std::vector<RecognizedLine> lines = c.read;
        readMissedRows(engine, pix.get(), kLanguageChineseSimplified, &lines);
        ASSERT_EQ(lines.size(), c.lines);
        EXPECT_EQ(lines.back().text.toStdString(), QString::fromUtf16(c.company).toStdString());
    }
}

} // namespace
