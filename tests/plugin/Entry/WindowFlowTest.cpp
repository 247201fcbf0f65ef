// The window loop: the stored-login step chooses the first window, each window the next one, and
// a view code without a window ends the flow.
#include "plugin/Common/GlobalData.h"
#include "plugin/Controller/MainViewController.h"
#include "platform/foundation/NotificationCenter.h"

#include <QStringList>

#include <gtest/gtest.h>

namespace {

TEST(WindowFlow, EachWindowChoosesTheNextUntilTheFlowEnds)
{
    GlobalData global;
    MainViewController flow(global);
    QStringList shown;
    auto window = [&](const char* name, int next, const char* handOver = nullptr) {
        return [&, name, next, handOver] {
            shown.append(name);
            if (handOver)
                NotificationCenter::defaultCenter().post(handOver);
            global.setViewCode(next);
        };
    };
    flow.setImmediateLogin([&] { global.setViewCode(kViewWaiting); });
    flow.setViewStep(kViewWaiting, window("waiting", kViewLogin));
    flow.setViewStep(kViewLogin, window("login", kViewUploadedCards, kQDLEVENTCOSHOWCARDSVIEW));
    flow.setViewStep(kViewUploadedCards, window("uploaded cards", kViewUpload, kQDLEVENTCOSHOWUPLOADVIEW));
    flow.setViewStep(kViewUpload, window("upload", kViewCampaignSearch, kQDLEVENTCOSHOWCARDSVIEW));
    flow.setViewStep(kViewCampaignSearch, window("campaign search", kViewResult));
    flow.setViewStep(kViewResult, window("result", 6));
    flow.setShowUploadedCardsView([&] { shown.append("prepare uploaded cards"); });
    flow.setShowUploadView([&] { shown.append("prepare upload"); });
    bool settings = false;
    flow.setAccountSettings([&] { settings = true; });

    flow.Run(false);
    EXPECT_EQ(shown, (QStringList{"waiting", "login", "prepare uploaded cards", "uploaded cards", "prepare upload", "upload",
                         "campaign search", "result"}));
    EXPECT_EQ(global.ViewCode(), kViewNone);
    EXPECT_FALSE(settings);

    shown.clear();
    flow.Run(true);
    EXPECT_TRUE(settings);
    EXPECT_TRUE(shown.isEmpty());
}

}
