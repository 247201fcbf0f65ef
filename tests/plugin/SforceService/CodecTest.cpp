// Value codecs, enumerations and ISO 8601 dates as tables of edge cases.
#include "plugin/SforceService/ISO8601.h"
#include "plugin/SforceService/SoapEnumerations.h"
#include "plugin/SforceService/USAdditions.h"
#include "plugin/SforceService/USGlobals.h"
#include "tests/plugin/SforceService/TestRecords.h"

#include <QTimeZone>

#include <gtest/gtest.h>

using namespace USAdditions;

TEST(Codec, TextIsEscapedOnceOnWriteAndUnescapedOnceOnRead)
{
    struct Case {
        QString value;
        const char* wire;
    };
    const std::vector<Case> cases = {
        {"a<b & 'c'", "<ens:name>a&lt;b &amp; 'c'</ens:name>"},
        {"&lt;b&gt; R&amp;D", "<ens:name>&amp;lt;b&amp;gt; R&amp;amp;D</ens:name>"},
        {"", "<ens:name/>"},
        {"tab\tand\x01\x0b bell\x07", "<ens:name>tab\tand bell</ens:name>"},
        {QString::fromUtf8("日本") + QChar(0xD800) + "x", "<ens:name>日本x</ens:name>"},
    };
    for (const Case& c : cases) {
        WriteFixture out;
        const QString wire = out.dump(newTextElement(out.doc, "name", "ens", c.value));
        EXPECT_EQ(wire, QString::fromUtf8(c.wire));
        XmlFixture in(wire.toUtf8().replace("<ens:name", "<ens:name xmlns:ens=\"urn:x\"").constData());
        const auto back = readText(in.root());
        if (c.value.isEmpty())
            EXPECT_FALSE(back);
        else
            EXPECT_EQ(back.value_or("<none>"), sanitizedXmlText(c.value));
    }
    EXPECT_EQ(qualifiedName("name", ""), "name");
    EXPECT_EQ(qualifiedName("name", "ens"), "ens:name");
}

TEST(Codec, ReadingKindsFromElementText)
{
    struct Case {
        const char* xml;
        const char* className;
        SoapValue expected;
    };
    const std::vector<Case> cases = {
        {"<v>  12.5kg</v>", "NSNumber", 12.5},
        {"<v>abc</v>", "NSNumber", 0.0},
        {"<v/>", "NSNumber", 0.0},
        {"<v>7</v>", "NSNumber", 7.0},
        {"<v>-1e3x</v>", "NSNumber", -1000.0},
        {"<v>true</v>", "USBoolean", USBoolean(true)},
        {"<v>false</v>", "USBoolean", USBoolean(false)},
        {"<v>TRUE</v>", "USBoolean", SoapValue()},
        {"<v>1</v>", "USBoolean", SoapValue()},
        {"<v> true</v>", "USBoolean", SoapValue()},
        {"<v/>", "USBoolean", SoapValue()},
        {"<v xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\" xsi:nil=\"true\"/>", "NSString", SoapValue()},
        {"<v xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\" xsi:nil=\"true\">kept</v>", "NSString", "kept"},
        {"<v>a<![CDATA[<b>]]>c<i>skipped</i></v>", "NSString", "a<b>c"},
        {"<v>2010-03-05T14:07:09Z</v>", "NSDate", QDateTime(QDate(2010, 3, 5), QTime(14, 7, 9), Qt::UTC)},
        {"<v/>", "NSDate", SoapValue()},
        {"<v>not a date</v>", "NSDate", SoapValue()},
        {"<v>QUJD</v>", "NSData", QByteArray("ABC")},
        {"<v>===</v>", "NSData", QByteArray("")},
        {"<v/>", "NSData", SoapValue()},
    };
    for (const Case& c : cases) {
        XmlFixture in(c.xml);
        const auto value = decodeCodecClass(c.className, in.root());
        ASSERT_TRUE(value) << c.xml;
        EXPECT_EQ(*value, c.expected) << c.xml << " as " << c.className;
    }
    XmlFixture in("<v>x</v>");
    EXPECT_FALSE(decodeCodecClass("ens_Unknown", in.root()));
}

