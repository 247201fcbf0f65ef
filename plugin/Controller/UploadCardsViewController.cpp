#include "plugin/Controller/UploadCardsViewController.h"

#include "plugin/Common/ErrorManager.h"
#include "plugin/Common/LogManager.h"
#include "plugin/Controller/MainViewController.h"
#include "plugin/Controller/PluginDialog.h"
#include "plugin/Controller/PluginHelp.h"
#include "plugin/Controller/ViewTexts.h"
#include "plugin/Logic/DisplayHandler.h"
#include "platform/foundation/NotificationCenter.h"

#include <QApplication>
#include <QCheckBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

using ViewTexts::text;

namespace {

constexpr int kLastLabelCode = 20000;

void log(int level, const char* line)
{
    LogManager::LogOutput(level, QString::fromLatin1(line));
}

}

UploadCardsViewController::UploadCardsViewController(GlobalData& global) : m_global(global)
{
    m_window = new PluginDialog(global.Windows(), "_uploadCardsView");
    m_window->setWindowTitle(text("LTL05001"));
    m_window->setCloseHandler([this] {
        m_global.setReturnCode(kReturnCancelled);
        m_global.setViewCode(kViewNone);
        m_window->finish();
    });
    tblistCtler = new QTableWidget(0, 4, m_window);
    tblistCtler->setObjectName(QStringLiteral("tblistCtler"));
    tblistCtler->setAccessibleName(text("LTL05001"));
    tblistCtler->setHorizontalHeaderLabels({text("LTL05002"), text("LTL05003"), text("LTL05004"), text("LTL05005")});
    tblistCtler->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tblistCtler->verticalHeader()->hide();
    tblistCtler->horizontalHeader()->setStretchLastSection(true);
    _selectAllCheckBtn = new QCheckBox(text("LTL05006"), m_window);
    _selectAllCheckBtn->setObjectName(QStringLiteral("_selectAllCheckBtn"));
    _OKButton = new QPushButton(text("LTL04012"), m_window);
    _OKButton->setObjectName(QStringLiteral("_OKButton"));
    _OKButton->setDefault(true);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(PluginHelp::helpButton(m_window, "db_cloud_registered.html", "UploadedCardsView:Help button click!",
        "UploadCardsViewController:Error occurred when show help Info"));
    buttons->addWidget(_selectAllCheckBtn);
    buttons->addStretch();
    buttons->addWidget(_OKButton);
    auto* layout = new QVBoxLayout(m_window);
    layout->addWidget(tblistCtler);
    layout->addLayout(buttons);
    m_window->resize(560, 320);
    QObject::connect(_selectAllCheckBtn, &QCheckBox::clicked, m_window, [this](bool on) { DoSelectAll(on); });
    QObject::connect(_OKButton, &QPushButton::clicked, m_window, [this] { DoOK(); });
    QObject::connect(tblistCtler, &QTableWidget::itemChanged, m_window, [this](QTableWidgetItem* item) {
        if (item->column() == 0)
            DoSelectOne();
    });
}

UploadCardsViewController::~UploadCardsViewController()
{
    delete m_window;
}

