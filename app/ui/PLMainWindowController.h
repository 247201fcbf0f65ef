// The main window controller: the window over the open database.
//
// The database itself (folder, context, lock) is the OpenDatabase handed in; the window opens it
// at its first showing, switches it for the database commands and closes it at quit. A failed
// switch leaves the old database open and locked. Views that show the store follow
// managedObjectContextChanged.
#pragma once

#include "app/core/PLDatabaseCommands.h"
#include "app/core/PLDatabaseMigration.h"
#include "app/core/PLMainWindowHost.h"
#include "app/images/CardFileRecognitionImages.h"
#include "app/images/PLRegController.h"
#include "app/sync/PLSyncBookkeeping.h"
#include "app/ui/MainWindowUi.h"
#include "app/ui/PLMigrationCardImages.h"
#include "app/ui/logic/MenuValidation.h"
#include "app/ui/logic/ToolbarValidation.h"
#include "platform/foundation/PlistValue.h"
#include "platform/store/FetchRequest.h"

#include <QHash>
#include <QMainWindow>
#include <QObject>
#include <QPageLayout>
#include <QPointer>
#include <QStringList>

#include <functional>
#include <memory>

class ArrayController;
class CardMoves;
class MainWindowBookkeepingHost;
class MainWindowMergeHost;
class MainWindowUploadHost;
class PLMergeHost;
class QLabel;
class QMenu;
class QSplitter;
class QToolBar;
class QWindow;
class ToolbarCustomiseWindow;
class ManagedObjectContext;
class ModalScope;
class OpenDatabase;
class PLArrayController;
class PLAttachmentController;
class PLCardListController;
class PLDragSupportDataSource;
class PLEditMenu;
class PLExportItemController;
class PLImageController;
class PLLinkMessageController;
class PLOutlineViewController;
struct Notification;
struct PLExtAppInfoForm;
class ManagedObjectModel;
class PLAppController;
class PLPasswordController;
class PLPreferences;
class QDialog;

class PLMainWindowController : public QObject, public PLMainWindowHost {
    Q_OBJECT
public:
    static constexpr const char* kDatabasePathKey = "IDS_MAINWINDOW_DETABASE_PATH";
    static constexpr const char* kEnterFullScreenTitle = "Enter Full Screen";
    static constexpr const char* kExitFullScreenTitle = "Exit Full Screen";

    explicit PLMainWindowController(OpenDatabase& database, QObject* parent = nullptr);
    ~PLMainWindowController() override;

    QMainWindow* window() const { return m_window.get(); }
    WindowHandle windowHandle() const override { return m_window.get(); }
    WindowHandle databaseWindow() override { return m_window.get(); }
    QLabel* dbPathField() const { return m_ui._dbPathField; }
    PLPasswordController& passwordController() { return *_pwdWndController; }

    // The store stack.
    OpenDatabase& database() const { return m_database; }
    const ManagedObjectModel& managedObjectModel() const;
    ManagedObjectContext* managedObjectContext() override;
    // The window's first opening: the chosen database opened and seeded.
    void initDB() override;
    ManagedObjectContext* newDB(const QString& folder) override;
    void setCurrentOpenedDBPath() override;
    // Releases the context and the lock (at quit).
    void closeDatabase();

    std::optional<QString> showPwdWndAccordingToSelectedDB(const QString& path) override;
    bool migrateDatabaseIfNeeded(bool showProgress, const QString& folder, QString* workDBFullPath) override;

    void saveSelectedFolderAndSelectedCard() override;
    void saveAction() override;
    void setClearBtnStatus() override;

    // How the field re-separation of migrated cards is done (recognition's separateValue).
    void setFieldSeparator(PLDatabaseMigration::FieldSeparator separator) { m_fieldSeparator = std::move(separator); }
    // What ends the application; the default quits the event loop.
    void setTerminate(std::function<void()> terminate) { m_terminate = std::move(terminate); }

    // --- the window, the processing sheet and the selection

