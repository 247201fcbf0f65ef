#include "app/linkage/prefs/PLPreferences.h"

#include "app/core/ApplicationLookup.h"
#include "app/core/LocalString.h"
#include "app/core/PLMessage.h"
#include "app/export/PhotoApplications.h"
#include "app/linkage/PLExtAppController.h"
#include "app/linkage/prefs/PLAppListTableView.h"
#include "app/linkage/prefs/PLSalesforceWndCtrl.h"
#include "app/linkage/prefs/PrefsControls.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/NotificationCenter.h"
#include "platform/foundation/PreferenceDomain.h"

#include <QAction>
#include <QActionGroup>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QListView>
#include <QScreen>
#include <QToolBar>
#include <QVBoxLayout>

#include <optional>

namespace {

const QString kDisplayKey = QStringLiteral("General display items");
const QString kAddressBookSyncKey = QStringLiteral("Auto addressbook synchronous items");
const QString kPhotoRegisterKey = QStringLiteral("Auto iphone register items");
const QString kExportItemsKey = QStringLiteral("Export items");
const QString kPhotosStateKey = QStringLiteral("conncet to Photos state");
const QString kPhotosInstallKey = QStringLiteral("check Photos install info");
const QString kMergeKey = QStringLiteral("Auto run merge card function items");
const QString kDeleteBackKey = QStringLiteral("Delete back image after merging operation items");
const QString kRecognizeKey = QStringLiteral("recognize language");
const QString kExportModeKey = QStringLiteral("export mode");
const QString kAddressBookStateKey = QStringLiteral("conncet to addressBook state");
constexpr int kAutoLanguage = 11;

struct Language {
    int tag;
    const char* titleKey;
    const char* image;
};
// Menu order of the recognition languages; a separator follows Auto and Japanese.
constexpr Language kLanguages[] = {
    {11, "IDS_RECOGNIZE_LANGUAGE_AUTO", "OCR_AUTO.png"},
    {1, "IDS_RECOGNIZE_LANGUAGE_ENGLISH", "OCR_EN.png"},
    {6, "IDS_RECOGNIZE_LANGUAGE_FRENCH", "OCR_FR.png"},
    {5, "IDS_RECOGNIZE_LANGUAGE_GERMAN", "OCR_DE.png"},
    {7, "IDS_RECOGNIZE_LANGUAGE_ITALIAN", "OCR_IT.png"},
    {8, "IDS_RECOGNIZE_LANGUAGE_SPANISH", "OCR_ES.png"},
    {9, "IDS_RECOGNIZE_LANGUAGE_RUSSIAN", "OCR_RU.png"},
    {10, "IDS_RECOGNIZE_LANGUAGE_PORTUGUESE", "OCR_PT.png"},
    {0, "IDS_RECOGNIZE_LANGUAGE_JAPANESE", "OCR_JP.png"},
    {3, "IDS_RECOGNIZE_LANGUAGE_CHINESE_SIMPLIFIED", "OCR_CS.png"},
    {2, "IDS_RECOGNIZE_LANGUAGE_CHINESE_TRADITIONAL", "OCR_CT.png"},
    {4, "IDS_RECOGNIZE_LANGUAGE_KOREAN", "OCR_KR.png"},
};

struct ExportFormat {
    const char* titleKey;
    const char* image;
};
// By format: the photo application, vCard, CSV, text, ContactXML.
constexpr ExportFormat kExportFormats[] = {
    {"IDS_FILE_EXPORT_TYPE_IPHOTO", "iPhoto.tiff"}, {"IDS_FILE_EXPORT_TYPE_VCARD", "VCard.tiff"},
    {"IDS_FILE_EXPORT_TYPE_CSV", "CSV.tiff"},       {"IDS_FILE_EXPORT_TYPE_TEXT", "TXT.tiff"},
    {"IDS_FILE_EXPORT_TYPE_XML", "xml.png"},
};
// The bits of "recognize language" in the order they are tested.
constexpr int kLanguageBitOrder[] = {11, 0, 1, 3, 2, 5, 8, 6, 7, 4, 10, 9};

struct ExportBox {
    const char* outlet;
    const char* titleKey;
    uint32_t bit;
};
constexpr ExportBox kExportBoxes[] = {
    {"_checkName", "IDS_NAME", 0x1},          {"_checkNameS", "IDS_NAME_READING", 0x2},
    {"_checkCompany", "IDS_COMPANY", 0x4},    {"_checkCompanyS", "IDS_COMPANY_READING", 0x8},
    {"_checkDepartment", "IDS_DEPARTMENT", 0x10}, {"_checkTitle", "IDS_TITLE", 0x20},
    {"_checkNumber", "IDS_POSTAL_CODE", 0x40}, {"_checkAddress", "IDS_ADDRESS", 0x80},
    {"_checkCountry", "IDS_COUNTRY", 0x100},  {"_checkTelephone", "IDS_TELEPHONE", 0x200},
    {"_checkFax", "IDS_FAX", 0x400},          {"_checkMobile", "IDS_MOBILE", 0x800},
    {"_checkMail", "IDS_EMAIL", 0x1000},      {"_checkUrl", "IDS_URL", 0x2000},
    {"_checkMemo", "IDS_MEMO", 0x4000},       {"_checkDate", "IDS_REGISTRATION_DATE", 0x8000},
};

PreferenceDomain& preferences()
{
    return PreferenceDomain::standard();
}

// A stored number (booleans are not numbers here), or nothing for another type.
std::optional<int64_t> number(const QString& key)
{
    const PlistValue value = preferences().value(key);
    if (!value.isNumber() || value.isBool())
        return std::nullopt;
    return value.toInteger();
}

// A stored boolean; numbers count as their truth value, any other type as absent.
std::optional<bool> flag(const QString& key)
{
    const PlistValue value = preferences().value(key);
    if (!value.isNumber())
        return std::nullopt;
    return value.toBool() || value.toInteger() != 0;
}

QComboBox* popUp(QWidget* parent, const char* outlet, const char* accessibleKey)
{
    auto* combo = new QComboBox(parent);
    combo->setObjectName(QString::fromLatin1(outlet));
    combo->setAccessibleName(getLocalString(QString::fromLatin1(accessibleKey)));
    return combo;
}

void selectData(QComboBox* combo, int value)
{
    const int index = combo->findData(value);
    if (index >= 0)
        combo->setCurrentIndex(index);
}

} // namespace

