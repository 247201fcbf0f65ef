// The help buttons of the plug-in's windows open pages of the host's help book, found from where
// the bundle is staged.
#include "plugin/Common/CommonFuc.h"
#include "plugin/Controller/PluginHelp.h"
#include "platform/workspace/HelpBook.h"

#include <gtest/gtest.h>

namespace {

TEST(PluginHelp, EveryWindowsPageIsInTheHostsHelpBook)
{
    CommonFuc::setBundleResourcePath(qEnvironmentVariable("PELMORA_STAGE_DIR") + "/Bundles/Quendrel.bundle/Contents/Resources");
    for (const char* anchor : {"db_cloud_login.html", "db_cloud_account.html", "db_cloud_registered.html", "db_cloud_select.html",
             "db_cloud_result.html", "db_cloud_campaign.html"})
        EXPECT_FALSE(HelpBook::pagePath(PluginHelp::hostResources(), QString::fromLatin1(anchor)).isEmpty()) << anchor;
}

}
