// The Address Book as a user with khard meets it, through the window: six cards synchronised,
// edited in khard, synchronised with the Address Book winning, edited again in the detail
// editor, synchronised with the card winning, added to the Address Book twice. Six cards and
// six files stay, each with the last edit of its winner, and khard and vobject read every file.
#include "app/sync/AddressBookFolder.h"
#include "app/ui/views/PLTextField.h"
#include "platform/addressbook/AddressBook.h"
#include "tests/app/ui/ImagePaneFixture.h"
#include "tests/support/appkit/ScriptedPanelService.h"

#include <QAction>
#include <QMenu>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>

namespace {

constexpr int kCardWinsRow = 0;
constexpr int kBookWinsRow = 1;

struct Person {
    const char* cardID;
    const char* first;
    const char* family;
    const char* company;
    const char* mail;
    const char* phone;
};
const Person kPeople[] = {
    {"C1", "Ann", "Lee", "Acme", "ann@acme.example", "03-1111"},
    {"C2", "Ken", "Sato", "Orvane", "ken@orvane.example", "03-2222"},
    {"C3", "Bea", "Novak", "Vandel", "bea@vandel.example", "030-3333"},
    {"C4", "Omar", "Said", "Kestrel", "omar@kestrel.example", "020-4444"},
    {"C5", "Ines", "Ortiz", "Solana", "ines@solana.example", "91-5555"},
    {"C6", "Jo", "Park", "Hanul", "jo@hanul.example", "02-6666"},
};

class AddressBookWalk : public ImagePaneFixture {
protected:
    ScriptedPanelService panels;
    QString book;
    QString khardConfig;
    QString python;

    void SetUp() override
    {
        ImagePaneFixture::SetUp();
        ASSERT_FALSE(QStandardPaths::findExecutable(QStringLiteral("khard")).isEmpty()) << "khard is missing: run scripts/install-deps";
        // vobject comes with the system's Python (python3-vobject).
        for (const QString& candidate : {QStringLiteral("/usr/bin/python3"), QStandardPaths::findExecutable(QStringLiteral("python3"))}) {
            if (!candidate.isEmpty() && QProcess::execute(candidate, {QStringLiteral("-c"), QStringLiteral("import vobject")}) == 0) {
                python = candidate;
                break;
            }
        }
        ASSERT_FALSE(python.isEmpty()) << "python3-vobject is missing: run scripts/install-deps";
        book = temp.filePath(QStringLiteral("book"));
        PreferenceDomain::standard().setValue(QString::fromLatin1(kPrefAddressBookFolder), book);
        khardConfig = temp.filePath(QStringLiteral("khard.conf"));
        QFile config(khardConfig);
        ASSERT_TRUE(config.open(QIODevice::WriteOnly));
        // khard's editor is a script that changes the contact's form as the user would.
        const QString editor = temp.filePath(QStringLiteral("edit.sh"));
        QFile script(editor);
        ASSERT_TRUE(script.open(QIODevice::WriteOnly));
        script.write("#!/bin/sh\nexec sed -i \"$KHARD_EDIT\" \"$1\"\n");
        script.close();
        script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        config.write("[addressbooks]\n[[pelmora]]\npath = " + book.toUtf8() + "\n\n[general]\ndefault_action = list\neditor = "
                     + editor.toUtf8() + "\nmerge_editor = /bin/false\n\n[vcard]\npreferred_version = 3.0\n");
    }

