// The upload window: the handed-over cards one at a time, each filed as a Lead or as a new Account
// with its Contact, uploaded alone or together with all the cards left (the same-way box), with a
// progress window for the batches. The end of the run hands one result per card to the result
// window, in the order of the card file.
#pragma once

#include "plugin/Common/CardInfo.h"
#include "plugin/Common/DoUploadResult.h"

#include <QTimer>

#include <memory>
#include <vector>

class CardHandler;
class GlobalData;
class QCheckBox;
class QComboBox;
class PluginDialog;
class QLabel;
class QProgressBar;
class QPushButton;
class QRadioButton;
struct Notification;

class UploadViewController {
public:
    enum Mode { kModeLead = 0, kModeNewAccount = 1 };

    explicit UploadViewController(GlobalData& global);
    ~UploadViewController();
    UploadViewController(const UploadViewController&) = delete;
    UploadViewController& operator=(const UploadViewController&) = delete;

    // Takes the cards to upload and sets the window up for the first one.
    void ShowUploadView();
    // The window's step of the window flow: modal until the run ends.
    void Run();

    void DoUpload();
    void DoSkip();
    void DoCancel();
    void DOProgressCancel();

    PluginDialog* _uploadView() const { return m_window; }
    PluginDialog* _progressView() const { return m_progressView; }

private:
    void RefreshFirstView();
    void ShowNextCard();
    void ChangeMode(int mode);
    bool CheckNullItem();
    void CheckCardinfoMSG();
    bool CheckCardinfoEnable();
    void lockCard();
    void startUpload(bool together);
    void OnUploadCompleted(const Notification& notification, bool together);
    void OnSingleCompleted(const std::shared_ptr<DoUploadResult>& result);
    void OnTogetherCompleted(const UploadResults& results);
    void UpdateUploadResultList(int status, int code);
    void ShowProgressView();
    void CloseProgressView();
    void WaitStatusView();
    void NormalStatusView();
    bool hasCurrentResult() const;
    std::shared_ptr<CardInfo> currentCard() const;
    QString failureMessage(const DoUploadResult& result) const;
    int cardsLeft() const { return int(m_uploadCardInfoList.size()) - m_currentCardIndex; }

    GlobalData& m_global;
    PluginDialog* m_window = nullptr;
    QLabel* _userNameLabel = nullptr;
    QLabel* _cardIndex = nullptr;
    QLabel* _orgNameLabel = nullptr;
    QLabel* _fullNameLabel = nullptr;
    QRadioButton* _leadUploadRadioBtn = nullptr;
    QRadioButton* _acUploadRadioBtn = nullptr;
    QComboBox* _leadSourceComboBox = nullptr;
    QComboBox* _leadStatusComboBox = nullptr;
    QCheckBox* _sameMethodUploadCheckBtn = nullptr;
    QPushButton* _uploadBtn = nullptr;
    QPushButton* _skipBtn = nullptr;
    QPushButton* _cancelBtn = nullptr;
    PluginDialog* m_progressView = nullptr;
    QProgressBar* _progressIndicator = nullptr;
    QPushButton* _uploadCancel = nullptr;
    QTimer m_progressTimer;

    std::vector<std::shared_ptr<CardInfo>> m_uploadCardInfoList;
    UploadResults m_uploadResultList;
    std::unique_ptr<CardHandler> m_cardHandler;
    int m_currentCardIndex = 0;
    int m_uploadMode = kModeLead;
    int m_skipErrorCode = 0;
    bool m_canUpload = true;
    bool m_isCanelled = false;
    bool m_uploadEnd = false;
    double m_totalTime = 0;
};
