// The main window's commands as the menu bar carries them: every item enabled by its rule in each
// state of the window (one table), the standard keys, the language, image-pane and search
// commands, the photo hand-off with its "flag2" marks, and the linked-application menus.
#include "app/core/LocalString.h"
#include "app/core/PLAppController.h"
#include "app/core/PLNetDBLockController.h"
#include "app/export/PLExporter.h"
#include "app/export/PhotoAfterImport.h"
#include "app/linkage/PLExtAppController.h"
#include "app/ui/PLCardListController.h"
#include "app/ui/PLMainMenu.h"
#include "app/ui/PLOutlineViewController.h"
#include "app/ui/logic/MainWindowLayout.h"
#include "app/ui/logic/PLArrayController.h"
#include "app/ui/logic/ToolbarItems.h"
#include "platform/workspace/Workspace.h"
#include "tests/app/ui/ImagePaneFixture.h"
#include "tests/support/workspace/FakeWorkspace.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QAction>
#include <QButtonGroup>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <QToolButton>
#include <QTreeView>

namespace {

// The rules the window's states above do not reach: the folder, the photo applications, the
// check marks and an action without a rule.
TEST(MenuValidation, RulesBeyondTheSelection)
{
    using namespace ToolbarValidation;
    MenuValidation::State card;
    card.window.hasContext = true;
    card.window.selectionCount = 1;
    card.window.toolBits = kRecognizable | kImageShown | kBackAddable | kZoomedInFully;
    card.window.photosInstalled = 0;
    card.recognizeLanguage = 1;
    card.exportFormat = 2;
    MenuValidation::State root = card;
    root.window.rootFolderSelected = true;
    MenuValidation::State photos = card;
    photos.window.photosInstalled = 2;
    struct Case {
        const char* action;
        int tag;
        const MenuValidation::State& state;
        bool enabled;
        bool checked;
    } cases[] = {
        {"onMergeBar", 0, card, true, false},
        {"onMergeBar", 0, root, false, false},
        {"onZoomIn", 0, card, false, false},
        {"onZoomOut", 0, card, true, false},
        {"exportPhotosMainMenu", 0, card, false, false},
        {"exportPhotosMainMenu", 0, photos, true, false},
        {"recognizeInEnglish", 0, card, true, true},
        {"recognizeInJapanese", 0, card, true, false},
        {"exportCSV", 0, card, true, true},
        {"exportText", 0, card, true, false},
        {"onImageOperationBar", 1, card, true, true},
        {"onImageOperationBar", 0, card, true, false},
        {"showPreferencePanel", 0, card, true, false},
    };
    for (const Case& c : cases) {
        const MenuValidation::Validation v = MenuValidation::validateMenuItem(QString::fromLatin1(c.action), c.state, c.tag);
        EXPECT_EQ(v.enabled, c.enabled) << c.action << " #" << c.tag;
        EXPECT_EQ(v.checked, c.checked) << c.action << " #" << c.tag;
    }
}

// The mark a card's "flag2" gets when it is handed to photo application 1 or 2: a blank mark
// counts as "0" for both applications.
TEST(PhotoHandOffMark, EachApplicationAddsItsOwnMark)
{
    struct Case {
        const char* flag;
        const char* afterFirst;
        const char* afterSecond;
    } cases[] = {
        {"", "1", "2"}, {"0", "1", "2"}, {"1", "1", "3"}, {"2", "3", "2"}, {"3", "3", "3"}, {"9", "9", "9"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(sentFlagAfterHandOff(QString::fromLatin1(c.flag), PLExporter::kPhotoAppType1), QString::fromLatin1(c.afterFirst)) << c.flag;
        EXPECT_EQ(sentFlagAfterHandOff(QString::fromLatin1(c.flag), PLExporter::kPhotoAppType2), QString::fromLatin1(c.afterSecond)) << c.flag;
    }
}

class MainMenuCommands : public ImagePaneFixture {
protected:
    std::unique_ptr<PLAppController> delegate;
    std::unique_ptr<PLMainMenu> menu;

    void SetUp() override
    {
        ImagePaneFixture::SetUp();
        buildMenu();
    }
    void TearDown() override
    {
        PLNetDBLockController::setDbOpenMode(0);
        menu.reset();
        delegate.reset();
        ImagePaneFixture::TearDown();
    }
    void buildMenu()
    {
        delegate = std::make_unique<PLAppController>(window.get(), openDatabase, PLAppServices{}, Bundle::main());
        menu = std::make_unique<PLMainMenu>(*window, *delegate);
    }
    // The window started again on the same database, as at the next launch.
    void restartWindow()
    {
        menu.reset();
        delegate.reset();
        window.reset();
        startWindow();
        buildMenu();
    }

    // Every menu of the menu bar with its submenus.
    QList<QMenu*> menus() const
    {
        QList<QMenu*> found;
        QList<QAction*> pending = window->window()->menuBar()->actions();
        while (!pending.isEmpty()) {
            QAction* action = pending.takeFirst();
            if (QMenu* submenu = action->menu()) {
                found.append(submenu);
                pending.append(submenu->actions());
            }
        }
        return found;
    }
    // The `nth` item named `action` in the menu bar, its menu opened (which validates it).
    QAction* item(const QString& action, int nth = 0) const
    {
        for (QMenu* m : menus()) {
            for (QAction* candidate : m->actions()) {
                if (candidate->objectName() != action || nth-- > 0)
                    continue;
                emit m->aboutToShow();
                return candidate;
            }
        }
        return nullptr;
    }
    QAction* item(const char* action, int nth = 0) const { return item(QString::fromLatin1(action), nth); }
    void trigger(const char* action, int nth = 0)
    {
        QAction* found = item(action, nth);
        ASSERT_TRUE(found) << action;
        found->trigger();
        QApplication::processEvents();
    }

    // Clicks the folder tree's row of the folder named `name`, as a user does.
    void clickFolder(const QString& name) const
    {
        QTreeView* tree = window->ui()._outlineView;
        const QModelIndexList found =
            tree->model()->match(tree->model()->index(0, 0), Qt::DisplayRole, name, 1, Qt::MatchExactly | Qt::MatchRecursive);
        ASSERT_FALSE(found.isEmpty()) << name.toStdString();
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, Qt::NoModifier, tree->visualRect(found.first()).center());
        QApplication::processEvents();
    }
    // The names of the cards the card list shows.
    QStringList listedNames() const
    {
        QStringList names;
        for (const ManagedObjectPtr& card : window->arrayController()->arrangedObjects())
            names.append(card->stringValue(QStringLiteral("full_Name")));
        names.sort();
        return names;
    }
    // A card named `name` filed in the folder `folderID`.
    void addCardIn(const QString& folderID, const QString& name)
    {
        ManagedObjectContext* context = window->managedObjectContext();
        const ManagedObjectPtr card = context->insertNewObject(QString::fromLatin1(CardStore::kEntityCard));
        card->setValue(QStringLiteral("cardID"), name);
        card->setValue(QStringLiteral("full_Name"), name);
        card->setValue(QStringLiteral("deletedFlag"), 0);
        card->setValue(QStringLiteral("accept_Date"), QDateTime::currentDateTimeUtc());
        const ManagedObjectPtr belong = context->insertNewObject(QString::fromLatin1(CardStore::kEntityCardBelong));
        belong->setValue(QStringLiteral("cardID"), name);
        assignCardFolder(*card, *belong, folderID);
        belong->setRelatedObject(QStringLiteral("ToCardRelation"), card);
        window->saveAction();
    }

    // Card A: front and back with mail and web page; card B: a front with mail, with `flagB` as
    // its photo hand-off mark.
    void addTwoCards(const QString& flagB = QString())
    {
        writeScanner(QStringLiteral("a_f.pdf"), 1);
        writeScanner(QStringLiteral("a_b.pdf"), 1);
        writeScanner(QStringLiteral("b_f.pdf"), 1);
        addCard(QStringLiteral("A"), {{QStringLiteral("face_Image_File"), QStringLiteral("a_f.pdf")},
                                      {QStringLiteral("back_Image_File"), QStringLiteral("a_b.pdf")},
                                      {QStringLiteral("e_Mail"), QStringLiteral("ann@example.org")},
                                      {QStringLiteral("web_Page_Address"), QStringLiteral("www.example.org")}});
        addCard(QStringLiteral("B"), {{QStringLiteral("face_Image_File"), QStringLiteral("b_f.pdf")},
                                      {QStringLiteral("e_Mail"), QStringLiteral("bo@example.org")},
                                      {QStringLiteral("flag2"), flagB}});
    }
};

TEST_F(MainMenuCommands, EveryItemIsEnabledByItsRuleInEachStateOfTheWindow)
{
    FakeWorkspace workspace; // both photo applications present, nothing started
    workspace.applications.insert(QStringLiteral("org.gnome.Shotwell"), ApplicationInfo{QStringLiteral("/bin/true"), {}});
    workspace.applications.insert(QStringLiteral("org.kde.digikam"), ApplicationInfo{QStringLiteral("/bin/true"), {}});
    restartWindow();
    addTwoCards();

    enum Column { NoDatabase, ReadOnly, NoSelection, OneCard, SeveralCards, Processing, kColumns };
    struct Row {
        const char* action;
        int nth;
        const char* enabled; // one mark a column: '+' enabled, '-' disabled
    } rows[] = {
        //                               no db  ro  none one several processing
        {"showPreferencePanel", 0, "+++++-"},
        {"onCloudConnect", 0,      "---++-"},
        {"printPagesSetting", 0,   "+++++-"},
        {"print", 0,               "-+-++-"},
        {"search", 0,              "+++++-"},
        {"recognize", 0,           "---++-"},
        {"recognizeInJapanese", 0, "-+-++-"},
        {"recognizeInEnglish", 0,  "-+-++-"},
        {"onRotateBar", 0,         "---+--"},
        {"onSwapBar", 0,           "---+--"},
        {"onMergeBar", 0,          "---+--"},
        {"onRemoveBar", 0,         "---+--"},
        {"onMail", 0,              "-+-++-"},
        {"onExplorer", 0,          "-+-+--"},
        {"onExport", 0,            "-+-++-"},
        {"exportVCard", 0,         "-+-++-"},
        {"exportCSV", 0,           "-+-++-"},
        {"exportText", 0,          "-+-++-"},
        {"exportPhotos", 0,        "---++-"},
        {"exportiPhoto", 0,        "---++-"},
        {"exportPhotosMainMenu", 0, "+++++-"},
        {"connectAddOnly", 0,      "---++-"},
        {"connectAddressBook", 0,  "--+++-"},
        {"onZoomIn", 0,            "---+--"},
        {"onZoomOut", 0,           "---+--"},
        {"onImageOperationBar", 0, "+++++-"},
        {"onImageOperationBar", 1, "+++++-"},
        {"onSideBar", 0,           "+++++-"},
        {"toggleFullScreen", 0,    "+++++-"},
    };
    QString seen[std::size(rows)];
    for (QString& s : seen)
        s = QString(kColumns, QLatin1Char('?'));
    QString toolBits[kColumns];
    const auto readColumn = [&](Column column) {
        toolBits[column] = QString::number(pane->getToolBarState());
        for (size_t i = 0; i < std::size(rows); ++i) {
            QAction* found = item(rows[i].action, rows[i].nth);
            ASSERT_TRUE(found) << rows[i].action;
            seen[i][column] = found->isEnabled() ? QLatin1Char('+') : QLatin1Char('-');
        }
    };
    select({QStringLiteral("A")});
    readColumn(OneCard);
    ASSERT_TRUE(window->RunIndicator(QStringLiteral("Pelmora"), QStringLiteral("working")));
    readColumn(Processing);
    window->StopIndicator();
    PLNetDBLockController::setDbOpenMode(PLNetDBLockController::kOpenModeReadOnly);
    readColumn(ReadOnly);
    PLNetDBLockController::setDbOpenMode(0);
    select({QStringLiteral("A"), QStringLiteral("B")});
    readColumn(SeveralCards);
    select({});
    readColumn(NoSelection);
    window->closeDatabase();
    QApplication::processEvents();
    readColumn(NoDatabase);

    for (size_t i = 0; i < std::size(rows); ++i)
        EXPECT_EQ(seen[i].toStdString(), rows[i].enabled)
            << rows[i].action << " #" << rows[i].nth << "; tool bits by column: " << QStringList(std::begin(toolBits), std::end(toolBits)).join(u' ').toStdString();
}

TEST_F(MainMenuCommands, ItemsCarryNamesAndTheStandardKeys)
{
    for (QMenu* m : menus()) {
        QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(m);
        ASSERT_TRUE(accessible);
        for (int i = 0; i < accessible->childCount(); ++i) {
            QAccessibleInterface* child = accessible->child(i);
            if (child->role() == QAccessible::Separator)
                continue;
            EXPECT_FALSE(child->text(QAccessible::Name).isEmpty()) << m->title().toStdString() << " item " << i;
        }
    }
    EXPECT_EQ(item("search")->shortcut(), QKeySequence(QKeySequence::Find));
    EXPECT_EQ(item("print")->shortcut(), QKeySequence(QKeySequence::Print));
    EXPECT_EQ(item("onZoomIn")->shortcut(), QKeySequence(QKeySequence::ZoomIn));

    // Find puts the focus in the search field, whatever had it.
    window->ui()._tvList->setFocus();
    trigger("search");
    EXPECT_EQ(window->window()->focusWidget(), window->ui()._searchFiled);
}

TEST_F(MainMenuCommands, TheDesktopsSearchOpensTheWindowOnTheListAlone)
{
    menu.reset();
    delegate.reset();
    window.reset();
    PreferenceDomain::standard().setValue(QString::fromLatin1(MainWindowLayout::kShowDetailView), 1);
    {
        // No database chosen yet: nothing opens.
        OpenDatabase none;
        PLMainWindowController early(none);
        early.setTerminate([] {});
        early.searchText(QStringLiteral("Ann"));
        EXPECT_FALSE(early.isWindowVisible());
        EXPECT_EQ(PreferenceDomain::standard().value(QString::fromLatin1(MainWindowLayout::kShowDetailView)).toInteger(), 1);
    }
    openDatabase.choose(database);
    window = std::make_unique<PLMainWindowController>(openDatabase);
    window->setTerminate([] {});
    window->searchText(QStringLiteral("Ann"));
    QApplication::processEvents();
    EXPECT_TRUE(window->isWindowVisible());
    EXPECT_EQ(window->ui()._searchFiled->text(), QStringLiteral("Ann"));
    EXPECT_EQ(PreferenceDomain::standard().value(QString::fromLatin1(MainWindowLayout::kShowDetailView)).toInteger(), 0);
    EXPECT_FALSE(window->ui()._detailSideView->isVisible());
}

TEST_F(MainMenuCommands, LanguageAndImageCommandsActOnTheBarsTheyStandFor)
{
    addTwoCards();
    select({QStringLiteral("A")});
    trigger("recognizeInJapanese");
    EXPECT_EQ(window->recognizeButtonState(), 0);
    EXPECT_TRUE(item("recognizeInJapanese")->isChecked());
    EXPECT_FALSE(item("recognizeInEnglish")->isChecked());
    trigger("recognizeInEnglish");
    EXPECT_EQ(window->recognizeButtonState(), 1);
    EXPECT_EQ(window->ui()._recognizeBarButton->text(), getLocalString(QStringLiteral("IDS_RECOGNIZE_LANGUAGE_ENGLISH")));

    // "Move" (segment 0) and "Select" (segment 1) work the bar's buttons, which stand the other way.
    trigger("onImageOperationBar", 0);
    EXPECT_EQ(window->ui()._segImageOperator->checkedId(), 1);
    EXPECT_TRUE(item("onImageOperationBar", 0)->isChecked());
    EXPECT_EQ(window->toolbarItem(QString::fromLatin1(ToolbarItems::kImageOperation))->toolTip(),
              getLocalString(QStringLiteral("IDS_IMAGEOPERATION_BAR_TOOLTIP_MOVE")));
    window->ui()._segImageOperator->button(0)->click();
    EXPECT_TRUE(item("onImageOperationBar", 1)->isChecked());

    const int before = face()->currentRate();
    trigger("onZoomIn");
    EXPECT_GT(face()->currentRate(), before);
    trigger("onZoomOut");
    EXPECT_EQ(face()->currentRate(), before);

    const bool detailShown = item("onSideBar")->isChecked();
    trigger("onSideBar");
    EXPECT_EQ(item("onSideBar")->isChecked(), !detailShown);
    trigger("onSideBar");
    EXPECT_EQ(item("onSideBar")->isChecked(), detailShown);
}

// View ends with the full-screen item: chosen, the window fills the screen and the item offers to
// leave it; its key, F11, brings the window back.
TEST_F(MainMenuCommands, ViewMenuTakesTheWindowInAndOutOfFullScreen)
{
    QMenu* view = window->window()->findChild<QMenu*>(QStringLiteral("viewMenu"));
    ASSERT_NE(view, nullptr);
    ASSERT_TRUE(window->window()->menuBar()->actions().contains(view->menuAction()));
    const QList<QAction*> items = view->actions();
    ASSERT_GE(items.size(), 3);
    EXPECT_EQ(items.last()->objectName().toStdString(), "toggleFullScreen");
    EXPECT_TRUE(items.at(items.size() - 2)->isSeparator());
    EXPECT_EQ(items.at(items.size() - 3)->objectName().toStdString(), "onListSideBar");

    window->window()->activateWindow();
    QAction* fullScreen = item("toggleFullScreen");
    ASSERT_NE(fullScreen, nullptr);
    EXPECT_EQ(fullScreen->text().toStdString(), "Enter Full Screen");
    ASSERT_TRUE(fullScreen->isEnabled());
    fullScreen->trigger();
    QApplication::processEvents();
    EXPECT_TRUE(window->window()->isFullScreen());
    EXPECT_EQ(item("toggleFullScreen")->text().toStdString(), "Exit Full Screen");

    QTest::keyClick(window->window(), Qt::Key_F11);
    QApplication::processEvents();
    EXPECT_FALSE(window->window()->isFullScreen());
    EXPECT_EQ(item("toggleFullScreen")->text().toStdString(), "Enter Full Screen");
}

TEST_F(MainMenuCommands, AStaleItemFiredByItsKeyDoesNothing)
{
    addTwoCards();
    select({QStringLiteral("A")});
    QAction* rotate = item("onRotateBar");
    QAction* japanese = item("recognizeInJapanese");
    ASSERT_TRUE(rotate->isEnabled());
    const int language = window->recognizeButtonState();
    const QByteArray front = [&] {
        QFile file(imagePath(QStringLiteral("a_f.pdf")));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }();
    // The database turns read-only and a sheet comes up after the menu was last opened.
    PLNetDBLockController::setDbOpenMode(PLNetDBLockController::kOpenModeReadOnly);
    rotate->trigger();
    ASSERT_TRUE(window->RunIndicator(QStringLiteral("Pelmora"), QStringLiteral("working")));
    japanese->trigger();
    window->StopIndicator();
    QFile file(imagePath(QStringLiteral("a_f.pdf")));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), front);
    EXPECT_EQ(window->recognizeButtonState(), language);
    EXPECT_TRUE(presenter.texts().isEmpty()) << presenter.texts().join(u'|').toStdString();
}