TEST(Codec, WritingKinds)
{
    WriteFixture out;
    EXPECT_EQ(out.dump(writeValue(out.doc, "n", "ens", 3.0)), "<ens:n>3</ens:n>");
    EXPECT_EQ(out.dump(writeValue(out.doc, "n", "", 1.5)), "<n>1.5</n>");
    EXPECT_EQ(out.dump(writeValue(out.doc, "n", "", -42.0)), "<n>-42</n>");
    EXPECT_EQ(out.dump(writeValue(out.doc, "n", "", 0.1 + 0.2)), "<n>0.3</n>");
    EXPECT_EQ(out.dump(writeValue(out.doc, "b", "", USBoolean(false))), "<b>false</b>");
    EXPECT_EQ(out.dump(writeValue(out.doc, "d", "", QByteArray())), "<d/>");
    EXPECT_EQ(out.dump(writeValue(out.doc, "d", "", QByteArray("A"))), "<d>QQ==</d>");
    const QDateTime date(QDate(2010, 3, 5), QTime(23, 7, 9), Qt::UTC);
    EXPECT_EQ(out.dump(writeValue(out.doc, "t", "", date.toTimeZone(QTimeZone(9 * 3600)))), "<t>2010-03-05T23:07:09Z</t>");
}

TEST(Codec, Base64)
{
    struct Case {
        const char* text;
        std::optional<QByteArray> bytes;
    };
    const std::vector<Case> cases = {
        {"", QByteArray()},
        {"Zg==", QByteArray("f")},
        {"Zm8=", QByteArray("fo")},
        {"Zm9v", QByteArray("foo")},
        {"Zm9vYmFy", QByteArray("foobar")},
        {"QQ", QByteArray("A")},
        {"QQ==", QByteArray("A")},
        {"Q Q = =", QByteArray("A")},
        {"Zm9v\r\nYmFy\n", QByteArray("foobar")},
        {"====", QByteArray()},
        {"Zm9v*", std::nullopt},
        {"Zm9vé", std::nullopt},
        {"Zm9vY", std::nullopt},
    };
    for (const Case& c : cases)
        EXPECT_EQ(dataWithBase64EncodedString(QString::fromUtf8(c.text)), c.bytes) << c.text;
    QByteArray all;
    for (int i = 0; i < 256; ++i)
        all.append(char(i));
    const QString encoded = base64Encoding(all);
    EXPECT_EQ(encoded.size(), 4 * ((256 + 2) / 3));
    EXPECT_FALSE(encoded.contains('\n'));
    QString wrapped;
    for (qsizetype i = 0; i < encoded.size(); i += 76)
        wrapped += encoded.mid(i, 76) + "\n";
    EXPECT_EQ(dataWithBase64EncodedString(wrapped), all);
    EXPECT_EQ(base64Encoding(QByteArray()), "");
}

