// The main window controller's set-up: the window's parts and their sub-controllers, the
// notification observers, the search field and its menu, the sort of
// the two lists, and what follows edits and placeholder images.
#include "app/ui/PLMainWindowController.h"

#include "app/core/Globals.h"
#include "app/core/LocalString.h"
#include "app/core/OpenDatabase.h"
#include "app/core/PLMessage.h"
#include "app/core/VersionUtilities.h"
#include "app/images/CardTextRules.h"
#include "app/images/ManagedCardRecord.h"
#include "app/images/PLImageCreator.h"
#include "app/ui/CardMoves.h"
#include "app/ui/MainWindowBookkeepingHost.h"
#include "app/ui/PLAttachmentController.h"
#include "app/ui/PLCardListController.h"
#include "app/ui/PLDragSupportDataSource.h"
#include "app/ui/PLEditMenu.h"
#include "app/ui/PLExportItemController.h"
#include "app/ui/PLImageController.h"
#include "app/ui/PLLinkMessageController.h"
#include "app/ui/PLOutlineViewController.h"
#include "app/ui/TrashPane.h"
#include "app/ui/logic/PLArrayController.h"
#include "app/ui/logic/SearchMenuItems.h"
#include "app/ui/logic/ToolbarItems.h"
#include "app/ui/views/PLOutlineView.h"
#include "app/ui/views/PLSplitView.h"
#include "app/ui/views/PLTableView.h"
#include "platform/foundation/FlagGuard.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/NotificationCenter.h"
#include "platform/foundation/PreferenceDomain.h"
#include "platform/store/ManagedObjectContext.h"

#include <QAction>
#include <QActionGroup>
#include <QButtonGroup>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QTableView>
#include <QToolButton>

namespace {

constexpr const char* kPreferencesClosedNotification = "Pelmora Preferences window close notification";
constexpr const char* kSortDescriptorsKey = "tableView Sort Descriptors";
constexpr const char* kTrashSortDescriptorsKey = "trash tableView Sort Descriptors";
constexpr int kMsgCannotSave = 48;

PreferenceDomain& preferences()
{
    return PreferenceDomain::standard();
}

// The stored sort of a list when it is usable for the display mode, else "accept_Date" descending.
QList<SortDescriptor> storedSort(const char* key)
{
    const PlistValue stored = preferences().value(QString::fromLatin1(key));
    const QString sortKey = stored.value(QStringLiteral("key")).toString();
    const PlistValue ascending = stored.value(QStringLiteral("ascending"));
    if (stored.isDictionary() && !sortKey.isEmpty() && ascending.isNumber() && checkSortDescriptors(sortKey, getDefaultDisplayMode()))
        return {{sortKey, ascending.toBool()}};
    return {{QStringLiteral("accept_Date"), false}};
}

} // namespace

