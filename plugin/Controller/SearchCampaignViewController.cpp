#include "plugin/Controller/SearchCampaignViewController.h"

#include "plugin/Common/ErrorManager.h"
#include "plugin/Common/GlobalData.h"
#include "plugin/Common/LogManager.h"
#include "plugin/Controller/PluginDialog.h"
#include "plugin/Controller/PluginHelp.h"
#include "plugin/Controller/QDLTableView.h"
#include "plugin/Controller/QDLTextFiledMatter.h"
#include "plugin/Controller/ViewTexts.h"
#include "plugin/DataAccess/ProviderNotifications.h"
#include "plugin/Logic/DisplayHandler.h"
#include "platform/foundation/NotificationCenter.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

using ViewTexts::format;
using ViewTexts::text;

namespace {

constexpr int kKeywordLength = 32;
constexpr int kColumns = 5;
constexpr int kLastWindowCode = 20000;

void log(int level, const char* line)
{
    LogManager::LogOutput(level, QString::fromLatin1(line));
}

// Alerts of this window carry no title.
void alert(const QString& message, QWidget* window)
{
    CommonFuc::ShowQDLAlertMSG(QString(), message, window);
}

// The service's dates are read as midnight of the user's zone: shown in that zone, they keep their day.
QString dateText(const QDateTime& date)
{
    return date.isValid() ? date.toLocalTime().date().toString(Qt::ISODate) : QString();
}

}

SearchCampaignViewController::SearchCampaignViewController(GlobalData& global) : m_global(global)
{
    m_window = new PluginDialog(global.Windows(), "_searchCampaignView");
    m_window->setCloseHandler([this] {
        log(kLogInformation, "Window X button click!");
        if (m_canSearch)
            DoCancel();
    });
    _searchConditionLabel = new QLabel(m_window);
    _searchConditionLabel->setObjectName(QStringLiteral("_searchConditionLabel"));
    _searchConditionText = new QLineEdit(m_window);
    _searchConditionText->setObjectName(QStringLiteral("_searchConditionText"));
    QDLTextFiledMatter::apply(_searchConditionText, kKeywordLength);
    _searchConditionLabel->setBuddy(_searchConditionText);
    _searchBtn = new QPushButton(text("LTL06003"), m_window);
    _searchBtn->setObjectName(QStringLiteral("_searchBtn"));
    _searchBtn->setDefault(true);
    _tableNameLabel = new QLabel(m_window);
    _tableNameLabel->setObjectName(QStringLiteral("_tableNameLabel"));
    _campaignList = new QDLTableView(m_window, "_campaignList");
    _campaignList->setColumnCount(kColumns);
    _cancelBtn = new QPushButton(text("LTL06004"), m_window);
    _cancelBtn->setObjectName(QStringLiteral("_cancelBtn"));
    _cancelBtn->setAutoDefault(false);

    auto* search = new QHBoxLayout;
    search->addWidget(_searchConditionLabel);
    search->addWidget(_searchConditionText, 1);
    search->addWidget(_searchBtn);
    auto* layout = new QVBoxLayout(m_window);
    layout->addLayout(search);
    layout->addWidget(_tableNameLabel);
    layout->addWidget(_campaignList, 1);
    _helpBtn = PluginHelp::helpButton(m_window, "db_cloud_campaign.html", "SearchCampaignView:Help button click!",
        "SearchCampaignViewController:Error occurred when show help Info");
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(_helpBtn);
    buttons->addStretch();
    buttons->addWidget(_cancelBtn);
    layout->addLayout(buttons);
    m_window->resize(560, 360);

    QObject::connect(_searchBtn, &QPushButton::clicked, m_window, [this] { DoGO(); });
    QObject::connect(_searchConditionText, &QLineEdit::returnPressed, m_window, [this] {
        if (m_canSearch)
            DoGO();
    });
    QObject::connect(_cancelBtn, &QPushButton::clicked, m_window, [this] { DoCancel(); });
    QObject::connect(_campaignList, &QDLTableView::rowChosen, m_window, [this] { ClickedTable(); });
}

SearchCampaignViewController::~SearchCampaignViewController()
{
    NotificationCenter::defaultCenter().removeObserver(this);
    delete m_window;
}

std::shared_ptr<ens_Campaign> SearchCampaignViewController::ShowSearchCampaignView()
{
    log(kLogInformation, "Search campaign window start!");
    if (const auto& display = m_global.UserDisplayInfo()) {
        _campaignList->setHorizontalHeaderLabels({display->CampaignTitleName, display->CampaignTitleStartDate,
            display->CampaignTitleEndDate, display->CampaignTitleType, display->CampaignTitleStatus});
    }
    RefreshViewLabel();
    _searchConditionText->setFocus();
    _campaignList->clearSelection();
    CommonFuc::ShowWindowCenter(m_window, m_global.Windows());
    m_window->exec();
    return m_selectedCampaign;
}

void SearchCampaignViewController::RefreshViewLabel()
{
    const QString label = m_global.UserDisplayInfo() ? m_global.UserDisplayInfo()->CampaignLabelName : QString();
    const QString shortLabel = ViewTexts::shortened(label);
    m_window->setWindowTitle(format("LTL06001", label));
    _searchConditionLabel->setText(format("LTL06001", shortLabel));
    _tableNameLabel->setText(format("LTL06002", shortLabel));
    const bool cut = shortLabel != label;
    _searchConditionLabel->setToolTip(cut ? format("LTL06001", label) : QString());
    _tableNameLabel->setToolTip(cut ? format("LTL06002", label) : QString());
    _searchConditionText->setAccessibleName(format("LTL06001", label));
    _campaignList->setAccessibleName(format("LTL06002", label));
}