PLPreferences::PLPreferences() : _panel(new QDialog)
{
    _panel->setObjectName(QStringLiteral("_panel"));
    _panel->setAttribute(Qt::WA_DeleteOnClose, false);
    auto* layout = new QVBoxLayout(_panel);
    auto* toolbar = new QToolBar(_panel);
    toolbar->setObjectName(QStringLiteral("Pelmora Preferences Toolbar Identifier"));
    toolbar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    m_toolbarItems = new QActionGroup(_panel);
    m_pages = new QStackedWidget(_panel);
    layout->addWidget(toolbar);
    layout->addWidget(m_pages);

    buildGeneralView();
    buildExportItemView();
    buildAppListView();
    struct Item {
        const char* identifier;
        const char* labelKey;
        const char* image;
        std::function<void()> action;
    };
    const Item items[] = {
        {"Pelmora Toolbar General Identifier", "IDS_PREFERENCES_GENERAL_ITEM", "general.png", [this] { loadGeneralView(); }},
        {"Pelmora Toolbar ExportItem Identifier", "IDS_PREFERENCES_EXPORT_ITEM", "cardToScan.png", [this] { loadExportItemView(); }},
        {"Pelmora Preferences Toolbar App List Identifier", "IDS_PREFERENCES_APP_LIST_ITEM", "application_Preference.png",
         [this] {
             updateAppListView();
             showAppListView();
         }},
    };
    for (const Item& item : items) {
        QAction* action = toolbar->addAction(resourceImage(item.image), getLocalString(QString::fromLatin1(item.labelKey)));
        action->setObjectName(QString::fromLatin1(item.identifier));
        action->setToolTip(action->text());
        action->setCheckable(true);
        m_toolbarItems->addAction(action);
        QObject::connect(action, &QAction::triggered, _panel, item.action);
    }
    initailizeRecognizeButton();
    initailizeExportButton();
    initailizeConncetToAddressBookButton();
    setUIFromPreferencesOrByDefault();
    getAllApplicationsInfoFromPlist();
    updateAppListView();
    if (!_appsListArray.isEmpty())
        selectAppRow(0);
    loadGeneralView();
    QObject::connect(_panel, &QDialog::finished, _panel, [this] { windowWillClose(); });
}