    QString run(const QString& program, const QStringList& args, const QByteArray& edit = QByteArray())
    {
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("HOME"), temp.path());
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), temp.filePath(QStringLiteral("config")));
        env.insert(QStringLiteral("XDG_CACHE_HOME"), temp.filePath(QStringLiteral("cache")));
        env.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
        env.insert(QStringLiteral("KHARD_EDIT"), QString::fromUtf8(edit));
        p.setProcessEnvironment(env);
        p.start(program, args);
        EXPECT_TRUE(p.waitForStarted(60000));
        p.closeWriteChannel();
        EXPECT_TRUE(p.waitForFinished(120000));
        EXPECT_EQ(p.exitCode(), 0) << args.join(u' ').toStdString() << ": " << p.readAllStandardError().toStdString();
        return QString::fromUtf8(p.readAllStandardOutput());
    }
    void khardEdit(const char* cardID, const QByteArray& sedScript)
    {
        run(QStringLiteral("khard"),
            {QStringLiteral("-c"), khardConfig, QStringLiteral("edit"), QStringLiteral("uid:%1").arg(QLatin1String(cardID))}, sedScript);
    }

    void trigger(const char* action)
    {
        QMenu* menu = window->exportMenu();
        ASSERT_TRUE(menu);
        emit menu->aboutToShow();
        QAction* item = menu->findChild<QAction*>(QString::fromLatin1(action));
        ASSERT_TRUE(item && item->isEnabled()) << action;
        item->trigger();
        QApplication::processEvents();
    }
    void synchronise(int row)
    {
        panels.queueChoiceAnswer(row);
        trigger("connectAddressBook");
    }
    // Types over a field of the detail editor and ends the edit with Return.
    void retype(const char* outlet, const QString& text)
    {
        auto* field = window->window()->findChild<PLTextField*>(QString::fromLatin1(outlet));
        ASSERT_TRUE(field) << outlet;
        field->setFocus();
        field->selectAll();
        QTest::keyClicks(field, text);
        QTest::keyClick(field, Qt::Key_Return);
    }

    ManagedObjectList storedCards() const
    {
        const auto reader = ManagedObjectContext::open(CardStore::currentModel(), storeFile());
        return reader->executeFetchRequest({QString::fromLatin1(CardStore::kEntityCard), {}, {{QStringLiteral("cardID"), true}}});
    }
};

