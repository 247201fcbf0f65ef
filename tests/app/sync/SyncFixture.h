// A card database with its Inbox and an address-book folder in a temporary folder, a main window
// stand-in that hands the synchronisation the store and the selection, and helpers to run it.
#pragma once

#include "app/sync/PLSyncConnectController.h"
#include "app/sync/PLSyncHost.h"
#include "platform/store/CardStoreModel.h"
#include "platform/store/ManagedObjectContext.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <ostream>

// Failures print texts as text.
inline void PrintTo(const QString& text, std::ostream* os)
{
    *os << '"' << text.toStdString() << '"';
}

struct SyncHost : PLSyncHost {
    ManagedObjectContext* context = nullptr;
    ManagedObjectList selection;
    ManagedObjectContext* managedObjectContext() override { return context; }
    ManagedObjectList selectedCards() override { return selection; }
};

class SyncFixture : public ::testing::Test {
protected:
    QTemporaryDir tmp;
    std::unique_ptr<ManagedObjectContext> context;
    SyncHost host;
    QString inboxID = QStringLiteral("INBOX-FOLDER");

    QString bookFolder() const { return tmp.path() + QLatin1String("/book"); }
    QString bookFile(const QString& name) const { return bookFolder() + QLatin1Char('/') + name; }

    void SetUp() override
    {
        context = ManagedObjectContext::open(CardStore::currentModel(), tmp.path() + QLatin1String("/Pelmora1.sqldb"));
        ASSERT_TRUE(context);
        host.context = context.get();
        addFolder(QStringLiteral("ROOT-FOLDER"), 1);
        addFolder(inboxID, 2);
        ASSERT_EQ(context->save(), 0);
        ASSERT_TRUE(QDir().mkpath(bookFolder()));
    }

    void addFolder(const QString& id, int type)
    {
        ManagedObjectPtr f = context->insertNewObject(QLatin1String(CardStore::kEntityFolder));
        f->setValue(QStringLiteral("folder_ID"), id);
        f->setValue(QStringLiteral("folder_Type"), type);
    }

    // A saved live card with the given values; `cardID` defaults to "C<n>".
    ManagedObjectPtr addCard(const QVariantMap& values)
    {
        ManagedObjectPtr card = context->insertNewObject(QLatin1String(CardStore::kEntityCard));
        card->setValue(QStringLiteral("cardID"), QStringLiteral("C%1").arg(++m_cards));
        card->setValue(QStringLiteral("deletedFlag"), 0);
        for (auto it = values.begin(); it != values.end(); ++it)
            card->setValue(it.key(), it.value());
        EXPECT_EQ(context->save(), 0);
        return card;
    }

    // A vCard 3.0 file in the book with these content lines between VERSION and END.
    void addPerson(const QString& fileName, const QByteArray& lines)
    {
        QFile f(bookFile(fileName));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("BEGIN:VCARD\r\nVERSION:3.0\r\n" + lines + "END:VCARD\r\n");
    }

    QByteArray readBookFile(const QString& name) const
    {
        QFile f(bookFile(name));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    // Runs a full synchronisation in `mode` and saves the store as the main window does.
    int synchronise(int mode, PLSyncConnectController* controller = nullptr)
    {
        PLSyncConnectController own;
        PLSyncConnectController& c = controller ? *controller : own;
        c.setMainController(&host);
        c.setAddressBookFolder(bookFolder());
        c.setSelectStatus(mode);
        const int result = c.connectAddressBook();
        EXPECT_EQ(context->save(), 0);
        return result;
    }

    int addOnly(const ManagedObjectList& selection, PLSyncConnectController* controller = nullptr)
    {
        PLSyncConnectController own;
        PLSyncConnectController& c = controller ? *controller : own;
        host.selection = selection;
        c.setMainController(&host);
        c.setAddressBookFolder(bookFolder());
        return c.connectAddOnly();
    }

    std::unique_ptr<AddressBook> book() const { return AddressBook::open(bookFolder()); }

    // The person whose family name (or organisation, for a person without one) is `name`.
    static const ABPerson* personNamed(const AddressBook& b, const QString& name)
    {
        for (const auto& p : b.people()) {
            if (p->valueForProperty(kABLastNameProperty) == name || p->valueForProperty(kABOrganizationProperty) == name)
                return p.get();
        }
        return nullptr;
    }

    ManagedObjectList cards()
    {
        return context->executeFetchRequest({QLatin1String(CardStore::kEntityCard), {}, {{QStringLiteral("cardID"), true}}});
    }

    ManagedObjectPtr cardNamed(const QString& family)
    {
        for (const ManagedObjectPtr& c : cards()) {
            if (c->stringValue(QStringLiteral("family_Name")) == family)
                return c;
        }
        return nullptr;
    }

    // Each file of the book by name with its inode and modification time, to see what a run wrote.
    QMap<QString, QString> bookStamps() const
    {
        QMap<QString, QString> stamps;
        for (const QString& name : QDir(bookFolder()).entryList(QDir::Files)) {
            struct stat st;
            ::stat(QFile::encodeName(bookFile(name)).constData(), &st);
            stamps.insert(name, QStringLiteral("%1/%2.%3").arg(st.st_ino).arg(st.st_mtim.tv_sec).arg(st.st_mtim.tv_nsec));
        }
        return stamps;
    }

private:
    int m_cards = 0;
};
