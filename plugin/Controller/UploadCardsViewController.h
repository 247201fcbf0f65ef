// Between the login and the upload window: loads the service's labels, finds which cards the
// service already holds and, when there are such cards, lets the user tick those to upload again.
#pragma once

#include "plugin/Common/GlobalData.h"

class PluginDialog;
class QCheckBox;
class QPushButton;
class QTableWidget;

class UploadCardsViewController {
public:
    explicit UploadCardsViewController(GlobalData& global);
    ~UploadCardsViewController();
    UploadCardsViewController(const UploadCardsViewController&) = delete;
    UploadCardsViewController& operator=(const UploadCardsViewController&) = delete;

    // Runs while the waiting window is up; leaves the view code at this window, the upload
    // window or the end of the run.
    void ShowUploadedCardsView();
    void Run();
    void DoOK();
    void DoSelectAll(bool on);

    PluginDialog* _uploadCardsView() const { return m_window; }

private:
    void DoSelectOne();

    GlobalData& m_global;
    PluginDialog* m_window = nullptr;
    QCheckBox* _selectAllCheckBtn = nullptr;
    QPushButton* _OKButton = nullptr;
    QTableWidget* tblistCtler = nullptr;
    GlobalData::CardList m_cardInfoList;
};
