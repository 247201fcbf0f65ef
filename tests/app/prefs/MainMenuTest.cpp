// The preferences window and the upload as the user reaches them: the main window's File menu
// ("Preferences...", "Upload to Salesforce..."), the window's state kept between openings, the
// upload handed to a stand-in plug-in or refused when none is installed, an import whose merge
// window changes the merge preference shown in the open preferences window, and an import whose
// merge window changes the selected card showing that card again.
#include "app/core/CardEntities.h"
#include "app/core/CardFolder.h"
#include "app/core/LocalString.h"
#include "app/core/OpenDatabase.h"
#include "app/core/PLAppController.h"
#include "app/core/PLMessage.h"
#include "app/images/CardFieldKeys.h"
#include "app/images/OcrApplicationLink.h"
#include "app/images/PLMergeModel.h"
#include "app/images/merge/PLCardMergerWindowController.h"
#include "app/linkage/prefs/PLPreferences.h"
#include "app/ui/MainWindowUi.h"
#include "app/ui/PLApplicationServices.h"
#include "app/ui/PLImageController.h"
#include "app/ui/PLMainMenu.h"
#include "app/ui/PLMainWindowController.h"
#include "app/ui/views/PLImageView.h"
#include "platform/foundation/PreferenceDomain.h"
#include "platform/store/CardStoreModel.h"
#include "platform/store/ManagedObjectContext.h"
#include "tests/app/prefs/PrefsEnvironment.h"
#include "tests/app/upload/TestPluginBundle.h"
#include "tests/support/appkit/ModalWatch.h"
#include "tests/support/appkit/ScriptedMessagePresenter.h"
#include "tests/support/pdf/TestPdf.h"

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QSet>
#include <QTableView>
#include <QTest>

#include <gtest/gtest.h>

namespace {

class MainMenu : public ::testing::Test {
protected:
    QTemporaryDir temp;
    PrefsEnvironment environment{temp};
    ScriptedMessagePresenter presenter;
    QString database;
    QString record;
    OpenDatabase openDatabase;
    std::unique_ptr<PLMainWindowController> window;
    std::unique_ptr<PLAppController> app;
    std::unique_ptr<PLMainMenu> menu;

    void SetUp() override
    {
        // No OCR program: recognition reports its failure and the cards stay.
        setOcrApplicationFolder(temp.filePath(QStringLiteral("no-ocr")));
        database = temp.filePath(QStringLiteral("Cards.cxdb"));
        QDir().mkpath(database + QStringLiteral("/Images"));
        openDatabase.choose(database);
        window = std::make_unique<PLMainWindowController>(openDatabase);
        window->setTerminate([] {});
        app = std::make_unique<PLAppController>(window.get(), openDatabase, makeApplicationServices(), Bundle::main());
        window->setAppController(app.get());
        window->initDB();
        menu = std::make_unique<PLMainMenu>(*window, *app);
        window->showActiveWindow();
        ASSERT_NE(window->managedObjectContext(), nullptr);
        record = temp.filePath(QStringLiteral("record"));
        qputenv("PELMORA_TEST_PLUGIN_RECORD", QFile::encodeName(record));
    }
    void TearDown() override
    {
        qunsetenv("PELMORA_TEST_PLUGIN_RECORD");
        window->window()->close();
        menu.reset();
        window.reset();
        app.reset();
    }