// A photo application as a desktop entry in the user's data folder whose program records the
// files it is given.
class PhotoHandOffFromTheWindow : public MainMenuCommands {
protected:
    QString entry;
    QString received;

    void installPhotoApplication(const QString& id)
    {
        received = temp.filePath(QStringLiteral("received"));
        const QString script = temp.filePath(id + QStringLiteral(".sh"));
        QFile scriptFile(script);
        ASSERT_TRUE(scriptFile.open(QIODevice::WriteOnly));
        scriptFile.write("#!/bin/sh\nprintf '%s\\n' \"$@\" > \"$0.part\" && mv \"$0.part\" '" + received.toUtf8() + "'\n");
        scriptFile.close();
        scriptFile.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        const QString folder = qEnvironmentVariable("XDG_DATA_HOME") + QStringLiteral("/applications");
        QDir().mkpath(folder);
        entry = folder + QLatin1Char('/') + id + QStringLiteral(".desktop");
        QFile desktop(entry);
        ASSERT_TRUE(desktop.open(QIODevice::WriteOnly));
        desktop.write("[Desktop Entry]\nType=Application\nName=Pictures\nExec=" + script.toUtf8() + " %F\n");
    }
    void TearDown() override
    {
        if (!entry.isEmpty())
            QFile::remove(entry);
        MainMenuCommands::TearDown();
    }
    QString flag2(const QString& cardID) const
    {
        for (const ManagedObjectPtr& card : window->arrayController()->arrangedObjects()) {
            if (card->stringValue(QStringLiteral("cardID")) == cardID)
                return card->stringValue(QStringLiteral("flag2"));
        }
        return QStringLiteral("?");
    }
};

