// The plug-in's preference domain, its time-outs and the log filter.
#include "plugin/Common/GlobalData.h"
#include "plugin/Common/LogManager.h"
#include "plugin/Common/PluginPreferences.h"

#include <QStringList>

#include <gtest/gtest.h>

namespace {

TEST(PluginPreferences, TimeOutsAreWholeSecondsOfAtLeastOneSecond)
{
    struct Case {
        PlistValue stored;
        double seconds;
    } const cases[] = {
        {PlistValue(int64_t(999)), 30.0},
        {PlistValue(int64_t(1000)), 1.0},
        {PlistValue(int64_t(1500)), 1.0},
        {PlistValue(int64_t(45500)), 45.0},
        {PlistValue(int64_t(-5000)), 30.0},
        {PlistValue("45500"), 30.0},
        {PlistValue(), 30.0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(PluginPreferences::timeOutSeconds(c.stored, 30.0), c.seconds);
}

TEST(PluginPreferences, MissingValuesAreWrittenButTheFallbackHoldsForThisCall)
{
    PreferenceDomain preferences = PluginPreferences::domain();
    preferences.remove(kPrefLogLevel);
    preferences.remove(kPrefTimeOut);
    preferences.setValue(kPrefAddTimeOut, PlistValue(int64_t(7000)));
    ASSERT_TRUE(preferences.synchronize());

    GlobalData global;
    PluginPreferences::loadTimeOuts(global);
    EXPECT_EQ(global.SFADDTimeOut(), 7.0);
    EXPECT_EQ(global.SFTimeOut(), 30.0);

    PreferenceDomain written = PluginPreferences::domain();
    EXPECT_EQ(written.value(kPrefLogLevel), PlistValue(int64_t(1)));
    EXPECT_EQ(written.value(kPrefTimeOut), PlistValue(int64_t(30000)));
    EXPECT_EQ(written.value(kPrefAddTimeOut), PlistValue(int64_t(7000)));

    written.setValue(kPrefTimeOut, PlistValue(int64_t(2000)));
    ASSERT_TRUE(written.synchronize());
    PluginPreferences::loadTimeOuts(global);
    EXPECT_EQ(global.SFTimeOut(), 2.0);
}

TEST(LogManager, LinesCarryTheLevelWordUpToTheChosenLevel)
{
    struct Case {
        int level;
        int maxLevel;
        const char* line;
    } const cases[] = {
        {1, 1, "ERROR|text"},
        {2, 1, ""},
        {2, 2, "WAENING|text"},
        {3, 3, "INFORMATION|text"},
        {3, 2, ""},
        {1, 4, ""},
        {0, 3, ""},
        {4, 3, ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(LogManager::lineFor(c.level, c.maxLevel, "text"), QString(c.line)) << c.level << " under " << c.maxLevel;
}

TEST(LogManager, TheDefaultLevelWritesErrorsOnly)
{
    QStringList lines;
    LogManager::setSink([&](const QString& line) { lines.append(line); });
    EXPECT_TRUE(LogManager::LogOutput(kLogError, "it failed"));
    EXPECT_FALSE(LogManager::LogOutput(kLogInformation, "it ran"));
    LogManager::setSink({});
    EXPECT_EQ(lines, QStringList{"ERROR|it failed"});
}

}
