#include "TestBundle.h"

#include "app/core/DiskUtilities.h"
#include "app/core/Identifiers.h"
#include "app/core/LocalString.h"
#include "app/core/Logging.h"
#include "app/core/StringUtilities.h"
#include "app/core/VersionUtilities.h"

#include <QRegularExpression>
#include <QSet>
#include <gtest/gtest.h>

#include <cstdio>
#include <unistd.h>

TEST(StringUtilities, TrimmingRules)
{
    EXPECT_EQ(blankAndNewLineCharacters(), QString::fromUtf16(u"\t \u3000\n\r\u0085\u2028"));
    EXPECT_EQ(blankAndNewLineCharacters().size(), 7);

    EXPECT_EQ(StrNullToEmpty(QVariant()), "");
    EXPECT_FALSE(StrNullToEmpty(QVariant()).isNull());
    EXPECT_EQ(StrNullToEmpty(QVariant::fromValue(nullptr)), "");
    EXPECT_EQ(StrNullToEmpty(QString()), "");
    EXPECT_EQ(StrNullToEmpty(QString::fromUtf16(u"\t\u3000 ab c \u00A0")), "ab c");
    EXPECT_EQ(StrNullToEmpty(QStringLiteral("\n ab \n")), "\n ab \n") << "line ends are not white space here";

    EXPECT_TRUE(stringByTrimmingCharactersFromEnd(QString()).isNull());
    EXPECT_EQ(stringByTrimmingCharactersFromEnd(QStringLiteral("  ab  ")), "  ab");
    EXPECT_EQ(stringByTrimmingCharactersFromEnd(QStringLiteral(" \t ")), "");
    EXPECT_EQ(stringByTrimmingCharactersFromEnd(QStringLiteral("ab\n\r\u2028"), blankAndNewLineCharacters()), "ab");
    EXPECT_EQ(stringByTrimmingCharactersFromEnd(QStringLiteral("ab\n"), QString()), "ab\n");
    EXPECT_EQ(stringByTrimmingCharactersFromEnd(QStringLiteral("abxx"), QStringLiteral("x")), "ab");
}

TEST(StringUtilities, UnicharLength)
{
    const char16_t withZero[] = {u'a', u'b', 0, u'c'};
    const char16_t noZero[] = {u'a', u'b', u'c', u'd'};
    EXPECT_EQ(get_unicharLen(nullptr, 4), -1);
    EXPECT_EQ(get_unicharLen(withZero, 0), 0);
    EXPECT_EQ(get_unicharLen(withZero, -3), 0);
    EXPECT_EQ(get_unicharLen(withZero, 4), 2);
    EXPECT_EQ(get_unicharLen(noZero, 4), 4);
    EXPECT_EQ(get_unicharLen(noZero, 3), 3);
}

TEST(Identifiers, CanonicalUpperCaseAndUnique)
{
    const QRegularExpression canonical(QStringLiteral("^[0-9A-F]{8}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{12}$"));
    QSet<QString> seen;
    for (int i = 0; i < 100; ++i) {
        for (const QString& id : {getUUID(), generateUID()}) {
            EXPECT_TRUE(canonical.match(id).hasMatch()) << id.toStdString();
            seen.insert(id);
        }
    }
    EXPECT_EQ(seen.size(), 200);
}

TEST(FileName, CleansLeadingDotColonsAndSlashes)
{
    EXPECT_EQ(checkFileName(QStringLiteral(".a:b/c"), false), "_a_b_c");
    EXPECT_EQ(checkFileName(QStringLiteral("/x/.y:z"), true), "/x/_y_z");
    EXPECT_EQ(checkFileName(QStringLiteral("/.x/a.b"), true), "/.x/a.b") << "the parent path is left alone";
    EXPECT_EQ(checkFileName(QStringLiteral("a..b"), false), "a..b");
    EXPECT_EQ(checkFileName(QStringLiteral("..:"), false), "_._");
}

TEST(Versions, FromInfoPlist)
{
    const struct {
        PlistValue version;
        const char* current;
        const char* product;
    } cases[] = {
        {"3", "3.0", "V3"},
        {"3.2", "3.2", "V32"},
        {"3.2.1", "3.2", "V32L1"},
        {"3.2.1.7", "3.2", "V32L1"},
        {"", ".0", ""},
    };
    for (const auto& c : cases) {
        TestBundle bundle({{"CFBundleShortVersionString", c.version}});
        EXPECT_EQ(getCurrentPLVersion(), QString::fromLatin1(c.current)) << c.current;
        EXPECT_EQ(getProductVersion(), QString::fromLatin1(c.product)) << c.product;
        EXPECT_FALSE(getProductVersion().isNull());
    }
    TestBundle numeric({{"CFBundleShortVersionString", 3}, {"Database Version", 2}});
    EXPECT_EQ(getCurrentPLVersion(), "");
    EXPECT_TRUE(getProductVersion().isNull());
    EXPECT_EQ(getDatabaseVersion(), 2);
    TestBundle textual({{"Database Version", "2"}});
    EXPECT_EQ(getDatabaseVersion(), 1);
}

