#include "plugin/Controller/UploadViewController.h"

#include "plugin/Common/ErrorManager.h"
#include "plugin/Common/GlobalData.h"
#include "plugin/Common/LogManager.h"
#include "plugin/Controller/PluginDialog.h"
#include "plugin/Controller/ViewTexts.h"
#include "plugin/Logic/CardHandler.h"
#include "plugin/Logic/LoginInfoHandler.h"
#include "platform/foundation/NotificationCenter.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

using ViewTexts::format;
using ViewTexts::text;

namespace {

constexpr int kBatchSize = 100;
constexpr int kMaxEmailLength = 80;
constexpr int kLastCardCode = 10000;
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
    return result;
}

// At most 11 characters of a label, then "...".
QString shortened(const QString& label)
{
    return label.size() < 12 ? label : label.left(11) + QStringLiteral("...");
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
    _leadUploadRadioBtn = new QRadioButton(m_window);
    _leadUploadRadioBtn->setObjectName(QStringLiteral("_leadUploadRadioBtn"));
    _acUploadRadioBtn = new QRadioButton(m_window);
    _acUploadRadioBtn->setObjectName(QStringLiteral("_acUploadRadioBtn"));
    _leadSourceComboBox = new QComboBox(m_window);
    _leadSourceComboBox->setObjectName(QStringLiteral("_leadSourceComboBox"));
    _leadStatusComboBox = new QComboBox(m_window);
    _leadStatusComboBox->setObjectName(QStringLiteral("_leadStatusComboBox"));
    _sameMethodUploadCheckBtn = new QCheckBox(text("LTL03004"), m_window);
    _sameMethodUploadCheckBtn->setObjectName(QStringLiteral("_sameMethodUploadCheckBtn"));
    _uploadBtn = button(m_window, "_uploadBtn", "LTL03006");
    _uploadBtn->setDefault(true);
    _skipBtn = button(m_window, "_skipBtn", "LTL03007");
    _cancelBtn = button(m_window, "_cancelBtn", "LTL03008");

    auto* card = new QFormLayout;
    card->addRow(text("LTL03011"), _userNameLabel);
    card->addRow(QString(), _cardIndex);
    card->addRow(text("LTL03012"), _orgNameLabel);
    card->addRow(text("LTL03013"), _fullNameLabel);
    auto* lead = new QFormLayout;
    lead->addRow(_leadUploadRadioBtn);
    lead->addRow(new QLabel(m_window), _leadSourceComboBox);
    lead->addRow(new QLabel(m_window), _leadStatusComboBox);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(_sameMethodUploadCheckBtn);
    buttons->addStretch();
    buttons->addWidget(_cancelBtn);
    buttons->addWidget(_skipBtn);
    buttons->addWidget(_uploadBtn);
    auto* layout = new QVBoxLayout(m_window);
    layout->addLayout(card);
    layout->addLayout(lead);
    layout->addWidget(_acUploadRadioBtn);
    layout->addLayout(buttons);

    QObject::connect(_leadUploadRadioBtn, &QRadioButton::clicked, m_window, [this] { ChangeMode(kModeLead); });
    QObject::connect(_acUploadRadioBtn, &QRadioButton::clicked, m_window, [this] { ChangeMode(kModeNewAccount); });
    QObject::connect(_uploadBtn, &QPushButton::clicked, m_window, [this] { DoUpload(); });
    QObject::connect(_skipBtn, &QPushButton::clicked, m_window, [this] { DoSkip(); });
    QObject::connect(_cancelBtn, &QPushButton::clicked, m_window, [this] {
        log("Cancel Click");
        DoCancel();
    });

    // The progress window of the batches: its bar follows the time estimate, not the calls.
    m_progressView = new PluginDialog(m_window, "_progressView");
    m_progressView->setWindowTitle(text("LTL03014"));
    _progressIndicator = new QProgressBar(m_progressView);
    _progressIndicator->setObjectName(QStringLiteral("_progressIndicator"));
    _progressIndicator->setAccessibleName(text("LTL03014"));
    _uploadCancel = button(m_progressView, "_uploadCancel", "LTL03008");
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

void UploadViewController::ShowUploadView()
{
    m_global.setViewCode(kViewUpload);
    LogManager::LogOutput(kLogInformation, QStringLiteral("UploadViewController:ShowUploadView start"));
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
    const DisplayInfo labels = m_global.UserDisplayInfo() ? *m_global.UserDisplayInfo() : DisplayInfo();
    ChangeMode(labels.isLeadObjectEnabled || !labels.isAccountAndContactObjectEnabled ? kModeLead : kModeNewAccount);
    RefreshFirstView();
    NormalStatusView();
    if (!labels.isLeadObjectEnabled && !labels.isAccountAndContactObjectEnabled) {
        _uploadBtn->setEnabled(false);
        _skipBtn->setEnabled(false);
        _sameMethodUploadCheckBtn->setEnabled(false);
        _cancelBtn->setFocus();
    } else {
        _uploadBtn->setFocus();
    }
}

void UploadViewController::RefreshFirstView()
{
    const DisplayInfo labels = m_global.UserDisplayInfo() ? *m_global.UserDisplayInfo() : DisplayInfo();
    _userNameLabel->setText(m_global.UserFullName());
    _userNameLabel->setToolTip(m_global.UserFullName());
    auto title = [](QRadioButton* choice, const QString& label) {
        choice->setText(format("LTL03002", shortened(label)));
        choice->setToolTip(format("LTL03002", label));
        choice->setAccessibleName(format("LTL03002", label));
    };
    title(_leadUploadRadioBtn, labels.LeadLabelName);
    title(_acUploadRadioBtn, labels.AccountLabelName + QStringLiteral(" / ") + labels.ContactLabelName);
    _leadSourceComboBox->clear();
    _leadSourceComboBox->addItem(text("LTL03005"));
    _leadSourceComboBox->addItems(labels.LeadSource);
    _leadSourceComboBox->setCurrentIndex(labels.LeadSourceDefault + 1);
    _leadSourceComboBox->setAccessibleName(labels.LeadSourceLabelName);
    _leadStatusComboBox->clear();
    _leadStatusComboBox->addItems(labels.LeadStatus);
    _leadStatusComboBox->setCurrentIndex(labels.LeadStatusDefault);
    _leadStatusComboBox->setAccessibleName(labels.LeadStatusLabelName);
    _sameMethodUploadCheckBtn->setEnabled(m_uploadCardInfoList.size() > 1);
    ShowNextCard();
}

void UploadViewController::ShowNextCard()
{
    const auto card = currentCard();
    _cardIndex->setText(format("LTL03001", m_currentCardIndex + 1, int(m_uploadCardInfoList.size())));
    _orgNameLabel->setText(card->OrganizationName);
    _orgNameLabel->setToolTip(card->OrganizationName);
    _fullNameLabel->setText(card->FullName);
    _fullNameLabel->setToolTip(card->FullName);
    const DisplayInfo labels = m_global.UserDisplayInfo() ? *m_global.UserDisplayInfo() : DisplayInfo();
    _leadUploadRadioBtn->setEnabled(labels.isLeadObjectEnabled);
    _acUploadRadioBtn->setEnabled(labels.isAccountAndContactObjectEnabled);
    ChangeMode(m_uploadMode);
}

void UploadViewController::ChangeMode(int mode)
{
    m_uploadMode = mode;
    _leadUploadRadioBtn->setChecked(mode == kModeLead);
    _acUploadRadioBtn->setChecked(mode == kModeNewAccount);
    const DisplayInfo labels = m_global.UserDisplayInfo() ? *m_global.UserDisplayInfo() : DisplayInfo();
    _leadSourceComboBox->setEnabled(mode == kModeLead && m_canUpload && labels.isLeadObjectEnabled && !labels.LeadSource.isEmpty());
    _leadStatusComboBox->setEnabled(mode == kModeLead && m_canUpload && labels.isLeadObjectEnabled && !labels.LeadStatus.isEmpty());
}

std::shared_ptr<CardInfo> UploadViewController::currentCard() const
{
    return m_currentCardIndex < int(m_uploadCardInfoList.size()) ? m_uploadCardInfoList[size_t(m_currentCardIndex)] : nullptr;
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
    const DisplayInfo labels = m_global.UserDisplayInfo() ? *m_global.UserDisplayInfo() : DisplayInfo();
    auto report = [this](const char* line, const QString& message, int code) {
        LogManager::LogOutput(kLogError, QString::fromLatin1(line));
        ViewTexts::alert(message, m_window);
        if (code)
            UpdateUploadResultList(kUploadFailed, code);
    };
    const bool eastAsian = QStringList{"ja", "ko", "zh-Hant"}.contains(ErrorManager::preferredLanguage());
    if (card->LastName.isEmpty())
        report("LastName is empty", format("MSG03018", text("LTL99046")), 10202);
    else if (card->OrganizationName.isEmpty() && !card->FullName.isEmpty())
        report("OrganizationName is empty",
            m_uploadMode == kModeLead
                ? (eastAsian ? format("MSG03006", labels.LeadLabelName, labels.AccountLabelName, labels.ContactLabelName)
                             : format("MSG03006", labels.LeadLabelName, labels.ContactLabelName, labels.AccountLabelName))
                : (eastAsian ? format("MSG03007", labels.AccountLabelName, labels.ContactLabelName, labels.AccountLabelName, labels.ContactLabelName)
                             : format("MSG03007", labels.AccountLabelName, labels.ContactLabelName, labels.ContactLabelName, labels.AccountLabelName)),
            0);
    else if (!card->OrganizationName.isEmpty() && card->FullName.isEmpty())
        report("FullName is empty", format("MSG03018", text("LTL99047")), 10303);
    else if (card->OrganizationName.isEmpty() && card->FullName.isEmpty())
        report("FullName and OrganizationName is empty", format("MSG03018", text("LTL99048")), 10303);
}

bool UploadViewController::CheckCardinfoEnable()
{
    const auto card = currentCard();
    if (!card)
        return false;
    if (card->LastName.isEmpty() || card->FullName.isEmpty() || card->OrganizationName.isEmpty()) {
        // Filing a card without a company under an existing account is not offered here yet, so
        // such a card can only be skipped.
        lockCard();
        return false;
    }
    return true;
}

void UploadViewController::lockCard()
{
    _leadUploadRadioBtn->setEnabled(false);
    _acUploadRadioBtn->setEnabled(false);
    _leadSourceComboBox->setEnabled(false);
    _leadStatusComboBox->setEnabled(false);
    _uploadBtn->setEnabled(false);
    _skipBtn->setFocus();
}

void UploadViewController::DoUpload()
{
    log("Upload Click");
    const bool together = _sameMethodUploadCheckBtn->isChecked();
    if (!together && !CheckNullItem())
        return;
    if (!together && currentCard()->Email.size() > kMaxEmailLength) {
        ViewTexts::alert(text("MSG03030"), m_window);
        lockCard();
        UpdateUploadResultList(kUploadFailed, 10302);
    } else {
        WaitStatusView();
        startUpload(together);
        if (together)
            ShowProgressView();
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
        m_cardHandler->UploadAsLeadAsync(cards, source, status, nullptr);
    } else {
        m_cardHandler->UploadAsACAsync(cards, nullptr);
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

QString UploadViewController::failureMessage(const DoUploadResult& result) const
{
    const QString key = ErrorManager::GetErrorMessage(result.Code, 3, QStringLiteral("upload"), m_global);
    if (key == QLatin1String("MSG99001") || key == QLatin1String("MSG03002") || key == QLatin1String("MSG03014"))
        return formatText(ViewTexts::textOrSelf(key), result.ExceptionMessage);
    return ViewTexts::textOrSelf(key);
}

void UploadViewController::OnSingleCompleted(const std::shared_ptr<DoUploadResult>& result)
{
    m_uploadResultList.push_back(result);
    if (result->Code > kLastRunCode) {
        ViewTexts::alert(failureMessage(*result), m_window);
        m_skipErrorCode = result->Code;
        DoCancel();
        return;
    }
    if (result->Status == kUploadDone || result->Status == kUploadWarning) {
        if (!result->OverLengthTextList.isEmpty())
            ViewTexts::alert(format("MSG03024", CommonFuc::SpliceWarnMsg(result->OverLengthTextList)), m_window, "LTL99002");
        if (result->Status == kUploadWarning && result->Code != 10207)
            ViewTexts::alert(text("MSG03026"), m_window, "LTL99002");
        ++m_currentCardIndex;
        if (currentCard()) {
            ShowNextCard();
            NormalStatusView();
        } else {
            DoCancel();
        }
        return;
    }
    NormalStatusView();
    if (result->Code > kLastCardCode)
        lockCard();
    if (m_uploadMode == kModeLead && result->NeedRollbackLead) {
        const QString campaign = m_global.UserDisplayInfo() ? m_global.UserDisplayInfo()->CampaignLabelName : QString();
        ViewTexts::alert(format("MSG03016", campaign), m_window);
    } else {
        ViewTexts::alert(failureMessage(*result), m_window);
    }
}

void UploadViewController::OnTogetherCompleted(const UploadResults& results)
{
    m_uploadResultList.insert(m_uploadResultList.end(), results.begin(), results.end());
    m_currentCardIndex += int(results.size());
    for (const auto& result : results) {
        if (result->Code > kLastRunCode) {
            ViewTexts::alert(failureMessage(*result), m_progressView);
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
    m_isCanelled = true;
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
    for (QWidget* control : std::initializer_list<QWidget*>{_uploadBtn, _skipBtn, _cancelBtn, _sameMethodUploadCheckBtn,
             _leadUploadRadioBtn, _acUploadRadioBtn, _leadSourceComboBox, _leadStatusComboBox})
        control->setEnabled(false);
}

void UploadViewController::NormalStatusView()
{
    m_canUpload = true;
    const DisplayInfo labels = m_global.UserDisplayInfo() ? *m_global.UserDisplayInfo() : DisplayInfo();
    _uploadBtn->setEnabled(labels.isLeadObjectEnabled || labels.isAccountAndContactObjectEnabled);
    _skipBtn->setEnabled(true);
    _cancelBtn->setEnabled(true);
    _sameMethodUploadCheckBtn->setEnabled(cardsLeft() > 1);
    _leadUploadRadioBtn->setEnabled(labels.isLeadObjectEnabled);
    _acUploadRadioBtn->setEnabled(labels.isAccountAndContactObjectEnabled);
    ChangeMode(m_uploadMode);
}

void UploadViewController::Run()
{
    CommonFuc::ShowWindowCenter(m_window, m_global.Windows());
    m_window->exec();
}