void UploadCardsViewController::ShowUploadedCardsView()
{
    log(kLogInformation, "UploadCardsView:Show uploaded cards windows");
    _selectAllCheckBtn->setChecked(false);
    QWidget* waiting = QApplication::activeModalWidget();
    const QString cardFile = m_global.XMLPath();
    auto deleteCardFile = [&] {
        if (!CommonFuc::DeleteFileAtPath(cardFile)) {
            log(kLogError, "UploadCardsView:Error occurred when deleting OCR XML file");
            return false;
        }
        return true;
    };
    const auto& cards = m_global.CardInfoListFromXML();
    if (!cards || cards->empty()) {
        log(kLogError, "UploadCardsView:Error occurred when reading OCR XML file");
        ViewTexts::alert(text("MSG05001"), waiting);
        deleteCardFile();
        m_global.setReturnCode(kReturnCardFileNotFound);
        m_global.setViewCode(kViewNone);
        return;
    }
    // The cards are in memory now, so the card file has served its purpose.
    if (!deleteCardFile())
        ViewTexts::alert(text("MSG05002"), waiting);

    // The user may end the wait while the service works on a call: nothing more is asked or shown.
    auto waitEnded = [this] { return m_global.ViewCode() != kViewWaiting; };
    const auto display = DisplayHandler(m_global).GetDisplayItems();
    if (waitEnded())
        return;
    if (display && display->Code > kLastLabelCode) {
        log(kLogError, "UploadCardsView:Error occurred when getting tag info from salesforce.Application stop");
        ViewTexts::alert(ViewTexts::textOrSelf(ErrorManager::GetErrorMessage(display->Code, 2, QString(), m_global)), waiting);
        m_global.setViewCode(kViewNone);
        return;
    }
    m_global.setUserDisplayInfo(display);
    if (display && display->Code != 0) {
        log(kLogError, "UploadCardsView:Error occurred when getting tag info from salesforce");
        ViewTexts::alert(text("MSG05004"), waiting);
    }
    const int existing = DisplayHandler(m_global).UpdateCardListUploadStatus();
    if (waitEnded())
        return;
    if (existing != 0) {
        log(kLogError, "UploadCardsView:Error occurred when getting uploaded card info from salesforce.Application stop");
        ViewTexts::alert(text("MSG05003"), waiting);
        m_global.setReturnCode(kReturnUnmapped);
        m_global.setViewCode(kViewNone);
        return;
    }

    m_cardInfoList = *m_global.CardInfoListFromXML();
    const QSignalBlocker quiet(tblistCtler);
    tblistCtler->setRowCount(0);
    for (const auto& card : m_cardInfoList) {
        if (!card->UploadedAsContact && !card->UploadedAsLead)
            continue;
        QString kinds = card->UploadedAsLead && display ? display->LeadLabelName : QString();
        if (card->UploadedAsContact && display)
            kinds += (kinds.isEmpty() ? QString() : QStringLiteral(", ")) + display->ContactLabelName;
        const int row = tblistCtler->rowCount();
        tblistCtler->insertRow(row);
        auto* tick = new QTableWidgetItem;
        tick->setFlags(Qt::ItemIsUserCheckable | Qt::ItemIsEnabled);
        tick->setCheckState(Qt::Unchecked);
        tick->setData(Qt::UserRole, card->SerialID);
        tick->setData(Qt::AccessibleTextRole, card->FullName);
        tblistCtler->setItem(row, 0, tick);
        tblistCtler->setItem(row, 1, new QTableWidgetItem(card->FullName));
        tblistCtler->setItem(row, 2, new QTableWidgetItem(card->OrganizationName));
        tblistCtler->setItem(row, 3, new QTableWidgetItem(kinds));
    }
    if (tblistCtler->rowCount() > 0) {
        tblistCtler->clearSelection();
        _OKButton->setFocus();
        m_global.setViewCode(kViewUploadedCards);
        return;
    }
    NotificationCenter::defaultCenter().post(QString::fromLatin1(kQDLEVENTCOSHOWUPLOADVIEW), this);
}

void UploadCardsViewController::Run()
{
    CommonFuc::ShowWindowCenter(m_window, m_global.Windows());
    m_window->exec();
}

void UploadCardsViewController::DoOK()
{
    log(kLogInformation, "UploadCardsViewController:OK button click");
    for (const auto& card : m_cardInfoList) {
        for (int row = 0; row < tblistCtler->rowCount(); ++row) {
            const QTableWidgetItem* tick = tblistCtler->item(row, 0);
            if (tick->data(Qt::UserRole).toInt() == card->SerialID) {
                card->NeedUpload = tick->checkState() == Qt::Checked;
                break;
            }
        }
    }
    m_global.setCardInfoListFromXML(m_cardInfoList);
    NotificationCenter::defaultCenter().post(QString::fromLatin1(kQDLEVENTCOSHOWUPLOADVIEW), this);
    m_window->finish();
}

void UploadCardsViewController::DoSelectAll(bool on)
{
    log(kLogInformation, "UploadCardsViewController:SelectAll button click");
    const QSignalBlocker quiet(tblistCtler);
    for (int row = 0; row < tblistCtler->rowCount(); ++row)
        tblistCtler->item(row, 0)->setCheckState(on ? Qt::Checked : Qt::Unchecked);
}

void UploadCardsViewController::DoSelectOne()
{
    bool all = tblistCtler->rowCount() > 0;
    for (int row = 0; row < tblistCtler->rowCount(); ++row)
        all = all && tblistCtler->item(row, 0)->checkState() == Qt::Checked;
    _selectAllCheckBtn->setChecked(all);
}
