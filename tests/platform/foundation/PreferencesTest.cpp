#include "platform/foundation/Bundle.h"
#include "platform/foundation/PlistFile.h"
#include "platform/foundation/PreferenceDomain.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

TEST(PreferenceDomain, TypedValueSurvivesWriteAndReread)
{
    QTemporaryDir dir;
    {
        PreferenceDomain prefs("com.example.test", dir.path());
        prefs.setValue("Main Window Width", 800);
        prefs.setValue("Show Trash", true);
        prefs.setValue("DB path", QStringLiteral("/tmp/x.cxdb"));
        ASSERT_TRUE(prefs.synchronize());
    }
    PreferenceDomain again("com.example.test", dir.path());
    EXPECT_TRUE(again.value("Main Window Width").isNumber());
    EXPECT_EQ(again.value("Main Window Width").toInteger(), 800);
    EXPECT_TRUE(again.value("Show Trash").isBool());
    EXPECT_EQ(again.value("DB path").toString(), "/tmp/x.cxdb");
    EXPECT_TRUE(again.value("absent").isNull());
}

TEST(PreferenceDomain, UnreadableFileGivesDefaultsAndWriteFailureIsReported)
{
    QTemporaryDir dir;
    QFile file(dir.filePath("com.example.bad.plist"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("<plist><dict><key>x");
    file.close();
    PreferenceDomain prefs("com.example.bad", dir.path());
    prefs.registerDefaults({{"General display items", true}});
    EXPECT_TRUE(prefs.value("General display items").toBool());
    EXPECT_FALSE(prefs.contains("x"));

    // A folder that cannot be made: its parent is a regular file.
    PreferenceDomain nowhere("com.example.none", dir.filePath("com.example.bad.plist/sub"));
    nowhere.setValue("a", 1);
    EXPECT_FALSE(nowhere.synchronize());
}

TEST(Bundle, MissingInfoKeysAndStringsAnswerDefaults)
{
    QTemporaryDir dir;
    Bundle empty(dir.path());
    EXPECT_TRUE(empty.objectForInfoDictionaryKey("PLLogOn").isNull());
    EXPECT_EQ(empty.localizedString("IDS_MSG_ERR_0001"), "IDS_MSG_ERR_0001");
    EXPECT_FALSE(empty.hasLocalizedString("IDS_MSG_ERR_0001"));

    ASSERT_TRUE(QDir(dir.path()).mkpath("en"));
    ASSERT_TRUE(writePlistFile(dir.filePath("en/Localizable.plist"), PlistValue::Dictionary{{"IDS_OK", "OK"}}));
    ASSERT_TRUE(writePlistFile(dir.filePath("Info.plist"), PlistValue::Dictionary{{"PLDiskSize", 512}}));
    Bundle full(dir.path());
    EXPECT_EQ(full.localizedString("IDS_OK"), "OK");
    EXPECT_TRUE(full.hasLocalizedString("IDS_OK"));
    EXPECT_EQ(full.objectForInfoDictionaryKey("PLDiskSize").toInteger(), 512);
}

TEST(Bundle, NamedImagesFallBackToTheDrawingOfTheSameName)
{
    QTemporaryDir dir;
    for (const char* file : {"Exact.tiff", "Exact.svg", "Drawn.svg", "Drawn.png", "Painted.png", "Bare.svg"}) {
        QFile image(dir.filePath(file));
        ASSERT_TRUE(image.open(QIODevice::WriteOnly));
    }
    const Bundle bundle(dir.path());
    const struct {
        const char* name;
        const char* found;
    } cases[] = {
        {"Exact.tiff", "Exact.tiff"}, // the file the code names comes first
        {"Drawn.tiff", "Drawn.svg"}, // then the drawing, SVG before PNG
        {"Painted.ico", "Painted.png"}, {"Bare", "Bare.svg"}, {"Missing.png", nullptr}, {"", nullptr},
    };
    for (const auto& c : cases) {
        const QString expected = c.found ? dir.filePath(c.found) : QString();
        EXPECT_EQ(bundle.pathForImageResource(c.name), expected) << c.name;
    }
}
