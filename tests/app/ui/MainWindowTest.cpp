// The main window as a user meets it: its panes, the layout kept from one start to the next,
// the toolbar, the selection kept in the database, and what a failed save tells the user.
#include "app/core/CardEntities.h"
#include "app/core/CardFolder.h"
#include "app/core/Globals.h"
#include "app/core/OpenDatabase.h"
#include "app/core/PLAppController.h"
#include "app/core/PLMessage.h"
#include "app/core/PLNetDBLockController.h"
#include "app/images/OcrApplicationLink.h"
#include "app/images/PLImageCreator.h"
#include "app/ui/PLCardListController.h"
#include "app/ui/PLImageController.h"
#include "app/ui/PLMainWindowController.h"
#include "app/ui/PLOutlineViewController.h"
#include "app/ui/ToolbarCustomiseWindow.h"
#include "app/ui/logic/MainWindowLayout.h"
#include "app/ui/logic/PLArrayController.h"
#include "app/ui/logic/ToolbarItems.h"
#include "app/ui/views/PLSplitView.h"
#include "app/ui/views/PLView.h"
#include "platform/foundation/NotificationCenter.h"
#include "platform/foundation/PlistFile.h"
#include "platform/foundation/PreferenceDomain.h"
#include "platform/store/CardStoreModel.h"
#include "platform/store/ManagedObjectContext.h"
#include "tests/app/core/TestBundle.h"
#include "tests/app/ui/MainWindowStart.h"
#include "tests/support/appkit/ScriptedMessagePresenter.h"
#include "tests/support/pdf/TestPdf.h"
#include "tests/support/workspace/FakeWorkspace.h"

#include <QComboBox>
#include <QFile>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMainWindow>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QPushButton>
#include <QSplitter>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>
#include <QToolButton>
#include <QTreeView>
#include <QWidgetAction>

#include <gtest/gtest.h>

#include <sqlite3.h>

namespace {

class MainWindow : public ::testing::Test {
protected:
    QTemporaryDir temp;
    TestBundle bundle;
    ScriptedMessagePresenter presenter;
    QString database;
    OpenDatabase openDatabase;

    void SetUp() override
    {
        PreferenceDomain::setStandardDomain(QStringLiteral("test.mainwindow"), temp.filePath(QStringLiteral("prefs")));
        database = temp.filePath(QStringLiteral("Cards.cxdb"));
        QDir().mkpath(database + QStringLiteral("/Images"));
        openDatabase.choose(database);
    }
    
    // A window as at start-up: built, its database open, laid out and shown.
    std::unique_ptr<PLMainWindowController> start()
    {
        return startMainWindow(openDatabase, database);
    }
    // The preferences as written to the file by the last quit.
    PlistValue storedPreference(const char* key)
    {
        return PreferenceDomain(QStringLiteral("test.mainwindow"), temp.filePath(QStringLiteral("prefs"))).value(QString::fromLatin1(key));
    }
    static QString folderOfType(PLMainWindowController& window, int type)
    {
        const ManagedObjectList folders = window.managedObjectContext()->executeFetchRequest(
            {QString::fromLatin1(CardStore::kEntityFolder), keyEquals(QStringLiteral("folder_Type"), type), {}});
        return folders.isEmpty() ? QString() : folders.first()->stringValue(QStringLiteral("folder_ID"));
    }
    static void addCard(ManagedObjectContext* context, const QString& cardID, const QString& name, const QString& folderID, int minutesAgo)
    {
        const ManagedObjectPtr card = context->insertNewObject(QString::fromLatin1(CardStore::kEntityCard));
        card->setValue(QStringLiteral("cardID"), cardID);
        card->setValue(QStringLiteral("full_Name"), name);
        card->setValue(QStringLiteral("accept_Date"), QDateTime::currentDateTimeUtc().addSecs(-60 * minutesAgo));
        const ManagedObjectPtr belong = context->insertNewObject(QString::fromLatin1(CardStore::kEntityCardBelong));
        belong->setValue(QStringLiteral("cardID"), cardID);
        assignCardFolder(*card, *belong, folderID);
        belong->setRelatedObject(QStringLiteral("ToCardRelation"), card);
    }
    // Clicks row `row` of a table as a user does.
    static void clickRow(QTableView* table, int row, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        const QRect cell = table->visualRect(table->model()->index(row, 0));
        QTest::mouseClick(table->viewport(), Qt::LeftButton, modifiers, cell.center());
    }
};

} // namespace

