// The main window controller's window: showing and closing it, the processing sheet, the folder
// and card selection.
#include "app/ui/PLMainWindowController.h"

#include "app/core/CardEntities.h"
#include "app/core/Globals.h"
#include "app/core/LocalString.h"
#include "app/core/OpenDatabase.h"
#include "app/core/PLNetDBLockController.h"
#include "app/images/CardDictionary.h"
#include "app/images/ManagedCardRecord.h"
#include "app/linkage/PLSalesforceClientController.h"
#include "app/linkage/prefs/PLPreferences.h"
#include "app/ui/CardFolderPath.h"
#include "app/ui/MainWindowUploadHost.h"
#include "app/ui/PLCardListController.h"
#include "app/ui/PLOutlineViewController.h"
#include "app/ui/logic/MainWindowLayout.h"
#include "app/ui/logic/PLArrayController.h"
#include "platform/appkit/ModalScope.h"
#include "platform/appkit/Scheduler.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/PreferenceDomain.h"
#include "platform/store/CardStoreModel.h"
#include "platform/store/ManagedObjectContext.h"

#include <QLineEdit>
#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QMainWindow>
#include <QProgressBar>
#include <QVBoxLayout>
#include <QWindow>

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

void PLMainWindowController::showWindow()
{
    m_window->show();
    applyLayout();
    m_pendingSizes.clear();
    resetBottomFolderStatusLayout();
}

void PLMainWindowController::showActiveWindow()
{
    if (!isWindowVisible()) {
        SetWindowsize();
        showWindow();
    }
    m_treeAfterSeed = true;
    initDB();
    m_treeAfterSeed = false;
    m_window->raise();
    m_window->activateWindow();
    if (ManagedObjectContext* context = managedObjectContext())
        _outlineViewController->InitTreeListView(context);
}

void PLMainWindowController::closeWindow()
{
    m_window->close();
}

void PLMainWindowController::activateWindow()
{
    m_window->raise();
    m_window->activateWindow();
}

void PLMainWindowController::windowWillClose()
{
    if (_preferencesController)
        _preferencesController->closePreferencesWindow();
    if (PLNetDBLockController::dbOpenMode() != PLNetDBLockController::kOpenModeReadOnly && !PLNetDBLockController::DBUpdatedByOtherUser(m_database.folder())) {
        saveSelectedFolderAndSelectedCard();
        saveAction();
    }
    if (isWindowVisible() || isWindowMiniaturized()) {
        SaveWindowsize();
        PLNetDBLockController::ReleaseGlobal();
    }
    saveUIConifguration();
    closeDatabase();
    Scheduler::shared().performAfterDelay(this, QStringLiteral("terminate:"), 0, [this] { m_terminate(); });
}

void PLMainWindowController::searchText(const QString& text)
{
    // The card list shows the cards that hold the text, as if the user had typed it.
    PLNSLog(QStringLiteral("searchText: %@"), text);
    if (m_database.folder().isEmpty())
        return;
    // A search that opens the window searches every card, not the last folder, and shows the
    // list without the detail editor.
    if (!m_window->isVisible() && !m_window->isMinimized()) {
        PreferenceDomain::standard().setValue(QString::fromLatin1(MainWindowLayout::kShowDetailView), 0);
        _outlineViewController->setIsLaunchFromShortCutKey(true);
    }
    showActiveWindow();
    m_ui._searchFiled->setText(text);
    findProgress();
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
    // Delayed calls wait while the sheet is up, as they would in a modal run.
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

bool PLMainWindowController::quitAfterRecognition(QWindow* window)
{
    if (window && window != m_window->windowHandle() && !(_wndProcessing && window == _wndProcessing->windowHandle()))
        return false;
    if (m_quitAfterRun)
        return true;
    m_quitAfterRun = true;
    if (_wndProcessing)
        _wndProcessing->findChild<QLabel*>(QStringLiteral("_processingText"))
            ->setText(getLocalString(QStringLiteral("IDS_INDICATOR_OCR_QUIT")));
    // Held while the command's sheets and alerts are up: the window closes once it has ended.
    Scheduler::shared().performAfterDelay(this, QStringLiteral("quitAfterRecognition:"), 0, [this] { closeWindow(); });
    return true;
}

void PLMainWindowController::setAppController(PLAppController* appController)
{
    m_appController = appController;
    _cardListContronller->setAppController(appController);
}

void PLMainWindowController::endFolderNameEditing()
{
    _outlineViewController->commitFolderNameEdit();
}

bool PLMainWindowController::openInbox()
{
    return _outlineViewController->openInbox();
}

void PLMainWindowController::openFolderWithFolderID(const QString& folderID)
{
    _outlineViewController->openFolderWithFolderID(folderID);
}

QString PLMainWindowController::selectedFolderID()
{
    const TreeNode* folder = _outlineViewController->getSelectedItem();
    return folder ? folder->folderID : QString();
}

QStringList PLMainWindowController::selectedCardIDs() const
{
    QStringList cardIDs;
    for (const ManagedObjectPtr& card : _acWndCard->selectedObjects())
        cardIDs.append(card->stringValue(QStringLiteral("cardID")));
    return cardIDs;
}

void PLMainWindowController::selectCards(const QStringList& cardIDs)
{
    _cardListContronller->reloadCards(managedObjectContext());
    if (_cardListContronller->selectCardsWithIDs(cardIDs) == 0)
        _acWndCard->setSelectionIndexes({});
    showSelCardVisible();
}

std::optional<CardDict> PLMainWindowController::currentSelected()
{
    // Row 0 is a card like any other.
    const int row = _cardListContronller->currentSelected();
    const ManagedObjectPtr card = _acWndCard->arrangedObject(row);
    if (!card)
        return std::nullopt;
    return setDataDictToDict(ManagedCardRecord(card.get()));
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

QList<CardDict> PLMainWindowController::getSeleteRecords()
{
    QList<CardDict> records;
    for (const ManagedObjectPtr& card : _acWndCard->selectedObjects())
        records.append(setDataDictToDict(ManagedCardRecord(card.get())));
    return records;
}

void PLMainWindowController::onCloudConnect()
{
    endFolderNameEditing();
    // A shortcut can fire while the item's enabling is stale.
    if (!validateMenuItem(QStringLiteral("onCloudConnect")))
        return;
    PLSalesforceClientController client;
    client.setMainWinController(m_uploadHost.get());
    client.quendrel();
}

void PLMainWindowController::showPreferencePanel()
{
    if (!validateMenuItem(QStringLiteral("showPreferencePanel")))
        return;
    if (!_preferencesController)
        _preferencesController = std::make_unique<PLPreferences>();
    // What the user chose in the export and recognise bars since is what the window shows.
    _preferencesController->takeBarChoices(_iRecognizeButtonState, _iExportButtonState);
    _preferencesController->showWindow();
    _preferencesController->regulatePreferencesWindow();
}
