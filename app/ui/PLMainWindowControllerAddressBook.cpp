// The Address Book commands: adding the selected cards as persons, and the full
// synchronisation with the conflict rule the user chose (asked in a panel or kept as a preference).
#include "app/core/CardEntities.h"
#include "app/core/DatabaseFolder.h"
#include "app/core/Globals.h"
#include "app/core/LocalString.h"
#include "app/core/OpenDatabase.h"
#include "app/core/PLMessage.h"
#include "app/core/PLNetDBLockController.h"
#include "app/sync/PLSyncConnectController.h"
#include "app/ui/PLCardListController.h"
#include "app/ui/PLMainWindowController.h"
#include "app/ui/PLOutlineViewController.h"
#include "app/ui/TreeNode.h"
#include "app/ui/logic/PLArrayController.h"
#include "platform/appkit/MessagePresenter.h"
#include "platform/appkit/PanelService.h"
#include "platform/foundation/PreferenceDomain.h"

namespace {

constexpr const char* kConnectStateKey = "conncet to addressBook state";
constexpr const char* kPrecedenceStateKey = "conncet dialog to addressBook state";
constexpr int kMsgNoSpace = 11;
constexpr int kMsgAddressBookFailed = 130;
constexpr int kMsgAddOnlyDone = 131;

// A failed command: a full disk says so, as the free-space test before it would have.
int syncFailureMessage(const PLSyncConnectController& sync)
{
    return sync.lackedDiskSpace() ? kMsgNoSpace : kMsgAddressBookFailed;
}

// What the synchronisation asks of the window: its store and the selected cards.
class WindowSyncHost : public PLSyncHost {
public:
    WindowSyncHost(ManagedObjectContext* context, ManagedObjectList selected) : m_context(context), m_selected(std::move(selected)) {}
    ManagedObjectContext* managedObjectContext() override { return m_context; }
    ManagedObjectList selectedCards() override { return m_selected; }

private:
    ManagedObjectContext* m_context;
    ManagedObjectList m_selected;
};

int integerPreference(const char* key)
{
    const PlistValue value = PreferenceDomain::standard().value(QString::fromLatin1(key));
    return value.isNumber() ? int(value.toInteger()) : 0;
}

// The Address Book panel: its texts above the matrix, row 0 the card's value wins, row 1 the
// Address Book's. Answers the row chosen, or -1 when the user cancelled.
int runPrecedencePanel(WindowHandle window, int row)
{
    auto localised = [](const char* key) { return getLocalString(getProperKey(QString::fromLatin1(key))); };
    ChoicePanelRequest panel;
    panel.window = window;
    panel.name = QStringLiteral("_panelAddressBook");
    panel.title = localised("IDS_CONNECT_BAR");
    panel.texts = {{QStringLiteral("_textfieldWillConnectAB"), localised("IDS_MAINWINDOW_PANEL_TEXT_WILL_CONNECT_ADDRESSBOOK")},
                   {QStringLiteral("_textfieldInstructionBeforeConnectAB"), localised("IDS_MAINWINDOW_PANEL_TEXT_INSTRUCTION_BEFORE_CONNECT_ADDRESSBOOK")},
                   {QStringLiteral("_textfieldWhetherConnectAB"), localised("IDS_MAINWINDOW_PANEL_TEXT_WHETHER_CONNECT_ADDRESSBOOK")}};
    panel.choices = {{QStringLiteral("_connectADMatrixRow0"), localised("IDS_CONNECT_PRIORITY_CARD")},
                     {QStringLiteral("_connectADMatrixRow1"), localised("IDS_MAINWINDOW_PANEL_MATRIXTITLE_ADDRESSBOOK")}};
    panel.chosen = row == 1 ? 1 : 0;
    return PanelService::current().runChoicePanel(panel);
}

// The files of the book the command could not read or had to leave as another program wrote
// them, named at the end of the command, after its result.
void showSyncReport(WindowHandle window, const PLSyncConnectController& sync)
{
    const QString report = sync.runReport();
    if (!report.isEmpty())
        MessagePresenter::current().runModal(AlertRequest{window, QStringLiteral("Pelmora"), report, {}, false});
}

} // namespace