PLPreferences::~PLPreferences()
{
    _WndCtrlSalesForce.reset();
    delete _panel;
}

void PLPreferences::buildGeneralView()
{
    _GeneralView = new QWidget(m_pages);
    _GeneralView->setObjectName(QStringLiteral("_GeneralView"));
    auto* form = new QFormLayout(_GeneralView);
    _recognizeButton = popUp(_GeneralView, "_recognizeButton", "IDS_PREFERENCES_RECOGNIZE_LANGUAGE");
    form->addRow(getLocalString(QStringLiteral("IDS_PREFERENCES_RECOGNIZE_LANGUAGE")), _recognizeButton);
    _checkDisplay = makeTitledControl<QCheckBox>(_GeneralView, "_checkDisplay", "IDS_PREFERENCES_DISPLAY");
    _checkAutoRunMergeCardFunc = makeTitledControl<QCheckBox>(_GeneralView, "_checkAutoRunMergeCardFunc", "IDS_PREFERENCES_AUTO_MERGE");
    _deleteBackImageCheckBox = makeTitledControl<QCheckBox>(_GeneralView, "_deleteBackImageCheckBox", "IDS_PREFERENCES_DELETE_BACK_IMAGE");
    _checkAutoiPhoneRegister = makeTitledControl<QCheckBox>(_GeneralView, "_checkAutoiPhoneRegister", "IDS_PREFERENCES_PHOTO_REGISTER");
    _PhotosButton = popUp(_GeneralView, "_PhotosButton", "IDS_PREFERENCES_PHOTO_REGISTER");
    _PhotosButton->addItem(getLocalString(QStringLiteral("IDS_PHOTOS_BAR")), 1);
    _PhotosButton->addItem(getLocalString(QStringLiteral("IDS_IPHOTO_BAR")), 2);
    _checkAutoAddressbookSynchronous = makeTitledControl<QCheckBox>(_GeneralView, "_checkAutoAddressbookSynchronous", "IDS_PREFERENCES_ADDRESSBOOK_SYNC");
    auto* box = new QGroupBox(getLocalString(getProperKey(QStringLiteral("IDS_PREFERENCES_BOXTITLE_CONNECT_ADDRESSBOOK"))), _GeneralView);
    box->setObjectName(QStringLiteral("_boxConnectAddressBook"));
    _connectButton = popUp(box, "_connectButton", "IDS_PREFERENCES_BOXTITLE_CONNECT_ADDRESSBOOK");
    (new QVBoxLayout(box))->addWidget(_connectButton);
    for (QWidget* w : std::initializer_list<QWidget*>{_checkDisplay, _checkAutoRunMergeCardFunc, _deleteBackImageCheckBox, _checkAutoiPhoneRegister,
                                                      _PhotosButton, _checkAutoAddressbookSynchronous, box,
                                                      makeHelpButton(_GeneralView, "OnSettingGeneralHelp", "db_setting_general.html")})
        form->addRow(w);
    QObject::connect(_checkDisplay, &QCheckBox::clicked, _panel, [this] { onSettingDisplay(); });
    QObject::connect(_checkAutoiPhoneRegister, &QCheckBox::clicked, _panel,
                     [this](bool on) { _PhotosButton->setEnabled(on); });
    QObject::connect(_PhotosButton, &QComboBox::activated, _panel,
                     [this](int index) { _PhotosState = _PhotosButton->itemData(index).toInt(); });
    m_pages->addWidget(_GeneralView);
}

