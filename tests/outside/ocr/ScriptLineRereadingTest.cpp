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

// A row of Hangul drawn on white at a height of 110 pixels, with the box the engine would give it
// and where each of its characters ends.
struct DrawnRow {
    DrawnRow(const QString& text, int width, int pixelSize, int left)
        : image(width, 200, QImage::Format_Grayscale8)
        , font(u"NanumBarunGothic"_qs)
        , line(text)
        , start(left)
    {
        image.fill(Qt::white);
        font.setPixelSize(pixelSize);
        QPainter painter(&image);
        painter.setFont(font);
        painter.setPen(Qt::black);
        painter.drawText(left, 110, text);
        painter.end();
        const QFontMetrics metrics(font);
        top = 110 - metrics.ascent() + 4;
        bottom = 110 + metrics.descent() - 2;
    }
    int x(int characters) const { return start + QFontMetrics(font).horizontalAdvance(line.left(characters)); }

    QImage image;
    QFont font;
    QString line;
    int start = 0, top = 0, bottom = 0;
};

// The lines of a Korean card read again on `image`.
std::vector<RecognizedLine> readAgainAsKorean(const QImage& image, std::vector<RecognizedLine> lines)
{
    TesseractEngine engine;
    EXPECT_TRUE(engine.open());
    const PixPtr pix = pixOf(image);
    rereadScriptLines(engine, pix.get(), kLanguageKorean, &lines);
    return lines;
}

// A role line cut short by the engine's layout, as the lines it read of it: the syllables before
// `kept` left unread, or read as scraps of a syllable or two.
TEST(ScriptLineRereading, KoreanLineCutShortIsReadOutToItsInk)
{
    const QString line = u"기획조정실 지사장"_qs;
    const DrawnRow row(line, 900, 30, 100);
    const int top = row.top, bottom = row.bottom;
    const auto x = [&row](int characters) { return row.x(characters); };
    const struct {
        const char* what;
        std::vector<RecognizedLine> read;
    } cases[] = {
        {"first syllables unread", {{u"조정실 지사장"_qs, x(2) + 2, top, x(9), bottom, 93}}},
        {"first syllables read as scraps",
         {{u"기"_qs, 100, top, x(1), bottom, 53}, {u"획."_qs, x(1) + 2, top, x(2), bottom, 63}, {u"조정실 지사장"_qs, x(2) + 2, top, x(9), bottom, 85}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const std::vector<RecognizedLine> lines = readAgainAsKorean(row.image, c.read);
        ASSERT_EQ(lines.size(), 1u);
        EXPECT_EQ(lines.front().text.toStdString(), line.toStdString());
    }
}

// An address line the engine's layout ended at the road's number, the building and floor after
// it left unread: the rest of the row is read on, its comma kept once; a line already read beyond
// it is no part of the address.
TEST(ScriptLineRereading, KoreanAddressLineCutAtItsNumberIsReadOn)
{
    const QString line = u"서울특별시 강남구 테헤란로 144, 한솔빌딩 23층"_qs;
    const DrawnRow row(line, 1100, 28, 60);
    const int top = row.top, bottom = row.bottom;
    const auto x = [&row](int characters) { return row.x(characters); };
    const struct {
        const char* what;
        std::vector<RecognizedLine> read;
        QString address;
    } cases[] = {
        {"after the comma", {{line.left(19), 60, top, x(19), bottom, 92}}, line},
        {"before the comma", {{line.left(18), 60, top, x(18), bottom, 92}}, line},
        {"the rest read as a line of its own", {{line.left(19), 60, top, x(19), bottom, 92}, {line.mid(20), x(20), top, x(28), bottom, 90}}, line.left(19)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const std::vector<RecognizedLine> lines = readAgainAsKorean(row.image, c.read);
        ASSERT_FALSE(lines.empty());
        EXPECT_EQ(lines.front().text.toStdString(), c.address.toStdString());
    }
}

// An address wrapped before its floor, the floor's short line left unread by the engine's layout:
// it is read as a line of its own under the address; nothing is added under an address whose next
// line was read.
TEST(ScriptLineRereading, FloorUnreadUnderAKoreanAddressIsRead)
{
    const QString street = u"서울특별시 구로구 디지털로 253"_qs;
    DrawnRow row(street, 900, 28, 60);
    QPainter painter(&row.image);
    painter.setFont(row.font);
    painter.setPen(Qt::black);
    painter.drawText(60, 150, u"5층"_qs);
    painter.end();
    const RecognizedLine address{street, 60, row.top, row.x(int(street.size())), row.bottom, 90};
    const std::vector<RecognizedLine> floorUnread = readAgainAsKorean(row.image, {address});
    ASSERT_EQ(floorUnread.size(), 2u);
    EXPECT_EQ(floorUnread[1].text.toStdString(), "5층");
    const RecognizedLine floorRead{u"5증"_qs, 60, row.top + 40, 100, row.bottom + 40, 80};
    EXPECT_EQ(readAgainAsKorean(row.image, {address, floorRead}).size(), 2u);
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
