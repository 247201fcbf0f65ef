// The App List page of the preferences window: the linked applications in menu order, whether
// each is shown in the linkage menus, the default order, removing the user's own applications and
// each row's setting (the upload-items sheet for the upload plug-in's row).
#include "app/linkage/prefs/PLPreferences.h"

#include "app/core/LocalString.h"
#include "app/core/PLMessage.h"
#include "app/linkage/PLExtAppController.h"
#include "app/linkage/prefs/PLSalesforceWndCtrl.h"
#include "app/linkage/prefs/PrefsControls.h"
#include "platform/foundation/Log.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QVBoxLayout>

namespace {

constexpr int kDisplayColumn = 0;
constexpr int kNameColumn = 1;
constexpr int kMaxCustomizedApps = 10;
constexpr int kAppMissing = -1002;

QPushButton* appListButton(QWidget* parent, const char* outlet, const char* titleKey)
{
    QPushButton* b = makeTitledControl<QPushButton>(parent, outlet, titleKey);
    b->setToolTip(b->text());
    return b;
}

} // namespace

void PLPreferences::buildAppListView()
{
    _viewAppListManage = new QWidget(m_pages);
    _viewAppListManage->setObjectName(QStringLiteral("_viewAppListManage"));
    auto* layout = new QVBoxLayout(_viewAppListManage);
    _appTableView = new QTableWidget(0, 2, _viewAppListManage);
    _appTableView->setObjectName(QStringLiteral("_appTableView"));
    _appTableView->setAccessibleName(getLocalString(QStringLiteral("IDS_PREFERENCES_APP_LIST_ITEM")));
    _appTableView->setHorizontalHeaderLabels({QStringLiteral("DISPLAY"), QStringLiteral("APPNAME")});
    _appTableView->horizontalHeader()->hide();
    _appTableView->horizontalHeader()->setStretchLastSection(true);
    _appTableView->verticalHeader()->hide();
    _appTableView->setSelectionBehavior(QAbstractItemView::SelectRows);
    _appTableView->setSelectionMode(QAbstractItemView::SingleSelection);
    _appTableView->setEditTriggers(QAbstractItemView::NoEditTriggers);
    layout->addWidget(_appTableView);
    auto* buttons = new QHBoxLayout;
    _btnRemoveCustomApp = appListButton(_viewAppListManage, "_btnRemoveCustomApp", "IDS_PREFERENCES_REMOVE_CUSTOM_APP_TOOLTIP");
    _btnAppSetting = appListButton(_viewAppListManage, "_btnAppSetting", "IDS_PREFERENCES_APP_SETTING");
    _btnDefaultApp = appListButton(_viewAppListManage, "_btnDefaultApp", "IDS_DEFAULT");
    for (QPushButton* b : {_btnRemoveCustomApp, _btnAppSetting, _btnDefaultApp})
        buttons->addWidget(b);
    layout->addLayout(buttons);
    m_pages->addWidget(_viewAppListManage);

    QObject::connect(_appTableView, &QTableWidget::itemChanged, _panel, [this](QTableWidgetItem* item) {
        if (item->column() == kDisplayColumn && item->row() < _appsListArray.size())
            _appsListArray[item->row()].isSelect = item->checkState() == Qt::Checked;
    });
    QObject::connect(_appTableView, &QTableWidget::itemSelectionChanged, _panel, [this] { updateAppListView(); });
    QObject::connect(_btnDefaultApp, &QPushButton::clicked, _panel, [this] { onAppDefaultSetClick(); });
    QObject::connect(_btnRemoveCustomApp, &QPushButton::clicked, _panel, [this] { onRemoveCustomApp(); });
    QObject::connect(_btnAppSetting, &QPushButton::clicked, _panel, [this] { setLinkedAppConfig(); });
}

void PLPreferences::getAllApplicationsInfoFromPlist()
{
    PLExtAppController* controller = PLExtAppController::sharedController();
    if (!controller)
        return;
    const QList<PLExtAppInfoForm> rows = controller->extAppInfoFormList();
    if (!rows.isEmpty())
        _appsListArray = rows;
    if (!_appTableView)
        return;
    const QSignalBlocker block(_appTableView);
    _appTableView->setRowCount(0);
}

