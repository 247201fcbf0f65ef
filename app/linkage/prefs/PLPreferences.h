// The preferences window: General, Export items and App List pages. Every setting is stored when
// the window closes, which then posts "Pelmora Preferences window close notification" with the
// chosen recognition language and export format. Main thread only.
#pragma once

#include "app/linkage/PLExtAppInfoForm.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QList>
#include <QPointer>
#include <QPushButton>
#include <QStackedWidget>
#include <QTableWidget>

#include <cstdint>
#include <memory>
#include <utility>

class PLSalesforceWndCtrl;
class QActionGroup;

inline constexpr char kPreferencesClosedNotification[] = "Pelmora Preferences window close notification";
inline constexpr char kPreferencesRecognizeStateKey[] = "Pelmora userinfo key of preferences recognize state";
inline constexpr char kPreferencesExportStateKey[] = "Pelmora userinfo key of preferences export state";

class PLPreferences {
public:
    static constexpr uint32_t kDefaultExportSetting = 4613;

    PLPreferences();
    ~PLPreferences();

    QDialog* window() const { return _panel; }
    void showWindow();
    // Brings the panel to the front and centres it.
    void regulatePreferencesWindow();
    void closePreferencesWindow();
    void setIsCheckAutoRunMergeCardFunc(bool on);

    void loadGeneralView();
    void loadExportItemView();
    void showAppListView();

private:
    void buildGeneralView();
    void buildExportItemView();
    void buildAppListView();
    void initailizeRecognizeButton();
    void setRecognizeButtonByDefault();
    void selectLanguageOfRecognization(int tag);
    void initailizeExportButton();
    void selectExportFormat(int format);
    void initailizeConncetToAddressBookButton();
    void setUIFromPreferencesOrByDefault();
    void updateUI();
    void ExportItemViewDefaultSetting();
    void getUISetting(QCheckBox* box, uint32_t bit);
    void onSettingDisplay();
    void switchPage(QWidget* page, const QString& titleKey, QWidget* firstResponder);
    void windowWillClose();

    // The App List page.
    void getAllApplicationsInfoFromPlist();
    void updateAppListView();
    void onAppDefaultSetClick();
    void onRemoveCustomApp();
    void setLinkedAppConfig();
    int saveExtAppList();

    QPointer<QDialog> _panel;
    QStackedWidget* m_pages = nullptr;
    QActionGroup* m_toolbarItems = nullptr;
    QWidget* _GeneralView = nullptr;
    QWidget* _ExportItemView = nullptr;
    QWidget* _viewAppListManage = nullptr;

    QComboBox* _recognizeButton = nullptr;
    QComboBox* _exportButton = nullptr;
    QComboBox* _connectButton = nullptr;
    QComboBox* _PhotosButton = nullptr;
    QCheckBox* _checkDisplay = nullptr;
    QCheckBox* _checkAutoAddressbookSynchronous = nullptr;
    QCheckBox* _checkAutoiPhoneRegister = nullptr;
    QCheckBox* _checkAutoRunMergeCardFunc = nullptr;
    QCheckBox* _deleteBackImageCheckBox = nullptr;
    QList<std::pair<QCheckBox*, uint32_t>> m_exportBoxes;   // the name box first
    QCheckBox* _checkCompanyS = nullptr;
    QCheckBox* _checkMemo = nullptr;
    QCheckBox* _checkDate = nullptr;

    int _iRecognizeButtonState = 11;
    int _iExportButtonState = 1;
    int _iConnectAPPState = 1;
    int _PhotosState = 1;
    uint32_t _iExportSetting = kDefaultExportSetting;
    bool _IsCheckDisplay = false;
    bool _IsCheckAutoAddressBookSynchronous = false;
    bool _IsCheckAutoiPhoneRegister = false;

    QTableWidget* _appTableView = nullptr;
    QPushButton* _btnRemoveCustomApp = nullptr;
    QPushButton* _btnAppSetting = nullptr;
    QPushButton* _btnDefaultApp = nullptr;
    QList<PLExtAppInfoForm> _appsListArray;
    QList<PLExtAppInfoForm> _arrAppListRemoved;
    std::unique_ptr<PLSalesforceWndCtrl> _WndCtrlSalesForce;
};