void SearchCampaignViewController::DoGO()
{
    log(kLogInformation, "GO button click!");
    _searchBtn->setFocus();
    const DisplayInfo display = m_global.UserDisplayInfo() ? *m_global.UserDisplayInfo() : DisplayInfo();
    if (!display.isCampaignNameDisplay) {
        alert(format("MSG99009", text("LTL99011")), m_window);
        _searchConditionText->setFocus();
        _campaignList->clearSelection();
        return;
    }
    m_invildSelEventFlag = true;
    WaitStausView();
    QStringList hidden;
    const std::pair<bool, const char*> columns[] = {{display.isCampaignStartDateDisplay, "LTL99012"},
        {display.isCampaignEndDateDisplay, "LTL99013"}, {display.isCampaignTypeDisplay, "LTL99014"},
        {display.isCampaignStatusDisplay, "LTL99015"}};
    for (const auto& [visible, key] : columns) {
        if (!visible)
            hidden.append(text(key));
    }
    if (!hidden.isEmpty())
        alert(format("MSG99009", hidden.join(text("LTL99016"))), m_window);
    GetCampaignList();
}

void SearchCampaignViewController::GetCampaignList()
{
    const QString keyword = _searchConditionText->text().trimmed();
    m_displayHandler = std::make_unique<DisplayHandler>(m_global);
    NotificationCenter::defaultCenter().addObserver(this, QString::fromLatin1(kQDLEVENTLOGETCPCOMPLETED),
        [this](const Notification& notification) { OnGetCampaignListCompleted(notification); }, m_displayHandler.get());
    m_displayHandler->GetExistCampaignsAsync(keyword);
}

void SearchCampaignViewController::OnGetCampaignListCompleted(const Notification& notification)
{
    NotificationCenter::defaultCenter().removeObserver(this, QString::fromLatin1(kQDLEVENTLOGETCPCOMPLETED));
    const auto holder = notification.userInfo.value(QString::fromLatin1(kQueryResultKey)).value<QueryResultPtr>();
    const int code = holder ? holder->Code() : kQDLOtherFault;
    if (code != kQDLSuccess) {
        log(kLogError, "Search exist campaign error!");
        const QString key = ErrorManager::GetErrorMessage(code, kViewCampaignSearch, QString(), m_global);
        alert(key == QLatin1String("MSG99001") ? format("MSG99001", m_global.ExceptionMsg()) : ViewTexts::textOrSelf(key), m_window);
        m_invildSelEventFlag = false;
        if (code > kLastWindowCode) {
            m_global.setViewCode(kViewResult);
            m_window->finish();
            return;
        }
        NormalStausView();
        _searchConditionText->setFocus();
        return;
    }
    m_invildSelEventFlag = true;
    const auto rows = notification.userInfo.value(QString::fromLatin1(kCampaignRowsKey)).value<CampaignRows>();
    setRows(rows);
    if (!rows.empty()) {
        _searchBtn->setFocus();
    } else {
        alert(format("MSG06003", m_global.UserDisplayInfo() ? m_global.UserDisplayInfo()->CampaignLabelName : QString()), m_window);
        _searchConditionText->setFocus();
    }
    NormalStausView();
    _campaignList->clearSelection();
    m_invildSelEventFlag = false;
}

void SearchCampaignViewController::setRows(const CampaignRows& rows)
{
    _campaignListData = rows;
    // The service's order is the order of the rows' numbers.
    std::stable_sort(_campaignListData.begin(), _campaignListData.end(),
        [](const CampaignInfo& a, const CampaignInfo& b) { return a.CampaignID < b.CampaignID; });
    _campaignList->setRowCount(0);
    _campaignList->setRowCount(int(_campaignListData.size()));
    for (int row = 0; row < int(_campaignListData.size()); ++row) {
        const CampaignInfo& campaign = _campaignListData[size_t(row)];
        const QString cells[kColumns] = {campaign.Name, dateText(campaign.StartDate), dateText(campaign.EndDate), campaign.Type, campaign.Status};
        for (int column = 0; column < kColumns; ++column)
            _campaignList->setItem(row, column, new QTableWidgetItem(cells[column]));
    }
}

void SearchCampaignViewController::ClickedTable()
{
    const int row = _campaignList->currentRow();
    if (m_invildSelEventFlag || row < 0 || row >= int(_campaignListData.size()) || _campaignList->selectedItems().isEmpty())
        return;
    m_selectedCampaign = _campaignListData[size_t(row)].Campaign;
    log(kLogInformation, "Search campaign window close!");
    m_window->finish();
}

void SearchCampaignViewController::DoCancel()
{
    log(kLogInformation, "Cancel button click!");
    m_displayHandler.reset();
    m_selectedCampaign.reset();
    m_window->finish();
}

void SearchCampaignViewController::WaitStausView()
{
    m_canSearch = false;
    _cancelBtn->setEnabled(false);
    _searchBtn->setEnabled(false);
    _helpBtn->setEnabled(false);
}

void SearchCampaignViewController::NormalStausView()
{
    m_canSearch = true;
    _cancelBtn->setEnabled(true);
    _searchBtn->setEnabled(true);
    _helpBtn->setEnabled(true);
}
