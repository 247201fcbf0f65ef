#include "app/linkage/prefs/PLSalesforceWndCtrl.h"
#include "app/linkage/prefs/PrefsControls.h"

#include "app/core/ApplicationLookup.h"
#include "app/core/LocalString.h"
#include "app/core/PLChecker.h"
#include "app/core/PLMessage.h"
#include "app/linkage/PLPropertyFile.h"
#include "app/linkage/PLSalesforceClientController.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/PreferenceDomain.h"
#include "platform/foundation/StandardPaths.h"

#include <QDir>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

namespace {

const QString kItemsKey = QStringLiteral("SalesForce connect check box items display");
const QString kItemsFile = QStringLiteral("SalesforceItem.plist");
const QString kUserCopyFolder = QStringLiteral("/Documents/Pelmora/Preferences/");
constexpr int kFileMissing = -1002;

struct Box {
    const char* outlet;
    const char* titleKey;
    uint32_t bit;
};
constexpr Box kBoxes[] = {
    {"_cloudConnectCheckName", "IDS_NAME", 0x1},
    {"_cloudConnectCheckCompany", "IDS_COMPANY", 0x4},
    {"_cloudConnectCheckDepartment", "IDS_DEPARTMENT", 0x10},
    {"_cloudConnectCheckTitle", "IDS_TITLE", 0x20},
    {"_cloudConnectCheckNumber", "IDS_POSTAL_CODE", 0x40},
    {"_cloudConnectCheckAddress", "IDS_ADDRESS", 0x80},
    {"_cloudConnectCheckCountry", "IDS_COUNTRY", 0x100},
    {"_cloudConnectCheckTelephone", "IDS_TELEPHONE", 0x200},
    {"_cloudConnectCheckFax", "IDS_FAX", 0x400},
    {"_cloudConnectCheckMobile", "IDS_MOBILE", 0x800},
    {"_cloudConnectCheckMail", "IDS_EMAIL", 0x1000},
    {"_cloudConnectCheckUrl", "IDS_URL", 0x2000},
    {"_cloudConnectCheckMemo", "IDS_MEMO", 0x4000},
    {"_cloudConnectCheckImage", "IDS_CARD_IMAGE", 0x10000},
};

// The number a preference or file holds; the default for anything else.
uint32_t maskOf(const PlistValue& value)
{
    return value.isNumber() && !value.isBool() ? static_cast<uint32_t>(value.toInteger()) : PLSalesforceWndCtrl::kDefaultMask;
}

} // namespace

PLSalesforceWndCtrl::PLSalesforceWndCtrl(QWidget* panel) : m_window(new QDialog(panel))
{
    m_window->setObjectName(QStringLiteral("_wndSalesforce"));
    m_window->setWindowModality(Qt::WindowModal);
    m_window->setWindowTitle(getLocalString(QStringLiteral("IDS_MENU_ITEM_SALESFORCE")));
    auto* layout = new QVBoxLayout(m_window);
    auto* grid = new QGridLayout;
    int index = 0;
    for (const Box& box : kBoxes) {
        QCheckBox* check = makeTitledControl<QCheckBox>(m_window, box.outlet, box.titleKey);
        grid->addWidget(check, index / 2, index % 2);
        m_boxes.append({check, box.bit});
        ++index;
    }
    // Name and company identify a card at the service: they cannot be switched off.
    keepChecked(m_boxes[0].first);
    keepChecked(m_boxes[1].first);
    layout->addLayout(grid);
    auto* buttons = new QHBoxLayout;
    _btnSetSFAccount = makeTitledControl<QPushButton>(m_window, "_btnSetSFAccount", "IDS_SALESFORCE_ACCOUNT_SETTING");
    _btnSetSalesForceDefault = makeTitledControl<QPushButton>(m_window, "_btnSetSalesForceDefault", "IDS_DEFAULT");
    QPushButton* help = makeHelpButton(m_window, "_btnCloudHelp", "db_setting_cloud.html");
    QPushButton* close = makeTitledControl<QPushButton>(m_window, "_btnCloseSheet", "IDS_CLOSE");
    for (QPushButton* b : {_btnSetSFAccount, _btnSetSalesForceDefault, help, close})
        buttons->addWidget(b);
    layout->addLayout(buttons);
    QObject::connect(_btnSetSFAccount, &QPushButton::clicked, m_window, [this] {
        PLSalesforceClientController client;
        client.setMainWinController(static_cast<QWidget*>(_btnSetSFAccount));
        client.launchAccountSetting();
    });
    QObject::connect(_btnSetSalesForceDefault, &QPushButton::clicked, m_window, [this] {
        _iSalesForceSetting = kDefaultMask;
        updateSalesForceCheckBox(_iSalesForceSetting);
    });
    QObject::connect(close, &QPushButton::clicked, m_window, [this] { m_window->close(); });
    QObject::connect(m_window, &QDialog::finished, m_window, [this] { windowWillClose(); });
}