    // Two one-page scanner files arrive, as the scanner hands them over; the merge window may run.
    void importTwoScannerCards()
    {
        QStringList paths;
        for (const char* name : {"a.pdf", "b.pdf"}) {
            paths.append(temp.filePath(QString::fromLatin1(name)));
            ASSERT_TRUE(testpdf::writePdf(paths.last(), testpdf::scannerDocument(1)));
        }
        QStringList imported;
        window->scanData(paths, kInputTypeScanner, &imported);
        ASSERT_EQ(imported.size(), 2);
    }
    // Closes the merge window as the user would, answering Yes to its question.
    void closeMergeWindow(PLCardMergerWindowController* mergeWindow)
    {
        presenter.queueAnswer(kAlertFirstButtonReturn);
        mergeWindow->cancel();
        presenter.answerSheets();
    }
    // The File menu's item with this title, as the menu bar shows it.
    QAction* fileItem(const char* titleKey)
    {
        QMenuBar* bar = static_cast<QMainWindow*>(window->window())->menuBar();
        const QString file = getLocalString(QStringLiteral("IDS_MENU_FILE"));
        for (QAction* top : bar->actions()) {
            if (QString(top->text()).remove(QLatin1Char('&')) != file || !top->menu())
                continue;
            emit top->menu()->aboutToShow();
            for (QAction* item : top->menu()->actions()) {
                if (item->text() == getLocalString(QString::fromLatin1(titleKey)))
                    return item;
            }
        }
        ADD_FAILURE() << "no File menu item " << titleKey;
        return nullptr;
    }
    // The menu bar's item named `action`, its menu opened (which enables it by its rule).
    QAction* barItem(const char* action)
    {
        QList<QAction*> pending = static_cast<QMainWindow*>(window->window())->menuBar()->actions();
        while (!pending.isEmpty()) {
            QMenu* menu = pending.takeFirst()->menu();
            if (!menu)
                continue;
            emit menu->aboutToShow();
            for (QAction* item : menu->actions()) {
                if (item->objectName() == QLatin1String(action))
                    return item;
                pending.append(item);
            }
        }
        ADD_FAILURE() << "no menu item " << action;
        return nullptr;
    }
    // A card filed in the Inbox, as an import or the detail editor leaves it.
    void addCard(const char* cardID, const char* name)
    {
        ManagedObjectContext* context = window->managedObjectContext();
        const ManagedObjectList inbox = context->executeFetchRequest(
            {QString::fromLatin1(CardStore::kEntityFolder), keyEquals(QStringLiteral("folder_Type"), kFolderTypeInbox), {}});
        ASSERT_FALSE(inbox.isEmpty());
        const ManagedObjectPtr card = context->insertNewObject(QString::fromLatin1(CardStore::kEntityCard));
        card->setValue(QStringLiteral("cardID"), QString::fromLatin1(cardID));
        card->setValue(QStringLiteral("deletedFlag"), 0);
        card->setValue(QStringLiteral("full_Name"), QString::fromLatin1(name));
        card->setValue(QStringLiteral("company"), QStringLiteral("Nordlicht"));
        const ManagedObjectPtr belong = context->insertNewObject(QString::fromLatin1(CardStore::kEntityCardBelong));
        belong->setValue(QStringLiteral("cardID"), QString::fromLatin1(cardID));
        assignCardFolder(*card, *belong, inbox.first()->stringValue(QStringLiteral("folder_ID")));
        belong->setRelatedObject(QStringLiteral("ToCardRelation"), card);
    }
};

TEST_F(MainMenu, PreferencesOpensOneWindowThatKeepsItsState)
{
    fileItem("IDS_MENU_PREFERENCES")->trigger();
    PLPreferences* preferences = window->preferencesController();
    ASSERT_NE(preferences, nullptr);
    QDialog* panel = preferences->window();
    ASSERT_TRUE(panel->isVisible());
    auto* sync = panel->findChild<QCheckBox*>(QStringLiteral("_checkAutoAddressbookSynchronous"));
    ASSERT_NE(sync, nullptr);
    EXPECT_FALSE(sync->isChecked());
    sync->click();
    panel->close();
    EXPECT_FALSE(panel->isVisible());
    EXPECT_EQ(PreferenceDomain::standard().value(QStringLiteral("Auto addressbook synchronous items")), PlistValue(true));

    fileItem("IDS_MENU_PREFERENCES")->trigger();
    EXPECT_EQ(window->preferencesController(), preferences) << "one controller for the main window's life";
    EXPECT_TRUE(panel->isVisible());
    EXPECT_TRUE(sync->isChecked());

    // Closing the main window closes the preferences window, which stores its settings.
    sync->click();
    window->window()->close();
    EXPECT_FALSE(panel->isVisible());
    EXPECT_EQ(PreferenceDomain::standard().value(QStringLiteral("Auto addressbook synchronous items")), PlistValue(false));
}

TEST_F(MainMenu, UploadHandsTheSelectedCardsToThePlugIn)
{
    addCard("A", "Anna Berg");
    addCard("B", "Ben Ode");
    window->saveAction();
    const QString application = temp.filePath(QStringLiteral("app"));

    struct Case {
        const char* name;
        QStringList selected;
        bool bundle;
        QStringList handedOver;   // the names in the card file; none: the plug-in was not called
        bool refused;             // message 117 naming the bundle
    } const cases[] = {
        {"no plug-in installed", {"A", "B"}, false, {}, true},
        {"two cards", {"A", "B"}, true, {"Anna Berg", "Ben Ode"}, false},
        {"one card of two", {"B"}, true, {"Ben Ode"}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        presenter.clear();
        QFile::remove(record);
        QDir(application + QStringLiteral("/Bundles")).removeRecursively();
        if (c.bundle)
            installTestPluginBundle(application, QStringLiteral(RECORDING_PLUGIN_PATH));
        window->selectCards(c.selected);
        QCoreApplication::processEvents();
        fileItem("IDS_MENU_UPLOAD")->trigger();
        QFile file(record);
        const bool called = file.open(QIODevice::ReadOnly);
        EXPECT_EQ(called, !c.handedOver.isEmpty());
        if (called) {
            EXPECT_EQ(file.readLine().trimmed(), "0") << "an upload, not the account settings";
            EXPECT_TRUE(file.readLine().trimmed().endsWith(".xml"));
            EXPECT_EQ(file.readLine().trimmed(), QString::asprintf("%p", static_cast<void*>(window->window())).toLatin1());
            file.readLine();
            const QByteArray cardFile = file.readAll();
            const QString xml = QString::fromUtf16(reinterpret_cast<const char16_t*>(cardFile.constData() + 2), (cardFile.size() - 2) / 2);
            for (const char* name : {"Anna Berg", "Ben Ode"})
                EXPECT_EQ(xml.contains(QString::fromLatin1(name)), c.handedOver.contains(QString::fromLatin1(name))) << name;
        }
        const QStringList expected = c.refused ? QStringList{PLMessage::errorText(117, {getLocalString(QStringLiteral("IDS_MSG_LABEL_CLOUD_COMMUNICATION")),
                                                                                          QStringLiteral("Quendrel.bundle")})}
                                               : QStringList{};
        EXPECT_EQ(presenter.texts(), expected);
    }
}

TEST_F(MainMenu, AnImportsMergeWindowUpdatesTheOpenPreferencesWindow)
{
    fileItem("IDS_MENU_PREFERENCES")->trigger();
    auto* merge = window->preferencesController()->window()->findChild<QCheckBox*>(QStringLiteral("_checkAutoRunMergeCardFunc"));
    ASSERT_NE(merge, nullptr);
    ASSERT_TRUE(merge->isChecked());

    // Once the merge window runs (the import shows other sheets first), the preference is turned
    // off meanwhile and the window closed.
    ModalWatch<PLCardMergerWindowController> watch([&](PLCardMergerWindowController* mergeWindow) {
        PreferenceDomain::standard().setValue(QStringLiteral("Auto run merge card function items"), false);
        closeMergeWindow(mergeWindow);
    });
    importTwoScannerCards();
    if (HasFatalFailure())
        return;
    EXPECT_TRUE(watch.ran());
    EXPECT_FALSE(merge->isChecked());
}

TEST_F(MainMenu, AnImportsMergeWindowThatChangesTheSelectedCardShowsItAgain)
{
    // The merge window changes the card the import selected (here its company, as a merge of its
    // data would) and says so: the image pane shows the card as the store now holds it.
    const QString changedCompany = QStringLiteral("Changed by the merge");
    ModalWatch<PLCardMergerWindowController> watch([&](PLCardMergerWindowController* mergeWindow) {
        const QString selected = window->imageController()->cardId();
        const ManagedObjectList cards = window->managedObjectContext()->executeFetchRequest(
            {QString::fromLatin1(CardStore::kEntityCard), keyEquals(QStringLiteral("cardID"), selected), {}});
        ASSERT_EQ(cards.size(), 1);
        cards.first()->setValue(cardkey::kCompany, changedCompany);
        mergeWindow->model().setSelectedCardBeRotated();
        closeMergeWindow(mergeWindow);
    });
    importTwoScannerCards();
    if (HasFatalFailure())
        return;
    ASSERT_TRUE(watch.ran());
    EXPECT_EQ(window->imageController()->cardInfo().value(cardkey::kCompany).toString(), changedCompany);
}

// The export format chosen in the Export menu survives the preferences window: it opens on that
// format, and closing it keeps it (and stores it); a format chosen in the window itself counts.
TEST_F(MainMenu, ClosingThePreferencesKeepsTheExportFormatChosenInTheExportMenu)
{
    addCard("A", "Anna Berg");
    window->saveAction();
    window->selectCards({QStringLiteral("A")});
    QAction* csv = barItem("exportCSV");
    ASSERT_TRUE(csv && csv->isEnabled());
    csv->trigger();
    ASSERT_EQ(window->exportButtonState(), 2);

    fileItem("IDS_MENU_PREFERENCES")->trigger();
    QDialog* panel = window->preferencesController()->window();
    auto* format = panel->findChild<QComboBox*>(QStringLiteral("_exportButton"));
    ASSERT_NE(format, nullptr);
    EXPECT_EQ(format->currentData().toInt(), 2) << "the window shows the format chosen";
    panel->close();
    EXPECT_EQ(window->exportButtonState(), 2);
    EXPECT_TRUE(window->ui()._fileExportTypeText->text().endsWith(getLocalString(QStringLiteral("IDS_FILE_EXPORT_TYPE_CSV"))))
        << window->ui()._fileExportTypeText->text().toStdString();
    EXPECT_EQ(PreferenceDomain::standard().value(QStringLiteral("export mode")).toInteger(), 4);

    barItem("exportText")->trigger();
    fileItem("IDS_MENU_PREFERENCES")->trigger();
    EXPECT_EQ(format->currentData().toInt(), 3);
    const int xml = format->findData(4);
    format->setCurrentIndex(xml);
    emit format->activated(xml);
    panel->close();
    EXPECT_EQ(window->exportButtonState(), 4) << "the window's own choice";
}

// The window without the mouse: the menus open from the keyboard, Tab leaves the card list for
// the card's first field, and the card image says what it is.
TEST_F(MainMenu, TheKeyboardOpensTheMenusAndTabGoesFromTheListToTheEditor)
{
    QMenuBar* bar = static_cast<QMainWindow*>(window->window())->menuBar();
    QSet<QChar> mnemonics;
    for (QAction* top : bar->actions()) {
        const QString title = top->text();
        const qsizetype mark = title.indexOf(QLatin1Char('&'));
        ASSERT_GE(mark, 0) << title.toStdString();
        EXPECT_FALSE(mnemonics.contains(title.at(mark + 1).toLower())) << title.toStdString();
        mnemonics.insert(title.at(mark + 1).toLower());
    }
    QApplication::setActiveWindow(window->window());
    QMenu* file = bar->actions().first()->menu();
    QTest::keyClick(window->window(), Qt::Key_F10);
    EXPECT_EQ(QApplication::activePopupWidget(), file) << "F10 opens the File menu";
    QTest::keyClick(file, Qt::Key_Escape);
    QTest::keyClick(file, Qt::Key_Escape);
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
    const QString fileTitle = bar->actions().first()->text();
    QTest::keyClick(window->window(), fileTitle.at(fileTitle.indexOf(QLatin1Char('&')) + 1).toLatin1(), Qt::AltModifier);
    EXPECT_EQ(QApplication::activePopupWidget(), file) << "Alt and the marked letter open it";
    if (QApplication::activePopupWidget())
        QApplication::activePopupWidget()->close();

    addCard("A", "Anna Berg");
    addCard("B", "Ben Ode");
    window->saveAction();
    window->selectCards({QStringLiteral("A")});
    QApplication::processEvents();
    QTableView* list = window->ui()._tvList;
    list->setFocus();
    QTest::keyClick(list, Qt::Key_Tab);
    EXPECT_EQ(window->window()->focusWidget(), window->window()->findChild<QWidget*>(QStringLiteral("_nameText")));
    EXPECT_EQ(window->selectedCardIDs(), QStringList{"A"}) << "Tab does not walk the list's cells";
    QTest::keyClick(window->window()->focusWidget(), Qt::Key_Backtab);
    EXPECT_EQ(window->window()->focusWidget(), list);
    QTest::keyClick(list, Qt::Key_Backtab);
    EXPECT_NE(window->window()->focusWidget(), list) << "Shift+Tab leaves the list";
    EXPECT_EQ(window->selectedCardIDs(), QStringList{"A"});

    QAccessibleInterface* image = QAccessible::queryAccessibleInterface(window->imageController()->faceImageView());
    ASSERT_TRUE(image);
    EXPECT_EQ(image->role(), QAccessible::Graphic);
    EXPECT_EQ(image->text(QAccessible::Name), getLocalString(QStringLiteral("IDS_CARD_IMAGE")));
}

} // namespace