TEST_F(MainWindow, ShowsEveryPaneWithItsOutletName)
{
    auto window = start();
    QMainWindow* main = window->window();
    for (const char* name : {"_hSplitView", "_vSplitView", "_dataAreaSplitView", "_imageView", "_listView", "_folderListView", "_outlineView",
                             "_tvList", "_trashTableView", "_detailSideView", "_faceScrollView", "_searchFiled", "_bottomFolderStatusPath",
                             "_recognizeLanguageText", "_fileExportTypeText", "_selectCountText", "_currentSelectText", "_dbPathField"})
        EXPECT_NE(main->findChild<QWidget*>(QString::fromLatin1(name)), nullptr) << name;
    EXPECT_TRUE(main->findChild<QWidget*>(QStringLiteral("_tvList"))->isVisible());
    EXPECT_TRUE(main->findChild<QWidget*>(QStringLiteral("_detailSideView"))->isVisible());
    // Every control a user reaches has a name a screen reader can speak.
    for (QAbstractButton* button : main->findChildren<QAbstractButton*>()) {
        if (button->isVisibleTo(main) && !button->objectName().startsWith(QLatin1String("qt_"))) {
            EXPECT_FALSE(button->accessibleName().isEmpty() && button->text().isEmpty() && button->toolTip().isEmpty()) << button->objectName().toStdString();
        }
    }
}

TEST_F(MainWindow, FrameSplitsAndHiddenPanesComeBackAfterARestart)
{
    {
        auto window = start();
        const MainWindowUi& ui = window->ui();
        window->window()->setGeometry(40, 60, 760, 700);
        ui._hSplitView->setSizes({760 - 360 - 1, 360});
        ui._vSplitView->setSizes({150, ui._vSplitView->height() - 150 - 1});
        ui._dataAreaSplitView->setSizes({220, ui._dataAreaSplitView->width() - 221});
        // The user hides the folder tree with its control, then quits.
        QTest::mouseClick(ui._folderListViewSegControl, Qt::LeftButton);
        EXPECT_FALSE(ui._folderListView->isVisible());
        window->window()->close();
    }
    EXPECT_EQ(storedPreference("Main Window Width").toInteger(), 760);
    EXPECT_EQ(storedPreference("Main Window XPos").toInteger(), 40);
    EXPECT_EQ(storedPreference("Detail View Width").toInteger(), 360);
    EXPECT_EQ(storedPreference("Show Detail View").toInteger(), 1);
    EXPECT_EQ(storedPreference("Show Folder List View").toInteger(), 0);
    EXPECT_EQ(storedPreference("Folder List View Width").toInteger(), 220);
    EXPECT_EQ(storedPreference("ImgView Height").toInteger(), 150);

    auto window = start();
    const MainWindowUi& ui = window->ui();
    EXPECT_EQ(window->window()->geometry(), QRect(40, 60, 760, 700));
    EXPECT_EQ(ui._detailSideView->width(), 360);
    EXPECT_EQ(ui._imageView->height(), 150);
    EXPECT_FALSE(ui._folderListView->isVisible());
    EXPECT_FALSE(ui._folderListViewSegControl->isChecked());
    QTest::mouseClick(ui._folderListViewSegControl, Qt::LeftButton);
    EXPECT_TRUE(ui._folderListView->isVisible());
    EXPECT_EQ(ui._folderListView->width(), 220);

    // Hiding the detail editor is kept as well.
    QTest::mouseClick(ui._dataEditBarSegControl, Qt::LeftButton);
    EXPECT_FALSE(ui._detailSideView->isVisible());
    window->window()->close();
    window = start();
    EXPECT_FALSE(window->ui()._detailSideView->isVisible());
    EXPECT_FALSE(window->ui()._dataEditBarSegControl->isChecked());
}

