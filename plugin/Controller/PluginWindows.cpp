#include "plugin/Controller/PluginWindows.h"

#include "plugin/Common/GlobalData.h"
#include "plugin/Controller/MainViewController.h"

PluginWindows::PluginWindows(GlobalData& global, MainViewController& flow)
    : login(global), accountSettings(global), uploadCards(global), upload(global), campaign(global), result(global)
{
    flow.setImmediateLogin([this] { login.ImmediateLogin(); });
    flow.setAccountSettings([this] { accountSettings.ShowAccountSettingView(); });
    flow.setViewStep(kViewLogin, [this] { login.ShowLoginView(); });
    flow.setViewStep(kViewWaiting, [this] { login.ShowWaitingView(); });
    flow.setShowUploadedCardsView([this] { uploadCards.ShowUploadedCardsView(); });
    flow.setViewStep(kViewUploadedCards, [this] { uploadCards.Run(); });
    flow.setShowUploadView([this] { upload.ShowUploadView(); });
    flow.setViewStep(kViewUpload, [this] { upload.Run(); });
    flow.setViewStep(kViewCampaignSearch, [this] { upload.SearchCampaignCompleted(campaign.ShowSearchCampaignView()); });
    flow.setViewStep(kViewResult, [this] {
        result.ShowResultView();
        result.Run();
    });
}
