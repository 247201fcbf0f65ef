#include "platform/foundation/PlistFile.h"

#include <QTemporaryDir>
#include <QTimeZone>
#include <gtest/gtest.h>

namespace {

PlistValue sample()
{
    PlistValue::Dictionary d;
    d.insert("flag", true);
    d.insert("count", 42);
    d.insert("negative", -5);
    d.insert("ratio", 0.25);
    d.insert("name", QStringLiteral("Åsa 山田"));
    d.insert("bytes", QByteArray("\x00\x01\xff", 3));
    d.insert("when", QDateTime(QDate(2010, 5, 6), QTime(7, 8, 9), QTimeZone::utc()));
    d.insert("list", PlistValue::Array{1, "two", PlistValue::Dictionary{{"three", 3.5}}});
    return PlistValue(d);
}

} // namespace

TEST(Plist, RoundTripKeepsTypesInBothFormats)
{
    for (PlistFormat format : {PlistFormat::Xml, PlistFormat::Binary}) {
        PlistValue back;
        PlistFormat detected{};
        ASSERT_TRUE(parsePlist(serializePlist(sample(), format), back, &detected));
        EXPECT_EQ(detected, format);
        EXPECT_EQ(back, sample());
        EXPECT_TRUE(back.value("count").isNumber());
        EXPECT_FALSE(back.value("name").isNumber());
        EXPECT_EQ(back.value("negative").toInteger(), -5);
    }
}

TEST(Plist, MalformedInputIsRefused)
{
    const QByteArray cases[] = {
        QByteArray(),
        QByteArray("not a plist"),
        QByteArray("<?xml version=\"1.0\"?><plist><dict><key>a</key>"),
        QByteArray("bplist00\x01\x02", 10),
        QByteArray::fromRawData("<plist><dict><key>a</key><string>x\0y</string></dict></plist>", 60),
    };
    for (const QByteArray& bytes : cases) {
        PlistValue v;
        EXPECT_FALSE(parsePlist(bytes, v)) << bytes.toStdString();
        EXPECT_TRUE(v.isNull());
    }
}

TEST(Plist, FileWriteIsAtomicAndReadable)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("a.plist");
    ASSERT_TRUE(writePlistFile(path, sample(), PlistFormat::Binary));
    PlistValue back;
    PlistFormat format{};
    ASSERT_TRUE(readPlistFile(path, back, &format));
    EXPECT_EQ(format, PlistFormat::Binary);
    EXPECT_EQ(back, sample());
    EXPECT_FALSE(writePlistFile(dir.filePath("missing/a.plist"), sample()));
    EXPECT_FALSE(readPlistFile(dir.filePath("nothing.plist"), back));
}

namespace {

// A binary list of `levels` arrays, each holding the next one twice, ending in a string: a few
// hundred bytes that read into 2^levels strings.
QByteArray sharedReferenceBomb(int levels)
{
    QByteArray bytes("bplist00");
    QByteArray offsets;
    for (int i = 0; i < levels; ++i) {
        offsets.append(char(bytes.size()));
        bytes.append(char(0xA2)).append(char(i + 1)).append(char(i + 1));
    }
    offsets.append(char(bytes.size()));
    bytes.append(char(0x51)).append('x');
    const int table = int(bytes.size());
    bytes.append(offsets);
    QByteArray trailer(32, '\0');
    trailer[6] = 1;
    trailer[7] = 1;
    trailer[15] = char(levels + 1);
    trailer[31] = char(table);
    return bytes + trailer;
}

} // namespace

TEST(Plist, SharedReferencesAreReadOnlyWithinBounds)
{
    PlistValue v;
    ASSERT_TRUE(parsePlist(sharedReferenceBomb(4), v));
    EXPECT_EQ(v.toArray().size(), 2);
    EXPECT_EQ(v.toArray().at(0).toArray().at(1).toArray().at(0).toArray().at(1).toString(), QStringLiteral("x"));
    // 2^22 copies made every start take seconds and more than a gigabyte; refused unread now.
    const QByteArray bomb = sharedReferenceBomb(22);
    EXPECT_LT(bomb.size(), 213);
    EXPECT_FALSE(parsePlist(bomb, v));
    EXPECT_TRUE(v.isNull());
}

TEST(Plist, BinaryListsBeyondTheLimitsAreRefused)
{
    // Nesting deeper than the depth limit, without any sharing.
    PlistValue deep = PlistValue::Array{1};
    for (int i = 0; i < 300; ++i)
        deep = PlistValue::Array{deep};
    PlistValue v;
    EXPECT_FALSE(parsePlist(serializePlist(deep, PlistFormat::Binary), v));
    PlistValue shallow = PlistValue::Array{1};
    for (int i = 0; i < 100; ++i)
        shallow = PlistValue::Array{shallow};
    EXPECT_TRUE(parsePlist(serializePlist(shallow, PlistFormat::Binary), v));
    // A list that refers to itself.
    QByteArray loop = sharedReferenceBomb(1);
    loop[10] = 0; // the array's second entry refers to the array
    EXPECT_FALSE(parsePlist(loop, v));
}