TEST_F(PhotoHandOffFromTheWindow, TheWindowOffersWhatTheExporterStartsAndMarksTheCardsSent)
{
    // Only the first application is installed, as a desktop entry of its own.
    const QString id = QStringLiteral("test.pelmora.PhotoOne");
    installPhotoApplication(id);
    PreferenceDomain::standard().setValue(QStringLiteral("Photo application 1 desktop entry"), id);
    PreferenceDomain::standard().setValue(QStringLiteral("Photo application 2 desktop entry"), QStringLiteral("test.pelmora.Missing"));
    PlistValue::Dictionary strings = messageTexts();
    strings.insert(QStringLiteral("IDS_MSG_MULTI_EXPORT"), PlistValue(QStringLiteral("IDS_MSG_MULTI_EXPORT")));
    writePlistFile(bundle.dir.filePath(QStringLiteral("en/Localizable.plist")), strings);
    Bundle::setMain(bundle.dir.path());
    restartWindow();
    EXPECT_EQ(window->photosInstallInfo(), 1);
    EXPECT_FALSE(item("exportPhotos")->isVisible());
    EXPECT_TRUE(item("exportiPhoto")->isVisible());
    EXPECT_FALSE(pullDownItem(window->ui()._IphotoPopButton, 1)->isVisible());
    EXPECT_TRUE(pullDownItem(window->ui()._IphotoPopButton, 2)->isVisible());

    addTwoCards(QStringLiteral("2")); // A unsent, B sent to the other application
    select({QStringLiteral("A"), QStringLiteral("B")});
    trigger("exportiPhoto");
    ASSERT_TRUE(QTest::qWaitFor([&] { return QFile::exists(received); }, 60000));
    EXPECT_EQ(flag2(QStringLiteral("A")), QStringLiteral("1"));
    EXPECT_EQ(flag2(QStringLiteral("B")), QStringLiteral("3"));

    // Sent again when the user agrees to send cards sent before: the marks stay.
    QFile::remove(received);
    presenter.queueAnswer(kAlertFirstButtonReturn);
    pullDownItem(window->ui()._IphotoPopButton, 2)->trigger();
    ASSERT_TRUE(QTest::qWaitFor([&] { return QFile::exists(received); }, 60000)) << presenter.texts().join(u'|').toStdString();
    EXPECT_EQ(flag2(QStringLiteral("A")), QStringLiteral("1"));
    EXPECT_EQ(flag2(QStringLiteral("B")), QStringLiteral("3"));

    // The other application is not installed: its message, and nothing marked.
    pullDownItem(window->ui()._IphotoPopButton, 1)->trigger();
    window->exportPhotos();
    EXPECT_TRUE(presenter.texts().contains(QStringLiteral("E244"))) << presenter.texts().join(u'|').toStdString();
    EXPECT_EQ(flag2(QStringLiteral("A")), QStringLiteral("1"));
}

