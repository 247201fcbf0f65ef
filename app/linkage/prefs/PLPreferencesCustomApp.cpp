// The custom-application sheet of the App List page: the user's own application with its path,
// name (at most 62 UTF-16 units), description (at most 256) and the card file type it receives,
// a chooser, a link test, and OK only once path and name are given.
#include "app/linkage/prefs/PLPreferences.h"

#include "app/core/LocalString.h"
#include "app/core/PLChecker.h"
#include "app/core/PLMessage.h"
#include "app/core/StringUtilities.h"
#include "app/linkage/PLExtAppController.h"
#include "app/linkage/PLPreferenceExtApp.h"
#include "app/linkage/prefs/PLAppListBtnView.h"
#include "app/linkage/prefs/PLAppListTableView.h"
#include "app/linkage/prefs/PrefsControls.h"
#include "app/ui/logic/PLMatter.h"
#include "app/ui/views/MatterAdapter.h"
#include "platform/appkit/PanelService.h"

#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

namespace {

constexpr int kNameMaxLength = 62;
constexpr int kDescriptionMaxLength = 256;
constexpr int kTagAdd = 1;
constexpr int kTagEdit = 2;
constexpr int kTypeContactXML = 1;
constexpr int kTypeVCard = 2;
constexpr int kMsgApplicationMissing = 124;
// Where the chooser starts: the system's folder of application entries.
const QString kApplicationsFolder = QStringLiteral("/usr/share/applications");

QLineEdit* sheetField(QWidget* parent, const char* outlet, const char* labelKey, int maxLength)
{
    auto* field = new QLineEdit(parent);
    field->setObjectName(QString::fromLatin1(outlet));
    field->setAccessibleName(getLocalString(QString::fromLatin1(labelKey)));
    if (maxLength > 0)
        MatterAdapter::attach(field, std::make_shared<PLInputTextMatter>(static_cast<quint16>(maxLength)));
    return field;
}

// `text` without leading and trailing blanks and line breaks.
QString trimmedOfBlanks(const QString& text)
{
    const QString set = blankAndNewLineCharacters();
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && set.contains(text[begin]))
        ++begin;
    while (end > begin && set.contains(text[end - 1]))
        --end;
    return text.mid(begin, end - begin);
}

} // namespace