    void setAppController(PLAppController* appController);
    bool isWindowVisible() const override;
    bool isWindowMiniaturized() const override;
    bool hasAttachedSheet() const override;
    void showActiveWindow() override;
    void SetWindowsize() override;
    void showWindow() override;
    void closeWindow() override;
    void activateWindow() override;
    // Quit: saves the selection and the store, lets go of the lock and ends the application.
    void windowWillClose();
    bool isImageProcessing() const override { return _bProcessing; }
    bool isSyncing() const override { return _bIsSynchronous; }
    void endFolderNameEditing() override;
    void searchText(const QString& text) override;
    // Shows the processing sheet over the main window; false when it cannot be shown. While it
    // is shown the application is in a modal run: delayed calls wait until it is gone.
    bool RunIndicator(const QString& title, const QString& message);
    void StopIndicator();
    // The upload command: the selected cards go to the upload plug-in.
    void onCloudConnect();
    // The preferences window, made on first use.
    void showPreferencePanel();
    PLPreferences* preferencesController() const { return _preferencesController.get(); }
    // Selects the Inbox, or the folder with the identifier; false when there is none.
    bool openInbox();
    void openFolderWithFolderID(const QString& folderID);
    // The cards selected, by identifier, in selection order.
    QStringList selectedCardIDs() const;
    // Shows the store's cards again and selects these alone (the last one shown).
    void selectCards(const QStringList& cardIDs);
    // The card dictionary of the card at the card list's selected row; empty when none.
    std::optional<CardDict> currentSelected();

    // --- the window's parts (the nib)

    const MainWindowUi& ui() const { return m_ui; }
    PLArrayController* arrayController() const { return _acWndCard; }
    PLArrayController* trashArrayController() const { return _acWndCardInTrash; }
    PLCardListController* cardListController() const { return _cardListContronller; }
    PLImageController* imageController() const { return _imageController; }
    PLOutlineViewController* outlineViewController() const { return _outlineViewController; }
    PLExportItemController* exportItemController() const { return _exportController; }
    PLAttachmentController* attachmentController() const { return _attachmentController; }
    PLDragSupportDataSource* dragSupportDataSource() const { return _dragSupportDataSource; }
    PLLinkMessageController* linkMessageController() const { return _linkMessageController; }
    void setProcessingFlag(bool processing) { _bProcessing = processing; }

    // --- set-up, search field and notifications

    // Runs once the window's parts exist: observers, photo applications, toolbar, sort, empty lists.
    void awakeFromNib();
    void addObserver();
    // The search field's menu for the card list's column mask; `doFindMenuItem` chooses an item.
    void creatSearchMenu(int displayMask);
    QMenu* searchMenu() const { return m_searchMenu; }
    void doFindMenuItem(QAction* item);
    void findProgress();
    void changeEdit();
    // Recognises the user's box (image pixels) on the shown card into the field of `tag` under the
    // processing sheet; answers 0 or the recognition's message number, which it showed (an
    // unusable database folder shows 48 and answers 0). The pane then shows the field's box.
    int detailReg(const QRectF& box, int tag);
    void dummyImagePdfDidCreate(const Notification& notification);
    // The stored form of a controller's first sort descriptor: {"key", "ascending"}.
    static PlistValue returnTVSortr(const ArrayController& controller);
    int photosInstallInfo() const { return _iPhotosInstuallInfo; }
    void showSelCardVisible();

    // --- panes, geometry and status line

    void SaveWindowsize();
    void windowDidResize();
    // Shows or hides the detail editor and the folder tree (the show/hide controls do the same).
    void setDetailViewShown(bool shown);
    void setFolderListViewShown(bool shown);
    // The vertical split by the card list pane's height: the image pane takes the rest
    // (SetImgViewHeight), and may not grow into a list pane of `listHeight` (SetSplitMaxHeight).
    void SetSplitMaxHeight(int listHeight);
    void SetImgViewHeight(int listHeight);
    int getCardListViewHeight() const;
    void refreshSplitView();
    // The image pane's greatest height.
    int splitMaxHeight() const;
    void resetBottomFolderStatusLayout();
    void updateSelectStatus();
    void updateSelectCountText(int count);
    void updateCurrentSelectText(int current, int total);
    void updateFileExportTypeText(const QString& text);
    void updateRecognizeLanguageText(const QString& text);
    void updateFirstResponder();

