// The windows of one call of the plug-in, each registered with the window flow as its step.
#pragma once

#include "plugin/Controller/AccountsSettingViewController.h"
#include "plugin/Controller/LoginViewController.h"
#include "plugin/Controller/ResultViewController.h"
#include "plugin/Controller/SearchCampaignViewController.h"
#include "plugin/Controller/UploadCardsViewController.h"
#include "plugin/Controller/UploadViewController.h"

class GlobalData;
class MainViewController;

class PluginWindows {
public:
    PluginWindows(GlobalData& global, MainViewController& flow);

    LoginViewController login;
    AccountsSettingViewController accountSettings;
    UploadCardsViewController uploadCards;
    UploadViewController upload;
    SearchCampaignViewController campaign;
    ResultViewController result;
};