void PLPreferences::buildExportItemView()
{
    _ExportItemView = new QWidget(m_pages);
    _ExportItemView->setObjectName(QStringLiteral("_ExportItemView"));
    auto* layout = new QVBoxLayout(_ExportItemView);
    _exportButton = popUp(_ExportItemView, "_exportButton", "IDS_PREFERENCES_EXPORT_ITEM");
    layout->addWidget(_exportButton);
    auto* grid = new QGridLayout;
    int index = 0;
    for (const ExportBox& e : kExportBoxes) {
        QCheckBox* box = makeTitledControl<QCheckBox>(_ExportItemView, e.outlet, e.titleKey);
        grid->addWidget(box, index / 2, index % 2);
        m_exportBoxes.append({box, e.bit});
        ++index;
    }
    _checkCompanyS = m_exportBoxes[3].first;
    _checkMemo = m_exportBoxes[14].first;
    _checkDate = m_exportBoxes[15].first;
    // The name is always exported.
    keepChecked(m_exportBoxes[0].first);
    layout->addLayout(grid);
    QPushButton* defaults = makeTitledControl<QPushButton>(_ExportItemView, "DoDefault", "IDS_DEFAULT");
    QObject::connect(defaults, &QPushButton::clicked, _panel, [this] { ExportItemViewDefaultSetting(); });
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(makeHelpButton(_ExportItemView, "OnSettingFileHelp", "db_setting_file_mac.html"));
    buttons->addStretch();
    buttons->addWidget(defaults);
    layout->addLayout(buttons);
    m_pages->addWidget(_ExportItemView);
}

void PLPreferences::initailizeRecognizeButton()
{
    _recognizeButton->clear();
    for (const Language& language : kLanguages) {
        _recognizeButton->addItem(resourceImage(language.image), getLocalString(QString::fromLatin1(language.titleKey)), language.tag);
        if (language.tag == 11 || language.tag == 0)
            _recognizeButton->insertSeparator(_recognizeButton->count());
    }
    QObject::connect(_recognizeButton, &QComboBox::activated, _panel,
                     [this](int index) { selectLanguageOfRecognization(_recognizeButton->itemData(index).toInt()); });
    const std::optional<int64_t> stored = number(kRecognizeKey);
    if (stored) {
        for (int tag : kLanguageBitOrder) {
            if (*stored & (int64_t(1) << tag)) {
                selectLanguageOfRecognization(tag);
                return;
            }
        }
    }
    setRecognizeButtonByDefault();
}

void PLPreferences::setRecognizeButtonByDefault()
{
    static const QMap<int, int> byResourceLanguage{{0, 1},  {1, 6},  {2, 5},  {3, 7},  {6, 8}, {8, 10},
                                                   {11, 0}, {19, 2}, {23, 4}, {32, 9}, {33, 3}};
    const QString key = QStringLiteral("IDS_RESOURCE_LANG_ID");
    const QString text = getLocalString(key);
    bool ok = false;
    const int id = text.toInt(&ok);
    selectLanguageOfRecognization(ok && text != key ? byResourceLanguage.value(id, kAutoLanguage) : kAutoLanguage);
}

void PLPreferences::selectLanguageOfRecognization(int tag)
{
    _iRecognizeButtonState = tag;
    selectData(_recognizeButton, tag);
}

void PLPreferences::initailizeExportButton()
{
    for (int format = 0; format < 5; ++format)
        _exportButton->addItem(resourceImage(kExportFormats[format].image), getLocalString(QString::fromLatin1(kExportFormats[format].titleKey)), format);
    QObject::connect(_exportButton, &QComboBox::activated, _panel,
                     [this](int index) { selectExportFormat(_exportButton->itemData(index).toInt()); });
    int format = 1;
    if (const std::optional<int64_t> stored = number(kExportModeKey)) {
        // The photo application (0x1) is restored too, so that closing keeps the user's choice.
        const int bits[][2] = {{0x2, 1}, {0x4, 2}, {0x8, 3}, {0x10, 4}, {0x1, 0}};
        for (const auto& [bit, value] : bits) {
            if (*stored & bit) {
                format = value;
                break;
            }
        }
    }
    selectExportFormat(format);
}