    // --- toolbar

    QToolBar* toolbar() const { return m_toolbar; }
    void createToolbar();
    void removeUnsedToolBarItem(const QString& identifier);
    void changeToolBarItemToolTip(const QString& toolTip, const QString& identifier);
    // Display mode: 1 icon and label, 2 icon only, 3 label only.
    void setToolbarDisplayMode(int mode);
    int toolbarDisplayMode() const { return m_toolbarDisplayMode; }
    // The clicked form of a view item while labels only are shown: back to icon and label.
    void onToolbarItemMenuItem();
    // The toolbar's context menu: the three display modes and the customisation window.
    QMenu* toolbarMenu() const { return m_toolbarMenu; }
    // Opens the window in which the user arranges the toolbar; raises it when it is open.
    void runToolbarCustomizationPalette();
    ToolbarCustomiseWindow* toolbarCustomiseWindow() const;
    QStringList toolbarItemIdentifiers() const { return m_toolbarIdentifiers; }
    QAction* toolbarItem(const QString& identifier) const;
    bool validateToolbarItem(const QString& identifier) const;
    ToolbarValidation::State toolbarState() const;
    // Enables every toolbar item by its rule (the toolbar's validation).
    void validateToolbarItems();
    // Images and tool tips of the pull-downs; the photo pull-down shows the installed applications.
    void addImageForToolBarItem();
    void initailizeExportBar();
    void initailizeRecognizeBar();
    void setRecognizeBarByDefault();
    void updateRecognizingToolBarItemToolTip(const QString& toolTipKey, const QString& image, const QString& languageTextKey);
    void responseToPreferencesWindowClosed(const Notification& notification);
    void saveUIConifguration();
    int exportButtonState() const { return _iExportButtonState; }
    int recognizeButtonState() const { return _iRecognizeButtonState; }

    // --- export and Address Book commands (the export bar, the menu and their validation)

    // The menu of these commands (the main menu puts it on the menu bar), and the export bar's button.
    void createExportAndAddressBookMenus();
    // The card table's contextual menu: the Address Book and the linked applications.
    void createCardListContextualMenus();
    QMenu* addAddressBookMenu(QMenu* parent);
    QMenu* addExtAppLinkageMenu(QMenu* parent);
    QMenu* exportMenu() const { return m_exportMenu; }
    // The Edit menu (the main menu puts it on the menu bar).
    PLEditMenu* editMenu() const { return m_editMenu; }
    // Whether the command named by its action (the menu item's objectName) may run now.
    bool validateMenuItem(const QString& action) const;
    // The item's enabling and check mark; `tag` tells apart the items of one action.
    MenuValidation::Validation menuItemValidation(const QString& action, int tag = 0) const;
    MenuValidation::State menuState() const;
    // Validates every item of `menu` that has a rule, after ending a folder rename; the menus of
    // the window's commands do this when they open.
    void validateMenuItems(QMenu* menu);
    // Adds an item of the window's commands to `menu`, named by its action, which
    // validateMenuItems enables and checks by the action's rule.
    QAction* addMenuItem(QMenu* menu, const QString& action, const QString& title);
    void adoptMenuItem(QAction* item, const QString& action);
    void onExport();
    void doExportVcard(const QString& path);
    void doExportCSV(const QString& path);
    void doExportTEXT(const QString& path);
    void doExportXML(const QString& path);
    void exportVCard();
    void exportCSV();
    void exportText();
    void connectAddOnly();
    void connectAddressBook();
    void statrConnect(bool fromPanel);

    // --- printing (the selected cards) and the page set-up it uses

    void print();
    void printPagesSetting();

    // --- mail to the selected cards and the selected card's web page

    void onMail();
    void onExplorer();

    // --- recognising the selected cards again

    void recognize();
    void recognizeInEnglish();
    void recognizeInJapanese();

    // --- the menu of card commands (recognition, page operations, mail), built with the toolbar

    QMenu* commandMenu() const { return m_commandMenu; }
    void createCommandMenu();
    // Adds the image pane's commands (zoom, the mouse's operation, the detail editor) to `viewMenu`.
    void addImageCommands(QMenu* viewMenu);

    // --- the image pane's commands and the search field