void PLMainWindowController::buildWindow()
{
    m_ui.build(m_window.get());
    _acWndCard = new PLArrayController(this);
    _acWndCardInTrash = new PLArrayController(this);
    _exportController = new PLExportItemController(this);
    _attachmentController = new PLAttachmentController(m_database, this);
    _imageController = new PLImageController(m_database, this);
    _dragSupportDataSource = new PLDragSupportDataSource(this);
    _outlineViewController = new PLOutlineViewController(m_database, this);
    _cardListContronller = new PLCardListController(m_database, this);

    _exportController->setDetailCardView(m_ui._detailCardView);
    _attachmentController->setAttachTableView(m_ui._attachTableView);
    _attachmentController->setIconView(m_ui._iconView);
    _attachmentController->setMainWinController(this);
    _exportController->setForm(&m_ui._detailEditor);
    _exportController->setImageController(_imageController);
    _exportController->setArrayController(_acWndCard);
    _imageController->setScrollViews(m_ui._faceScrollView, m_ui._backScrollView);
    _imageController->setImageViews(m_ui._faceImageView, m_ui._backImageView);
    _imageController->setSwitchViewButton(m_ui._switchViewButton);
    _imageController->setExportController(_exportController);
    _imageController->setCurrentSelected([this] { return currentSelected(); });
    _imageController->setSidePane(m_ui._hSplitView, m_ui._detailSideView);
    _imageController->setSidePaneParts(m_ui._detailCardView, m_ui._attachBarView, m_ui._attachSwitchBtn, m_ui._attachTableView);
    _imageController->setAttachmentController(_attachmentController);
    _imageController->setMainWinController(this);
    _dragSupportDataSource->setTables(m_ui._tvList, m_ui._trashTableView);
    _dragSupportDataSource->setOutlineViewController(_outlineViewController);
    _dragSupportDataSource->setMainWinController(this);
    _outlineViewController->setOutlineView(m_ui._outlineView);
    m_ui._outlineView->setSheetShown([this] { return hasAttachedSheet(); });
    _outlineViewController->setCardListController(_cardListContronller);
    _outlineViewController->setMainWindow(this);
    _outlineViewController->setStatusFields(m_ui._bottomFolderStatusLabel, m_ui._bottomFolderStatusPath);
    _outlineViewController->setAboveFolderStatus(m_ui._aboveFolderStatus);
    _outlineViewController->setFolderPaneWidthSource([this] {
        return m_ui._folderListView->isVisibleTo(m_window.get()) ? m_ui._folderListView->width() : 0;
    });
    _outlineViewController->setShowFolderPane([this](bool shown) { setFolderListViewShown(shown); });
    _outlineViewController->setSearchField(m_ui._searchFiled);
    _cardListContronller->setTables(m_ui._tvList, m_ui._trashTableView);
    _cardListContronller->setArrayControllers(_acWndCard, _acWndCardInTrash);
    _cardListContronller->setOutlineViewController(_outlineViewController);
    _cardListContronller->setSaveAction([this] { saveAction(); });
    _cardListContronller->setHasAttachedSheet([this] { return hasAttachedSheet(); });
    _cardListContronller->setListPaneCommands({[this] { return getCardListViewHeight(); },
                                               [this](int listHeight) { SetImgViewHeight(listHeight); },
                                               [this](int listHeight) { SetSplitMaxHeight(listHeight); }});

    // The order in which the window's parts wake: what a later part reads at its wake-up
    // (the tree's folder, the list's columns) is ready by then, and this controller comes last.
    _exportController->awakeFromNib();
    _attachmentController->awakeFromNib();
    _imageController->awakeFromNib();
    _dragSupportDataSource->awakeFromNib();
    _outlineViewController->awakeFromNib();
    _cardListContronller->awakeFromNib();
    awakeFromNib();
    m_cardMoves = new CardMoves(*this);
    connect(&m_cardMoves->trashPane(), &TrashPane::shownChanged, this, [this] {
        _cardListContronller->changeSplitMaxHeight();
        refreshSplitView();
    });
}

