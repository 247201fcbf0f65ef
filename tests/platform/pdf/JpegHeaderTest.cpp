#include "platform/pdf/JpegHeader.h"
#include "tests/support/pdf/TestPdf.h"

#include <gtest/gtest.h>

namespace {

QByteArray segment(uchar marker, const QByteArray& payload)
{
    QByteArray bytes;
    bytes.append(char(0xFF)).append(char(marker));
    int length = int(payload.size()) + 2;
    bytes.append(char(length >> 8)).append(char(length & 0xFF));
    return bytes + payload;
}

const QByteArray kSoi("\xFF\xD8", 2);

} // namespace

TEST(JpegHeader, ReadsFrameDensityAndComment)
{
    testpdf::JpegOptions options;
    options.xDpi = 300;
    options.yDpi = 150;
    options.comment = QByteArray("Brevix Scan 1.0");
    JpegHeader header;
    ASSERT_EQ(readJpegHeader(testpdf::makeJpeg(1075, 650, options), header), JpegHeaderStatus::Complete);
    EXPECT_EQ(header.width, 1075);
    EXPECT_EQ(header.height, 650);
    EXPECT_EQ(header.components, 3);
    EXPECT_TRUE(header.hasDensity);
    EXPECT_DOUBLE_EQ(header.xDpi, 300);
    EXPECT_DOUBLE_EQ(header.yDpi, 150);
    EXPECT_TRUE(header.hasComment);
    EXPECT_EQ(header.comment, "Brevix Scan 1.0");
}

TEST(JpegHeader, DensityUnitsAndExif)
{
    testpdf::JpegOptions none;
    none.density = false;
    JpegHeader header;
    ASSERT_EQ(readJpegHeader(testpdf::makeJpeg(40, 20, none), header), JpegHeaderStatus::Complete);
    EXPECT_FALSE(header.hasDensity);

    // Big-endian TIFF with XResolution 200/1 and YResolution 100/1 in inches.
    QByteArray tiff("MM\x00\x2A\x00\x00\x00\x08", 8);
    auto u16 = [](int v) {
        const char b[] = {char(v >> 8), char(v & 0xFF)};
        return QByteArray(b, 2);
    };
    auto u32 = [](quint32 v) {
        const char b[] = {char(v >> 24), char(v >> 16), char(v >> 8), char(v)};
        return QByteArray(b, 4);
    };
    tiff += u16(3);
    tiff += u16(0x011A) + u16(5) + u32(1) + u32(50);
    tiff += u16(0x011B) + u16(5) + u32(1) + u32(58);
    tiff += u16(0x0128) + u16(3) + u32(1) + u16(2) + u16(0);
    tiff += u32(0);
    tiff += u32(200) + u32(1) + u32(100) + u32(1);
    QByteArray exif = QByteArray("Exif\0\0", 6) + tiff;
    QByteArray jpeg = testpdf::insertJpegSegment(testpdf::makeJpeg(40, 20, none), 0xE1, exif);
    ASSERT_EQ(readJpegHeader(jpeg, header), JpegHeaderStatus::Complete);
    EXPECT_TRUE(header.hasDensity);
    EXPECT_DOUBLE_EQ(header.xDpi, 200);
    EXPECT_DOUBLE_EQ(header.yDpi, 100);
}

TEST(JpegHeader, BadInputStaysInBounds)
{
    const QByteArray good = testpdf::makeJpeg(40, 20);
    struct Case {
        const char* name;
        QByteArray bytes;
        JpegHeaderStatus status;
    };
    const Case cases[] = {
        {"empty", QByteArray(), JpegHeaderStatus::NotJpeg},
        {"not a jpeg", QByteArray("%PDF-1.4"), JpegHeaderStatus::NotJpeg},
        {"soi only", kSoi, JpegHeaderStatus::NoFrame},
        {"length below 2", kSoi + QByteArray("\xFF\xFE\x00\x01", 4), JpegHeaderStatus::Malformed},
        {"length past the end", kSoi + QByteArray("\xFF\xFE\xFF\xF0xx", 6), JpegHeaderStatus::Malformed},
        {"truncated length", kSoi + QByteArray("\xFF\xFE\x00", 3), JpegHeaderStatus::Malformed},
        {"short frame", kSoi + segment(0xC0, QByteArray("\x08\x00", 2)), JpegHeaderStatus::Malformed},
        {"data before a frame", kSoi + QByteArray("\x12\x34", 2), JpegHeaderStatus::NoFrame},
        {"scan data cut short", good.left(good.size() - 10), JpegHeaderStatus::Complete},
    };
    for (const Case& c : cases) {
        JpegHeader header;
        EXPECT_EQ(readJpegHeader(c.bytes, header), c.status) << c.name;
    }
}

TEST(JpegHeader, CommentEndsAtZeroAndOnlyTheFirstCounts)
{
    QByteArray bytes = kSoi + segment(0xE0, QByteArray(14, 'j')) + segment(0xFE, QByteArray("first\0tail", 10))
        + segment(0xFE, "second") + segment(0xC0, QByteArray("\x08\x00\x10\x00\x20\x01", 6));
    JpegHeader header;
    ASSERT_EQ(readJpegHeader(bytes, header), JpegHeaderStatus::Complete);
    EXPECT_EQ(header.comment, "first");
    EXPECT_EQ(header.width, 32);
    EXPECT_EQ(header.height, 16);
    EXPECT_EQ(header.components, 1);
}