void PLMainWindowController::connectAddOnly()
{
    endFolderNameEditing();
    if (!validateMenuItem(QStringLiteral("connectAddOnly")))
        return;
    // Adding writes synchronisation identifiers into the cards: a locked or read-only database
    // could not keep them, and the Address Book and the cards would disagree after the next start.
    if (checkDBAttributes(m_database.folder()) != kDBAttributesOK) {
        if (!PLNetDBLockController::ShowErrorMessageAlertSheetByPathType(m_window.get()))
            PLMessage::ShowPLErrorMessageBySheet(m_window.get(), 48);
        return;
    }
    WindowSyncHost host(m_database.context(), _acWndCard->selectedObjects());
    PLSyncConnectController sync;
    sync.setMainController(&host);
    const bool sheet = RunIndicator(QStringLiteral("Pelmora"), getLocalString(getProperKey(QStringLiteral("IDS_INDICATOR_ADD_ADDRESSBOOK"))));
    const int result = sync.connectAddOnly();
    if (sheet)
        StopIndicator();
    // The cards' identifiers are in the store before anything is said.
    saveAction();
    if (result != 0)
        PLMessage::ShowPLErrorMessageBySheet(m_window.get(), syncFailureMessage(sync));
    else if (sync.getIsShowMsg())
        PLMessage::ShowPLErrorMessageBySheet(m_window.get(), kMsgAddOnlyDone);
    showSyncReport(m_window.get(), sync);
}

void PLMainWindowController::connectAddressBook()
{
    endFolderNameEditing();
    if (!validateMenuItem(QStringLiteral("connectAddressBook")) || !passesWriteGuards())
        return;
    const int connectState = integerPreference(kConnectStateKey);
    _iConnectAPPState = connectState == 2 || connectState == 3 ? connectState : 1;
    _iSavePrecedenceState = integerPreference(kPrecedenceStateKey) == 1 ? 1 : 0;
    if (_iConnectAPPState != 1) {
        statrConnect(false);
        return;
    }
    const int row = runPrecedencePanel(m_window.get(), _iSavePrecedenceState);
    if (row < 0)
        return;
    _iSavePrecedenceState = row;
    PreferenceDomain::standard().setValue(QString::fromLatin1(kPrecedenceStateKey), row);
    if (!passesWriteGuards())
        return;
    performLater([this] { statrConnect(true); });
}

void PLMainWindowController::statrConnect(bool fromPanel)
{
    WindowSyncHost host(m_database.context(), _acWndCard->selectedObjects());
    PLSyncConnectController sync;
    sync.setMainController(&host);
    const bool sheet = RunIndicator(QStringLiteral("Pelmora"), getLocalString(getProperKey(QStringLiteral("IDS_INDICATOR_ADDRESSBOOK"))));
    if (fromPanel)
        sync.setSelectStatus(_iSavePrecedenceState == 1 ? PLSyncConnectController::kSelectAddressBookWins : PLSyncConnectController::kSelectCardWins);
    else
        sync.setSelectStatus(_iConnectAPPState == 3 ? PLSyncConnectController::kSelectAddressBookWins : PLSyncConnectController::kSelectCardWins);
    const int result = sync.connectAddressBook();
    if (sheet)
        StopIndicator();
    // The cards the run made and changed are in the store before any message of the run waits
    // for the user: the persons they came from are already saved.
    saveAction();
    if (sync.hasDataAdded() && _outlineViewController->getSelectedItem()) {
        if (_outlineViewController->getSelectedItem()->folderType == kFolderTypeInbox) {
            // The list holds the cards it was given: the new ones join it before it is arranged.
            _cardListContronller->reloadCards(managedObjectContext());
            _acWndCard->rearrangeObjects();
            performLater([this] { updateSelectStatus(); });
        } else {
            QStringList added;
            for (const ManagedObjectPtr& card : sync.addedData())
                added.append(card->stringValue(QStringLiteral("cardID")));
            if (openInbox())
                performLater([this, added] { selectCards(added); });
        }
    }
    if (result != 0 && !PLNetDBLockController::ShowErrorMessageAlertSheetByPathType(m_window.get()))
        PLMessage::ShowPLErrorMessageBySheet(m_window.get(), syncFailureMessage(sync));
    showSyncReport(m_window.get(), sync);
    updateSelectStatus();
}
