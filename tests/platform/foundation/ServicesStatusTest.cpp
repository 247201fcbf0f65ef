#include "platform/foundation/PlistFile.h"
#include "platform/foundation/ServicesStatus.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

TEST(ServicesStatus, OnlyAnExplicitOffFlagDisablesTheService)
{
    QTemporaryDir dir;
    qputenv("XDG_CONFIG_HOME", dir.path().toUtf8());
    EXPECT_EQ(servicesStatusFilePath(), dir.path() + "/com.orvane.zor/pbs.plist");
    EXPECT_TRUE(isServiceEnabled(kPelmoraSearchServiceKey)) << "no file";

    ASSERT_TRUE(QDir().mkpath(dir.path() + "/com.orvane.zor"));
    struct Case {
        PlistValue entry;
        bool enabled;
    };
    const Case cases[] = {
        {PlistValue::Dictionary{{kServicesMenuEnabledKey, false}}, false},
        {PlistValue::Dictionary{{kServicesMenuEnabledKey, true}}, true},
        {PlistValue::Dictionary{{kServicesMenuEnabledKey, "NO"}}, true},
        {PlistValue::Dictionary{}, true},
        {PlistValue("not a dictionary"), true},
    };
    for (const Case& c : cases) {
        const PlistValue root(PlistValue::Dictionary{
            {kServicesStatusKey, PlistValue::Dictionary{{kPelmoraSearchServiceKey, c.entry},
                                                        {"other - Service - x", PlistValue::Dictionary{{kServicesMenuEnabledKey, false}}}}}});
        ASSERT_TRUE(writePlistFile(servicesStatusFilePath(), root, PlistFormat::Binary));
        EXPECT_EQ(isServiceEnabled(kPelmoraSearchServiceKey), c.enabled);
    }
    qunsetenv("XDG_CONFIG_HOME");
}