void PLPreferences::selectExportFormat(int format)
{
    _iExportButtonState = format;
    selectData(_exportButton, format);
    if (format == 1) {
        _checkCompanyS->setEnabled(false);
    } else {
        for (QCheckBox* box : {_checkCompanyS, _checkMemo, _checkDate})
            box->setEnabled(true);
    }
}

void PLPreferences::takeBarChoices(int recognizeState, int exportState)
{
    if (recognizeState >= 0 && recognizeState <= kAutoLanguage && recognizeState != _iRecognizeButtonState)
        selectLanguageOfRecognization(recognizeState);
    // The export bar shows the pop-up's photo application entry as vCard: that entry stays.
    const int barFormat = _iExportButtonState >= 1 && _iExportButtonState <= 4 ? _iExportButtonState : 1;
    if (exportState >= 1 && exportState <= 4 && exportState != barFormat)
        selectExportFormat(exportState);
}

void PLPreferences::initailizeConncetToAddressBookButton()
{
    _connectButton->addItem(getLocalString(QStringLiteral("IDS_CONNECT_APP_EVERYTIME")), 1);
    _connectButton->addItem(getLocalString(QStringLiteral("IDS_CONNECT_APP_PELMORA")), 2);
    _connectButton->addItem(getLocalString(getProperKey(QStringLiteral("IDS_CONNECT_APP_ADDRESSBOOK"))), 3);
    QObject::connect(_connectButton, &QComboBox::activated, _panel,
                     [this](int index) { _iConnectAPPState = _connectButton->itemData(index).toInt(); });
    const std::optional<int64_t> stored = number(kAddressBookStateKey);
    _iConnectAPPState = stored && (*stored == 2 || *stored == 3) ? static_cast<int>(*stored) : 1;
    selectData(_connectButton, _iConnectAPPState);
}

void PLPreferences::setUIFromPreferencesOrByDefault()
{
    _PhotosState = static_cast<int>(number(kPhotosStateKey).value_or(1));
    // State 1 (bit 2 of the installed value) is photo application type 2, state 2 (bit 1) type 1.
    for (int state : {1, 2})
        _PhotosButton->setItemIcon(_PhotosButton->findData(state), QIcon(getAppIconFrombundleID(photoApplicationIdentifier(3 - state), QSize(16, 16))));
    int installed = 0;
    if (const std::optional<int64_t> stored = number(kPhotosInstallKey))
        installed = static_cast<int>(*stored);
    else
        installed = (isPhotoApplicationInstalled(2) ? 2 : 0) | (isPhotoApplicationInstalled(1) ? 1 : 0);
    const int photosRow = _PhotosButton->findData(1);
    const int iPhotoRow = _PhotosButton->findData(2);
    auto* view = qobject_cast<QListView*>(_PhotosButton->view());
    if (view)
        view->setAccessibleName(_PhotosButton->accessibleName());
    switch (installed) {
    case 0:
        _PhotosButton->hide();
        _checkAutoiPhoneRegister->setEnabled(false);
        _PhotosState = 0;
        break;
    case 1:
        if (view)
            view->setRowHidden(photosRow, true);
        _PhotosState = 2;
        break;
    case 2:
        if (view)
            view->setRowHidden(iPhotoRow, true);
        _PhotosState = 1;
        break;
    case 3:
        _PhotosState = static_cast<unsigned>(_PhotosState) > 1 ? 2 : 1;
        break;
    default:
        break;
    }
    if (_PhotosState == 1 || _PhotosState == 2)
        selectData(_PhotosButton, _PhotosState);
    _checkAutoRunMergeCardFunc->setChecked(flag(kMergeKey).value_or(true));
    _deleteBackImageCheckBox->setChecked(flag(kDeleteBackKey).value_or(true));
    const std::optional<bool> display = flag(kDisplayKey);
    const std::optional<bool> sync = flag(kAddressBookSyncKey);
    const std::optional<bool> photo = flag(kPhotoRegisterKey);
    const std::optional<int64_t> items = number(kExportItemsKey);
    if (display && sync && photo && items) {
        _iExportSetting = static_cast<uint32_t>(*items);
        _IsCheckDisplay = *display;
        _IsCheckAutoAddressBookSynchronous = *sync;
        _IsCheckAutoiPhoneRegister = _PhotosState != 0 && *photo;
        updateUI();
    } else {
        _IsCheckDisplay = true;
        _IsCheckAutoAddressBookSynchronous = false;
        _IsCheckAutoiPhoneRegister = false;
        _checkDisplay->setChecked(true);
        _checkAutoAddressbookSynchronous->setChecked(false);
        _checkAutoiPhoneRegister->setChecked(false);
        ExportItemViewDefaultSetting();
    }
    onSettingDisplay();
    _PhotosButton->setEnabled(_IsCheckAutoiPhoneRegister);
}