// The folder tree's items in the menu bar, and a search that goes on in each folder chosen.
TEST_F(MainMenuCommands, NewFolderAndTheFolderListFollowTheTreeAndASearchKeepsToTheFolderChosen)
{
    QAction* newFolder = item("addFolderFromMainMenu");
    ASSERT_TRUE(newFolder);
    EXPECT_FALSE(newFolder->isEnabled()) << "the Inbox holds no folders";
    clickFolder(getLocalString(QStringLiteral("IDS_FOLDER_NAME_ALL")));
    newFolder = item("addFolderFromMainMenu");
    ASSERT_TRUE(newFolder->isEnabled());
    newFolder->trigger();
    auto* editor = window->ui()._outlineView->viewport()->findChild<QLineEdit*>();
    ASSERT_NE(editor, nullptr) << "the new folder's name is open for editing";
    editor->selectAll();
    QTest::keyClicks(editor, QStringLiteral("Clients"));
    QTest::keyClick(editor, Qt::Key_Return);
    QCoreApplication::sendPostedEvents();
    QCoreApplication::sendPostedEvents();
    const TreeNode* clients = window->outlineViewController()->getSelectedItem();
    ASSERT_TRUE(clients && clients->folderName == QLatin1String("Clients"));
    const QString clientsID = clients->folderID;
    EXPECT_TRUE(item("addFolderFromMainMenu")->isEnabled()) << "a user folder takes sub-folders";

    const QString inboxID = window->outlineViewController()->rootNode()->children.first()->folderID;
    addCardIn(inboxID, QStringLiteral("Anna Berg"));
    addCardIn(inboxID, QStringLiteral("Ben Ode"));
    addCardIn(clientsID, QStringLiteral("Anna Lund"));
    addCardIn(clientsID, QStringLiteral("Carl Ode"));
    select({}); // the list reads the store again
    clickFolder(getLocalString(QStringLiteral("IDS_FOLDER_NAME_INBOX")));
    EXPECT_EQ(listedNames(), (QStringList{"Anna Berg", "Ben Ode"}));
    QTest::keyClicks(window->ui()._searchFiled, QStringLiteral("anna"));
    EXPECT_EQ(listedNames(), QStringList{"Anna Berg"});
    clickFolder(QStringLiteral("Clients"));
    EXPECT_EQ(window->ui()._searchFiled->text(), QStringLiteral("anna"));
    EXPECT_EQ(listedNames(), QStringList{"Anna Lund"}) << "the search goes on in the folder chosen";
    clickFolder(getLocalString(QStringLiteral("IDS_FOLDER_NAME_ALL")));
    EXPECT_EQ(listedNames(), (QStringList{"Anna Berg", "Anna Lund"}));
    window->ui()._searchFiled->clear();
    QTest::keyClicks(window->ui()._searchFiled, QStringLiteral("ode"));
    clickFolder(QStringLiteral("Clients"));
    EXPECT_EQ(listedNames(), QStringList{"Carl Ode"});

    // The View menu's item hides and shows the folder list; a hidden list takes no new folder.
    QAction* folderList = item("onListSideBar");
    ASSERT_TRUE(folderList && folderList->isEnabled());
    EXPECT_TRUE(folderList->isChecked());
    folderList->trigger();
    EXPECT_FALSE(window->ui()._folderListView->isVisible());
    EXPECT_FALSE(window->ui()._folderListViewSegControl->isChecked());
    EXPECT_FALSE(item("onListSideBar")->isChecked());
    EXPECT_FALSE(item("addFolderFromMainMenu")->isEnabled());
    item("onListSideBar")->trigger();
    EXPECT_TRUE(window->ui()._folderListView->isVisible());
    EXPECT_TRUE(item("onListSideBar")->isChecked());

    // A sheet on the window: neither item.
    ASSERT_TRUE(window->RunIndicator(QStringLiteral("Pelmora"), QStringLiteral("working")));
    EXPECT_FALSE(item("addFolderFromMainMenu")->isEnabled());
    EXPECT_FALSE(item("onListSideBar")->isEnabled());
    window->StopIndicator();
}