TEST_F(AddressBookWalk, EditsOnEitherSideKeepSixCardsAndSixFilesThatOtherProgramsRead)
{
    for (const Person& p : kPeople) {
        addCard(QLatin1String(p.cardID),
                {{QStringLiteral("first_Name"), QLatin1String(p.first)},
                 {QStringLiteral("family_Name"), QLatin1String(p.family)},
                 {QStringLiteral("full_Name"), QStringLiteral("%1 %2").arg(QLatin1String(p.first), QLatin1String(p.family))},
                 {QStringLiteral("company"), QLatin1String(p.company)},
                 {QStringLiteral("e_Mail"), QLatin1String(p.mail)},
                 {QStringLiteral("telephone_Number"), QLatin1String(p.phone)}});
    }
    synchronise(kCardWinsRow);
    ASSERT_EQ(QDir(book).entryList({QStringLiteral("*.vcf")}, QDir::Files).size(), 6);

    // In khard: an e-mail, a company, a given name (with the whole name) and a work number.
    khardEdit("C1", "s/ann@acme.example/ann@west.example/");
    khardEdit("C2", "s/- Orvane/- Orvane Tokyo/");
    khardEdit("C3", "s/^First name: Bea/First name: Beata/;s/^Formatted name: Bea Novak/Formatted name: Beata Novak/");
    khardEdit("C4", "s/020-4444/020-4545/");
    synchronise(kBookWinsRow);
    QMap<QString, QVariantMap> cards;
    for (const ManagedObjectPtr& card : storedCards())
        cards.insert(card->stringValue(QStringLiteral("cardID")), card->dictionary());
    ASSERT_EQ(cards.size(), 6);
    EXPECT_EQ(cards["C1"]["e_Mail"].toString(), QStringLiteral("ann@west.example"));
    EXPECT_EQ(cards["C2"]["company"].toString(), QStringLiteral("Orvane Tokyo"));
    EXPECT_EQ(cards["C3"]["first_Name"].toString(), QStringLiteral("Beata"));
    EXPECT_EQ(cards["C3"]["full_Name"].toString(), QStringLiteral("Beata Novak"));
    EXPECT_EQ(cards["C4"]["telephone_Number"].toString(), QStringLiteral("020-4545"));

    // The same four in the detail editor.
    window->window()->activateWindow();
    select({QStringLiteral("C1")});
    retype("_mailText", QStringLiteral("ann@east.example"));
    select({QStringLiteral("C2")});
    retype("_companyNameText", QStringLiteral("Orvane Osaka"));
    select({QStringLiteral("C3")});
    retype("_nameText", QStringLiteral("Bettina Novak"));
    select({QStringLiteral("C4")});
    retype("_telText", QStringLiteral("020-4646"));
    synchronise(kCardWinsRow);

    // Added to the Address Book twice, all six.
    select({QStringLiteral("C1"), QStringLiteral("C2"), QStringLiteral("C3"), QStringLiteral("C4"), QStringLiteral("C5"),
            QStringLiteral("C6")});
    trigger("connectAddOnly");
    trigger("connectAddOnly");

    const ManagedObjectList stored = storedCards();
    ASSERT_EQ(stored.size(), 6);
    const QStringList files = QDir(book).entryList({QStringLiteral("*.vcf")}, QDir::Files);
    ASSERT_EQ(files.size(), 6) << files.join(u' ').toStdString();
    const auto people = AddressBook::open(book);
    ASSERT_TRUE(people->skippedFiles().isEmpty()) << people->skippedFiles().join(u'|').toStdString();
    ASSERT_EQ(people->people().size(), 6u);
    const QMap<QString, QStringList> last = {
        {QStringLiteral("C1"),
         {QStringLiteral("Ann"), QStringLiteral("Acme"), QStringLiteral("ann@east.example"), QStringLiteral("03-1111")}},
        {QStringLiteral("C2"),
         {QStringLiteral("Ken"), QStringLiteral("Orvane Osaka"), QStringLiteral("ken@orvane.example"), QStringLiteral("03-2222")}},
        {QStringLiteral("C3"),
         {QStringLiteral("Bettina"), QStringLiteral("Vandel"), QStringLiteral("bea@vandel.example"), QStringLiteral("030-3333")}},
        {QStringLiteral("C4"),
         {QStringLiteral("Omar"), QStringLiteral("Kestrel"), QStringLiteral("omar@kestrel.example"), QStringLiteral("020-4646")}},
    };
    for (const auto& person : people->people()) {
        const QString id = person->uid();
        const auto card = std::find_if(stored.begin(), stored.end(),
                                       [&](const ManagedObjectPtr& c) { return c->stringValue(QStringLiteral("cardID")) == id; });
        ASSERT_NE(card, stored.end()) << id.toStdString();
        const QStringList values = {person->valueForProperty(kABFirstNameProperty), person->valueForProperty(kABOrganizationProperty),
                                    person->multiValueForProperty(kABEmailProperty).valueAtIndex(0),
                                    person->multiValueForProperty(kABPhoneProperty).valueAtIndex(0)};
        const QStringList cardValues = {(*card)->stringValue(QStringLiteral("first_Name")), (*card)->stringValue(QStringLiteral("company")),
                                        (*card)->stringValue(QStringLiteral("e_Mail")),
                                        (*card)->stringValue(QStringLiteral("telephone_Number"))};
        EXPECT_EQ(values, cardValues) << id.toStdString();
        if (last.contains(id)) {
            EXPECT_EQ(values, last[id]) << id.toStdString();
        }
        EXPECT_EQ(person->multiValueForProperty(kABEmailProperty).count(), 1) << id.toStdString();
        EXPECT_EQ(person->multiValueForProperty(kABPhoneProperty).count(), 1) << id.toStdString();
    }

    // Other programs read every file: khard lists the six, vobject parses each.
    const QString list =
        run(QStringLiteral("khard"), {QStringLiteral("-c"), khardConfig, QStringLiteral("list"), QStringLiteral("--parsable")});
    EXPECT_EQ(list.split(u'\n', Qt::SkipEmptyParts).size(), 6) << list.toStdString();
    EXPECT_TRUE(list.contains(QStringLiteral("\tBettina Novak\t"))) << list.toStdString();
    QStringList paths;
    for (const QString& file : files)
        paths.append(book + QLatin1Char('/') + file);
    run(python,
        QStringList{QStringLiteral("-c"),
                    QStringLiteral("import sys, vobject\nfor path in sys.argv[1:]:\n"
                                   "    with open(path, encoding='utf-8') as f: vobject.readOne(f.read()).fn.value\n")}
            + paths);
    EXPECT_TRUE(presenter.texts().isEmpty()) << presenter.texts().join(u'|').toStdString();
}

} // namespace