void PLPreferences::updateUI()
{
    _checkDisplay->setChecked(_IsCheckDisplay);
    _checkAutoAddressbookSynchronous->setChecked(_IsCheckAutoAddressBookSynchronous);
    _checkAutoiPhoneRegister->setChecked(_IsCheckAutoiPhoneRegister);
    for (const auto& [box, bit] : m_exportBoxes)
        box->setChecked(bit == 0x1 || (_iExportSetting & bit));
}

void PLPreferences::ExportItemViewDefaultSetting()
{
    _iExportSetting = kDefaultExportSetting;
    for (const auto& [box, bit] : m_exportBoxes)
        box->setChecked(kDefaultExportSetting & bit);
}

void PLPreferences::getUISetting(QCheckBox* box, uint32_t bit)
{
    if (!box)
        return;
    if (box->isChecked() && box->isEnabled())
        _iExportSetting |= bit;
    else
        _iExportSetting &= ~bit;
}

void PLPreferences::onSettingDisplay()
{
    if (_checkDisplay->isChecked()) {
        _checkAutoRunMergeCardFunc->setEnabled(true);
    } else {
        _checkAutoRunMergeCardFunc->setChecked(false);
        _checkAutoRunMergeCardFunc->setEnabled(false);
    }
}

void PLPreferences::setIsCheckAutoRunMergeCardFunc(bool on)
{
    _checkAutoRunMergeCardFunc->setChecked(on);
}

void PLPreferences::switchPage(QWidget* page, QSize size, const QString& titleKey, QWidget* firstResponder)
{
    _panel->setWindowTitle(getLocalString(titleKey));
    const QPoint topLeft = _panel->geometry().topLeft();
    m_pages->setCurrentWidget(page);
    if (size.isValid())
        m_pages->setFixedSize(size);
    _panel->adjustSize();
    _panel->move(_panel->pos() + (topLeft - _panel->geometry().topLeft()));
    for (QAction* action : m_toolbarItems->actions())
        action->setChecked(m_pages->currentIndex() == m_toolbarItems->actions().indexOf(action));
    if (firstResponder)
        firstResponder->setFocus();
}

void PLPreferences::loadGeneralView()
{
    switchPage(_GeneralView, GeneralViewRectangle, QStringLiteral("IDS_PREFERENCES_GENERAL_ITEM"), _recognizeButton);
}

void PLPreferences::loadExportItemView()
{
    switchPage(_ExportItemView, ExportItemViewRectangle, QStringLiteral("IDS_PREFERENCES_EXPORT_ITEM"), _exportButton);
}

void PLPreferences::showAppListView()
{
    switchPage(_viewAppListManage, _rectViewAppListRectangle, QStringLiteral("IDS_PREFERENCES_APP_LIST_ITEM"), _appTableView);
}