TEST_F(MainMenuCommands, LinkageMenusListTheApplicationsTheUserShows)
{
    PLExtAppController* shared = PLExtAppController::sharedController();
    ASSERT_TRUE(shared);
    PLExtAppInfoForm shown;
    shown.appType = 1;
    shown.appID = QStringLiteral("no-such-row");
    shown.isSelect = true;
    shown.appName = QStringLiteral("Card Viewer");
    shown.appDescription = QStringLiteral("Opens cards");
    PLExtAppInfoForm hidden = shown;
    hidden.appName = QStringLiteral("Hidden Viewer");
    hidden.isSelect = false;
    PLExtAppInfoForm upload;
    upload.appType = 3;
    upload.appID = QStringLiteral("upload");
    upload.isSelect = true;
    upload.appName = getLocalString(QStringLiteral("IDS_MENU_ITEM_SALESFORCE"));
    const QList<PLExtAppInfoForm> saved = shared->extAppInfoFormList();
    shared->updateExtAppInfoFormListWith({shown, hidden, upload});
    window->updateAllExtAppLinageMenu();

    // The Export menu's submenu and the card list's contextual one list the same applications.
    QMenu* linkage = window->extAppLinkageMenu();
    QMenu* contextual = window->cardListExtAppLinkageMenu();
    QMenu* cardTableMenu = window->cardListController()->cardTableMenu();
    ASSERT_TRUE(cardTableMenu->actions().contains(contextual->menuAction()));
    for (QMenu* menu : {linkage, contextual}) {
        ASSERT_EQ(menu->actions().size(), 2);
        EXPECT_TRUE(menu->menuAction()->isEnabled());
        EXPECT_EQ(menu->actions()[0]->text(), QStringLiteral("Card Viewer"));
        EXPECT_EQ(menu->actions()[0]->toolTip(), QStringLiteral("Opens cards"));
        EXPECT_EQ(menu->actions()[0]->objectName(), QStringLiteral("onExtAppListMenuItem"));
        EXPECT_EQ(menu->actions()[1]->objectName(), QStringLiteral("onCloudConnect"));
        EXPECT_EQ(menu->actions()[1]->toolTip(), getLocalString(QStringLiteral("IDS_SALESFORCE_MENUITEM_TOOLTIP")));
    }
    EXPECT_EQ(window->ui()._popUpBtnApp->menu()->actions().size(), 2);
    // The contextual menu's Address Book submenu holds the Address Book commands.
    QAction* addressBook = nullptr;
    for (QAction* item : cardTableMenu->actions()) {
        if (item->objectName() == QLatin1String("_menuItemCardListContextualMenuAddressBook"))
            addressBook = item;
    }
    ASSERT_TRUE(addressBook && addressBook->menu());
    QStringList addressBookItems;
    for (QAction* item : addressBook->menu()->actions())
        addressBookItems.append(item->objectName());
    EXPECT_EQ(addressBookItems, QStringList({QStringLiteral("connectAddOnly"), QStringLiteral("connectAddressBook")}));

    // Enabled with selected cards only; the toolbar's item as well.
    for (QMenu* menu : {linkage, contextual}) {
        emit menu->aboutToShow();
        EXPECT_FALSE(menu->actions()[0]->isEnabled());
    }
    addTwoCards();
    select({QStringLiteral("A")});
    for (QMenu* menu : {linkage, contextual, addressBook->menu()}) {
        emit menu->aboutToShow();
        EXPECT_TRUE(menu->actions()[0]->isEnabled());
    }
    EXPECT_TRUE(window->toolbarItem(QString::fromLatin1(ToolbarItems::kApplication))->isEnabled());

    // An application the linkage no longer knows: its error shown on the window.
    linkage->actions()[0]->trigger();
    EXPECT_EQ(presenter.texts().size(), 1) << presenter.texts().join(u'|').toStdString();

    // With nothing to show, the submenu and the toolbar's item are off.
    shared->updateExtAppInfoFormListWith({hidden});
    window->updateAllExtAppLinageMenu();
    for (QMenu* menu : {linkage, contextual}) {
        EXPECT_TRUE(menu->isEmpty());
        EXPECT_FALSE(menu->menuAction()->isEnabled());
    }
    EXPECT_FALSE(window->toolbarItem(QString::fromLatin1(ToolbarItems::kApplication))->isEnabled());
    shared->updateExtAppInfoFormListWith(saved);
}

} // namespace
