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