TEST(Codec, Enumerations)
{
    EXPECT_EQ(fns_ExceptionCode().count(), 78);
    EXPECT_EQ(SforceServiceSvc_StatusCode().count(), 158);
    EXPECT_EQ(SforceServiceSvc_fieldType().count(), 22);
    EXPECT_EQ(SforceServiceSvc_soapType().count(), 10);
    struct Case {
        const SoapEnumeration& enumeration;
        const char* name;
        qint32 value;
    };
    const std::vector<Case> cases = {
        {fns_ExceptionCode(), "INVALID_LOGIN", 33},
        {fns_ExceptionCode(), "CANT_ADD_STANDADRD_PORTAL_USER_TO_TERRITORY", 3},
        {fns_ExceptionCode(), "CANT_ADD_STANDARD_PORTAL_USER_TO_TERRITORY", 4},
        {fns_ExceptionCode(), "DUPLICATE_VALUE", 9},
        {fns_ExceptionCode(), "MALFORMED_QUERY", 55},
        {fns_ExceptionCode(), "UNSUPPORTED_API_VERSION", 77},
        {fns_FaultCode(), "UNSUPPORTED_CLIENT", 78},
        {SforceServiceSvc_StatusCode(), "ALREADY_IN_PROCESS", 1},
        {SforceServiceSvc_StatusCode(), "DUPLICATE_VALUE", 42},
        {SforceServiceSvc_StatusCode(), "INVALID_EMAIL_ADDRESS", 72},
        {SforceServiceSvc_StatusCode(), "REQUIRED_FIELD_MISSING", 136},
        {SforceServiceSvc_StatusCode(), "STORAGE_LIMIT_EXCEEDED", 141},
        {SforceServiceSvc_StatusCode(), "MAX_TASK_DESCRIPTION_EXCEEEDED", 116},
        {SforceServiceSvc_StatusCode(), "WRONG_CONTROLLER_TYPE", 158},
        {SforceServiceSvc_fieldType(), "picklist", 2},
        {SforceServiceSvc_fieldType(), "email", 19},
        {SforceServiceSvc_fieldType(), "anyType", 22},
        {SforceServiceSvc_soapType(), "xsd_anyType", 10},
        {SforceServiceSvc_DebugLevel(), "Db", 3},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.enumeration.fromString(c.name), c.value) << c.name;
        EXPECT_EQ(c.enumeration.toString(c.value), c.name);
    }
    for (const SoapEnumeration* e : {&fns_ExceptionCode(), &SforceServiceSvc_StatusCode(), &SforceServiceSvc_fieldType()}) {
        for (qint32 v = 1; v <= e->count(); ++v)
            EXPECT_EQ(e->fromString(e->toString(v)), v);
        EXPECT_EQ(e->toString(0), "");
        EXPECT_EQ(e->toString(-1), "");
        EXPECT_EQ(e->toString(e->count() + 1), "");
        EXPECT_FALSE(e->toString(0).isNull());
    }
    EXPECT_EQ(fns_ExceptionCode_enumFromString("invalid_login"), 0);
    EXPECT_EQ(fns_ExceptionCode_enumFromString(QString()), 0);
    EXPECT_EQ(SforceServiceSvc_DebugLevel_enumFromString("db"), 0);
    EXPECT_EQ(SforceServiceSvc_StatusCode_stringFromEnum(159), "");
}

TEST(Codec, NamespaceRegistry)
{
    registerTestRecordTypes();
    auto& table = USGlobals::sharedInstance().wsdlStandardNamespaces();
    EXPECT_EQ(&table, &USGlobals::sharedInstance().wsdlStandardNamespaces());
    EXPECT_EQ(table.value("urn:sobject.enterprise.soap.sforce.com"), "ens");
    EXPECT_EQ(table.value("urn:enterprise.soap.sforce.com"), "SforceServiceSvc");
    EXPECT_EQ(table.value("urn:fault.enterprise.soap.sforce.com"), "fns");
    EXPECT_EQ(table.value("http://www.w3.org/2001/XMLSchema"), "ns1");
    EXPECT_TRUE(table.value("urn:other").isNull());
}

namespace {

QDateTime utc(int y, int mo, int d, int h = 0, int mi = 0, int s = 0)
{
    return QDateTime(QDate(y, mo, d), QTime(h, mi, s), Qt::UTC);
}

// Midnight (or the given time) in the tests' zone, nine hours east of UTC.
QDateTime local(int y, int mo, int d, int h = 0, int mi = 0, int s = 0)
{
    return utc(y, mo, d, h, mi, s).addSecs(-9 * 3600);
}

}