void PLMainWindowController::awakeFromNib()
{
    addObserver();
    prepareLinkedApplications();
    _outlineViewController->updateBottomFolderStatus();
    detectPhotoApplications();
    createExportAndAddressBookMenus();
    createCardListContextualMenus();
    createCommandMenu();
    if (QMenu* view = _imageController->viewMenu())
        addImageCommands(view);
    createToolbar();
    updateAllExtAppLinageMenu();
    m_editMenu = new PLEditMenu(*m_window, [this] { return hasAttachedSheet(); });
    _cardListContronller->setDeleteMenuItem(m_editMenu->deleteMenuItem());
    removeUnsedToolBarItem(QString::fromLatin1(ToolbarItems::kSwap));
    removeUnsedToolBarItem(QString::fromLatin1(ToolbarItems::kSynchronization));
    removeUnsedToolBarItem(QString::fromLatin1(ToolbarItems::kCloudConnect));
    _cardListContronller->setPredicate();
    restoreSortDescriptors();
    creatSearchMenu(_cardListContronller->returnDisMenu());

    connect(this, &PLMainWindowController::managedObjectContextChanged, this, &PLMainWindowController::contextDidChange);
    m_ui._statusLineView->installEventFilter(this);
    connect(_cardListContronller, &PLCardListController::selectionDidChange, this, [this] {
        updateSelectStatus();
        validateToolbarItems();
    });
    connect(_imageController, &PLImageController::toolBarStateChanged, this, &PLMainWindowController::validateToolbarItems);
    connect(_imageController, &PLImageController::detailReg, this, &PLMainWindowController::detailReg);
    connect(_imageController, &PLImageController::editViewStatusRequested, this, &PLMainWindowController::setDetailViewShown);
    connect(_imageController, &PLImageController::firstResponderUpdateRequested, this, &PLMainWindowController::updateFirstResponder);
    connect(this, &PLMainWindowController::toolbarItemTriggered, this, [this](const QString& identifier) {
        if (identifier == QLatin1String(ToolbarItems::kZoomIn))
            onZoomIn();
        else if (identifier == QLatin1String(ToolbarItems::kZoomOut))
            onZoomOut();
        else if (identifier == QLatin1String(ToolbarItems::kMail))
            onMail();
        else if (identifier == QLatin1String(ToolbarItems::kExplorer))
            onExplorer();
        else if (identifier == QLatin1String(ToolbarItems::kRotate))
            onRotateBar();
    });
    connect(m_ui._recognizeBarButton, &QToolButton::clicked, this, &PLMainWindowController::recognize);
    // The Image Edit pull-down: swap sides, add a back (the merge window), remove the back.
    const std::pair<const char*, void (PLMainWindowController::*)()> imageEditItems[] = {
        {"onSwapBar", &PLMainWindowController::onSwapBar},
        {"onMergeBar", &PLMainWindowController::onMergeBar},
        {"onRemoveBar", &PLMainWindowController::onRemoveBar}};
    for (int i = 1; i <= 3; ++i) {
        QAction* item = pullDownItem(m_ui._imageEditPopButton, i);
        item->setObjectName(QString::fromLatin1(imageEditItems[i - 1].first));
        connect(item, &QAction::triggered, this, imageEditItems[i - 1].second);
    }
    // The bar's first button draws a field box, the second moves the image.
    connect(m_ui._segImageOperator, &QButtonGroup::idClicked, this, [this](int button) { onImageOperationBar(1 - button); });
    connect(_outlineViewController, &PLOutlineViewController::folderSelectionChanged, this, &PLMainWindowController::validateToolbarItems);
    connect(_outlineViewController, &PLOutlineViewController::bottomFolderStatusUpdated, this, &PLMainWindowController::resetBottomFolderStatusLayout);
    connect(m_ui._searchFiled, &QLineEdit::textEdited, this, &PLMainWindowController::findProgress);
    connect(m_ui._searchMenuAction, &QAction::triggered, this, [this] {
        m_searchMenu->popup(m_ui._searchFiled->mapToGlobal(m_ui._searchFiled->rect().bottomLeft()));
    });
    connect(m_ui._dataEditBarSegControl, &QToolButton::clicked, this, [this] { setDetailViewShown(selectedSegment(m_ui._dataEditBarSegControl) == 1); });
    connect(m_ui._folderListViewSegControl, &QToolButton::clicked, this, [this] { setFolderListViewShown(selectedSegment(m_ui._folderListViewSegControl) == 1); });
    connect(m_ui._hSplitView, &QSplitter::splitterMoved, this, [this] {
        _imageController->SetDetailViewWidth();
        // The width the detail editor keeps through later window resizes.
        _PreRightSplitWidth = m_ui._detailSideView->isVisible() ? m_ui._detailSideView->width() : 0;
    });
    for (QSplitter* split : {static_cast<QSplitter*>(m_ui._hSplitView), static_cast<QSplitter*>(m_ui._vSplitView), static_cast<QSplitter*>(m_ui._dataAreaSplitView)})
        connect(split, &QSplitter::splitterMoved, _imageController, &PLImageController::updateImgView);

    // Until a database opens, the lists show an empty store.
    _cardListContronller->reloadCards(nullptr);
    _linkMessageController = new PLLinkMessageController(m_window.get(), this);

    // Full screen, last in the View menu; its title says which way it goes. F11 is the key the
    // Linux desktops give it (Ctrl and the Super key are the desktop's own).
    m_fullScreenMenuItem = new QAction(QString::fromLatin1(kEnterFullScreenTitle), m_window.get());
    adoptMenuItem(m_fullScreenMenuItem, QStringLiteral("toggleFullScreen"));
    m_fullScreenMenuItem->setShortcut(QKeySequence(Qt::Key_F11));
    connect(m_fullScreenMenuItem, &QAction::triggered, this, &PLMainWindowController::toggleFullScreen);
    m_window->addAction(m_fullScreenMenuItem);
    if (QMenu* view = _imageController->viewMenu()) {
        view->addSeparator();
        view->addAction(m_fullScreenMenuItem);
    }
    updateSelectStatus();
}