PLSalesforceWndCtrl::~PLSalesforceWndCtrl() = default;

void PLSalesforceWndCtrl::showWindow()
{
    getAllCloudItemCodeFromPlist();
    refreshSalesForceWindow();
    m_window->open();
}

void PLSalesforceWndCtrl::getAllCloudItemCodeFromPlist()
{
    _iSalesForceSetting = maskOf(PreferenceDomain::standard().value(kItemsKey));
    PLPropertyFile administrator(QDir(PLSalesforceClientController::applicationFolder()).filePath(kItemsFile));
    const PlistValue fixed = administrator.open() == 0 ? administrator.valueForKey(kItemsKey) : PlistValue();
    _bDefaultBtn = !(fixed.isNumber() && !fixed.isBool());
    if (!_bDefaultBtn)
        _iSalesForceSetting = static_cast<uint32_t>(fixed.toInteger());
    if (_iSalesForceSetting >= 0x20000)
        _iSalesForceSetting = kDefaultMask;
}

void PLSalesforceWndCtrl::refreshSalesForceWindow()
{
    if ((_iSalesForceSetting & 5) != 5)
        _iSalesForceSetting = kDefaultMask;
    _btnSetSalesForceDefault->setEnabled(_bDefaultBtn);
    updateSalesForceCheckBoxEnable(_bDefaultBtn ? kEnableMask : 0);
    updateSalesForceCheckBox(_iSalesForceSetting);
    _btnSetSFAccount->setFocus();
}

void PLSalesforceWndCtrl::updateSalesForceCheckBox(uint32_t mask)
{
    for (const auto& [box, bit] : m_boxes) {
        const QSignalBlocker block(box);
        box->setChecked(mask & bit);
    }
}

void PLSalesforceWndCtrl::updateSalesForceCheckBoxEnable(uint32_t mask)
{
    for (const auto& [box, bit] : m_boxes)
        box->setEnabled(mask & bit);
}

uint32_t PLSalesforceWndCtrl::getCloudItemsCodeFromUI(uint32_t mask) const
{
    for (const auto& [box, bit] : m_boxes)
        mask = box->isChecked() ? (mask | bit) : (mask & ~bit);
    return mask;
}

void PLSalesforceWndCtrl::windowWillClose()
{
    _iSalesForceSetting = getCloudItemsCodeFromUI(_iSalesForceSetting);
    PreferenceDomain& preferences = PreferenceDomain::standard();
    preferences.setValue(kItemsKey, static_cast<int64_t>(_iSalesForceSetting));
    if (!preferences.synchronize()) {
        PLNSLog(QStringLiteral("%@ saved fail!"), QStringLiteral("com.orvane.zor.Pelmora.plist"));
        PLMessage::ShowPLErrorMessage(75);
        return;
    }
    saveSalesforceSettingToPlistIfNeed();
}

void PLSalesforceWndCtrl::saveSalesforceSettingToPlistIfNeed()
{
    if (!_bDefaultBtn)
        return;
    const QString home = userHomeDir();
    if (home.isEmpty()) {
        PLNSLog(QStringLiteral("get the current user's home directory fail!"));
        PLMessage::ShowPLErrorMessage(3);
        return;
    }
    const QString folder = home + kUserCopyFolder;
    PLPropertyFile copy(folder + kItemsFile);
    const int opened = copy.open();
    if (opened != 0 && opened != kFileMissing) {
        PLNSLog(QStringLiteral("read the plist in dir:~/Documents/Pelmora/Preferences/ has err:%d"), opened);
        PLMessage::ShowPLErrorMessage(75);
        return;
    }
    if (opened == kFileMissing)
        copy.setContents(PlistValue::Dictionary());
    copy.setValue(static_cast<int64_t>(_iSalesForceSetting), kItemsKey);
    if (!PLChecker::makeDirectoryIfNotExists(folder)) {
        PLNSLog(QStringLiteral("creating dir:~/Documents/Pelmora/Preferences/ fail!"));
        PLMessage::ShowPLErrorMessage(75);
        return;
    }
    if (copy.save() != 0) {
        PLNSLog(QStringLiteral("the plist in dir:~/Documents/Pelmora/Preferences/ saved fail!"));
        PLMessage::ShowPLErrorMessage(75);
    }
}
