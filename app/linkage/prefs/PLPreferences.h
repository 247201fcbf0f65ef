// The preferences window: General, Export items and App List pages. Every setting is stored when
// the window closes, which then posts "Pelmora Preferences window close notification" with the
// chosen recognition language and export format. Main thread only.
#pragma once

#include "app/linkage/PLExtAppInfoForm.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QList>
#include <QPointer>
#include <QPushButton>
#include <QSize>
#include <QStackedWidget>

#include <cstdint>
#include <memory>
#include <utility>

class PLAppListBtnView;
class PLAppListTableView;
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
    // The recognition language and export format the main window's bars show now (their states,
    // as the close notification carries them): the pop-ups take the ones the user changed there
    // since, so that closing the window keeps the user's last choice.
    void takeBarChoices(int recognizeState, int exportState);

    void loadGeneralView();
    void loadExportItemView();
    void showAppListView();

    // Reordering the App List page's rows by dragging: the dragged row is remembered, a drop is
    // valid only between rows and not next to the dragged row, and accepting moves the row there.
    bool writeRowsWithIndexes(int row);
    bool validateDrop(int row, bool above) const;
    bool acceptDrop(int row);

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
    void showPanel();
    void switchPage(QWidget* page, QSize size, const QString& titleKey, QWidget* firstResponder);
    void windowWillClose();

    // The App List page.
    void getAllApplicationsInfoFromPlist();
    void updateAppListView();
    void _updateOperationButton();
    void onAppDefaultSetClick();
    void onAddCustomApp();
    void onRemoveCustomApp();
    void setLinkedAppConfig();
    int saveExtAppList();
    void selectAppRow(int row);

    // The custom-application sheet: add (row null) or edit one of the user's own applications.
    void buildCustomAppSettingWnd();
    void _showCustomAppSettingWndWithAppProfile(const PLExtAppInfoForm* row);
    void setExtAppInfoFromUIFor(PLExtAppInfoForm* form) const;
    void onSelectCustomAppPath();
    void _displayCustomAppExtTypePopupBtnWithType(int type);
    void _updateAppSettingWndOKBtn();
    void _updateAppLaunchTestBtn();
    void onLinkTestBtnClick();
    void onAgreeToAddCustomApp();
    void onConfigCustomAppCancel();

    QPointer<QDialog> _panel;
    QStackedWidget* m_pages = nullptr;
    QActionGroup* m_toolbarItems = nullptr;
    QWidget* _GeneralView = nullptr;
    QWidget* _ExportItemView = nullptr;
    QWidget* _viewAppListManage = nullptr;
    // Each page's size as first shown, which the window takes whenever the page is shown.
    QSize GeneralViewRectangle;
    QSize ExportItemViewRectangle;
    QSize _rectViewAppListRectangle;

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

    PLAppListTableView* _appTableView = nullptr;
    PLAppListBtnView* _viewButtonBanner = nullptr;
    QPushButton* _btnAddCustomApp = nullptr;
    QPushButton* _btnRemoveCustomApp = nullptr;
    QPushButton* _btnAppSetting = nullptr;
    QPushButton* _btnDefaultApp = nullptr;
    QList<PLExtAppInfoForm> _appsListArray;
    QList<PLExtAppInfoForm> _arrAppListRemoved;
    int _nDraggedRow = 0;

    QDialog* _wndAppSetting = nullptr;
    QLineEdit* _txtfieldCustomAppName = nullptr;
    QLineEdit* _txtfieldCustomAppPath = nullptr;
    QLineEdit* _txtfieldAppInstruction = nullptr;
    QComboBox* _popbtnExportType = nullptr;
    QPushButton* _btnSelectCustomApp = nullptr;
    QPushButton* _btnExport = nullptr;
    QPushButton* _btnAppSettingWndOK = nullptr;
    int m_appSettingWndTag = 0;   // the OK button's tag: 1 adding, 2 editing
    std::unique_ptr<PLSalesforceWndCtrl> _WndCtrlSalesForce;
};
