// The upload window: the handed-over cards one at a time, each filed as a Lead (with a campaign
// chosen in the campaign search window), as a new Account with its Contact, or as a Contact under
// an existing Account found by a search; uploaded alone or together with all the cards left (the
// same-way box), with a progress window for the batches. The end of the run hands one result per
// card to the result window, in the order of the card file.
#pragma once

#include "plugin/Common/AccountInfo.h"
#include "plugin/Common/CardInfo.h"
#include "plugin/Common/DoUploadResult.h"

#include <QTimer>

#include <memory>
#include <vector>

class CardHandler;
class DisplayHandler;
class DisplayInfo;
class GlobalData;
class QCheckBox;
class QComboBox;
class PluginDialog;
class QDLTableView;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QWidget;
struct Notification;

class UploadViewController {
public:
    enum Mode { kModeLead = 0, kModeNewAccount = 1, kModeExistedAccount = 2 };

    explicit UploadViewController(GlobalData& global);
    ~UploadViewController();
    UploadViewController(const UploadViewController&) = delete;
    UploadViewController& operator=(const UploadViewController&) = delete;

    // Takes the cards to upload and sets the window up for the first one.
    void ShowUploadView();
    // The window's step of the window flow: modal until the run ends or the campaign search opens.
    void Run();

    void DoUpload();
    void DoSkip();
    void DoCancel();
    void DOProgressCancel();
    void DoSearchAC();
    void DoSearchCampaign();
    // The campaign search window has closed: its choice, or none when it was cancelled.
    void SearchCampaignCompleted(const std::shared_ptr<ens_Campaign>& campaign);
    void DoClearCampaign();
    void DoLeadUploadSelected();
    void DoACUploadSelected();
    void DoNewACUploadSelected();
    void DoExistedACUploadSelected();

    PluginDialog* _uploadView() const { return m_window; }
    PluginDialog* _progressView() const { return m_progressView; }

private:
    void RefreshFirstView();
    void ShowNextCard();
    void ChangeToLeadUpload(bool on);
    void ChangeToNewACUpload(bool on);
    void ChangeToExistedACUpload(bool on);
    void RefreshAccountTable(const QString& text, int kind);
    void OnGetAccountListCompleted(const Notification& notification);
    void setAccountRows(const AccountRows& rows);
    std::shared_ptr<ens_Account> selectedAccount() const;
    bool CheckNullItem();
    void CheckCardinfoMSG();
    bool CheckCardinfoEnable();
    void lockCard(bool asLead);
    void startUpload(bool together);
    void OnUploadCompleted(const Notification& notification, bool together);
    void OnSingleCompleted(const std::shared_ptr<DoUploadResult>& result);
    void OnTogetherCompleted(const UploadResults& results);
    // Cancel of an upload in flight, from `cancel` (the progress window's or the upload window's).
    void cancelUpload(QPushButton* cancel);
    void UpdateUploadResultList(int status, int code);
    void ShowProgressView();
    void CloseProgressView();
    void WaitStatusView();
    void NormalStatusView();
    void setCaptionsColour(const std::initializer_list<QWidget*>& captions, bool black);
    bool hasCurrentResult() const;
    std::shared_ptr<CardInfo> currentCard() const;
    const DisplayInfo& labels() const;
    QString failureMessage(int code, const QString& exceptionMessage, const QString& option) const;
    int cardsLeft() const { return int(m_uploadCardInfoList.size()) - m_currentCardIndex; }

    GlobalData& m_global;
    PluginDialog* m_window = nullptr;
    QLabel* _userNameLabel = nullptr;
    QLabel* _cardIndex = nullptr;
    QLabel* _orgNameLabel = nullptr;
    QLabel* _fullNameLabel = nullptr;
    QRadioButton* _acUploadRadioBtn = nullptr;
    QRadioButton* _leadUploadRadioBtn = nullptr;
    QLabel* _campaignNameLabel = nullptr;
    QLineEdit* _campaignText = nullptr;
    QWidget* _uploadModeMatrix = nullptr;
    QRadioButton* _newACUploadRadioBtn = nullptr;
    QRadioButton* _existedACUploadRadioBtn = nullptr;
    QLineEdit* _searchConditionText = nullptr;
    QLabel* _accountTableNameLabel = nullptr;
    QCheckBox* _sameMethodUploadCheckBtn = nullptr;
    QComboBox* _leadSourceComboBox = nullptr;
    QLabel* _leadSourceLabel = nullptr;
    QComboBox* _leadStatusComboBox = nullptr;
    QLabel* _leadStatusLabel = nullptr;
    QPushButton* _uploadBtn = nullptr;
    QPushButton* _skipBtn = nullptr;
    QPushButton* _cancelBtn = nullptr;
    QPushButton* _campaignClearBtn = nullptr;
    QPushButton* _campaignSearchBtn = nullptr;
    QPushButton* _accountSearchBtn = nullptr;
    QPushButton* _helpBtn = nullptr;
    QDLTableView* _accountTableView = nullptr;
    QLabel* _searchConditionLabel = nullptr;
    PluginDialog* m_progressView = nullptr;
    QProgressBar* _progressIndicator = nullptr;
    QPushButton* _uploadCancel = nullptr;
    QTimer m_progressTimer;

    AccountRows _accountListData;
    std::vector<std::shared_ptr<CardInfo>> m_uploadCardInfoList;
    UploadResults m_uploadResultList;
    std::unique_ptr<CardHandler> m_cardHandler;
    std::unique_ptr<DisplayHandler> m_displayHandler;
    std::shared_ptr<ens_Campaign> m_campaign;
    int m_currentCardIndex = 0;
    int m_uploadMode = kModeLead;
    int m_skipErrorCode = 0;
    int m_acSearchMode = 1;
    double m_totalTime = 0;
    bool m_canUpload = true;
    bool m_isCanelled = false;
    bool m_uploadEnd = false;
    bool m_acListNeedRefresh = true;
    bool m_acFocus = true;
    bool m_existedACUpload = false;
    bool m_uploaded = false;
    bool m_querying = false;
};
