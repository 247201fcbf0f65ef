#include "plugin/Controller/UploadViewController.h"

#include "plugin/Common/ErrorManager.h"
#include "plugin/Common/GlobalData.h"
#include "plugin/Common/LogManager.h"
#include "plugin/Controller/PluginDialog.h"
#include "plugin/Controller/PluginHelp.h"
#include "plugin/Controller/QDLTableView.h"
#include "plugin/Controller/QDLTextFiledMatter.h"
#include "plugin/Controller/ViewTexts.h"
#include "plugin/DataAccess/ProviderNotifications.h"
#include "plugin/Logic/CardHandler.h"
#include "plugin/Logic/DisplayHandler.h"
#include "plugin/Logic/LoginInfoHandler.h"
#include "platform/foundation/NotificationCenter.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

using ViewTexts::format;
using ViewTexts::shortened;
using ViewTexts::text;

namespace {

constexpr int kBatchSize = 100;
constexpr int kMaxEmailLength = 80;
constexpr int kKeywordLength = 32;
constexpr int kLastCardCode = 10000;
constexpr int kLastWindowCode = 20000;
constexpr int kLastRunCode = 20001;
constexpr int kProgressSteps = 1000;

void log(const char* line)
{
    LogManager::LogOutput(kLogInformation, QString::fromLatin1(line));
}

QLabel* valueLabel(QWidget* parent, const char* name)
{
    auto* label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

QPushButton* button(QWidget* parent, const char* name, const char* key)
{
    auto* result = new QPushButton(text(key), parent);
    result->setObjectName(QString::fromLatin1(name));
    result->setAutoDefault(false);
    return result;
}

// The choices are checked by the window itself: a choice may be shown off while its partner is
// off too (nothing can be filed), which exclusive groups do not allow.
QRadioButton* choice(QWidget* parent, const char* name)
{
    auto* result = new QRadioButton(parent);
    result->setObjectName(QString::fromLatin1(name));
    result->setAutoExclusive(false);
    return result;
}

void check(QRadioButton* button, bool on)
{
    button->setChecked(on);
}

// A caption or title with a service label: shortened, with the whole text as tool tip when cut.
template <typename Control>
void setLabelled(Control* control, const QString& shown, const QString& whole)
{
    control->setText(shown);
    control->setToolTip(shown == whole ? QString() : whole);
    control->setAccessibleName(whole);
}

bool isEastAsian()
{
    const QString language = ErrorManager::preferredLanguage();
    return language == QLatin1String("ja") || language == QLatin1String("ko") || language == QLatin1String("zh-Hant");
}

}

UploadViewController::UploadViewController(GlobalData& global) : m_global(global), m_cardHandler(std::make_unique<CardHandler>(global))
{
    m_window = new PluginDialog(global.Windows(), "_uploadView");
    m_window->setWindowTitle(text("LTL03010"));
    m_window->setCloseHandler([this] {
        log("Close Click");
        if (m_canUpload)
            DoCancel();
    });
    _userNameLabel = valueLabel(m_window, "_userNameLabel");
    _cardIndex = valueLabel(m_window, "_cardIndex");
    _orgNameLabel = valueLabel(m_window, "_orgNameLabel");
    _fullNameLabel = valueLabel(m_window, "_fullNameLabel");
    _leadUploadRadioBtn = choice(m_window, "_leadUploadRadioBtn");
    _acUploadRadioBtn = choice(m_window, "_acUploadRadioBtn");
    _leadSourceLabel = valueLabel(m_window, "_leadSourceLabel");
    _leadSourceComboBox = new QComboBox(m_window);
    _leadSourceComboBox->setObjectName(QStringLiteral("_leadSourceComboBox"));
    _leadSourceLabel->setBuddy(_leadSourceComboBox);
    _leadStatusLabel = valueLabel(m_window, "_leadStatusLabel");
    _leadStatusComboBox = new QComboBox(m_window);
    _leadStatusComboBox->setObjectName(QStringLiteral("_leadStatusComboBox"));
    _leadStatusLabel->setBuddy(_leadStatusComboBox);
    _campaignNameLabel = valueLabel(m_window, "_campaignNameLabel");
    // Filled by the campaign search only; never typed into.
    _campaignText = new QLineEdit(m_window);
    _campaignText->setObjectName(QStringLiteral("_campaignText"));
    _campaignText->setReadOnly(true);
    _campaignText->setFrame(false);
    _campaignNameLabel->setBuddy(_campaignText);
    _campaignSearchBtn = button(m_window, "_campaignSearchBtn", "LTL03020");
    _campaignClearBtn = button(m_window, "_campaignClearBtn", "LTL03019");
    _uploadModeMatrix = new QWidget(m_window);
    _uploadModeMatrix->setObjectName(QStringLiteral("_uploadModeMatrix"));
    _newACUploadRadioBtn = choice(_uploadModeMatrix, "_newACUploadRadioBtn");
    _existedACUploadRadioBtn = choice(_uploadModeMatrix, "_existedACUploadRadioBtn");
    // The account choice starts from a new account until the user picks the other one.
    check(_newACUploadRadioBtn, true);
    _searchConditionLabel = valueLabel(m_window, "_searchConditionLabel");
    _searchConditionLabel->setText(text("LTL03018"));
    _searchConditionText = new QLineEdit(m_window);
    _searchConditionText->setObjectName(QStringLiteral("_searchConditionText"));
    QDLTextFiledMatter::apply(_searchConditionText, kKeywordLength);
    _searchConditionText->setAccessibleName(text("LTL03018"));
    _searchConditionLabel->setBuddy(_searchConditionText);
    _accountSearchBtn = button(m_window, "_accountSearchBtn", "LTL03017");
    _accountTableNameLabel = valueLabel(m_window, "_accountTableNameLabel");
    _accountTableView = new QDLTableView(m_window, "_accountTableView");
    _accountTableView->setColumnCount(1);
    _accountTableView->horizontalHeader()->hide();
    _sameMethodUploadCheckBtn = new QCheckBox(text("LTL03004"), m_window);
    _sameMethodUploadCheckBtn->setObjectName(QStringLiteral("_sameMethodUploadCheckBtn"));
    _uploadBtn = button(m_window, "_uploadBtn", "LTL03006");
    _uploadBtn->setDefault(true);
    _skipBtn = button(m_window, "_skipBtn", "LTL03015");
    _cancelBtn = button(m_window, "_cancelBtn", "LTL03016");

    auto* card = new QFormLayout;
    card->addRow(text("LTL03011"), _userNameLabel);
    card->addRow(QString(), _cardIndex);
    card->addRow(text("LTL03012"), _orgNameLabel);
    card->addRow(text("LTL03013"), _fullNameLabel);
    auto* campaign = new QHBoxLayout;
    campaign->addWidget(_campaignText, 1);
    campaign->addWidget(_campaignSearchBtn);
    campaign->addWidget(_campaignClearBtn);
    auto* lead = new QFormLayout;
    lead->addRow(_leadUploadRadioBtn);
    lead->addRow(_leadSourceLabel, _leadSourceComboBox);
    lead->addRow(_leadStatusLabel, _leadStatusComboBox);
    lead->addRow(_campaignNameLabel, campaign);
    auto* cells = new QVBoxLayout(_uploadModeMatrix);
    cells->setContentsMargins(20, 0, 0, 0);
    cells->addWidget(_newACUploadRadioBtn);
    cells->addWidget(_existedACUploadRadioBtn);
    auto* search = new QHBoxLayout;
    search->addWidget(_searchConditionLabel);
    search->addWidget(_searchConditionText, 1);
    search->addWidget(_accountSearchBtn);
    auto* account = new QVBoxLayout;
    account->addWidget(_acUploadRadioBtn);
    account->addWidget(_uploadModeMatrix);
    account->addLayout(search);
    account->addWidget(_accountTableNameLabel);
    account->addWidget(_accountTableView, 1);
    _helpBtn = PluginHelp::helpButton(m_window, "db_cloud_select.html", "UploadView:Help button click!",
        "UploadViewController:Error occurred when show help Info");
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(_helpBtn);
    buttons->addWidget(_sameMethodUploadCheckBtn);
    buttons->addStretch();
    buttons->addWidget(_cancelBtn);
    buttons->addWidget(_skipBtn);
    buttons->addWidget(_uploadBtn);
    auto* layout = new QVBoxLayout(m_window);
    layout->addLayout(card);
    layout->addLayout(lead);
    layout->addLayout(account, 1);
    layout->addLayout(buttons);
    m_window->resize(560, 620);

    QObject::connect(_leadUploadRadioBtn, &QRadioButton::clicked, m_window, [this] { DoLeadUploadSelected(); });
    QObject::connect(_acUploadRadioBtn, &QRadioButton::clicked, m_window, [this] { DoACUploadSelected(); });
    QObject::connect(_newACUploadRadioBtn, &QRadioButton::clicked, m_window, [this] {
        m_acFocus = false;
        DoNewACUploadSelected();
    });
    QObject::connect(_existedACUploadRadioBtn, &QRadioButton::clicked, m_window, [this] {
        m_acFocus = false;
        DoExistedACUploadSelected();
    });
    QObject::connect(_accountSearchBtn, &QPushButton::clicked, m_window, [this] { DoSearchAC(); });
    QObject::connect(_searchConditionText, &QLineEdit::returnPressed, m_window, [this] {
        if (_accountSearchBtn->isEnabled())
            DoSearchAC();
    });
    QObject::connect(_campaignSearchBtn, &QPushButton::clicked, m_window, [this] { DoSearchCampaign(); });
    QObject::connect(_campaignClearBtn, &QPushButton::clicked, m_window, [this] { DoClearCampaign(); });
    QObject::connect(_uploadBtn, &QPushButton::clicked, m_window, [this] { DoUpload(); });
    QObject::connect(_skipBtn, &QPushButton::clicked, m_window, [this] { DoSkip(); });
    QObject::connect(_cancelBtn, &QPushButton::clicked, m_window, [this] {
        log("Cancel Click");
        // While a card goes up alone, Cancel ends the run once its call is answered.
        if (m_canUpload)
            DoCancel();
        else
            cancelUpload(_cancelBtn);
    });

    // The progress window of the batches: its bar follows the time estimate, not the calls.
    m_progressView = new PluginDialog(m_window, "_progressView");
    m_progressView->setWindowTitle(text("LTL03014"));
    _progressIndicator = new QProgressBar(m_progressView);
    _progressIndicator->setObjectName(QStringLiteral("_progressIndicator"));
    _progressIndicator->setAccessibleName(text("LTL03014"));
    _uploadCancel = button(m_progressView, "_uploadCancel", "LTL03016");
    auto* progressLayout = new QVBoxLayout(m_progressView);
    progressLayout->addWidget(_progressIndicator);
    progressLayout->addWidget(_uploadCancel, 0, Qt::AlignRight);
    m_progressView->setCloseHandler([this] { DOProgressCancel(); });
    QObject::connect(_uploadCancel, &QPushButton::clicked, m_progressView, [this] { DOProgressCancel(); });
    QObject::connect(&m_progressTimer, &QTimer::timeout, m_progressView, [this] {
        if (m_isCanelled) {
            m_progressTimer.stop();
            return;
        }
        if (_progressIndicator->value() < kProgressSteps - 1)
            _progressIndicator->setValue(_progressIndicator->value() + 1);
        if (m_uploadEnd)
            m_progressTimer.setInterval(m_progressTimer.interval() / 100);
    });
}

UploadViewController::~UploadViewController()
{
    NotificationCenter::defaultCenter().removeObserver(this);
    delete m_window;
}

const DisplayInfo& UploadViewController::labels() const
{
    static const DisplayInfo none;
    return m_global.UserDisplayInfo() ? *m_global.UserDisplayInfo() : none;
}

void UploadViewController::ShowUploadView()
{
    m_global.setViewCode(kViewUpload);
    log("Show Upload View");
    if (const auto& cards = m_global.CardInfoListFromXML()) {
        for (const auto& card : *cards) {
            if (card->NeedUpload)
                m_uploadCardInfoList.push_back(card);
        }
    }
    if (m_uploadCardInfoList.empty()) {
        DoCancel();
        return;
    }
    const bool lead = labels().isLeadObjectEnabled;
    const bool account = labels().isAccountAndContactObjectEnabled;
    if (lead || !account) {
        ChangeToLeadUpload(lead);
        ChangeToNewACUpload(false);
        ChangeToExistedACUpload(false);
    } else {
        ChangeToLeadUpload(false);
        ChangeToNewACUpload(true);
        ChangeToExistedACUpload(false);
    }
    RefreshFirstView();
    NormalStatusView();
    if (!lead && !account) {
        _leadUploadRadioBtn->setEnabled(false);
        check(_leadUploadRadioBtn, true);
        _acUploadRadioBtn->setEnabled(false);
        check(_acUploadRadioBtn, false);
        _uploadBtn->setEnabled(false);
        _skipBtn->setEnabled(false);
        _sameMethodUploadCheckBtn->setEnabled(false);
        _cancelBtn->setFocus();
    } else {
        // With accounts only, both ways of filing under an account are offered from the start.
        if (!lead)
            _existedACUploadRadioBtn->setEnabled(true);
        _uploadBtn->setFocus();
    }
}

void UploadViewController::RefreshFirstView()
{
    const DisplayInfo& names = labels();
    _userNameLabel->setText(m_global.UserFullName());
    _userNameLabel->setToolTip(m_global.UserFullName());
    setLabelled(_leadUploadRadioBtn, format("LTL03002", shortened(names.LeadLabelName)), format("LTL03002", names.LeadLabelName));
    setLabelled(_acUploadRadioBtn, format("LTL03002", shortened(names.AccountLabelName)), format("LTL03002", names.AccountLabelName));
    setLabelled(_campaignNameLabel, shortened(names.CampaignLabelName), names.CampaignLabelName);
    setLabelled(_leadSourceLabel, shortened(names.LeadSourceLabelName), names.LeadSourceLabelName);
    setLabelled(_leadStatusLabel, shortened(names.LeadStatusLabelName), names.LeadStatusLabelName);
    _campaignText->setAccessibleName(names.CampaignLabelName);
    _campaignSearchBtn->setToolTip(text("LTL03020"));
    setLabelled(_newACUploadRadioBtn, format("LTL03007", shortened(names.AccountLabelName), shortened(names.ContactLabelName)),
        format("LTL03007", names.AccountLabelName, names.ContactLabelName));
    // The title reads naturally with the two labels in the order of the user's language.
    const bool accountFirst = isEastAsian();
    const QString first = accountFirst ? names.AccountLabelName : names.ContactLabelName;
    const QString second = accountFirst ? names.ContactLabelName : names.AccountLabelName;
    setLabelled(_existedACUploadRadioBtn, format("LTL03008", shortened(first), shortened(second)), format("LTL03008", first, second));
    setLabelled(_accountTableNameLabel, format("LTL03009", shortened(names.AccountLabelName)), format("LTL03009", names.AccountLabelName));
    _accountTableView->setAccessibleName(format("LTL03009", names.AccountLabelName));

    _leadSourceComboBox->clear();
    _leadSourceComboBox->addItem(text("LTL03005"));
    _leadSourceComboBox->setCurrentIndex(0);
    if (!names.LeadSource.isEmpty()) {
        _leadSourceComboBox->addItems(names.LeadSource);
        if (names.LeadSourceDefault >= 0)
            _leadSourceComboBox->setCurrentIndex(names.LeadSourceDefault + 1);
    } else {
        _leadSourceComboBox->setEnabled(false);
    }
    _leadStatusComboBox->clear();
    if (!names.LeadStatus.isEmpty()) {
        _leadStatusComboBox->addItems(names.LeadStatus);
        _leadStatusComboBox->setCurrentIndex(std::max(0, names.LeadStatusDefault));
    } else {
        _leadStatusComboBox->setEnabled(false);
    }
    for (QComboBox* box : {_leadSourceComboBox, _leadStatusComboBox}) {
        if (box->count() < box->maxVisibleItems())
            box->setMaxVisibleItems(std::max(1, box->count()));
    }
    _sameMethodUploadCheckBtn->setEnabled(m_uploadCardInfoList.size() > 1);
    const auto card = currentCard();
    _cardIndex->setText(format("LTL03001", m_currentCardIndex + 1, int(m_uploadCardInfoList.size())));
    _orgNameLabel->setText(card->OrganizationName);
    _orgNameLabel->setToolTip(card->OrganizationName);
    _fullNameLabel->setText(card->FullName);
    _fullNameLabel->setToolTip(card->FullName);
}

void UploadViewController::ShowNextCard()
{
    m_uploaded = false;
    const auto card = currentCard();
    if (!card) {
        DoCancel();
        return;
    }
    if (cardsLeft() == 1)
        _sameMethodUploadCheckBtn->setEnabled(false);
    _searchConditionText->clear();
    setAccountRows({});
    const bool lead = labels().isLeadObjectEnabled;
    const bool account = labels().isAccountAndContactObjectEnabled;
    _uploadBtn->setEnabled(lead || account);
    _leadUploadRadioBtn->setEnabled(lead);
    _acUploadRadioBtn->setEnabled(account);
    switch (m_uploadMode) {
    case kModeLead:
        ChangeToNewACUpload(false);
        ChangeToExistedACUpload(false);
        ChangeToLeadUpload(true);
        break;
    case kModeNewAccount:
        ChangeToLeadUpload(false);
        ChangeToExistedACUpload(false);
        ChangeToNewACUpload(true);
        _newACUploadRadioBtn->setEnabled(true);
        _existedACUploadRadioBtn->setEnabled(true);
        break;
    default:
        ChangeToLeadUpload(false);
        ChangeToNewACUpload(false);
        ChangeToExistedACUpload(true);
        _newACUploadRadioBtn->setEnabled(true);
        _existedACUploadRadioBtn->setEnabled(true);
        break;
    }
    m_acListNeedRefresh = true;
    if (m_uploadMode == kModeExistedAccount) {
        m_acListNeedRefresh = false;
        RefreshAccountTable(CommonFuc::GetDomain(card->Email), kSearchByEmail);
        if (m_existedACUpload) {
            _uploadBtn->setFocus();
            m_existedACUpload = false;
        }
    }
    _cardIndex->setText(format("LTL03001", m_currentCardIndex + 1, int(m_uploadCardInfoList.size())));
    _orgNameLabel->setText(card->OrganizationName);
    _orgNameLabel->setToolTip(card->OrganizationName);
    _fullNameLabel->setText(card->FullName);
    _fullNameLabel->setToolTip(card->FullName);
}

void UploadViewController::setCaptionsColour(const std::initializer_list<QWidget*>& captions, bool black)
{
    for (QWidget* caption : captions) {
        QPalette palette = caption->palette();
        palette.setColor(QPalette::WindowText, black ? QColor(Qt::black) : QColor(Qt::gray));
        caption->setPalette(palette);
    }
}

void UploadViewController::ChangeToLeadUpload(bool on)
{
    const DisplayInfo& names = labels();
    const bool available = names.isLeadObjectEnabled;
    _campaignText->setEnabled(on && available);
    if (on && available) {
        check(_acUploadRadioBtn, false);
        check(_leadUploadRadioBtn, true);
        _leadUploadRadioBtn->setEnabled(true);
        _leadSourceComboBox->setEnabled(!names.LeadSource.isEmpty());
        _leadStatusComboBox->setEnabled(!names.LeadStatus.isEmpty());
        setCaptionsColour({_leadSourceLabel, _leadStatusLabel, _campaignNameLabel}, true);
        if (m_canUpload) {
            _campaignSearchBtn->setEnabled(true);
            _campaignClearBtn->setEnabled(true);
        }
        m_uploadMode = kModeLead;
        return;
    }
    _leadSourceComboBox->setEnabled(false);
    check(_acUploadRadioBtn, names.isAccountAndContactObjectEnabled);
    check(_leadUploadRadioBtn, false);
    _leadStatusComboBox->setEnabled(false);
    setCaptionsColour({_leadSourceLabel, _leadStatusLabel, _campaignNameLabel}, false);
    _campaignSearchBtn->setEnabled(false);
    _campaignClearBtn->setEnabled(false);
}

void UploadViewController::ChangeToNewACUpload(bool on)
{
    const bool available = labels().isAccountAndContactObjectEnabled;
    if (on && available) {
        check(_acUploadRadioBtn, true);
        check(_leadUploadRadioBtn, false);
        check(_newACUploadRadioBtn, true);
        check(_existedACUploadRadioBtn, false);
        m_uploadMode = kModeNewAccount;
    }
    _newACUploadRadioBtn->setEnabled(on && available);
}

void UploadViewController::ChangeToExistedACUpload(bool on)
{
    if (!on || !labels().isAccountAndContactObjectEnabled) {
        _existedACUploadRadioBtn->setEnabled(false);
        _searchConditionText->setEnabled(false);
        _accountSearchBtn->setEnabled(false);
        _accountTableView->SetQDLTableViewEnabled(false);
        setCaptionsColour({_searchConditionLabel, _accountTableNameLabel}, false);
        return;
    }
    check(_newACUploadRadioBtn, false);
    check(_existedACUploadRadioBtn, true);
    _existedACUploadRadioBtn->setEnabled(true);
    check(_acUploadRadioBtn, true);
    check(_leadUploadRadioBtn, false);
    setCaptionsColour({_searchConditionLabel, _accountTableNameLabel}, true);
    _searchConditionText->setEnabled(true);
    _accountSearchBtn->setEnabled(true);
    _accountTableView->SetQDLTableViewEnabled(true);
    m_uploadMode = kModeExistedAccount;
    if (m_acListNeedRefresh) {
        m_acListNeedRefresh = false;
        if (const auto card = currentCard()) {
            m_querying = true;
            RefreshAccountTable(CommonFuc::GetDomain(card->Email), kSearchByEmail);
        }
    }
}

void UploadViewController::DoLeadUploadSelected()
{
    if (!currentCard())
        return;
    _leadUploadRadioBtn->setFocus();
    log("Lead Upload Selected");
    if (m_uploadMode == kModeLead) {
        check(_leadUploadRadioBtn, true);
        return;
    }
    ChangeToLeadUpload(true);
    ChangeToNewACUpload(false);
    ChangeToExistedACUpload(false);
}

void UploadViewController::DoACUploadSelected()
{
    if (!currentCard())
        return;
    _acUploadRadioBtn->setFocus();
    log("Account Upload Selected");
    if (m_uploadMode != kModeLead) {
        check(_acUploadRadioBtn, true);
        return;
    }
    ChangeToLeadUpload(false);
    m_acFocus = true;
    // The cells kept their states while leads were filed: the account choice returns to the last.
    if (_newACUploadRadioBtn->isChecked())
        DoNewACUploadSelected();
    else
        DoExistedACUploadSelected();
}

void UploadViewController::DoNewACUploadSelected()
{
    if (!currentCard())
        return;
    if (!m_acFocus)
        _newACUploadRadioBtn->setFocus();
    m_acFocus = false;
    log("New Account Upload Selected");
    if (m_uploadMode == kModeNewAccount) {
        check(_newACUploadRadioBtn, true);
        return;
    }
    ChangeToNewACUpload(true);
    ChangeToExistedACUpload(false);
    _existedACUploadRadioBtn->setEnabled(true);
}

void UploadViewController::DoExistedACUploadSelected()
{
    if (!currentCard())
        return;
    if (!m_acFocus)
        _existedACUploadRadioBtn->setFocus();
    m_acFocus = false;
    log("Existed Account Upload Selected");
    if (m_uploadMode == kModeExistedAccount) {
        check(_existedACUploadRadioBtn, true);
        return;
    }
    ChangeToExistedACUpload(true);
    ChangeToNewACUpload(false);
    // A search that has started keeps the other cell disabled until it ends.
    if (!m_querying)
        _newACUploadRadioBtn->setEnabled(true);
}

void UploadViewController::DoSearchAC()
{
    log("Search Account Click");
    RefreshAccountTable(_searchConditionText->text(), kSearchByName);
}

void UploadViewController::RefreshAccountTable(const QString& searchText, int kind)
{
    m_acSearchMode = kind;
    if (searchText.isEmpty()) {
        if (kind == kSearchByName) {
            ViewTexts::alert(text("MSG03011"), m_window);
            _searchConditionText->setFocus();
        } else {
            setAccountRows({});
        }
        m_querying = false;
        return;
    }
    setAccountRows({});
    m_displayHandler = std::make_unique<DisplayHandler>(m_global);
    NotificationCenter::defaultCenter().addObserver(this, QString::fromLatin1(kQDLEVENTLOGETACCOMPLETED),
        [this](const Notification& notification) { OnGetAccountListCompleted(notification); }, m_displayHandler.get());
    WaitStatusView();
    m_querying = true;
    m_displayHandler->GetExistAccountsAsync(searchText, kind);
}

void UploadViewController::OnGetAccountListCompleted(const Notification& notification)
{
    NotificationCenter::defaultCenter().removeObserver(this, QString::fromLatin1(kQDLEVENTLOGETACCOMPLETED));
    const auto holder = notification.userInfo.value(QString::fromLatin1(kQueryResultKey)).value<QueryResultPtr>();
    const int code = holder ? holder->Code() : kQDLOtherFault;
    if (code != kQDLSuccess) {
        LogManager::LogOutput(kLogError, QStringLiteral("Search exist account error!"));
        ViewTexts::alert(failureMessage(code, m_global.ExceptionMsg(), QString()), m_window);
        if (m_acSearchMode == kSearchByName)
            _searchConditionText->setFocus();
        m_querying = false;
        if (code > kLastWindowCode) {
            m_skipErrorCode = code;
            DoCancel();
            return;
        }
        NormalStatusView();
        if (hasCurrentResult())
            CheckCardinfoEnable();
        return;
    }
    const auto rows = notification.userInfo.value(QString::fromLatin1(kAccountRowsKey)).value<AccountRows>();
    if (!rows.empty()) {
        setAccountRows(rows);
        if (m_acSearchMode == kSearchByName)
            _accountSearchBtn->setFocus();
    } else if (!_searchConditionText->text().isEmpty()) {
        ViewTexts::alert(format("MSG03012", labels().AccountLabelName), m_window);
    }
    m_querying = false;
    NormalStatusView();
    if (hasCurrentResult())
        CheckCardinfoEnable();
    _accountTableView->clearSelection();
}

void UploadViewController::setAccountRows(const AccountRows& rows)
{
    _accountListData = rows;
    _accountTableView->clearSelection();
    _accountTableView->setRowCount(0);
    _accountTableView->setRowCount(int(rows.size()));
    for (int row = 0; row < int(rows.size()); ++row)
        _accountTableView->setItem(row, 0, new QTableWidgetItem(rows[size_t(row)].AccountName));
    _accountTableView->SetQDLTableViewEnabled(_accountTableView->GetQDLTableViewEnabled());
}

std::shared_ptr<ens_Account> UploadViewController::selectedAccount() const
{
    const QList<QTableWidgetItem*> selected = _accountTableView->selectedItems();
    if (selected.isEmpty())
        return nullptr;
    const int row = selected.front()->row();
    return row < int(_accountListData.size()) ? _accountListData[size_t(row)].AccountData : nullptr;
}

void UploadViewController::DoSearchCampaign()
{
    log("Search Campaign Click");
    m_global.setViewCode(kViewCampaignSearch);
    m_window->finish();
}

void UploadViewController::SearchCampaignCompleted(const std::shared_ptr<ens_Campaign>& campaign)
{
    if (m_global.ViewCode() == kViewResult) {
        DoCancel();
        return;
    }
    m_global.setViewCode(kViewUpload);
    if (!campaign)
        return;
    m_campaign = campaign;
    _campaignText->setText(campaign->Name());
}

void UploadViewController::DoClearCampaign()
{
    log("Clear Campaign Click");
    _campaignText->clear();
    m_campaign.reset();
}

std::shared_ptr<CardInfo> UploadViewController::currentCard() const
{
    return m_currentCardIndex >= 0 && m_currentCardIndex < int(m_uploadCardInfoList.size())
        ? m_uploadCardInfoList[size_t(m_currentCardIndex)]
        : nullptr;
}

bool UploadViewController::hasCurrentResult() const
{
    return int(m_uploadResultList.size()) > m_currentCardIndex;
}

bool UploadViewController::CheckNullItem()
{
    CheckCardinfoMSG();
    return CheckCardinfoEnable();
}

void UploadViewController::CheckCardinfoMSG()
{
    const auto card = currentCard();
    if (!card) {
        DoCancel();
        return;
    }
    const DisplayInfo& names = labels();
    auto report = [this](const char* line, const QString& message, int code) {
        LogManager::LogOutput(kLogError, QString::fromLatin1(line));
        ViewTexts::alert(message, m_window);
        if (code)
            UpdateUploadResultList(kUploadFailed, code);
    };
    const bool eastAsian = isEastAsian();
    if (m_uploadMode == kModeExistedAccount) {
        // Under an existing account the company comes from the account.
        if (card->LastName.isEmpty())
            report("LastName is empty", format("MSG03018", text("LTL99046")), 10202);
        else if (card->FullName.isEmpty())
            report("FullName is empty", format("MSG03018", text("LTL99047")), 10303);
        return;
    }
    if (card->LastName.isEmpty())
        report("LastName is empty", format("MSG03018", text("LTL99046")), 10202);
    else if (card->OrganizationName.isEmpty() && !card->FullName.isEmpty())
        report("OrganizationName is empty",
            m_uploadMode == kModeLead
                ? (eastAsian ? format("MSG03006", names.LeadLabelName, names.AccountLabelName, names.ContactLabelName)
                             : format("MSG03006", names.LeadLabelName, names.ContactLabelName, names.AccountLabelName))
                : (eastAsian ? format("MSG03007", names.AccountLabelName, names.ContactLabelName, names.AccountLabelName, names.ContactLabelName)
                             : format("MSG03007", names.AccountLabelName, names.ContactLabelName, names.ContactLabelName, names.AccountLabelName)),
            0);
    else if (!card->OrganizationName.isEmpty() && card->FullName.isEmpty())
        report("FullName is empty", format("MSG03018", text("LTL99047")), 10303);
    else if (card->OrganizationName.isEmpty() && card->FullName.isEmpty())
        report("FullName and OrganizationName is empty", format("MSG03018", text("LTL99048")), 10303);
}

bool UploadViewController::CheckCardinfoEnable()
{
    const auto card = currentCard();
    if (!card) {
        DoCancel();
        return false;
    }
    if (card->LastName.isEmpty() || card->FullName.isEmpty()) {
        lockCard(m_uploadMode == kModeLead);
        return false;
    }
    if (m_uploadMode == kModeExistedAccount || !card->OrganizationName.isEmpty())
        return true;
    if (!labels().isAccountAndContactObjectEnabled) {
        lockCard(m_uploadMode == kModeLead);
        return false;
    }
    // Without a company the card can go only under an account that exists already.
    ChangeToLeadUpload(false);
    ChangeToNewACUpload(false);
    ChangeToExistedACUpload(true);
    check(_existedACUploadRadioBtn, true);
    check(_newACUploadRadioBtn, false);
    _leadUploadRadioBtn->setEnabled(false);
    _newACUploadRadioBtn->setEnabled(false);
    m_uploaded = true;
    return false;
}

void UploadViewController::lockCard(bool asLead)
{
    ChangeToLeadUpload(false);
    ChangeToNewACUpload(false);
    ChangeToExistedACUpload(false);
    check(_leadUploadRadioBtn, asLead);
    check(_acUploadRadioBtn, !asLead);
    _leadUploadRadioBtn->setEnabled(false);
    _acUploadRadioBtn->setEnabled(false);
    _uploadBtn->setEnabled(false);
    _skipBtn->setFocus();
}

void UploadViewController::DoUpload()
{
    log("Upload Click");
    const bool together = _sameMethodUploadCheckBtn->isChecked();
    if (!together && !CheckNullItem())
        return;
    if (m_uploadMode == kModeExistedAccount && !selectedAccount()) {
        ViewTexts::alert(format("MSG03008", labels().AccountLabelName), m_window);
    } else if (!together && currentCard()->Email.size() > kMaxEmailLength) {
        ViewTexts::alert(text("MSG03030"), m_window);
        lockCard(m_uploadMode == kModeLead);
        UpdateUploadResultList(kUploadFailed, 10302);
    } else {
        WaitStatusView();
        if (m_uploadMode != kModeLead && !together)
            m_existedACUpload = true;
        startUpload(together);
        if (together)
            ShowProgressView();
        else
            _cancelBtn->setEnabled(true);
    }
    if (!_skipBtn->hasFocus())
        _uploadBtn->setFocus();
}

void UploadViewController::startUpload(bool together)
{
    if (!currentCard()) {
        DoCancel();
        return;
    }
    NotificationCenter::defaultCenter().addObserver(this, QString::fromLatin1(kQDLEVENTLOUPLOADCOMPLETED),
        [this, together](const Notification& notification) { OnUploadCompleted(notification, together); }, m_cardHandler.get());
    const int count = together ? std::min(kBatchSize, cardsLeft()) : 1;
    const std::vector<std::shared_ptr<CardInfo>> cards(m_uploadCardInfoList.begin() + m_currentCardIndex,
        m_uploadCardInfoList.begin() + m_currentCardIndex + count);
    if (m_uploadMode == kModeLead) {
        const QString source = _leadSourceComboBox->currentIndex() > 0 ? _leadSourceComboBox->currentText() : QString();
        const QString status = _leadStatusComboBox->currentIndex() >= 0 ? _leadStatusComboBox->currentText() : QString();
        m_cardHandler->UploadAsLeadAsync(cards, source, status, m_campaign);
    } else {
        m_cardHandler->UploadAsACAsync(cards, m_uploadMode == kModeExistedAccount ? selectedAccount() : nullptr);
    }
}

void UploadViewController::OnUploadCompleted(const Notification& notification, bool together)
{
    NotificationCenter::defaultCenter().removeObserver(this, QString::fromLatin1(kQDLEVENTLOUPLOADCOMPLETED));
    const auto results = notification.userInfo.value(QString::fromLatin1(kKEY_CODE)).value<UploadResults>();
    if (hasCurrentResult())
        m_uploadResultList.pop_back();
    if (together)
        OnTogetherCompleted(results);
    else if (!results.empty())
        OnSingleCompleted(results.front());
}

QString UploadViewController::failureMessage(int code, const QString& exceptionMessage, const QString& option) const
{
    const QString key = ErrorManager::GetErrorMessage(code, kViewUpload, option, m_global);
    if (key == QLatin1String("MSG99001") || key == QLatin1String("MSG03002") || key == QLatin1String("MSG03014"))
        return formatText(ViewTexts::textOrSelf(key), exceptionMessage);
    return ViewTexts::textOrSelf(key);
}

void UploadViewController::OnSingleCompleted(const std::shared_ptr<DoUploadResult>& result)
{
    m_uploadResultList.push_back(result);
    if (result->Code > kLastRunCode) {
        ViewTexts::alert(failureMessage(result->Code, result->ExceptionMessage, QStringLiteral("upload")), m_window);
        m_skipErrorCode = result->Code;
        DoCancel();
        return;
    }
    if (m_isCanelled) {
        // The results tell what became of the card; the run ends as the user asked.
        DoCancel();
        return;
    }
    if (result->Status == kUploadDone || result->Status == kUploadWarning) {
        if (!result->OverLengthTextList.isEmpty())
            ViewTexts::alert(format("MSG03024", CommonFuc::SpliceWarnMsg(result->OverLengthTextList)), m_window, "LTL99002");
        if (result->Status == kUploadWarning && result->Code != kQDLStringTooLong)
            ViewTexts::alert(text("MSG03026"), m_window, "LTL99002");
        ++m_currentCardIndex;
        if (currentCard()) {
            ShowNextCard();
            // The next card's account search keeps the window waiting until it answers.
            if (!m_querying)
                NormalStatusView();
        } else {
            DoCancel();
        }
        return;
    }
    NormalStatusView();
    if (result->Code > kLastCardCode)
        lockCard(m_uploadMode == kModeLead);
    if (m_uploadMode == kModeLead && result->NeedRollbackLead && result->Code != kQDLUploadCancelled)
        ViewTexts::alert(format("MSG03016", labels().CampaignLabelName), m_window);
    else
        ViewTexts::alert(failureMessage(result->Code, result->ExceptionMessage, QStringLiteral("upload"))
                + (result->AnswerLost ? QLatin1Char('\n') + text("MSG03031") : QString()), m_window);
}

void UploadViewController::OnTogetherCompleted(const UploadResults& results)
{
    m_uploadResultList.insert(m_uploadResultList.end(), results.begin(), results.end());
    m_currentCardIndex += int(results.size());
    for (const auto& result : results) {
        if (result->Code > kLastRunCode) {
            ViewTexts::alert(failureMessage(result->Code, result->ExceptionMessage, QStringLiteral("upload")), m_progressView);
            CloseProgressView();
            m_skipErrorCode = result->Code;
            DoCancel();
            return;
        }
    }
    if (m_isCanelled || !currentCard()) {
        m_uploadEnd = !currentCard();
        CloseProgressView();
        DoCancel();
        return;
    }
    startUpload(true);
}

void UploadViewController::UpdateUploadResultList(int status, int code)
{
    if (!hasCurrentResult()) {
        auto result = std::make_shared<DoUploadResult>();
        result->Status = status;
        result->Code = code;
        result->Card = currentCard();
        m_uploadResultList.push_back(result);
    } else if (m_uploadResultList.back()->Status == kUploadFailed && status == kUploadFailed) {
        m_uploadResultList.back()->Code = code;
    }
}

void UploadViewController::DoSkip()
{
    log("Skip Click");
    _skipBtn->setFocus();
    if (_sameMethodUploadCheckBtn->isChecked()) {
        DoCancel();
        return;
    }
    UpdateUploadResultList(kUploadSkipped, 0);
    ++m_currentCardIndex;
    if (currentCard()) {
        ShowNextCard();
        if (!m_querying)
            NormalStatusView();
        _skipBtn->setFocus();
    } else {
        DoCancel();
    }
}

void UploadViewController::DoCancel()
{
    for (; currentCard(); ++m_currentCardIndex)
        UpdateUploadResultList(kUploadSkipped, m_skipErrorCode);
    // Cards the user chose not to upload again keep their place of the card file.
    if (const auto& cards = m_global.CardInfoListFromXML()) {
        for (size_t i = 0; i < cards->size(); ++i) {
            if ((*cards)[i]->NeedUpload)
                continue;
            auto result = std::make_shared<DoUploadResult>();
            result->Card = (*cards)[i];
            result->Status = kUploadSkipped;
            m_uploadResultList.insert(m_uploadResultList.begin() + std::min(i, m_uploadResultList.size()), result);
        }
    }
    m_global.setUploadResult(m_uploadResultList);
    m_global.setViewCode(kViewResult);
    m_window->finish();
}

void UploadViewController::DOProgressCancel()
{
    log("Progress Bar Cancel Click");
    cancelUpload(_uploadCancel);
}

void UploadViewController::cancelUpload(QPushButton* cancel)
{
    m_isCanelled = true;
    // The upload ends once the service has answered the call it holds (or it timed out) and what
    // it made is taken back; until then the window stays, its Cancel taken and saying that the
    // cancel is under way.
    cancel->setEnabled(false);
    cancel->setText(text("LTL03021"));
    m_cardHandler->Cancel();
}

void UploadViewController::ShowProgressView()
{
    const int n = cardsLeft();
    const double login = m_global.loginCostTime();
    m_totalTime = m_uploadMode == kModeLead ? 0.29 * n + 0.95 * login : 0.563 * n + 1.07 * login;
    _uploadCancel->setFocus();
    _progressIndicator->setRange(0, kProgressSteps);
    _progressIndicator->setValue(0);
    m_progressTimer.start(std::max(1, int(m_totalTime * 1000 / kProgressSteps)));
    m_progressView->open();
}

void UploadViewController::CloseProgressView()
{
    m_progressTimer.stop();
    m_progressView->finish();
}

void UploadViewController::WaitStatusView()
{
    m_canUpload = false;
    m_window->setCursor(Qt::BusyCursor);
    for (QWidget* control : std::initializer_list<QWidget*>{
             _uploadBtn, _skipBtn, _cancelBtn, _sameMethodUploadCheckBtn, _helpBtn, _leadUploadRadioBtn, _acUploadRadioBtn})
        control->setEnabled(false);
    switch (m_uploadMode) {
    case kModeLead:
        for (QWidget* control : std::initializer_list<QWidget*>{
                 _leadSourceComboBox, _leadStatusComboBox, _campaignSearchBtn, _campaignClearBtn, _campaignText})
            control->setEnabled(false);
        break;
    case kModeNewAccount:
        _newACUploadRadioBtn->setEnabled(false);
        _existedACUploadRadioBtn->setEnabled(false);
        break;
    default:
        for (QWidget* control : std::initializer_list<QWidget*>{
                 _newACUploadRadioBtn, _existedACUploadRadioBtn, _searchConditionText, _accountSearchBtn})
            control->setEnabled(false);
        _accountTableView->SetQDLTableViewEnabled(false);
        setCaptionsColour({_searchConditionLabel, _accountTableNameLabel}, false);
        break;
    }
}

void UploadViewController::NormalStatusView()
{
    m_canUpload = true;
    m_window->unsetCursor();
    const DisplayInfo& names = labels();
    const bool lead = names.isLeadObjectEnabled;
    const bool account = names.isAccountAndContactObjectEnabled;
    _uploadBtn->setEnabled(lead || account);
    _skipBtn->setEnabled(true);
    _cancelBtn->setEnabled(true);
    _helpBtn->setEnabled(true);
    _sameMethodUploadCheckBtn->setEnabled(cardsLeft() > 1);
    _leadUploadRadioBtn->setEnabled(lead);
    _acUploadRadioBtn->setEnabled(account);
    switch (m_uploadMode) {
    case kModeLead:
        for (QWidget* control : std::initializer_list<QWidget*>{_campaignSearchBtn, _campaignClearBtn, _campaignText})
            control->setEnabled(lead);
        _leadSourceComboBox->setEnabled(lead && !names.LeadSource.isEmpty());
        _leadStatusComboBox->setEnabled(lead && !names.LeadStatus.isEmpty());
        break;
    case kModeNewAccount:
        _newACUploadRadioBtn->setEnabled(account);
        _existedACUploadRadioBtn->setEnabled(account);
        break;
    default:
        for (QWidget* control : std::initializer_list<QWidget*>{
                 _newACUploadRadioBtn, _existedACUploadRadioBtn, _accountSearchBtn, _searchConditionText})
            control->setEnabled(account);
        _accountTableView->SetQDLTableViewEnabled(account);
        setCaptionsColour({_searchConditionLabel, _accountTableNameLabel}, account);
        break;
    }
    if (m_uploaded) {
        _leadUploadRadioBtn->setEnabled(false);
        _newACUploadRadioBtn->setEnabled(false);
    }
}

void UploadViewController::Run()
{
    CommonFuc::ShowWindowCenter(m_window, m_global.Windows());
    m_window->exec();
}