TEST(Iso8601, Parsing)
{
    const QDateTime now = local(2026, 5, 15, 12, 0, 0);
    struct Case {
        const char* text;
        bool strict;
        std::optional<QDateTime> expected;
    };
    const std::vector<Case> cases = {
        {"2010-05-12T10:20:30.000Z", false, utc(2010, 5, 12, 10, 20, 30)},
        {"2010-05-12T10:20:30+09:00", false, utc(2010, 5, 12, 1, 20, 30)},
        {"2010-05-12T10:20:30-0130", false, utc(2010, 5, 12, 11, 50, 30)},
        {"2010-05-12", false, local(2010, 5, 12)},
        {"20100512", false, local(2010, 5, 12)},
        {"2010-132", false, local(2010, 5, 12)},
        {"2010132", false, local(2010, 5, 12)},
        {"2010-366", true, std::nullopt},
        {"2012-366", true, local(2012, 12, 31)},
        {"2009-W01-1", false, local(2008, 12, 29)},
        {"2010-W01", false, local(2010, 1, 4)},
        {"2010-W", true, std::nullopt},
        {"T10:20", false, local(2026, 5, 15, 10, 20)},
        {"T", false, std::nullopt},
        {"T10:20.5", false, local(2026, 5, 15, 10, 20, 30)},
        {"T10:66666666666666", false, std::nullopt},
        {"2010-05-12T10:20:219300000000000000000Z", false, std::nullopt},
        {" 2010-05-12", true, std::nullopt},
        {" 2010-05-12", false, local(2010, 5, 12)},
        {"10-05-12", false, local(2010, 5, 12)},
        {"--05-12", false, local(2026, 5, 12)},
        {"2010-02-30", false, local(2010, 3, 2)},
        {"12345", false, std::nullopt},
        {"123456789", false, std::nullopt},
        {"----5", false, std::nullopt},
        {"", false, std::nullopt},
        {"garbage", false, std::nullopt},
    };
    for (const Case& c : cases)
        EXPECT_EQ(dateWithString(c.text, c.strict, ':', nullptr, now), c.expected) << c.text << (c.strict ? " strict" : "");
    ISO8601Range range;
    EXPECT_TRUE(dateWithString(" 2010-05-12T10:20Z tail", false, ':', &range, now));
    EXPECT_EQ(range.location, 1);
    EXPECT_EQ(range.length, qsizetype(strlen("2010-05-12T10:20Z")));
    EXPECT_FALSE(dateWithString("T", false, ':', &range, now));
    EXPECT_EQ(range.location, -1);
}

TEST(Iso8601, Formatting)
{
    EXPECT_EQ(ISO8601DateString(utc(2026, 5, 15, 8, 30)), "2026-05-15T08:30:00Z");
    EXPECT_EQ(ISO8601DateStringWithTime(utc(2026, 5, 15, 8, 30), false), "2026-05-15");
    EXPECT_EQ(ISO8601DateStringWithTime(utc(2026, 5, 15, 8, 30, 5), true, '.'), "2026-05-15T08.30.05Z");
    EXPECT_EQ(ISO8601OrdinalDateStringWithTime(utc(2010, 5, 12), false), "2010-132");
    EXPECT_EQ(ISO8601OrdinalDateStringWithTime(utc(2010, 1, 2, 3, 4, 5), true), "2010-002T03:04:05Z");
    struct Case {
        QDateTime date;
        const char* week;
    };
    const std::vector<Case> cases = {
        {utc(2026, 5, 15), "2026-W20-05"},
        {utc(2010, 1, 1), "2009-W53-05"},
        {utc(2008, 12, 29), "2009-W01-01"},
        {utc(2010, 1, 4), "2010-W01-01"},
        {utc(2012, 1, 1), "2011-W52-07"},
        {utc(2024, 12, 30), "2025-W01-01"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ISO8601WeekDateStringWithTime(c.date, false), c.week) << c.week;
}
