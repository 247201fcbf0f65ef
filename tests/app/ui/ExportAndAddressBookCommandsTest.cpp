// The export and Address Book commands as a user reaches them: the window's menu and the export
// bar, on the cards selected in the card list, with the files read back where the panel said.
#include "app/core/CardEntities.h"
#include "app/core/CardFolder.h"
#include "app/core/OpenDatabase.h"
#include "app/sync/AddressBookFolder.h"
#include "app/sync/PLSyncConnectController.h"
#include "app/ui/PLMainWindowController.h"
#include "platform/addressbook/AddressBook.h"
#include "platform/foundation/PlistFile.h"
#include "platform/foundation/PreferenceDomain.h"
#include "platform/store/CardStoreModel.h"
#include "platform/store/ManagedObjectContext.h"
#include "tests/app/core/TestBundle.h"
#include "tests/support/appkit/ScriptedMessagePresenter.h"
#include "tests/support/appkit/ScriptedPanelService.h"
#include "tests/support/dbtools/FakeFileAttributes.h"
#include "tests/support/filemodes/FileModeCases.h"
#include "tests/support/workspace/SmallVolume.h"

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QTableView>
#include <QTemporaryDir>
#include <QTextStream>
#include <QToolButton>

#include <gtest/gtest.h>

#include <functional>

namespace {

class Commands : public ::testing::Test {
protected:
    QTemporaryDir temp;
    // The commands' messages have texts; the image pane's about the fixture cards' missing
    // pictures have none and are left out.
    TestBundle bundle{{}, {{"IDS_MSG_ERR_0011", "E11"}, {"IDS_MSG_ERR_0048", "E48"}, {"IDS_MSG_ERR_0075", "E75"},
                           {"IDS_MSG_ERR_0130", "E130"}, {"IDS_MSG_ERR_0131", "E131"}}};
    ScriptedMessagePresenter presenter;
    ScriptedPanelService panels;
    QString database;
    OpenDatabase openDatabase;
    QString bookFolder;
    std::unique_ptr<PLMainWindowController> window;

    void SetUp() override
    {
        PreferenceDomain::setStandardDomain(QStringLiteral("test.commands"), temp.filePath(QStringLiteral("prefs")));
        database = temp.filePath(QStringLiteral("Cards.cxdb"));
        QDir().mkpath(database + QStringLiteral("/Images"));
        bookFolder = temp.filePath(QStringLiteral("book"));
        QDir().mkpath(bookFolder);
        PreferenceDomain::standard().setValue(QString::fromLatin1(kPrefAddressBookFolder), bookFolder);
        openDatabase.choose(database);
        window = std::make_unique<PLMainWindowController>(openDatabase);
        window->setTerminate([] {});
        window->showActiveWindow();
        ASSERT_NE(window->managedObjectContext(), nullptr);
        addCard("A", "Lee", "lee@a.example");
        addCard("B", "Kim", "kim@b.example");
        window->saveAction();
    }
    void TearDown() override
    {
        window->window()->close();
        window.reset();
    }

    void addCard(const char* cardID, const char* family, const char* mail)
    {
        ManagedObjectContext* context = window->managedObjectContext();
        const ManagedObjectList inbox = context->executeFetchRequest(
            {QString::fromLatin1(CardStore::kEntityFolder), keyEquals(QStringLiteral("folder_Type"), kFolderTypeInbox), {}});
        ASSERT_FALSE(inbox.isEmpty());
        const ManagedObjectPtr card = context->insertNewObject(QString::fromLatin1(CardStore::kEntityCard));
        card->setValue(QStringLiteral("cardID"), QString::fromLatin1(cardID));
        card->setValue(QStringLiteral("deletedFlag"), 0);
        card->setValue(QStringLiteral("family_Name"), QString::fromLatin1(family));
        card->setValue(QStringLiteral("full_Name"), QString::fromLatin1(family));
        card->setValue(QStringLiteral("e_Mail"), QString::fromLatin1(mail));
        card->setValue(QStringLiteral("accept_Date"), QDateTime::currentDateTimeUtc());
        const ManagedObjectPtr belong = context->insertNewObject(QString::fromLatin1(CardStore::kEntityCardBelong));
        belong->setValue(QStringLiteral("cardID"), QString::fromLatin1(cardID));
        assignCardFolder(*card, *belong, inbox.first()->stringValue(QStringLiteral("folder_ID")));
        belong->setRelatedObject(QStringLiteral("ToCardRelation"), card);
    }

