#include "tests/crash/harness/SyncTrial.h"

#include "app/sync/PLSyncConnectController.h"
#include "platform/addressbook/AddressBook.h"
#include "platform/foundation/DatabaseLock.h"
#include "platform/foundation/FolderCopy.h"
#include "platform/store/CardStoreModel.h"
#include "platform/store/ManagedObjectContext.h"
#include "tests/crash/harness/CrashChecks.h"
#include "tests/support/cardstores/CardStoreFixtures.h"

#include <QDir>
#include <QFile>

namespace SyncTrial {

namespace {

namespace F = CardStoreFixtures;

constexpr int kCards = 8;
const char* const kChildMode = "--sync";

const std::pair<const char*, const char*> kBookFiles[] = {
    {"company1.vcf", "BEGIN:VCARD\r\nVERSION:3.0\r\nN:;;;;\r\nORG:Company 1\r\nNOTE:from the book\r\nEND:VCARD\r\n"},
    {"company2.vcf", "BEGIN:VCARD\r\nVERSION:3.0\r\nN:;;;;\r\nORG:Company 2\r\nEND:VCARD\r\n"},
    {"stranger.vcf", "BEGIN:VCARD\r\nVERSION:3.0\r\nN:Stranger;Sam;;;\r\nEND:VCARD\r\n"},
    {"several.vcf", "BEGIN:VCARD\r\nVERSION:3.0\r\nN:Multi;Ada;;;\r\nEND:VCARD\r\n"
                    "BEGIN:VCARD\r\nVERSION:3.0\r\nN:;;;;\r\nORG:Company 4\r\nEND:VCARD\r\n"},
};

QString databaseOf(const QString& root) { return root + QStringLiteral("/Cards.cxdb"); }
QString bookOf(const QString& root) { return root + QStringLiteral("/book"); }
QString bookBeforeOf(const QString& root) { return root + QStringLiteral("/book-before"); }
QString referenceOf(const QString& root) { return root + QStringLiteral("/reference"); }

struct StoreSyncHost : PLSyncHost {
    ManagedObjectContext* context = nullptr;
    ManagedObjectContext* managedObjectContext() override { return context; }
    ManagedObjectList selectedCards() override { return {}; }
};

// A full synchronisation, the card winning, then the store's save, as the main window runs them:
// the run's result, or -1 when the store did not open or save.
int synchronise(const QString& root)
{
    auto context = ManagedObjectContext::open(CardStore::currentModel(), databaseOf(root) + QStringLiteral("/Pelmora1.sqldb"));
    if (!context)
        return -1;
    StoreSyncHost host;
    host.context = context.get();
    PLSyncConnectController sync;
    sync.setMainController(&host);
    sync.setAddressBookFolder(bookOf(root));
    sync.setSelectStatus(PLSyncConnectController::kSelectCardWins);
    const int result = sync.connectAddressBook();
    return context->save() == 0 ? result : -1;
}

QMap<QString, QByteArray> contactFiles(const QString& book)
{
    QMap<QString, QByteArray> files;
    for (const QString& name : QDir(book).entryList({QStringLiteral("*.vcf")}, QDir::Files)) {
        QFile file(book + QLatin1Char('/') + name);
        files.insert(name, file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray());
    }
    return files;
}

int personCount(const QString& book)
{
    const auto opened = AddressBook::open(book);
    return opened ? int(opened->people().size()) : -1;
}

} // namespace

int spanMs()
{
    return 150;
}

void prepare(const QString& root)
{
    const QString database = databaseOf(root);
    QDir().mkpath(database + QStringLiteral("/Images"));
    const QList<F::Card> cards = F::numberedCards(kCards, QStringLiteral("1"));
    F::writeStore(database + QStringLiteral("/Pelmora1.sqldb"), true, 2, cards);
    for (const F::Card& card : cards) {
        QFile image(database + QStringLiteral("/Images/") + card.faceImageFile);
        image.open(QIODevice::WriteOnly);
    }
    {
        // What the persons lack, so that merging rewrites their files.
        auto context = ManagedObjectContext::open(CardStore::currentModel(), database + QStringLiteral("/Pelmora1.sqldb"));
        for (const ManagedObjectPtr& card : context->executeFetchRequest({QString::fromLatin1(CardStore::kEntityCard), {}, {}})) {
            card->setValue(QStringLiteral("job_Title"), QStringLiteral("Buyer ") + card->stringValue(QStringLiteral("cardID")));
            card->setValue(QStringLiteral("telephone_Number"), QStringLiteral("03-") + card->stringValue(QStringLiteral("cardID")));
        }
        context->save();
    }
    QDir().mkpath(bookOf(root));
    for (const auto& [name, data] : kBookFiles) {
        QFile file(bookOf(root) + QLatin1Char('/') + QLatin1String(name));
        file.open(QIODevice::WriteOnly);
        file.write(data);
    }
    QDir().mkpath(referenceOf(root));
    copyFolderTree(bookOf(root), bookBeforeOf(root));
    copyFolderTree(databaseOf(root), databaseOf(referenceOf(root)));
    copyFolderTree(bookOf(root), bookOf(referenceOf(root)));
    synchronise(referenceOf(root));
}

QList<QByteArray> arguments(const QString& root)
{
    return {kChildMode, QFile::encodeName(root)};
}

QStringList checkAfterKill(const QString& root)
{
    QStringList wrong;
    // A card the synchronisation makes from a person names a front image it never has: the
    // images are checked for the cards the database began with.
    CrashChecks::writeCardImages(databaseOf(root));
    wrong << CrashChecks::storeAndImages(databaseOf(root));
    const auto opened = AddressBook::open(bookOf(root));
    if (!opened || !opened->skippedFiles().isEmpty())
        wrong << QStringLiteral("contact files that do not read: %1").arg(opened ? opened->skippedFiles().join(u'|') : QStringLiteral("the book"));
    const QMap<QString, QByteArray> before = contactFiles(bookBeforeOf(root));
    const QMap<QString, QByteArray> after = contactFiles(bookOf(referenceOf(root)));
    int added = 0;
    const QMap<QString, QByteArray> now = contactFiles(bookOf(root));
    for (auto it = now.begin(); it != now.end(); ++it) {
        if (!before.contains(it.key()))
            ++added;
        else if (it.value() != before.value(it.key()) && it.value() != after.value(it.key()))
            wrong << QStringLiteral("%1 is neither its old nor its new version").arg(it.key());
    }
    if (added > after.size() - before.size())
        wrong << QStringLiteral("%1 contact files added, %2 by an uninterrupted run").arg(added).arg(after.size() - before.size());
    return wrong;
}

QStringList checkAfterNextStart(const QString& root)
{
    QStringList wrong;
    const int persons = personCount(bookOf(root));
    const int referencePersons = personCount(bookOf(referenceOf(root)));
    if (persons != referencePersons)
        wrong << QStringLiteral("%1 persons after the second synchronisation, %2 after one uninterrupted run").arg(persons).arg(referencePersons);
    const int cards = CrashChecks::cardCount(databaseOf(root));
    const int referenceCards = CrashChecks::cardCount(databaseOf(referenceOf(root)));
    if (cards != referenceCards)
        wrong << QStringLiteral("%1 cards after the second synchronisation, %2 after one uninterrupted run").arg(cards).arg(referenceCards);
    if (!QDir(bookOf(root)).entryList({QStringLiteral("*.tmp")}, QDir::Files | QDir::Hidden).isEmpty())
        wrong << QStringLiteral("temporary files left in the book after the second synchronisation");
    return wrong;
}

bool isChildMode(const QByteArray& mode)
{
    return mode == kChildMode;
}

int runChild(const QString& root)
{
    // The main window holds the database's lock while it synchronises.
    int lock = -1;
    if (DatabaseLock::acquire(databaseOf(root), &lock) != DatabaseLock::Result::Locked)
        return 3;
    const int result = synchronise(root);
    DatabaseLock::release(lock);
    return result;
}

} // namespace SyncTrial