// The card list pane keeps fifteen rows of the card table: at a first start the card image gets
// all the room above them, the divider cannot be dragged into them, and a lower list pane stored
// is raised to them at the next start.
TEST_F(MainWindow, TheCardListKeepsFifteenRowsAndTheCardImageTheRoomAboveThem)
{
    const auto dragDivider = [](QSplitter* split, int by) {
        QSplitterHandle* handle = split->handle(1);
        const QPoint from(handle->width() / 2, 0);
        const auto send = [handle](QEvent::Type type, const QPoint& at, Qt::MouseButtons held) {
            QMouseEvent event(type, at, handle->mapToGlobal(at), Qt::LeftButton, held, Qt::NoModifier);
            QCoreApplication::sendEvent(handle, &event);
        };
        send(QEvent::MouseButtonPress, from, Qt::LeftButton);
        send(QEvent::MouseMove, from + QPoint(0, by), Qt::LeftButton);
        send(QEvent::MouseButtonRelease, from + QPoint(0, by), Qt::NoButton);
    };
    int rows = 0;
    {
        auto window = start();
        const MainWindowUi& ui = window->ui();
        rows = MainWindowLayout::kCardListMinRows * ui._tvList->verticalHeader()->defaultSectionSize();
        EXPECT_EQ(ui._listView->height(), rows);
        EXPECT_EQ(ui._imageView->height(), ui._vSplitView->height() - rows - MainWindowLayout::kDividerWidth);
        EXPECT_EQ(window->splitMaxHeight(), ui._imageView->height());
        // The built window, 720 high, leaves the card some 200 points: its text can be read.
        EXPECT_GE(ui._imageView->height(), 180);

        dragDivider(ui._vSplitView, 200);
        EXPECT_EQ(ui._listView->height(), rows) << "the divider stops at the list's rows";
        dragDivider(ui._vSplitView, -120);
        EXPECT_GT(ui._listView->height(), rows + 100);
        const int dragged = ui._listView->height();
        // Hiding the trash leaves the panes as they were.
        QTest::mouseClick(ui._switchBtn, Qt::LeftButton);
        EXPECT_EQ(ui._listView->height(), dragged);
        window->window()->close();
        EXPECT_EQ(storedPreference("DataView Height").toInteger(), dragged);
    }
    PreferenceDomain::standard().setValue(QStringLiteral("DataView Height"), 40);
    PreferenceDomain::standard().setValue(QStringLiteral("ImgView Height"), 2000);
    auto window = start();
    EXPECT_EQ(window->ui()._listView->height(), rows) << "a stored lower list pane is raised";
}

TEST_F(MainWindow, UnusablePreferencesGiveAUsableWindow)
{
    PreferenceDomain& prefs = PreferenceDomain::standard();
    prefs.setValue(QStringLiteral("Main Window Width"), QStringLiteral("wide"));
    prefs.setValue(QStringLiteral("Main Window Height"), 90000000);
    prefs.setValue(QStringLiteral("Main Window XPos"), -5000);
    prefs.setValue(QStringLiteral("Main Window YPos"), 40);
    for (const char* key : {"ImgView Width", "ImgView Height", "DataView Width", "DataView Height"})
        prefs.setValue(QString::fromLatin1(key), -30);
    prefs.setValue(QStringLiteral("Detail View Width"), 12);
    prefs.setValue(QStringLiteral("Folder List View Width"), QStringLiteral("x"));
    prefs.setValue(QStringLiteral("Show Folder List View"), PlistValue::Array{});
    prefs.setValue(QStringLiteral("export mode"), QStringLiteral("6"));
    prefs.setValue(QStringLiteral("recognize language"), PlistValue::Dictionary{});
    auto window = start();
    const QRect screen = window->window()->screen()->availableGeometry();
    EXPECT_TRUE(screen.contains(window->window()->geometry())) << "built size, centred";
    EXPECT_GE(window->ui()._detailSideView->width(), 340);
    EXPECT_GE(window->ui()._folderListView->width(), 190);
    EXPECT_GE(window->ui()._vSplitView->width(), 350);
    EXPECT_EQ(window->exportButtonState(), 1);
    EXPECT_EQ(window->recognizeButtonState(), ToolbarItems::kAutomaticLanguage);
}