    void select(const QStringList& cardIDs)
    {
        window->selectCards(cardIDs);
        QCoreApplication::processEvents();
    }
    QStringList commandMessages() const
    {
        QStringList texts = presenter.texts();
        texts.removeAll(QStringLiteral("No Resource"));
        return texts;
    }
    // Opens the commands' menu (which validates its items) and answers the item's state.
    QAction* menuItem(const char* action)
    {
        QMenu* menu = window->exportMenu();
        EXPECT_TRUE(menu);
        emit menu->aboutToShow();
        return menu ? menu->findChild<QAction*>(QString::fromLatin1(action)) : nullptr;
    }
    // Triggers the item as the menu or its shortcut does, then lets queued work run.
    void trigger(const char* action)
    {
        QAction* item = menuItem(action);
        ASSERT_TRUE(item);
        item->trigger();
        QCoreApplication::processEvents();
    }
    static QString readAll(const QString& path)
    {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            return QString();
        QTextStream stream(&file); // the files start with their byte-order mark
        return stream.readAll();
    }
    QStringList bookFamilyNames() const
    {
        QStringList names;
        const auto book = AddressBook::open(bookFolder);
        for (const auto& person : book->people())
            names.append(person->valueForProperty(kABLastNameProperty));
        names.sort();
        return names;
    }
};

TEST_F(Commands, EachFileFormatWritesTheSelectedCardsWhereThePanelSaid)
{
    select({QStringLiteral("A"), QStringLiteral("B")});

    // The format chosen from the menu, the export run from the menu.
    trigger("exportCSV");
    EXPECT_EQ(window->exportButtonState(), 2);
    const QString csv = temp.filePath(QStringLiteral("out.csv"));
    panels.queueSaveAnswer(csv);
    trigger("onExport");
    ASSERT_EQ(panels.requests().size(), 1);
    EXPECT_EQ(panels.requests().last().allowedTypes, QStringList{QStringLiteral("csv")});
    EXPECT_TRUE(readAll(csv).contains(QStringLiteral("Lee")) && readAll(csv).contains(QStringLiteral("Kim"))) << readAll(csv).toStdString();

    trigger("exportText");
    const QString text = temp.filePath(QStringLiteral("out.txt"));
    panels.queueSaveAnswer(text);
    trigger("onExport");
    EXPECT_TRUE(readAll(text).contains(QStringLiteral("\nLee\t"))) << readAll(text).toStdString();

    // vCard: a folder is chosen, and each card gets a file of its own.
    trigger("exportVCard");
    const QString folder = temp.filePath(QStringLiteral("cards"));
    QDir().mkpath(folder);
    panels.queueOpenAnswer({folder});
    trigger("onExport");
    EXPECT_TRUE(panels.requests().last().chooseDirectories);
    EXPECT_EQ(QDir(folder).entryList({QStringLiteral("*.vcf")}, QDir::Files).size(), 2);

    // ContactXML is chosen on the export bar's pull-down and run with its button.
    window->ui()._exportBarPopUpButton->menu()->actions().at(3)->trigger();
    EXPECT_EQ(window->exportButtonState(), 4);
    const QString xml = temp.filePath(QStringLiteral("out.xml"));
    panels.queueSaveAnswer(xml);
    window->ui()._exportBarButton->click();
    QCoreApplication::processEvents();
    EXPECT_GT(QFileInfo(xml).size(), 0);
    EXPECT_TRUE(commandMessages().isEmpty()) << commandMessages().join(u'|').toStdString();
}

// A file the user exports over keeps its mode (an exported private.csv of 0600 stays 0600); a new
// one gets what the umask leaves of 0666. A vCard export and a new contact always make new files.
TEST_F(Commands, ExportedAndAddedFilesKeepTheModeOfTheFileTheyReplace)
{
    select({QStringLiteral("A")});
    const QString cards = temp.filePath(QStringLiteral("cards"));
    QDir().mkpath(cards);
    const auto exportTo = [this](const std::function<void()>& chooseFormat, const QString& path) {
        chooseFormat();
        panels.queueSaveAnswer(path);
        trigger("onExport");
        return path;
    };
    struct Writer {
        const char* name;
        const char* fileName; // of the file an export replaces
        std::function<QString(const QString& replaced)> write; // answers the file written
    };
    const Writer writers[] = {
        {"CSV", "private.csv", [&](const QString& path) { return exportTo([&] { trigger("exportCSV"); }, path); }},
        {"text", "private.txt", [&](const QString& path) { return exportTo([&] { trigger("exportText"); }, path); }},
        {"ContactXML", "private.xml",
         [&](const QString& path) {
             return exportTo([&] { window->ui()._exportBarPopUpButton->menu()->actions().at(3)->trigger(); }, path);
         }},
        {"vCard", nullptr,
         [&](const QString&) {
             QDir(cards).removeRecursively();
             QDir().mkpath(cards);
             trigger("exportVCard");
             panels.queueOpenAnswer({cards});
             trigger("onExport");
             return QDir(cards).filePath(QStringLiteral("Lee.vcf"));
         }},
        {"Add to Address Book", nullptr,
         [&](const QString&) {
             QDir(bookFolder).removeRecursively();
             QDir().mkpath(bookFolder);
             trigger("connectAddOnly");
             const QStringList added = QDir(bookFolder).entryList({QStringLiteral("*.vcf")}, QDir::Files);
             return added.size() == 1 ? QDir(bookFolder).filePath(added.first()) : QString();
         }},
    };
    for (const Writer& writer : writers) {
        for (const FileModeCase& c : kFileModeCases) {
            if (c.existing && !writer.fileName)
                continue;
            SCOPED_TRACE(std::string(writer.name) + ", " + c.name);
            const QString replaced = temp.filePath(QString::fromLatin1(writer.fileName ? writer.fileName : "unused"));
            ASSERT_TRUE(prepareFileModeCase(c, replaced));
            QString written;
            {
                const UmaskScope umask(c.umask);
                written = writer.write(replaced);
            }
            EXPECT_GT(QFileInfo(written).size(), 6);
            EXPECT_EQ(fileModeOf(written), int(c.expected));
        }
    }
    EXPECT_TRUE(commandMessages().isEmpty()) << commandMessages().join(u'|').toStdString();
}

TEST_F(Commands, WithoutSelectedCardsTheItemsAreDisabledAndAStaleTriggerDoesNothing)
{
    select({});
    for (const char* action : {"onExport", "exportCSV", "connectAddOnly"})
        EXPECT_FALSE(menuItem(action)->isEnabled()) << action;
    EXPECT_TRUE(menuItem("connectAddressBook")->isEnabled()) << "synchronising needs only an open database";

    // The shortcut fires while the item is stale: nothing is asked, nothing written.
    window->onExport();
    window->connectAddOnly();
    QCoreApplication::processEvents();
    EXPECT_TRUE(panels.requests().isEmpty());
    EXPECT_TRUE(bookFamilyNames().isEmpty());
}

TEST_F(Commands, AFailedExportShowsItsMessage)
{
    select({QStringLiteral("A")});
    trigger("exportCSV");
    panels.queueSaveAnswer(temp.filePath(QStringLiteral("missing/out.csv")));
    trigger("onExport");
    ASSERT_EQ(commandMessages().size(), 1) << commandMessages().join(u'|').toStdString();
    EXPECT_EQ(commandMessages().first(), QStringLiteral("E75"));
    EXPECT_FALSE(QFileInfo::exists(temp.filePath(QStringLiteral("missing/out.csv"))));
}

TEST_F(Commands, AddToAddressBookAddsTheSelectedCardsAndKeepsTheirIdentifiers)
{
    select({QStringLiteral("A"), QStringLiteral("B")});
    trigger("connectAddOnly");
    EXPECT_EQ(bookFamilyNames(), (QStringList{QStringLiteral("Kim"), QStringLiteral("Lee")}));
    EXPECT_FALSE(window->managedObjectContext()->hasChanges()) << "the cards' identifiers are saved";
    EXPECT_TRUE(commandMessages().isEmpty()) << commandMessages().join(u'|').toStdString();
}

TEST_F(Commands, AddToAddressBookIsRefusedOnALockedDatabase)
{
    FakeFileAttributes attributes;
    attributes.set(database, FakeFileAttributes::Immutable);
    select({QStringLiteral("A")});
    trigger("connectAddOnly");
    EXPECT_TRUE(bookFamilyNames().isEmpty());
    ASSERT_EQ(commandMessages().size(), 1);
    EXPECT_EQ(commandMessages().first(), QStringLiteral("E48"));
}

TEST_F(Commands, SynchroniseBringsPersonsInAndSendsCardsOut)
{
    PreferenceDomain::standard().setValue(QStringLiteral("conncet to addressBook state"), 3);
    QFile person(bookFolder + QStringLiteral("/park.vcf"));
    ASSERT_TRUE(person.open(QIODevice::WriteOnly));
    person.write("BEGIN:VCARD\r\nVERSION:3.0\r\nN:Park;;;;\r\nFN:Park\r\nEMAIL;TYPE=WORK:park@c.example\r\nEND:VCARD\r\n");
    person.close();
    select({});
    trigger("connectAddressBook");
    EXPECT_EQ(bookFamilyNames(), (QStringList{QStringLiteral("Kim"), QStringLiteral("Lee"), QStringLiteral("Park")}));
    const ManagedObjectList parks = window->managedObjectContext()->executeFetchRequest(
        {QString::fromLatin1(CardStore::kEntityCard), keyEquals(QStringLiteral("family_Name"), QStringLiteral("Park")), {}});
    EXPECT_EQ(parks.size(), 1);
    EXPECT_FALSE(window->managedObjectContext()->hasChanges());
    EXPECT_TRUE(commandMessages().isEmpty()) << commandMessages().join(u'|').toStdString();
}

// The persons the run brings in are in the list and its count at once, and a file of the book
// that could not be read is named to the user at the end.
TEST_F(Commands, SynchroniseShowsTheNewCardsAtOnceAndNamesTheFilesItCouldNotRead)
{
    PreferenceDomain::standard().setValue(QStringLiteral("conncet to addressBook state"), 3);
    auto write = [this](const char* name, const QByteArray& data) {
        QFile file(bookFolder + QLatin1Char('/') + QLatin1String(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(data);
    };
    write("park.vcf", "BEGIN:VCARD\r\nVERSION:3.0\r\nN:Park;;;;\r\nFN:Park\r\nEND:VCARD\r\n");
    write("two.vcf", "BEGIN:VCARD\nVERSION:4.0\nFN:Ines Ortiz\nEND:VCARD\nBEGIN:VCARD\nVERSION:4.0\nFN:Omar Said\nEND:VCARD\n");
    write("cut.vcf", "BEGIN:VCARD\r\nVERSION:3.0\r\nN:Cut;;;;\r\n");
    ASSERT_TRUE(window->openInbox());
    select({});
    const QTableView* list = window->ui()._tvList;
    const QLabel* count = window->ui()._currentSelectText;
    ASSERT_TRUE(list && count);
    ASSERT_EQ(list->model()->rowCount(), 2);

    trigger("connectAddressBook");
    QStringList shown;
    for (int row = 0; row < list->model()->rowCount(); ++row)
        shown.append(list->model()->index(row, 0).data().toString());
    shown.sort();
    EXPECT_EQ(shown, (QStringList{"Ines Ortiz", "Kim", "Lee", "Omar Said", "Park"}));
    EXPECT_TRUE(count->text().contains(QLatin1String("/ 5"))) << count->text().toStdString();
    ASSERT_EQ(commandMessages().size(), 1) << commandMessages().join(u'|').toStdString();
    EXPECT_TRUE(commandMessages().first().contains(QLatin1String("cut.vcf: "))) << commandMessages().first().toStdString();
}

// A folder of hostile files: one holding 10,000 vCards begun inside each other and thirty cut
// short. The message names each file once and twenty at most, and when it shows, the cards the
// run brought in are already in the store.
TEST_F(Commands, HostileFilesGetAShortMessageShownOnlyOnceThePulledCardsAreSaved)
{
    TestBundle strings({}, {{"IDS_MSG_ADDRESSBOOK_FILES_NOT_READ", "%d files not read:"}, {"IDS_MSG_ADDRESSBOOK_AND_MORE", "and %d more"}});
    PreferenceDomain::standard().setValue(QStringLiteral("conncet to addressBook state"), 3);
    auto write = [this](const QString& name, const QByteArray& data) {
        QFile file(bookFolder + QLatin1Char('/') + name);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(data);
    };
    write(QStringLiteral("all.vcf"), QByteArray("BEGIN:VCARD\r\nVERSION:3.0\r\nN:Nest;;;;\r\n").repeated(10000) + "END:VCARD\r\n");
    for (int i = 0; i < 30; ++i)
        write(QStringLiteral("cut%1.vcf").arg(i, 2, 10, QLatin1Char('0')), "BEGIN:VCARD\r\nVERSION:3.0\r\nN:Cut;;;;\r\n");
    write(QStringLiteral("park.vcf"), "BEGIN:VCARD\r\nVERSION:3.0\r\nN:Park;;;;\r\nFN:Park\r\nEND:VCARD\r\n");
    int parksStored = -1;
    presenter.duringRun = [&](const AlertRequest&) {
        const auto reader = ManagedObjectContext::open(CardStore::currentModel(), database + QStringLiteral("/Pelmora1.sqldb"));
        parksStored =
            int(reader
                    ->executeFetchRequest(
                        {QString::fromLatin1(CardStore::kEntityCard), keyEquals(QStringLiteral("family_Name"), QStringLiteral("Park")), {}})
                    .size());
    };
    select({});
    trigger("connectAddressBook");
    ASSERT_EQ(commandMessages().size(), 1) << commandMessages().join(u'|').toStdString();
    const QStringList lines = commandMessages().first().split(u'\n');
    EXPECT_EQ(lines.first(), QStringLiteral("31 files not read:"));
    EXPECT_EQ(lines.size(), 1 + PLSyncConnectController::kReportedFiles + 1) << commandMessages().first().toStdString();
    EXPECT_EQ(lines.last(), QStringLiteral("and 11 more"));
    EXPECT_EQ(lines.filter(QStringLiteral("all.vcf")).size(), 1);
    EXPECT_TRUE(lines.at(1).startsWith(QStringLiteral("all.vcf: 9999 of 10000 contacts not read"))) << lines.at(1).toStdString();
    EXPECT_EQ(parksStored, 1) << "the new card is saved before the message waits for the user";
}

TEST_F(Commands, SynchroniseAsksWhichSideWinsAndKeepsTheAnswer)
{
    panels.queueChoiceAnswer(-1);
    trigger("connectAddressBook");
    EXPECT_TRUE(bookFamilyNames().isEmpty()) << "cancelled: nothing synchronised";
    ASSERT_EQ(panels.choiceRequests().size(), 1);
    const ChoicePanelRequest asked = panels.choiceRequests().first();
    EXPECT_EQ(asked.name, QStringLiteral("_panelAddressBook"));
    EXPECT_EQ(asked.window, WindowHandle(window->window())) << "a sheet of the main window";
    EXPECT_EQ(asked.chosen, 0) << "nothing kept yet: the card's value wins";
    // The test's table has no texts, so each shows its key: every one the shipped table holds.
    PlistValue shipped;
    ASSERT_TRUE(readPlistFile(qEnvironmentVariable("PELMORA_SOURCE_DIR") + QStringLiteral("/resources/Pelmora/en/Localizable.plist"), shipped));
    QStringList shown;
    for (const PanelText& text : asked.texts + asked.choices)
        shown << text.text;
    shown << asked.title;
    EXPECT_EQ(shown.mid(0, 3), (QStringList{QStringLiteral("IDS_MAINWINDOW_PANEL_TEXT_WILL_CONNECT_ADDRESSBOOK_OS108"),
                                            QStringLiteral("IDS_MAINWINDOW_PANEL_TEXT_INSTRUCTION_BEFORE_CONNECT_ADDRESSBOOK_OS108"),
                                            QStringLiteral("IDS_MAINWINDOW_PANEL_TEXT_WHETHER_CONNECT_ADDRESSBOOK_OS108")}));
    for (const QString& key : shown)
        EXPECT_TRUE(shipped.toDictionary().contains(key)) << key.toStdString() << " is missing from the string table";

    panels.queueChoiceAnswer(1);
    trigger("connectAddressBook");
    EXPECT_EQ(bookFamilyNames(), (QStringList{QStringLiteral("Kim"), QStringLiteral("Lee")}));
    EXPECT_EQ(PreferenceDomain::standard().value(QStringLiteral("conncet dialog to addressBook state")).toInteger(), 1);
    EXPECT_TRUE(commandMessages().isEmpty()) << commandMessages().join(u'|').toStdString();
    trigger("connectAddressBook");
    ASSERT_EQ(panels.choiceRequests().size(), 3);
    EXPECT_EQ(panels.choiceRequests().last().chosen, 1) << "the panel opens on the answer kept";
}

TEST_F(Commands, ASynchronisationThatFailsShowsItsMessage)
{
    PreferenceDomain::standard().setValue(QStringLiteral("conncet to addressBook state"), 2);
    QFile blocker(temp.filePath(QStringLiteral("blocker")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    // The Address Book's folder lies under a plain file: it can be neither read nor made.
    PreferenceDomain::standard().setValue(QString::fromLatin1(kPrefAddressBookFolder), temp.filePath(QStringLiteral("blocker/book")));
    trigger("connectAddressBook");
    ASSERT_EQ(commandMessages().size(), 1);
    EXPECT_EQ(commandMessages().first(), QStringLiteral("E130"));
}

// The disk of the Address Book's folder is full: both commands say that there is not enough free
// space (message 11), not that the folder cannot be written, and the book keeps no new file.
TEST_F(Commands, ACommandOnAFullDiskSaysThereIsNotEnoughSpace)
{
    SmallVolume volume(1, bookFolder);
    SKIP_WITHOUT_VOLUME(volume);
    PreferenceDomain::standard().setValue(QStringLiteral("conncet to addressBook state"), 2);
    select({QStringLiteral("A"), QStringLiteral("B")});
    volume.fill();
    for (const char* action : {"connectAddressBook", "connectAddOnly"}) {
        SCOPED_TRACE(action);
        presenter.clear();
        trigger(action);
        EXPECT_EQ(commandMessages(), QStringList{QStringLiteral("E11")});
        EXPECT_EQ(QDir(bookFolder).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral(".filler")});
    }
}

} // namespace