TEST(Versions, MalformedOrMissingInfoPlistGivesDefaults)
{
    TestBundle bundle({{"Database Version", 2}});
    bundle.writeRaw(QStringLiteral("Info.plist"), "<?xml version=\"1.0\"?><plist><dict><key>Database Version</key>");
    EXPECT_EQ(getDatabaseVersion(), 1);
    EXPECT_EQ(getCurrentPLVersion(), "");
    EXPECT_TRUE(getProductVersion().isNull());

    Bundle::setMain(QStringLiteral("/nonexistent/bundle"));
    EXPECT_FALSE(hasMainBundle());
    EXPECT_EQ(getDatabaseVersion(), 1);
    EXPECT_TRUE(getLocalString(QStringLiteral("IDS_BUTTON_MSG_OK")).isNull());
    EXPECT_EQ(getDefaultDisplayMode(), kDisplayModeAllColumns);
}

TEST(Versions, SystemVersionAndProperKey)
{
    EXPECT_EQ(getSystemVersion(), 0x1080);
    EXPECT_TRUE(getProperKey(QString()).isNull());
    EXPECT_EQ(getProperKey(QStringLiteral("")), "");
    EXPECT_FALSE(getProperKey(QStringLiteral("")).isNull());
    EXPECT_EQ(getProperKey(QStringLiteral("IDS_CONNECT_APP_ADDRESSBOOK")), "IDS_CONNECT_APP_ADDRESSBOOK_OS108");
}

TEST(Versions, DefaultDisplayModeAndSortCheck)
{
    const struct {
        const char* langId;   // null: no entry
        int mode;
    } cases[] = {{"11", 0xFFFF}, {"19", 0xFFFF}, {" 33", 0xFFFF}, {"1", 0xFFF5}, {"12x", 0xFFF5}, {nullptr, 0xFFF5}};
    for (const auto& c : cases) {
        PlistValue::Dictionary strings;
        if (c.langId)
            strings.insert("IDS_RESOURCE_LANG_ID", c.langId);
        TestBundle bundle({{"CFBundleName", "Pelmora"}}, strings);
        EXPECT_EQ(getDefaultDisplayMode(), c.mode) << (c.langId ? c.langId : "none");
    }
    EXPECT_EQ(kDisplayModeWithoutReadings, 65525);

    EXPECT_FALSE(checkSortDescriptors(QString(), 0xFFFF));
    EXPECT_TRUE(checkSortDescriptors(QStringLiteral("full_Name_Kana"), 0xFFFF));
    EXPECT_FALSE(checkSortDescriptors(QStringLiteral("full_Name_Kana"), 0xFFF5));
    EXPECT_FALSE(checkSortDescriptors(QStringLiteral("company_Kana"), 0xFFF5));
    EXPECT_TRUE(checkSortDescriptors(QStringLiteral("company_Kana"), 0xFFF5 | 8));
    EXPECT_TRUE(checkSortDescriptors(QStringLiteral("company"), 0));
}

TEST(Logging, SwitchOffWritesNothing)
{
    const bool was = isLogOn();
    std::fflush(stdout);
    const int saved = dup(STDOUT_FILENO);
    FILE* capture = std::tmpfile();
    dup2(fileno(capture), STDOUT_FILENO);

    setLogOn(false);
    const int offCount = PLprintf(QStringLiteral("%d%%|%@"), 42, QStringLiteral("off"));
    setLogOn(true);
    const int onCount = PLprintf(QStringLiteral("%d%%|%@"), 42, QStringLiteral("%s on"));
    setLogOn(was);

    std::fflush(stdout);
    dup2(saved, STDOUT_FILENO);
    close(saved);
    std::rewind(capture);
    char buffer[64] = {};
    const size_t read = std::fread(buffer, 1, sizeof buffer - 1, capture);
    std::fclose(capture);
    EXPECT_EQ(offCount, 0);
    EXPECT_EQ(QByteArray(buffer, static_cast<int>(read)), "42%|%s on");
    EXPECT_EQ(onCount, 9);
}