void PLMainWindowController::contextDidChange(ManagedObjectContext* context)
{
    _cardListContronller->reloadCards(context);
    if (!m_treeAfterSeed)
        _outlineViewController->InitTreeListView(context);
    validateToolbarItems();
}

void PLMainWindowController::addObserver()
{
    NotificationCenter& center = NotificationCenter::defaultCenter();
    center.addObserver(this, QString::fromLatin1(PLCardListController::kMenuDisplayChangeNotification), [this](const Notification&) {
        creatSearchMenu(_cardListContronller->returnDisMenu());
    });
    center.addObserver(this, QString::fromLatin1(kTextEditChangeNotification), [this](const Notification&) { changeEdit(); });
    center.addObserver(this, QString::fromLatin1(kPreferencesClosedNotification),
                       [this](const Notification& notification) { responseToPreferencesWindowClosed(notification); });
    center.addObserver(this, kDummyImageCreatedNotification, [this](const Notification& notification) { dummyImagePdfDidCreate(notification); });
    m_bookkeepingHost = std::make_unique<MainWindowBookkeepingHost>(*this, m_database);
    m_syncBookkeeping = std::make_unique<PLSyncBookkeeping>(m_bookkeepingHost.get());
}

void PLMainWindowController::creatSearchMenu(int displayMask)
{
    if (!m_searchMenu)
        m_searchMenu = new QMenu(m_window.get());
    m_searchMenu->clear();
    auto* group = new QActionGroup(m_searchMenu);
    group->setExclusive(true);
    m_ui._searchFiled->setPlaceholderText(getLocalString(QStringLiteral("IDS_ALL")));
    for (const SearchMenuItems::Entry& entry : SearchMenuItems::creatSearchMenu(displayMask)) {
        QAction* item = m_searchMenu->addAction(getLocalString(QString::fromLatin1(entry.titleKey)));
        item->setCheckable(true);
        item->setChecked(entry.checked);
        item->setData(entry.tag);
        group->addAction(item);
        connect(item, &QAction::triggered, this, [this, item] { doFindMenuItem(item); });
    }
}

void PLMainWindowController::doFindMenuItem(QAction* item)
{
    m_ui._searchFiled->setPlaceholderText(item->text());
    for (QAction* other : m_searchMenu->actions())
        other->setChecked(other->data() == item->data());
    findProgress();
}

void PLMainWindowController::findProgress()
{
    // The menu keeps one item checked; "all" when there is no menu yet.
    int scopeTag = SearchMenuItems::kAllTag;
    for (QAction* item : m_searchMenu ? m_searchMenu->actions() : QList<QAction*>()) {
        if (item->isChecked())
            scopeTag = item->data().toInt();
    }
    _cardListContronller->setSearchPredicate(m_ui._searchFiled->text(), scopeTag);
    _imageController->setCardData(getSeleteRecords(), PLImageController::kModeSelected);
}