TEST_F(MainWindow, SelectionIsKeptInTheVersionRowAndRestoredAtTheNextStart)
{
    QString inbox;
    {
        auto window = start();
        ManagedObjectContext* context = window->managedObjectContext();
        inbox = folderOfType(*window, kFolderTypeInbox);
        addCard(context, QStringLiteral("A"), QStringLiteral("Ann"), inbox, 1);
        addCard(context, QStringLiteral("B"), QStringLiteral("Bob"), inbox, 2);
        addCard(context, QStringLiteral("C"), QStringLiteral("Cid"), inbox, 3);
        window->saveAction();
        window->selectCards({});
        // Newest first: Ann is row 0, and row 0 counts as a selection.
        clickRow(window->ui()._tvList, 0);
        EXPECT_EQ(window->selectedCardIDs(), QStringList{"A"});
        EXPECT_TRUE(window->currentSelected().has_value());
        window->window()->close();
    }
    {
        auto window = start();
        EXPECT_EQ(window->selectedFolderID(), inbox);
        EXPECT_EQ(window->selectedCardIDs(), QStringList{"A"});
        // The user adds Cid to the selection last: it is the card kept.
        clickRow(window->ui()._tvList, 2, Qt::ControlModifier);
        EXPECT_EQ(window->selectedCardIDs(), (QStringList{"A", "C"}));
        EXPECT_EQ(window->ui()._selectCountText->text(), QStringLiteral("IDS_SELECT_COUNT_TEXT_IN_STATUS : 2"));
        EXPECT_EQ(window->ui()._currentSelectText->text(), QStringLiteral("3 / 3 IDS_PAGE_UNIT_TEXT_IN_STATUS"));
        window->window()->close();
    }
    auto window = start();
    EXPECT_EQ(window->selectedCardIDs(), QStringList{"C"});
}