void PLPreferences::showPanel()
{
    _panel->show();
    if (GeneralViewRectangle.isValid())
        return;
    // Each page's size as first shown (its controls then have their final sizes): the window
    // takes it whenever the page is shown.
    GeneralViewRectangle = _GeneralView->sizeHint();
    ExportItemViewRectangle = _ExportItemView->sizeHint();
    _rectViewAppListRectangle = _viewAppListManage->sizeHint();
    if (m_pages->currentWidget() == _GeneralView)
        loadGeneralView();
    else if (m_pages->currentWidget() == _ExportItemView)
        loadExportItemView();
    else
        showAppListView();
}

void PLPreferences::showWindow()
{
    showPanel();
}

void PLPreferences::regulatePreferencesWindow()
{
    showPanel();
    if (const QScreen* screen = _panel->screen()) {
        QRect frame = _panel->frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        _panel->move(frame.topLeft());
    }
    _panel->raise();
    _panel->activateWindow();
}

void PLPreferences::closePreferencesWindow()
{
    if (_panel && _panel->isVisible())
        _panel->done(QDialog::Rejected);
}

void PLPreferences::windowWillClose()
{
    _IsCheckDisplay = _checkDisplay->isChecked();
    _IsCheckAutoAddressBookSynchronous = _checkAutoAddressbookSynchronous->isChecked();
    _IsCheckAutoiPhoneRegister = _checkAutoiPhoneRegister->isChecked() && _checkAutoiPhoneRegister->isEnabled();
    const bool merge = _IsCheckDisplay && _checkAutoRunMergeCardFunc->isChecked();
    const bool deleteBack = _deleteBackImageCheckBox->isChecked();
    for (const auto& [box, bit] : m_exportBoxes) {
        if (bit != 0x1)
            getUISetting(box, bit);
    }
    const int64_t recognize = _iRecognizeButtonState > kAutoLanguage ? 2048 : (int64_t(1) << _iRecognizeButtonState);
    const int64_t exportMode = _iExportButtonState > 4 || _iExportButtonState < 0 ? 1 : (int64_t(1) << _iExportButtonState);
    const int64_t connect = _iConnectAPPState == 2 || _iConnectAPPState == 3 ? _iConnectAPPState : 1;
    const int64_t photos = _PhotosState == 1 || _PhotosState == 2 ? _PhotosState : 0;

    PreferenceDomain& domain = preferences();
    domain.setValue(kAddressBookStateKey, connect);
    domain.setValue(kDisplayKey, _IsCheckDisplay);
    domain.setValue(kAddressBookSyncKey, _IsCheckAutoAddressBookSynchronous);
    domain.setValue(kPhotoRegisterKey, _IsCheckAutoiPhoneRegister);
    domain.setValue(kPhotosStateKey, photos);
    domain.setValue(kMergeKey, merge);
    domain.setValue(kDeleteBackKey, deleteBack);
    domain.setValue(kExportItemsKey, static_cast<int64_t>(_iExportSetting));
    domain.setValue(kRecognizeKey, recognize);
    domain.setValue(kExportModeKey, exportMode);
    if (domain.synchronize()) {
        const int saved = saveExtAppList();
        if (PLExtAppController* controller = PLExtAppController::sharedController()) {
            if (saved != 0)
                controller->handleError(saved, false, _panel, QStringLiteral("IDS_MSG_OPERATION_SAVE_EXTAPP_PLIST"));
            else
                controller->updateExtAppInfoFormListWith(_appsListArray);
        }
        NotificationCenter::defaultCenter().post(QString::fromLatin1(kPreferencesClosedNotification), this,
                                                 {{QString::fromLatin1(kPreferencesRecognizeStateKey), _iRecognizeButtonState},
                                                  {QString::fromLatin1(kPreferencesExportStateKey), _iExportButtonState}});
    } else {
        PLNSLog(QStringLiteral("%@ saved fail!"), QStringLiteral("com.orvane.zor.Pelmora.plist"));
        PLMessage::ShowPLErrorMessage(3);
        getAllApplicationsInfoFromPlist();
    }
    updateAppListView();
}
