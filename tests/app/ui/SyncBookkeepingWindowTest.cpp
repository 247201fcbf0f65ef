// The main window keeps the synchronisation identifiers of the cards the user changes.
#include "app/core/CardEntities.h"
#include "app/core/OpenDatabase.h"
#include "app/ui/PLMainWindowController.h"
#include "platform/foundation/PreferenceDomain.h"
#include "platform/store/CardStoreModel.h"
#include "platform/store/ManagedObjectContext.h"
#include "tests/app/core/TestBundle.h"
#include "tests/support/appkit/ScriptedMessagePresenter.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

TEST(MainWindowSyncBookkeeping, SavedEditsGiveNamedCardsTheirIdentifiersAndRenewThoseOfEmptyItems)
{
    QTemporaryDir temp;
    TestBundle bundle;
    ScriptedMessagePresenter presenter;
    PreferenceDomain::setStandardDomain(QStringLiteral("test.mainwindow.sync"), temp.filePath(QStringLiteral("prefs")));
    const QString database = temp.filePath(QStringLiteral("Cards.cxdb"));
    QDir().mkpath(database + QStringLiteral("/Images"));
    OpenDatabase openDatabase;
    openDatabase.choose(database);
    auto window = std::make_unique<PLMainWindowController>(openDatabase);
    window->setTerminate([] {});
    window->showActiveWindow();
    ManagedObjectContext* context = window->managedObjectContext();
    ASSERT_TRUE(context);

    const ManagedObjectPtr card = context->insertNewObject(QString::fromLatin1(CardStore::kEntityCard));
    card->setValue(QStringLiteral("cardID"), QStringLiteral("A"));
    card->setValue(QStringLiteral("deletedFlag"), 0);
    card->setValue(QStringLiteral("fax_Number"), QStringLiteral("03-1"));
    card->setValue(QStringLiteral("sync_Phone_Fax"), QStringLiteral("FAX-ID"));
    window->saveAction();

    // The user names the card: it gets its identifier, and its empty items new ones.
    card->setValue(QStringLiteral("family_Name"), QStringLiteral("Lee"));
    window->saveAction();
    const QString syncID = card->stringValue(QStringLiteral("syncID"));
    const QString mail = card->stringValue(QStringLiteral("sync_Email"));
    EXPECT_EQ(syncID.size(), 36);
    EXPECT_EQ(mail.size(), 36);
    EXPECT_EQ(card->stringValue(QStringLiteral("sync_Phone_Fax")), QStringLiteral("FAX-ID"));
    EXPECT_FALSE(context->hasChanges());

    card->setValue(QStringLiteral("memo"), QStringLiteral("edited"));
    window->saveAction();
    EXPECT_EQ(card->stringValue(QStringLiteral("syncID")), syncID);
    EXPECT_NE(card->stringValue(QStringLiteral("sync_Email")), mail);

    window->window()->close();
}
