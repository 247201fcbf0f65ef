// The campaign search window: the user types a keyword, the service's campaigns whose name holds it
// are listed (all of them for an empty keyword), and a click or Enter on a row hands that campaign
// back to the upload window. Cancel or the close box hand back none.
#pragma once

#include "plugin/Common/AccountInfo.h"

#include <memory>

class DisplayHandler;
class GlobalData;
class PluginDialog;
class QDLTableView;
class QLabel;
class QLineEdit;
class QPushButton;
struct Notification;

class SearchCampaignViewController {
public:
    explicit SearchCampaignViewController(GlobalData& global);
    ~SearchCampaignViewController();
    SearchCampaignViewController(const SearchCampaignViewController&) = delete;
    SearchCampaignViewController& operator=(const SearchCampaignViewController&) = delete;

    // Runs the window modally; the chosen campaign, or none.
    std::shared_ptr<ens_Campaign> ShowSearchCampaignView();

    void DoGO();
    void ClickedTable();
    void DoCancel();

    PluginDialog* _searchCampaignView() const { return m_window; }

private:
    void GetCampaignList();
    void OnGetCampaignListCompleted(const Notification& notification);
    void RefreshViewLabel();
    void setRows(const CampaignRows& rows);
    void WaitStausView();
    void NormalStausView();

    GlobalData& m_global;
    PluginDialog* m_window = nullptr;
    QLabel* _searchConditionLabel = nullptr;
    QLabel* _tableNameLabel = nullptr;
    QLineEdit* _searchConditionText = nullptr;
    QDLTableView* _campaignList = nullptr;
    QPushButton* _searchBtn = nullptr;
    QPushButton* _cancelBtn = nullptr;
    QPushButton* _helpBtn = nullptr;
    CampaignRows _campaignListData;
    std::unique_ptr<DisplayHandler> m_displayHandler;
    std::shared_ptr<ens_Campaign> m_selectedCampaign;
    bool m_invildSelEventFlag = false;
    bool m_canSearch = true;
};