TEST_F(MainWindow, AFailedSaveAfterAnImportIsReportedAndTheProcessingFlagIsCleared)
{
    setOcrApplicationFolder(temp.filePath(QStringLiteral("no-ocr")));
    auto window = start();
    // The card table disappears under the open store: the import's save cannot succeed.
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(QFile::encodeName(database + QStringLiteral("/Pelmora1.sqldb")).constData(), &db), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(db, "DROP TABLE ZCARD", nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_close(db);

    const QString pdf = temp.filePath(QStringLiteral("card.pdf"));
    ASSERT_TRUE(testpdf::writePdf(pdf, testpdf::scannerDocument(1)));
    presenter.clear();
    QStringList imported;
    window->scanData({pdf}, kInputTypeScanner, &imported);
    EXPECT_TRUE(presenter.texts().contains(PLMessage::errorText(48))) << presenter.texts().join(QLatin1Char('|')).toStdString();
    EXPECT_FALSE(window->isImageProcessing());

    // While an import runs nothing is saved, and nothing is said; once it has ended, a save that
    // fails is said.
    addCard(window->managedObjectContext(), QStringLiteral("A"), QStringLiteral("Ann"), folderOfType(*window, kFolderTypeInbox), 1);
    presenter.clear();
    window->setProcessingFlag(true);
    window->saveAction();
    EXPECT_TRUE(presenter.shown().isEmpty());
    EXPECT_TRUE(window->managedObjectContext()->hasChanges());
    window->setProcessingFlag(false);
    window->saveAction();
    EXPECT_EQ(presenter.texts(), QStringList{PLMessage::errorText(48)});
}

TEST_F(MainWindow, ToolbarFollowsTheSelectionAndTheLabelOnlyMode)
{
    auto window = start();
    QToolBar* toolbar = window->toolbar();
    ASSERT_NE(toolbar, nullptr);
    EXPECT_EQ(window->toolbarItemIdentifiers(), ToolbarItems::defaultItemIdentifiers());
    QAction* exportItem = window->toolbarItem(QString::fromLatin1(ToolbarItems::kExport));
    QAction* mail = window->toolbarItem(QString::fromLatin1(ToolbarItems::kMail));
    EXPECT_FALSE(exportItem->isEnabled());

    ManagedObjectContext* context = window->managedObjectContext();
    addCard(context, QStringLiteral("A"), QStringLiteral("Ann"), folderOfType(*window, kFolderTypeInbox), 1);
    context->executeFetchRequest({QString::fromLatin1(CardStore::kEntityCard), {}, {}}).first()->setValue(QStringLiteral("e_Mail"), QStringLiteral("ann@example.org"));
    window->selectCards({});
    clickRow(window->ui()._tvList, 0);
    EXPECT_TRUE(exportItem->isEnabled());
    EXPECT_TRUE(mail->isEnabled());

    // In the label-only mode the search field stays to be typed into, under its label.
    window->window()->resize(2000, 800);
    window->setToolbarDisplayMode(3);
    QApplication::processEvents();
    QLineEdit* searchField = window->ui()._searchFiled;
    EXPECT_TRUE(searchField->isVisibleTo(window->window()));
    auto* search = qobject_cast<QWidgetAction*>(window->toolbarItem(QString::fromLatin1(ToolbarItems::kSearch)));
    const QLabel* searchLabel = search->defaultWidget()->findChild<QLabel*>();
    ASSERT_NE(searchLabel, nullptr);
    EXPECT_TRUE(searchLabel->isVisibleTo(window->window()));
    EXPECT_FALSE(search->defaultWidget()->findChild<QToolButton*>()->isVisibleTo(window->window()));
    QTest::mouseClick(searchField, Qt::LeftButton);
    QTest::keyClicks(searchField, QStringLiteral("nobody"));
    EXPECT_EQ(window->arrayController()->arrangedObjects().size(), 0);
    searchField->selectAll();
    QTest::keyClick(searchField, Qt::Key_Backspace);
    EXPECT_EQ(window->arrayController()->arrangedObjects().size(), 1);
    // Another view item is a button with its label, which brings the icons back.
    auto* exportBar = qobject_cast<QWidgetAction*>(exportItem);
    EXPECT_TRUE(window->ui()._exportBarView->isHidden());
    auto* menuForm = exportBar->defaultWidget()->findChild<QToolButton*>(QString(), Qt::FindDirectChildrenOnly);
    ASSERT_NE(menuForm, nullptr);
    QTest::mouseClick(menuForm, Qt::LeftButton);
    EXPECT_EQ(window->toolbarDisplayMode(), 1);
    EXPECT_FALSE(window->ui()._exportBarView->isHidden());
}

TEST_F(MainWindow, TheToolbarIsArrangedInItsWindowAndKeptAfterARestart)
{
    const QString application = QString::fromLatin1(ToolbarItems::kApplication);
    const QString exportItem = QString::fromLatin1(ToolbarItems::kExport);
    auto open = [](PLMainWindowController& window) {
        // From the toolbar's context menu, as on the desktop.
        const QList<QAction*> actions = window.toolbarMenu()->actions();
        const auto customise = std::find_if(actions.cbegin(), actions.cend(), [](const QAction* action) {
            return action->objectName() == QLatin1String("runToolbarCustomizationPalette");
        });
        EXPECT_NE(customise, actions.cend());
        (*customise)->trigger();
        EXPECT_NE(window.toolbarCustomiseWindow(), nullptr);
        return window.toolbarCustomiseWindow();
    };
    auto clickItem = [](QListWidget* list, const QString& identifier) {
        for (int row = 0; row < list->count(); ++row) {
            if (list->item(row)->data(Qt::UserRole).toString() == identifier) {
                QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, list->visualItemRect(list->item(row)).center());
                return true;
            }
        }
        return false;
    };
    // In the toolbar (or behind its extension button when the window is too narrow for it).
    auto shown = [](PLMainWindowController& window, const QString& identifier) {
        QAction* item = window.toolbarItem(identifier);
        return window.toolbar()->actions().contains(item) && window.toolbar()->widgetForAction(item);
    };
    auto stored = [this] {
        QStringList identifiers;
        for (const PlistValue& id :
             storedPreference("NSToolbar Configuration Pelmora Toolbar Identifier").value(QStringLiteral("TB Item Identifiers")).toArray())
            identifiers.append(id.toString());
        return identifiers;
    };
    QStringList arranged = ToolbarItems::defaultItemIdentifiers();
    arranged.insert(arranged.indexOf(exportItem) + 1, application);
    {
        auto window = start();
        EXPECT_FALSE(shown(*window, application)) << "offered in the customisation window only";
        QWidget* customise = open(*window);
        auto* available = customise->findChild<QListWidget*>(QStringLiteral("availableItems"));
        auto* items = customise->findChild<QListWidget*>(QStringLiteral("toolbarItems"));
        ASSERT_TRUE(available && items);
        ASSERT_TRUE(clickItem(items, exportItem));
        ASSERT_TRUE(clickItem(available, application));
        QTest::mouseClick(customise->findChild<QPushButton*>(QStringLiteral("addItemButton")), Qt::LeftButton);
        EXPECT_EQ(window->toolbarItemIdentifiers(), arranged) << "added after the selected item";
        EXPECT_TRUE(shown(*window, application));
        EXPECT_FALSE(clickItem(available, application)) << "no longer offered";
        EXPECT_EQ(stored(), arranged) << "stored at once";
        customise->findChild<QComboBox*>(QStringLiteral("displayModeButton"))->setCurrentIndex(1);
        EXPECT_EQ(window->toolbarDisplayMode(), 2);
        EXPECT_EQ(window->toolbar()->toolButtonStyle(), Qt::ToolButtonIconOnly);
        EXPECT_EQ(
            storedPreference("NSToolbar Configuration Pelmora Toolbar Identifier").value(QStringLiteral("TB Display Mode")).toInteger(), 2);
        QTest::mouseClick(customise->findChild<QPushButton*>(QStringLiteral("doneButton")), Qt::LeftButton);
        window->window()->close();
    }
    auto window = start();
    EXPECT_EQ(window->toolbarItemIdentifiers(), arranged);
    EXPECT_TRUE(shown(*window, application));
    EXPECT_EQ(window->toolbarDisplayMode(), 2);

    // A separator dragged from the offered items onto the top of the toolbar's list joins the
    // toolbar there, and stays offered.
    QWidget* customise = open(*window);
    auto* available = customise->findChild<QListWidget*>(QStringLiteral("availableItems"));
    auto* items = customise->findChild<QListWidget*>(QStringLiteral("toolbarItems"));
    const QString separator = QString::fromLatin1(ToolbarItems::kSeparator);
    const QList<QListWidgetItem*> offered = available->findItems(QStringLiteral("*"), Qt::MatchWildcard);
    const auto dragged = std::find_if(offered.cbegin(), offered.cend(),
                                      [&](const QListWidgetItem* item) { return item->data(Qt::UserRole).toString() == separator; });
    ASSERT_NE(dragged, offered.cend());
    const std::unique_ptr<QMimeData> data(available->model()->mimeData({available->indexFromItem(*dragged)}));
    const QPoint top = items->visualItemRect(items->item(0)).topLeft() + QPoint(4, 1);
    QDragEnterEvent enter(top, Qt::CopyAction, data.get(), Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(items->viewport(), &enter);
    QDragMoveEvent move(top, Qt::CopyAction, data.get(), Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(items->viewport(), &move);
    QDropEvent drop(top, Qt::CopyAction, data.get(), Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(items->viewport(), &drop);
    QCoreApplication::processEvents(); // the lists are read once the drop is complete
    EXPECT_EQ(window->toolbarItemIdentifiers(), QStringList{separator} + arranged);
    EXPECT_EQ(stored(), QStringList{separator} + arranged);
    EXPECT_TRUE(clickItem(available, separator));

    // Back to the defaults: the item leaves the toolbar and is offered again.
    QTest::mouseClick(customise->findChild<QPushButton*>(QStringLiteral("restoreDefaultsButton")), Qt::LeftButton);
    EXPECT_EQ(window->toolbarItemIdentifiers(), ToolbarItems::defaultItemIdentifiers());
    EXPECT_FALSE(shown(*window, application));
    EXPECT_EQ(stored(), ToolbarItems::defaultItemIdentifiers());
    EXPECT_TRUE(clickItem(available, application));
}

TEST_F(MainWindow, TheToolbarsContextMenuChoosesTheDisplayMode)
{
    auto window = start();
    QMenu* menu = window->toolbarMenu();
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(window->toolbar()->contextMenuPolicy(), Qt::CustomContextMenu);
    const struct {
        int mode;
        Qt::ToolButtonStyle style;
    } cases[] = {{3, Qt::ToolButtonTextOnly}, {2, Qt::ToolButtonIconOnly}, {1, Qt::ToolButtonTextUnderIcon}};
    for (const auto& c : cases) {
        menu->findChild<QAction*>(QStringLiteral("toolbarDisplayMode%1").arg(c.mode))->trigger();
        EXPECT_EQ(window->toolbarDisplayMode(), c.mode);
        EXPECT_EQ(window->toolbar()->toolButtonStyle(), c.style);
        EXPECT_EQ(
            storedPreference("NSToolbar Configuration Pelmora Toolbar Identifier").value(QStringLiteral("TB Display Mode")).toInteger(),
            c.mode);
        emit menu->aboutToShow();
        EXPECT_TRUE(menu->findChild<QAction*>(QStringLiteral("toolbarDisplayMode%1").arg(c.mode))->isChecked());
    }
    // In the icon-only mode the view items keep their images and lose their captions.
    menu->findChild<QAction*>(QStringLiteral("toolbarDisplayMode2"))->trigger();
    EXPECT_FALSE(window->ui()._exportBarView->isHidden());
    auto* exportItem = qobject_cast<QWidgetAction*>(window->toolbarItem(QString::fromLatin1(ToolbarItems::kExport)));
    EXPECT_TRUE(exportItem->defaultWidget()->findChild<QLabel*>()->isHidden());
}

TEST_F(MainWindow, RecognitionLanguageAndExportFormatComeFromThePreferences)
{
    PreferenceDomain::standard().setValue(QStringLiteral("recognize language"), 0x1);
    PreferenceDomain::standard().setValue(QStringLiteral("export mode"), 0x8);
    auto window = start();
    EXPECT_EQ(window->recognizeButtonState(), 0) << "cards are read as Japanese";
    EXPECT_EQ(window->ui()._recognizeLanguageText->text(), QStringLiteral("IDS_RECOGNIZE_LANGUAGE_TEXT_IN_STATUS : IDS_RECOGNIZE_LANGUAGE_JAPANESE"));
    EXPECT_EQ(window->exportButtonState(), 3);
    EXPECT_EQ(window->toolbarItem(QString::fromLatin1(ToolbarItems::kExport))->toolTip(), QStringLiteral("IDS_EXPORT_BAR_TOOLTIP_TEXT"));

    // The preferences window hands over plain states; an unknown one gives the defaults.
    NotificationCenter::defaultCenter().post(QStringLiteral("Pelmora Preferences window close notification"), nullptr,
                                             {{QStringLiteral("Pelmora userinfo key of preferences recognize state"), 40},
                                              {QStringLiteral("Pelmora userinfo key of preferences export state"), 2}});
    EXPECT_EQ(window->recognizeButtonState(), ToolbarItems::kAutomaticLanguage);
    EXPECT_EQ(window->exportButtonState(), 2);
}

TEST_F(MainWindow, APlaceholderImageKeepsABackImageThatStillExists)
{
    auto window = start();
    ManagedObjectContext* context = window->managedObjectContext();
    const QString inbox = folderOfType(*window, kFolderTypeInbox);
    addCard(context, QStringLiteral("A"), QStringLiteral("Ann"), inbox, 1);
    addCard(context, QStringLiteral("B"), QStringLiteral("Bob"), inbox, 2);
    for (const ManagedObjectPtr& card : context->executeFetchRequest({QString::fromLatin1(CardStore::kEntityCard), {}, {}})) {
        const QString id = card->stringValue(QStringLiteral("cardID"));
        card->setValue(QStringLiteral("back_Image_File"), id + QStringLiteral("_N2.pdf"));
        card->setValue(QStringLiteral("back_Image_page"), 1);
    }
    QFile back(database + QStringLiteral("/Images/A_N2.pdf"));
    ASSERT_TRUE(back.open(QIODevice::WriteOnly));
    back.close();
    window->selectCards({QStringLiteral("A"), QStringLiteral("B")});
    for (const char* id : {"A", "B", "X"})
        NotificationCenter::defaultCenter().post(kDummyImageCreatedNotification, nullptr, {{QStringLiteral("cardID"), QString::fromLatin1(id)}});
    QMap<QString, ManagedObjectPtr> cards;
    for (const ManagedObjectPtr& card : context->executeFetchRequest({QString::fromLatin1(CardStore::kEntityCard), {}, {}}))
        cards.insert(card->stringValue(QStringLiteral("cardID")), card);
    EXPECT_EQ(cards["A"]->stringValue(QStringLiteral("face_Image_File")), QStringLiteral("A_N1.pdf"));
    EXPECT_EQ(cards["A"]->stringValue(QStringLiteral("back_Image_File")), QStringLiteral("A_N2.pdf"));
    EXPECT_EQ(cards["B"]->stringValue(QStringLiteral("back_Image_File")), QString()) << "its back file is gone";
    EXPECT_EQ(cards["B"]->value(QStringLiteral("back_Image_page")).toInt(), 0);
    EXPECT_EQ(cards["B"]->value(QStringLiteral("face_Image_Page")).toInt(), 1);
}

TEST_F(MainWindow, OnlyInstalledPhotoApplicationsAreOffered)
{
    // The applications are the desktop entries the exporter hands the cards to.
    FakeWorkspace workspace;
    workspace.applications.insert(QStringLiteral("org.kde.digikam"), ApplicationInfo{QStringLiteral("/bin/sh"), QString()});
    PreferenceDomain::standard().setValue(QStringLiteral("Photo application 1 desktop entry"), QStringLiteral("test.pelmora.Missing"));
    PreferenceDomain::standard().setValue(QStringLiteral("conncet to Photos state"), 2);
    auto window = start();
    EXPECT_EQ(window->photosInstallInfo(), 2);
    EXPECT_TRUE(pullDownItem(window->ui()._IphotoPopButton, 1)->isVisible());
    EXPECT_FALSE(pullDownItem(window->ui()._IphotoPopButton, 2)->isVisible()) << "iPhoto is not installed";
    EXPECT_EQ(PreferenceDomain::standard().value(QStringLiteral("conncet to Photos state")).toInteger(), 1);
    EXPECT_EQ(PreferenceDomain::standard().value(QStringLiteral("check Photos install info")).toInteger(), 2);
}

TEST_F(MainWindow, QuittingWithoutAWritableDatabaseKeepsTheLayoutButWritesNoSelection)
{
    QString inbox;
    {
        auto window = start();
        inbox = folderOfType(*window, kFolderTypeInbox);
        addCard(window->managedObjectContext(), QStringLiteral("A"), QStringLiteral("Ann"), inbox, 1);
        window->saveAction();
        window->selectCards({QStringLiteral("A")});
        window->window()->resize(720, 650);
        PLNetDBLockController::setDbOpenMode(PLNetDBLockController::kOpenModeReadOnly);
        window->window()->close();
        PLNetDBLockController::setDbOpenMode(0);
    }
    EXPECT_EQ(storedPreference("Main Window Width").toInteger(), 720);
    auto window = start();
    const ManagedObjectList versions = window->managedObjectContext()->executeFetchRequest({QString::fromLatin1(CardStore::kEntityVersion), {}, {}});
    ASSERT_EQ(versions.size(), 1);
    EXPECT_EQ(versions.first()->stringValue(QStringLiteral("Sel_Card_ID")), QString());
    EXPECT_GE(g_DBLockFile, 0) << "the lock was let go at quit and taken again";
}

TEST_F(MainWindow, ShrinkingTheWindowNarrowsTheDetailEditorOnlyForTheLeftPane)
{
    auto window = start();
    const MainWindowUi& ui = window->ui();
    window->window()->resize(780, 600);
    ui._hSplitView->setSizes({780 - 360 - 1, 360});
    emit ui._hSplitView->splitterMoved(780 - 360, 1);
    window->window()->resize(740, 600);
    EXPECT_EQ(ui._detailSideView->width(), 360) << "the left pane keeps 379";
    window->window()->resize(700, 600);
    EXPECT_EQ(ui._detailSideView->width(), 348) << "700 - 350 - 1 - 1";
    EXPECT_GE(ui._vSplitView->width(), 350);
}

TEST_F(MainWindow, HidingAPaneMovesTheFocusOutOfIt)
{
    auto window = start();
    const MainWindowUi& ui = window->ui();
    ui._attachTableView->setFocus();
    QTest::mouseClick(ui._dataEditBarSegControl, Qt::LeftButton);
    EXPECT_EQ(window->window()->focusWidget(), ui._searchFiled);

    ui._outlineView->setFocus();
    QTest::mouseClick(ui._folderListViewSegControl, Qt::LeftButton);
    EXPECT_EQ(window->window()->focusWidget(), ui._folderListViewSegControl);
}