void PLMainWindowController::changeEdit()
{
    const ManagedObjectList selected = _acWndCard->selectedObjects();
    if (selected.isEmpty())
        return;
    ManagedCardRecord record(selected.first().get());
    if (separateValue(selected.first()->changedValues(), &record) != 0) {
        PLMessage::ShowPLErrorMessageBySheet(m_window.get(), kMsgCannotSave);
        return;
    }
    // An edit is saved at once, so that nothing typed is lost if the program ends.
    saveAction();
}

int PLMainWindowController::detailReg(const QRectF& box, int tag)
{
    int result = 0;
    const ManagedObjectList selected = _acWndCard->selectedObjects();
    if (selected.size() == 1 && passesFolderGuard()) {
        {
            FlagGuard processing(_bProcessing);
            const bool sheet = RunIndicator(QStringLiteral("Pelmora"), getLocalString(QStringLiteral("IDS_INDICATOR_OCR")));
            result = _regController.recongnizeCard(box, &selected, true, tag, _iRecognizeButtonState);
            if (sheet)
                StopIndicator();
        }
        // The recognised field is stored at once, as every other edit is.
        saveAction();
        if (result != 0)
            PLMessage::ShowPLErrorMessageBySheet(m_window.get(), result, _regController.missingLanguagePackage());
    }
    // The pane shows the field's box again, whatever became of the recognition.
    _imageController->setCardData(getSeleteRecords(), tag);
    return result;
}

void PLMainWindowController::dummyImagePdfDidCreate(const Notification& notification)
{
    const QString cardID = notification.userInfo.value(QStringLiteral("cardID")).toString();
    const ManagedObjectList selected = _acWndCard->selectedObjects();
    if (cardID.trimmed().isEmpty() || selected.isEmpty())
        return;
    for (auto it = selected.crbegin(); it != selected.crend(); ++it) {
        const ManagedObjectPtr& card = *it;
        if (card->stringValue(QStringLiteral("cardID")) != cardID)
            continue;
        if (card->stringValue(QStringLiteral("face_Image_File")).trimmed().isEmpty())
            card->setValue(QStringLiteral("face_Image_File"), cardID + QStringLiteral("_N1.pdf"));
        // A back image whose file is still there stays with its card.
        const QString back = card->stringValue(QStringLiteral("back_Image_File"));
        const bool backExists = !back.trimmed().isEmpty() && QFile::exists(QDir(m_database.folder()).filePath(QStringLiteral("Images/") + back));
        if (!backExists) {
            card->setValue(QStringLiteral("back_Image_File"), QString());
            card->setValue(QStringLiteral("back_Image_page"), 0);
        }
        card->setValue(QStringLiteral("face_Image_Page"), 1);
        card->setValue(QStringLiteral("other_Image_Page"), 0);
        return;
    }
    PLNSLog(QStringLiteral("Failure to set 0 to other_Image_Page item After created dummy image PDF. Card ID:[%@] "), cardID);
}

PlistValue PLMainWindowController::returnTVSortr(const ArrayController& controller)
{
    PlistValue::Dictionary stored;
    const QList<SortDescriptor>& descriptors = controller.sortDescriptors();
    stored.insert(QStringLiteral("key"), descriptors.isEmpty() ? QStringLiteral("accept_Date") : descriptors.first().key);
    stored.insert(QStringLiteral("ascending"), descriptors.isEmpty() ? false : descriptors.first().ascending);
    return stored;
}

void PLMainWindowController::restoreSortDescriptors()
{
    _acWndCard->setSortDescriptors(storedSort(kSortDescriptorsKey));
    _acWndCardInTrash->setSortDescriptors(storedSort(kTrashSortDescriptorsKey));
}

void PLMainWindowController::showSelCardVisible()
{
    const int row = _cardListContronller->currentSelected();
    if (row >= 0)
        m_ui._tvList->scrollTo(m_ui._tvList->model()->index(row, 0));
    updateSelectStatus();
}