void PLPreferences::buildCustomAppSettingWnd()
{
    _wndAppSetting = new QDialog(_panel);
    _wndAppSetting->setObjectName(QStringLiteral("_wndAppSetting"));
    _wndAppSetting->setWindowModality(Qt::WindowModal);
    _wndAppSetting->setWindowTitle(getLocalString(QStringLiteral("IDS_PREFERENCES_CUSTOM_APP_TITLE")));
    auto* sheet = new QVBoxLayout(_wndAppSetting);
    const QMargins margins = sheet->contentsMargins();
    sheet->setContentsMargins(0, 0, 0, 0);
    auto* form = new QFormLayout;
    form->setContentsMargins(margins.left(), margins.top(), margins.right(), margins.bottom());
    sheet->addLayout(form);
    _txtfieldCustomAppPath = sheetField(_wndAppSetting, "_txtfieldCustomAppPath", "IDS_PREFERENCES_CUSTOM_APP_PATH", 0);
    _btnSelectCustomApp = makeTitledControl<QPushButton>(_wndAppSetting, "_btnSelectCustomApp", "IDS_PREFERENCES_CUSTOM_APP_CHOOSE");
    auto* pathRow = new QHBoxLayout;
    pathRow->addWidget(_txtfieldCustomAppPath);
    pathRow->addWidget(_btnSelectCustomApp);
    form->addRow(_txtfieldCustomAppPath->accessibleName(), pathRow);
    _txtfieldCustomAppName = sheetField(_wndAppSetting, "_txtfieldCustomAppName", "IDS_PREFERENCES_CUSTOM_APP_NAME", kNameMaxLength);
    form->addRow(_txtfieldCustomAppName->accessibleName(), _txtfieldCustomAppName);
    _txtfieldAppInstruction = sheetField(_wndAppSetting, "_txtfieldAppInstruction", "IDS_PREFERENCES_CUSTOM_APP_DESCRIPTION", kDescriptionMaxLength);
    form->addRow(_txtfieldAppInstruction->accessibleName(), _txtfieldAppInstruction);
    _popbtnExportType = new QComboBox(_wndAppSetting);
    _popbtnExportType->setObjectName(QStringLiteral("_popbtnExportType"));
    _popbtnExportType->setAccessibleName(getLocalString(QStringLiteral("IDS_PREFERENCES_CUSTOM_APP_EXPORT_TYPE")));
    _popbtnExportType->addItem(getLocalString(QStringLiteral("IDS_PREFERENCES_APPSETTING_MENU_EXPORT_TYPE_CONTACTXML")), kTypeContactXML);
    _popbtnExportType->addItem(getLocalString(QStringLiteral("IDS_PREFERENCES_APPSETTING_MENU_EXPORT_TYPE_VCARD")), kTypeVCard);
    form->addRow(_popbtnExportType->accessibleName(), _popbtnExportType);

    // The sheet's buttons sit on a strip across its foot.
    auto* buttonStrip = makeButtonStrip<PLAppWndBtnView>(_wndAppSetting, "_viewAppSettingButtonBanner");
    auto* buttons = static_cast<QHBoxLayout*>(buttonStrip->layout());
    buttons->setContentsMargins(margins.left(), margins.bottom() / 2, margins.right(), margins.bottom() / 2);
    buttons->setSpacing(form->horizontalSpacing());
    buttons->addWidget(makeHelpButton(buttonStrip, "onConfigCustomAppViewHelpClicked", "db_setting_add_app.html"));
    buttons->addStretch();
    _btnExport = makeTitledControl<QPushButton>(buttonStrip, "_btnExport", "IDS_PREFERENCES_CUSTOM_APP_LINK_TEST");
    QPushButton* cancel = makeTitledControl<QPushButton>(buttonStrip, "onConfigCustomAppCancel", "IDS_CANCEL");
    _btnAppSettingWndOK = makeTitledControl<QPushButton>(buttonStrip, "_btnAppSettingWndOK", "IDS_OK");
    _btnAppSettingWndOK->setDefault(true);
    for (QPushButton* b : {_btnExport, cancel, _btnAppSettingWndOK})
        buttons->addWidget(b);
    sheet->addWidget(buttonStrip);

    for (QLineEdit* field : {_txtfieldCustomAppPath, _txtfieldCustomAppName}) {
        QObject::connect(field, &QLineEdit::textChanged, _wndAppSetting, [this] {
            _updateAppSettingWndOKBtn();
            _updateAppLaunchTestBtn();
        });
    }
    QObject::connect(_popbtnExportType, &QComboBox::activated, _wndAppSetting,
                     [this](int index) { _displayCustomAppExtTypePopupBtnWithType(_popbtnExportType->itemData(index).toInt()); });
    QObject::connect(_btnSelectCustomApp, &QPushButton::clicked, _wndAppSetting, [this] { onSelectCustomAppPath(); });
    QObject::connect(_btnExport, &QPushButton::clicked, _wndAppSetting, [this] { onLinkTestBtnClick(); });
    QObject::connect(cancel, &QPushButton::clicked, _wndAppSetting, [this] { onConfigCustomAppCancel(); });
    QObject::connect(_btnAppSettingWndOK, &QPushButton::clicked, _wndAppSetting, [this] { onAgreeToAddCustomApp(); });
}

void PLPreferences::_showCustomAppSettingWndWithAppProfile(const PLExtAppInfoForm* row)
{
    if (row) {
        m_appSettingWndTag = kTagEdit;
        _txtfieldCustomAppPath->setText(row->appLocation);
        _txtfieldCustomAppName->setText(row->appName);
        _txtfieldAppInstruction->setText(row->appDescription);
        _displayCustomAppExtTypePopupBtnWithType(row->exportFileType);
    } else {
        m_appSettingWndTag = kTagAdd;
        _txtfieldCustomAppPath->clear();
        _txtfieldCustomAppName->setText(getLocalString(QStringLiteral("IDS_PREFERENCE_CUSTOM_APP_NAME_DEFAULT")));
        _txtfieldAppInstruction->setText(getLocalString(QStringLiteral("IDS_PREFERENCE_CUSTOM_APP_INSTRUCTION_DEFAULT")));
        _displayCustomAppExtTypePopupBtnWithType(kTypeVCard);
    }
    _updateAppSettingWndOKBtn();
    _updateAppLaunchTestBtn();
    _wndAppSetting->open();
    (row ? static_cast<QWidget*>(_txtfieldCustomAppName) : _btnSelectCustomApp)->setFocus();
}