    void onZoomIn();
    void onZoomOut();
    // Segment 0: the mouse moves the image; segment 1: it draws a field box.
    void onImageOperationBar(int segment);
    // From the menu: shows the detail editor when it is hidden and hides it when shown.
    void onSideBar();
    void changeEditViewStatus(bool shown);
    void search();
    // The window fills the screen, or leaves it; the View menu's last item.
    void toggleFullScreen();
    QAction* fullScreenMenuItem() const { return m_fullScreenMenuItem; }

    // --- the photo applications (the photo pull-down and the Export menu)

    void exportiPhoto();
    void exportPhotos();

    // --- linked applications: the Export menu's submenu and the toolbar's pull-down

    // Refills `menu` with one item per linked application the user shows; a submenu's item in
    // its parent is enabled only when it has items.
    void updateExtAppLinkageMenu(QMenu* menu, const QList<PLExtAppInfoForm>& extAppFormList);
    void updateAllExtAppLinageMenu();
    QMenu* extAppLinkageMenu() const { return m_extAppMenu; }
    QMenu* cardListExtAppLinkageMenu() const { return _cardListContextualMenuExtAppLinage; }
    // Hands the selected cards to the linked application of `appID`.
    void onExtAppListMenuItem(const QString& appID);

    // --- page operations on the selected card's image files

    void onRotateBar();
    void onSwapBar();
    void onRemoveBar();
    void onMergeBar();

    // The folder guard alone (message 48 or the path-type message), and the space guard on the
    // volume of `path` for `size` bytes beside the reserve every write keeps (message 11).
    bool passesFolderGuard();
    bool passesSpaceGuard(const QString& path, uint64_t size = 0);

    // --- the import of card files (Card and CardBelong records in the Inbox or the drop folder)

    int scanData(const QStringList& paths, int inputType, QStringList* importedPaths) override;
    PLRegController& regController() { return _regController; }

    // The moves of cards to the trash, out of it and between folders.
    CardMoves* cardMoves() const { return m_cardMoves; }

    // The card dictionaries of the selected cards, in selection order.
    QList<CardDict> getSeleteRecords();
    // The folder tree's selected folder; "" when none.
    QString selectedFolderID();
    // What the merge window and the merge after an import ask of the main window.
    PLMergeHost& mergeHost() const;

signals:
    // A toolbar item without a view of its own was clicked (rotate, mail, web page, zoom).
    void toolbarItemTriggered(const QString& identifier);
    // The open database's context changed (null: none); the card lists and the folder tree follow it.
    void managedObjectContextChanged(ManagedObjectContext* context);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildWindow();
    void applyLayout();
    void rebuildToolbar();
    void createToolbarMenu();
    // The item order and display mode into the preferences; saved at once when the user changes them.
    void storeToolbarConfiguration();
    void saveToolbarConfiguration();
    void applyExportRow(int state, bool defaultRow);
    void applyRecognizeRow(int state, const QString& languageTextKey);
    void restoreSortDescriptors();
    void detectPhotoApplications();
    // The start-up tidying of the linkage files and the shared controller's list, saved.
    void prepareLinkedApplications();
    // The toolbar's linked-application pull-down, refilled from the shared controller's list.
    void updateExtApplistPopUpBtn();
    // Hands the selected cards to photo application `appType` (1 or 2) and marks them sent.
    void exportToPhotoApplication(int appType);
    void contextDidChange(ManagedObjectContext* context);
    // Saves pending changes; false (logged) when the store refused them.
    bool saveChanges();
    // Takes back the cards of an import whose save failed, with the image files made for them.
    void discardImportedCards(const ManagedObjectList& cards, const ManagedObjectList& belongs);
    // Takes out of an import the cards whose files could not be made durable, as a failed save
    // does; the files they came from are not reported as imported.
    void dropCardsNotOnDisk(const QStringList& cardIDs, ManagedObjectList* cards, ManagedObjectList* belongs,
                            const QHash<QString, QString>& sources, QStringList* importedPaths);
    // In hidden loads: the selection the next display starts on, kept in the Version row.
    void recordSelection(const QString& folderID, const QString& cardID);
    // The folder guard of the commands that write (message 48) and the space guard (message 11).
    bool passesWriteGuards();
    // After a page operation changed a card's files: its boxes cleared, the store saved, the
    // pane redrawn in `paneMode`.
    void pageOperationDone(const ManagedObjectPtr& card, int paneMode);
    void showExportResult(int result, const char* logFormat);
    // Queues `call` on the main thread; dropped when the window is gone by then.
    void performLater(std::function<void()> call);
    // A quit asked while a recognition run is out (the Quit keys, or `window` closed: this window
    // or its processing sheet): the sheet says the run is being finished, and the window closes,
    // which quits, once the command is over. False for another window.
    bool quitAfterRecognition(QWindow* window);
    // The page set-up of this window's prints: the system's default paper until the user sets one.
    QPageLayout& printInfo();