void PLPreferences::updateAppListView()
{
    const int selected = _appTableView->currentRow();
    {
        const QSignalBlocker block(_appTableView);
        _appTableView->setRowCount(_appsListArray.size());
        for (int row = 0; row < _appsListArray.size(); ++row) {
            const PLExtAppInfoForm& form = _appsListArray[row];
            auto* display = new QTableWidgetItem;
            display->setFlags(Qt::ItemIsUserCheckable | Qt::ItemIsEnabled | Qt::ItemIsSelectable);
            display->setCheckState(form.isSelect ? Qt::Checked : Qt::Unchecked);
            _appTableView->setItem(row, kDisplayColumn, display);
            auto* name = new QTableWidgetItem(form.appIcon, form.appName);
            name->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
            name->setToolTip(form.appDescription);
            _appTableView->setItem(row, kNameColumn, name);
        }
        if (selected >= 0 && selected < _appsListArray.size())
            _appTableView->selectRow(selected);
    }
    const int row = _appTableView->currentRow();
    const bool hasRow = row >= 0 && row < _appsListArray.size();
    _btnDefaultApp->setEnabled(!_appsListArray.isEmpty());
    _btnRemoveCustomApp->setEnabled(hasRow && _appsListArray[row].appType == 1);
    _btnAppSetting->setEnabled(hasRow && (_appsListArray[row].hasAppSettings || _appsListArray[row].appType == 3));
    if (hasRow) {
        const char* keys[] = {"IDS_PREFERENCES_APP_SETTING_MENU_CUSTOMIZE", "IDS_PREFERENCES_APP_SETTING_MENU_CONFIG",
                              "IDS_PREFERENCES_APP_SETTING_MENU_PRE_DEF"};
        const int type = _appsListArray[row].appType;
        if (type >= 1 && type <= 3)
            _btnAppSetting->setText(getLocalString(QString::fromLatin1(keys[type - 1])));
    }
}

void PLPreferences::onAppDefaultSetClick()
{
    if (_appsListArray.isEmpty())
        return;
    QList<PLExtAppInfoForm> sorted = PLExtAppController::defaultSortedExtAppInfoFormList(_appsListArray);
    if (sorted.isEmpty())
        return;
    for (PLExtAppInfoForm& form : sorted)
        form.isSelect = true;
    _appsListArray = sorted;
    _appTableView->setCurrentCell(0, kNameColumn);
    updateAppListView();
    _appTableView->selectRow(0);
}

void PLPreferences::onRemoveCustomApp()
{
    const int row = _appTableView->currentRow();
    if (row < 0 || row >= _appsListArray.size() || _appsListArray[row].appType != 1)
        return;
    if (PLMessage::ShowPLInfoMessage(QStringLiteral("IDS_MSG_CONFIRM_DELETE_CUSTOM_APP"), 2, 3, QString(), _appsListArray[row].appName) != 1)
        return;
    if (!_appsListArray[row].appID.trimmed().isEmpty())
        _arrAppListRemoved.append(_appsListArray[row]);
    _appsListArray.removeAt(row);
    updateAppListView();
}

void PLPreferences::setLinkedAppConfig()
{
    const int row = _appTableView->currentRow();
    if (row < 0 || row >= _appsListArray.size())
        return;
    const PLExtAppInfoForm& form = _appsListArray[row];
    if (form.appType == 3) {
        if (!_WndCtrlSalesForce)
            _WndCtrlSalesForce = std::make_unique<PLSalesforceWndCtrl>(_panel);
        _WndCtrlSalesForce->showWindow();
    } else if (form.appType == 2) {
        PLExtAppController* controller = PLExtAppController::sharedController();
        if (!controller)
            return;
        const int code = controller->launchExtAppSetting(form.appID);
        if (code != 0)
            controller->handleError(code, false, _panel, QStringLiteral("IDS_MSG_OPERATION_LAUNCH_EXTAPP_SETTING"));
    }
}

int PLPreferences::saveExtAppList()
{
    PLExtAppController* controller = PLExtAppController::sharedController();
    if (!controller || !controller->preferenceExtAppObject())
        return -3;
    const auto remembered = controller->preferenceExtAppObject()->extAppInfoList();
    int code = 0;
    for (const PLExtAppInfoForm& removed : std::as_const(_arrAppListRemoved)) {
        if ((code = controller->delExtAppInfoWith(removed)) != 0)
            break;
    }
    if (code == 0) {
        QList<int> dropped;
        for (int i = 0; i < _appsListArray.size() && code == 0; ++i) {
            if (_appsListArray[i].appType != 1)
                continue;
            const int added = controller->addOrUpdExtAppInfoWith(&_appsListArray[i]);
            if (added == kAppMissing) {
                PLNSLog(QStringLiteral("application %@ is not exist,plist cannot be saved."), _appsListArray[i].appLocation);
                dropped.prepend(i);
            } else {
                code = added;
            }
        }
        if (code == 0) {
            for (int i : std::as_const(dropped))
                _appsListArray.removeAt(i);
            code = controller->savePreferenceBy(_appsListArray);
        }
    }
    _arrAppListRemoved.clear();
    if (code != 0) {
        controller->preferenceExtAppObject()->setExtAppInfoList(remembered);
        getAllApplicationsInfoFromPlist();
        updateAppListView();
    }
    return code;
}
