// The App List page of the preferences window: the linked applications in menu order, whether
// each is shown in the linkage menus, reordering by dragging, the default order, adding and
// removing the user's own applications and each row's setting (the upload-items sheet for the
// upload plug-in's row).
#include "app/linkage/prefs/PLPreferences.h"

#include "app/core/LocalString.h"
#include "app/core/PLMessage.h"
#include "app/linkage/PLExtAppController.h"
#include "app/linkage/PLPreferenceExtApp.h"
#include "app/linkage/prefs/PLAppListBtnView.h"
#include "app/linkage/prefs/PLAppListTableView.h"
#include "app/linkage/prefs/PLSalesforceWndCtrl.h"
#include "app/linkage/prefs/PrefsControls.h"
#include "platform/foundation/Log.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QVBoxLayout>

#include <algorithm>

namespace {

constexpr int kDisplayColumn = 0;
constexpr int kNameColumn = 1;
constexpr int kAppMissing = -1002;
// The height the strip's images are drawn for; its flat buttons fit in it.
constexpr int kButtonStripHeight = 24;

QPushButton* appListButton(QWidget* parent, const char* outlet, const char* titleKey, const char* image)
{
    QPushButton* b = makeTitledControl<QPushButton>(parent, outlet, titleKey);
    b->setToolTip(b->text());
    const QIcon icon = resourceImage(image);
    if (!icon.isNull()) {
        // The image alone, the title staying as tool tip and accessible name.
        b->setIcon(icon);
        b->setText(QString());
    }
    return b;
}

} // namespace

void PLPreferences::buildAppListView()
{
    _viewAppListManage = new QWidget(m_pages);
    _viewAppListManage->setObjectName(QStringLiteral("_viewAppListManage"));
    auto* layout = new QVBoxLayout(_viewAppListManage);
    _appTableView = new PLAppListTableView(_viewAppListManage);
    _appTableView->setColumnCount(2);
    _appTableView->setObjectName(QStringLiteral("_appTableView"));
    _appTableView->setAccessibleName(getLocalString(QStringLiteral("IDS_PREFERENCES_APP_LIST_ITEM")));
    // Rows are dropped onto the viewport: it carries the table's name.
    _appTableView->viewport()->setAccessibleName(_appTableView->accessibleName());
    _appTableView->setHorizontalHeaderLabels({QStringLiteral("DISPLAY"), QStringLiteral("APPNAME")});
    _appTableView->horizontalHeader()->hide();
    _appTableView->horizontalHeader()->setSectionResizeMode(kDisplayColumn, QHeaderView::ResizeToContents);
    _appTableView->horizontalHeader()->setStretchLastSection(true);
    _appTableView->verticalHeader()->hide();
    _appTableView->setSelectionBehavior(QAbstractItemView::SelectRows);
    _appTableView->setSelectionMode(QAbstractItemView::SingleSelection);
    _appTableView->setEditTriggers(QAbstractItemView::NoEditTriggers);
    _appTableView->setTextElideMode(Qt::ElideMiddle);
    _appTableView->setIconSize(QSize(16, 16));
    _appTableView->writeRows = [this](int row) { return writeRowsWithIndexes(row); };
    _appTableView->validateDrop = [this](int row, bool above) { return validateDrop(row, above); };
    _appTableView->acceptDrop = [this](int row) { return acceptDrop(row); };
    // The row buttons sit on the strip right under the table.
    auto* list = new QVBoxLayout;
    list->setSpacing(0);
    list->addWidget(_appTableView);
    _viewButtonBanner = makeButtonStrip<PLAppListBtnView>(_viewAppListManage, "_viewButtonBanner");
    _viewButtonBanner->setFixedHeight(kButtonStripHeight);
    auto* strip = static_cast<QHBoxLayout*>(_viewButtonBanner->layout());
    _btnAddCustomApp = appListButton(_viewButtonBanner, "_btnAddCustomApp", "IDS_PREFERENCES_ADD_CUSTOM_APP_TOOLTIP", "AddApp.tiff");
    _btnRemoveCustomApp =
        appListButton(_viewButtonBanner, "_btnRemoveCustomApp", "IDS_PREFERENCES_REMOVE_CUSTOM_APP_TOOLTIP", "RemoveApp.tiff");
    _btnAppSetting = makeTitledControl<QPushButton>(_viewButtonBanner, "_btnAppSetting", "IDS_PREFERENCES_APP_SETTING");
    _btnAppSetting->setIcon(resourceImage("AppSetting.tiff"));
    for (QPushButton* b : {_btnAddCustomApp, _btnRemoveCustomApp, _btnAppSetting}) {
        b->setFlat(true);
        strip->addWidget(b);
    }
    strip->addStretch();
    list->addWidget(_viewButtonBanner);
    layout->addLayout(list);
    auto* buttons = new QHBoxLayout;
    _btnDefaultApp = makeTitledControl<QPushButton>(_viewAppListManage, "_btnDefaultApp", "IDS_DEFAULT");
    buttons->addStretch();
    buttons->addWidget(_btnDefaultApp);
    buttons->addWidget(makeHelpButton(_viewAppListManage, "onAppListViewHelpClicked", "db_setting_app.html"));
    layout->addLayout(buttons);
    m_pages->addWidget(_viewAppListManage);

    QObject::connect(_appTableView, &QTableWidget::itemChanged, _panel, [this](QTableWidgetItem* item) {
        if (item->column() == kDisplayColumn && item->row() < _appsListArray.size())
            _appsListArray[item->row()].isSelect = item->checkState() == Qt::Checked;
    });
    QObject::connect(_appTableView, &QTableWidget::itemSelectionChanged, _panel, [this] { _updateOperationButton(); });
    QObject::connect(_btnDefaultApp, &QPushButton::clicked, _panel, [this] { onAppDefaultSetClick(); });
    QObject::connect(_btnAddCustomApp, &QPushButton::clicked, _panel, [this] { onAddCustomApp(); });
    QObject::connect(_btnRemoveCustomApp, &QPushButton::clicked, _panel, [this] { onRemoveCustomApp(); });
    QObject::connect(_btnAppSetting, &QPushButton::clicked, _panel, [this] { setLinkedAppConfig(); });
    buildCustomAppSettingWnd();
}