    OpenDatabase& m_database;
    std::unique_ptr<QMainWindow> m_window;
    bool _bInited = false;
    // Set while showActiveWindow opens the store: it builds the tree itself once the store is seeded.
    bool m_treeAfterSeed = false;
    std::unique_ptr<PLPasswordController> _pwdWndController;
    std::unique_ptr<PLPreferences> _preferencesController;
    PLMigrationCardImages m_cardImages;
    PLDatabaseMigration::FieldSeparator m_fieldSeparator;
    std::function<void()> m_terminate;

    PLAppController* m_appController = nullptr;
    CardFileRecognitionImages m_recognitionImages;
    PLRegController _regController;
    int _iRecognizeButtonState = PLRegController::kLanguageEnglish;
    bool _bProcessing = false;
    bool _bIsSynchronous = false;
    QDialog* _wndProcessing = nullptr;
    std::unique_ptr<ModalScope> m_processingScope; // open while the processing sheet shows
    bool m_quitAfterRun = false; // the user quit during a recognition run

    MainWindowUi m_ui;
    PLArrayController* _acWndCard = nullptr;
    PLArrayController* _acWndCardInTrash = nullptr;
    PLCardListController* _cardListContronller = nullptr;
    PLImageController* _imageController = nullptr;
    PLOutlineViewController* _outlineViewController = nullptr;
    PLExportItemController* _exportController = nullptr;
    PLAttachmentController* _attachmentController = nullptr;
    PLDragSupportDataSource* _dragSupportDataSource = nullptr;
    PLLinkMessageController* _linkMessageController = nullptr;
    CardMoves* m_cardMoves = nullptr;
    QMenu* m_searchMenu = nullptr;
    QMenu* m_exportMenu = nullptr;
    QMenu* m_commandMenu = nullptr;
    QMenu* m_extAppMenu = nullptr;
    QMenu* _cardListContextualMenuExtAppLinage = nullptr;
    QMenu* m_photoMenu = nullptr;
    QPageLayout _printInfo;
    PLEditMenu* m_editMenu = nullptr;
    QAction* m_fullScreenMenuItem = nullptr;

    QToolBar* m_toolbar = nullptr;
    QStringList m_toolbarIdentifiers;
    QMenu* m_toolbarMenu = nullptr;
    QPointer<ToolbarCustomiseWindow> m_customiseWindow;
    QMap<QString, QAction*> _toolbarItems;
    int m_toolbarDisplayMode = 1;
    int _iExportButtonState = 1;
    int _iConnectAPPState = 1;
    int _iSavePrecedenceState = 0;
    int _iPhotosInstuallInfo = 0;
    int _PreRightSplitWidth = 0;
    int _editBarSegControlSeletedItem = 1;
    bool m_layoutApplied = false;
    // No image pane height was stored: the image pane takes what the card list leaves once shown.
    bool m_imageHeightFromList = false;
    QList<std::pair<QSplitter*, QList<int>>> m_pendingSizes; // split sizes to apply once the window is laid out
    std::unique_ptr<MainWindowMergeHost> m_mergeHost;
    std::unique_ptr<MainWindowUploadHost> m_uploadHost;
    std::unique_ptr<MainWindowBookkeepingHost> m_bookkeepingHost;
    std::unique_ptr<PLSyncBookkeeping> m_syncBookkeeping; // last: it stops observing first
};