void PLPreferences::_displayCustomAppExtTypePopupBtnWithType(int type)
{
    _popbtnExportType->setCurrentIndex(_popbtnExportType->findData(type == kTypeContactXML ? kTypeContactXML : kTypeVCard));
}

void PLPreferences::_updateAppSettingWndOKBtn()
{
    _btnAppSettingWndOK->setEnabled(!PLChecker::isBlank(_txtfieldCustomAppPath->text()) && !PLChecker::isBlank(_txtfieldCustomAppName->text()));
}

void PLPreferences::_updateAppLaunchTestBtn()
{
    const QString path = _txtfieldCustomAppPath->text();
    _btnExport->setEnabled(!PLChecker::isBlank(path) && QFileInfo::exists(path));
}

void PLPreferences::setExtAppInfoFromUIFor(PLExtAppInfoForm* form) const
{
    form->appLocation = trimmedOfBlanks(_txtfieldCustomAppPath->text());
    form->appName = trimmedOfBlanks(_txtfieldCustomAppName->text());
    form->appDescription = trimmedOfBlanks(_txtfieldAppInstruction->text());
    form->exportFileType = _popbtnExportType->currentData().toInt();
}

void PLPreferences::onSelectCustomAppPath()
{
    PanelRequest request;
    request.window = _wndAppSetting;
    request.prompt = getLocalString(QStringLiteral("IDS_LBL_SELECT"));
    request.directory = kApplicationsFolder;
    request.isValidFilename = [](const QString& path) {
        const int checked = PLChecker::checkPath(path);
        if (checked != PLChecker::kPathLocal)
            PLMessage::ShowPLErrorMessage(checked);
        return checked == PLChecker::kPathLocal;
    };
    const QStringList chosen = PanelService::current().runOpenPanel(request);
    if (chosen.isEmpty())
        return;
    _txtfieldCustomAppPath->setText(chosen.first());
    _updateAppSettingWndOKBtn();
    _updateAppLaunchTestBtn();
}

void PLPreferences::onLinkTestBtnClick()
{
    PLExtAppInfoForm form;
    setExtAppInfoFromUIFor(&form);
    if (!QFileInfo::exists(form.appLocation)) {
        PLMessage::ShowPLErrorMessageAlertSheet(_wndAppSetting, {}, kMsgApplicationMissing);
        return;
    }
    PLExtAppController* controller = PLExtAppController::sharedController();
    if (!controller)
        return;
    const int code = controller->launchExtAppForTesting(&form);
    if (code != 0)
        controller->handleError(code, true, _wndAppSetting, QStringLiteral("IDS_MSG_OPERATION_LAUNCH_EXTAPP"));
}

void PLPreferences::onAgreeToAddCustomApp()
{
    const int index = _appTableView->currentRow();
    PLExtAppInfoForm form;
    if (m_appSettingWndTag == kTagAdd) {
        form.appType = PLPreferenceExtApp::kKindCustomized;
        form.isSelect = true;
    } else {
        if (index < 0 || index >= _appsListArray.size())
            return;
        form = _appsListArray[index];
    }
    setExtAppInfoFromUIFor(&form);
    if (!QFileInfo::exists(form.appLocation)) {
        PLMessage::ShowPLErrorMessageAlertSheet(_wndAppSetting, {}, kMsgApplicationMissing);
        return;
    }
    if (const int checked = PLChecker::checkPath(form.appLocation)) {
        PLMessage::ShowPLErrorMessage(checked);
        return;
    }
    const QIcon icon = PLPreferenceExtApp::iconForAppPath(form.appLocation);
    if (!icon.isNull()) {
        form.appIcon = QIcon(icon.pixmap(QSize(16, 16)));
        form.hasAppSettings = true;
    }
    if (m_appSettingWndTag == kTagAdd)
        _appsListArray.prepend(form);
    else
        _appsListArray[index] = form;
    _wndAppSetting->accept();
    updateAppListView();
    selectAppRow(m_appSettingWndTag == kTagAdd ? 0 : index);
}

void PLPreferences::onConfigCustomAppCancel()
{
    _wndAppSetting->reject();
}