void PLPreferences::getAllApplicationsInfoFromPlist()
{
    PLExtAppController* controller = PLExtAppController::sharedController();
    if (!controller)
        return;
    const QList<PLExtAppInfoForm> rows = controller->extAppInfoFormList();
    if (!rows.isEmpty())
        _appsListArray = rows;
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
            display->setFlags(Qt::ItemIsUserCheckable | Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsDragEnabled);
            display->setCheckState(form.isSelect ? Qt::Checked : Qt::Unchecked);
            _appTableView->setItem(row, kDisplayColumn, display);
            auto* name = new QTableWidgetItem(form.appIcon, form.appName);
            name->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsDragEnabled);
            name->setToolTip(form.appDescription);
            _appTableView->setItem(row, kNameColumn, name);
        }
        if (selected >= 0 && selected < _appsListArray.size())
            _appTableView->selectRow(selected);
    }
    _updateOperationButton();
}

void PLPreferences::_updateOperationButton()
{
    const int row = _appTableView->currentRow();
    const bool hasRow = row >= 0 && row < _appsListArray.size() && _appTableView->selectionModel()->isRowSelected(row, QModelIndex());
    const qsizetype customized = std::count_if(_appsListArray.cbegin(), _appsListArray.cend(), [](const PLExtAppInfoForm& form) {
        return form.appType == PLPreferenceExtApp::kKindCustomized;
    });
    _btnAddCustomApp->setEnabled(customized < PLPreferenceExtApp::kMaxCustomized);
    _btnDefaultApp->setEnabled(!_appsListArray.isEmpty());
    _btnRemoveCustomApp->setEnabled(hasRow && _appsListArray[row].appType == PLPreferenceExtApp::kKindCustomized);
    _btnAppSetting->setEnabled(hasRow && _appsListArray[row].hasAppSettings);
    if (hasRow) {
        const char* keys[] = {"IDS_PREFERENCES_APP_SETTING_MENU_CUSTOMIZE", "IDS_PREFERENCES_APP_SETTING_MENU_CONFIG",
                              "IDS_PREFERENCES_APP_SETTING_MENU_PRE_DEF"};
        const int type = _appsListArray[row].appType;
        if (type >= 1 && type <= 3) {
            _btnAppSetting->setText(getLocalString(QString::fromLatin1(keys[type - 1])));
            _btnAppSetting->setAccessibleName(_btnAppSetting->text());
        }
    }
}

void PLPreferences::selectAppRow(int row)
{
    _appTableView->setCurrentCell(row, kNameColumn);
    _appTableView->selectRow(row);
    _updateOperationButton();
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
    updateAppListView();
    selectAppRow(0);
}

void PLPreferences::onAddCustomApp()
{
    _showCustomAppSettingWndWithAppProfile(nullptr);
}

void PLPreferences::onRemoveCustomApp()
{
    const int row = _appTableView->currentRow();
    if (row < 0 || row >= _appsListArray.size() || _appsListArray[row].appType != PLPreferenceExtApp::kKindCustomized)
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
    switch (form.appType) {
    case PLPreferenceExtApp::kKindPredefined:
        if (!_WndCtrlSalesForce)
            _WndCtrlSalesForce = std::make_unique<PLSalesforceWndCtrl>(_panel);
        _WndCtrlSalesForce->showWindow();
        break;
    case PLPreferenceExtApp::kKindConfiged:
        if (PLExtAppController* controller = PLExtAppController::sharedController()) {
            const int code = controller->launchExtAppSetting(form.appID);
            if (code != 0)
                controller->handleError(code, false, _wndAppSetting, QStringLiteral("IDS_MSG_OPERATION_LAUNCH_EXTAPP_SETTING"));
        }
        break;
    case PLPreferenceExtApp::kKindCustomized:
        _showCustomAppSettingWndWithAppProfile(&form);
        break;
    default:
        break;
    }
}

bool PLPreferences::writeRowsWithIndexes(int row)
{
    if (row < 0 || row >= _appsListArray.size())
        return false;
    _nDraggedRow = row;
    return true;
}

bool PLPreferences::validateDrop(int row, bool above) const
{
    return above && row != _nDraggedRow && row != _nDraggedRow + 1;
}

bool PLPreferences::acceptDrop(int to)
{
    const int from = std::exchange(_nDraggedRow, 0);
    if (from < 0 || from >= _appsListArray.size() || from == to || to < 0 || to > _appsListArray.size())
        return false;
    const PLExtAppInfoForm moved = _appsListArray[from];
    _appsListArray.insert(to, moved);
    int selected = to;
    if (from <= to) {
        _appsListArray.removeAt(from);
        selected = to - 1;
    } else {
        _appsListArray.removeAt(from + 1);
    }
    updateAppListView();
    selectAppRow(selected);
    return true;
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
            if (_appsListArray[i].appType != PLPreferenceExtApp::kKindCustomized)
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
