// The main window controller's window: showing and closing it, the processing sheet, the folder
// and card selection, and what the merge window asks of it.
#include "app/ui/PLMainWindowController.h"

#include "app/core/CardEntities.h"
#include "app/core/Globals.h"
#include "app/core/PLNetDBLockController.h"
#include "app/images/CardDictionary.h"
#include "app/images/ManagedCardRecord.h"
#include "app/ui/CardFolderPath.h"
#include "platform/appkit/ModalScope.h"
#include "platform/appkit/Scheduler.h"
#include "platform/foundation/Log.h"
#include "platform/store/CardStoreModel.h"
#include "platform/store/ManagedObjectContext.h"

#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QMainWindow>
#include <QProgressBar>
#include <QVBoxLayout>

namespace {

const char* const kRectKeys[] = {"full_Name_XY", "company_XY", "job_Title_XY", "department_XY", "zip_PostalCode_XY", "address_XY",
                                  "telephone_Number_XY", "fax_Number_XY", "mobile_Number_XY", "e_Mail_XY", "web_Page_Address_XY", "memo_XY"};

} // namespace

bool PLMainWindowController::isWindowVisible() const
{
    return m_window->isVisible() && !m_window->isMinimized();
}

bool PLMainWindowController::isWindowMiniaturized() const
{
    return m_window->isVisible() && m_window->isMinimized();
}

bool PLMainWindowController::hasAttachedSheet() const
{
    const auto dialogs = m_window->findChildren<QDialog*>();
    return std::any_of(dialogs.begin(), dialogs.end(), [](const QDialog* d) { return d->isVisible() && d->windowModality() == Qt::WindowModal; });
}

void PLMainWindowController::SetWindowsize()
{
    if (!m_window->isVisible())
        m_window->resize(1000, 700);
}

void PLMainWindowController::showWindow()
{
    m_window->show();
}

void PLMainWindowController::showActiveWindow()
{
    if (!isWindowVisible()) {
        SetWindowsize();
        showWindow();
    }
    initDB();
    m_window->raise();
    m_window->activateWindow();
}

void PLMainWindowController::closeWindow()
{
    m_window->close();
}

void PLMainWindowController::windowWillClose()
{
    if (PLNetDBLockController::dbOpenMode() != PLNetDBLockController::kOpenModeReadOnly && !PLNetDBLockController::DBUpdatedByOtherUser(g_strCurDBPath)) {
        saveSelectedFolderAndSelectedCard();
        saveAction();
    }
    closeDatabase();
    Scheduler::shared().performAfterDelay(this, QStringLiteral("terminate:"), 0, [this] { m_terminate(); });
}

void PLMainWindowController::searchText(const QString& text)
{
    // No card list yet to filter: bring the window forward with the store open.
    PLNSLog(QStringLiteral("searchText: %@"), text);
    showActiveWindow();
}

bool PLMainWindowController::RunIndicator(const QString& title, const QString& message)
{
    if (message.isEmpty() || (!isWindowVisible() && QApplication::activeModalWidget()))
        return false;
    if (m_window->isMinimized())
        m_window->showNormal();
    auto* sheet = new QDialog(m_window.get());
    sheet->setObjectName(QStringLiteral("_wndProcessing"));
    sheet->setWindowModality(Qt::WindowModal);
    if (!title.isEmpty())
        sheet->setWindowTitle(title);
    auto* layout = new QVBoxLayout(sheet);
    auto* text = new QLabel(message, sheet);
    text->setObjectName(QStringLiteral("_processingText"));
    text->setTextFormat(Qt::PlainText);
    auto* indicator = new QProgressBar(sheet);
    indicator->setObjectName(QStringLiteral("_progressIndicator"));
    indicator->setRange(0, 0);
    layout->addWidget(text);
    layout->addWidget(indicator);
    m_processingScope = std::make_unique<ModalScope>();
    sheet->open();
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    _wndProcessing = sheet;
    return true;
}

void PLMainWindowController::StopIndicator()
{
    if (!_wndProcessing)
        return;
    _wndProcessing->close();
    _wndProcessing->deleteLater();
    _wndProcessing = nullptr;
    m_processingScope.reset();
}

bool PLMainWindowController::openInbox()
{
    ManagedObjectContext* context = managedObjectContext();
    if (!context)
        return false;
    const ManagedObjectList inbox = context->executeFetchRequest(
        {QString::fromLatin1(CardStore::kEntityFolder), keyEquals(QStringLiteral("folder_Type"), kFolderTypeInbox), {}});
    if (inbox.isEmpty())
        return false;
    m_selectedFolderID = inbox.first()->stringValue(QStringLiteral("folder_ID"));
    return true;
}

void PLMainWindowController::openFolderWithFolderID(const QString& folderID)
{
    m_selectedFolderID = folderID;
}

ManagedObjectPtr PLMainWindowController::cardWithID(const QString& cardID)
{
    ManagedObjectContext* context = managedObjectContext();
    if (!context || cardID.isEmpty())
        return {};
    const ManagedObjectList cards = context->executeFetchRequest({QString::fromLatin1(CardStore::kEntityCard), keyEquals(QStringLiteral("cardID"), cardID), {}});
    return cards.isEmpty() ? ManagedObjectPtr() : cards.first();
}

void PLMainWindowController::recordSelection(const QString& folderID, const QString& cardID)
{
    ManagedObjectContext* context = managedObjectContext();
    const ManagedObjectList versions = context ? context->executeFetchRequest({QString::fromLatin1(CardStore::kEntityVersion), {}, {}}) : ManagedObjectList();
    if (versions.isEmpty()) {
        PLNSLog(QStringLiteral("Failed to get version infomation from DB"));
        return;
    }
    versions.first()->setValue(QStringLiteral("Sel_Folder_ID"), folderID);
    versions.first()->setValue(QStringLiteral("Sel_Card_ID"), cardID);
    context->refreshObject(versions.first(), true);
}

QString PLMainWindowController::currentDatabasePath()
{
    return g_strCurDBPath;
}

QList<CardDict> PLMainWindowController::getSeleteRecords()
{
    QList<CardDict> records;
    for (const QString& cardID : std::as_const(m_selectedCardIDs)) {
        if (const ManagedObjectPtr card = cardWithID(cardID))
            records.append(setDataDictToDict(ManagedCardRecord(card.get())));
    }
    return records;
}

int PLMainWindowController::selectedFolderRow()
{
    if (m_selectedFolderID.isEmpty())
        return -1;
    ManagedObjectContext* context = managedObjectContext();
    const ManagedObjectList root = context ? context->executeFetchRequest(
                                                 {QString::fromLatin1(CardStore::kEntityFolder), keyEquals(QStringLiteral("folder_Type"), kFolderTypeRoot), {}})
                                           : ManagedObjectList();
    return (!root.isEmpty() && root.first()->stringValue(QStringLiteral("folder_ID")) == m_selectedFolderID) ? 0 : 1;
}

int PLMainWindowController::setFolderNameWhenRemoving(const QString& cardID)
{
    return ::setFolderNameWhenRemoving(managedObjectContext(), cardID);
}

void PLMainWindowController::updateOneRecord(const ManagedObjectPtr& card)
{
    if (ManagedObjectContext* context = managedObjectContext(); context && card)
        context->refreshObject(card, true);
    saveAction();
}

int PLMainWindowController::cleanRecordRect(const ManagedObjectPtr& card)
{
    if (!card)
        return 3;
    for (const char* key : kRectKeys)
        card->setValue(QString::fromLatin1(key), QString());
    return 0;
}
