// Identifiers kept in step with edited cards, and the notifications the bookkeeping ignores.
#include "SyncFixture.h"

#include "app/core/Globals.h"
#include "app/sync/PLSyncBookkeeping.h"
#include "platform/appkit/Scheduler.h"
#include "tests/support/appkit/ManualClock.h"

namespace {

struct BookkeepingHost : PLSyncBookkeepingHost {
    ManagedObjectContext* context = nullptr;
    bool syncing = false;
    QString search;
    QStringList calls;
    ManagedObjectContext* managedObjectContext() override { return context; }
    bool isSyncing() const override { return syncing; }
    QString searchFieldString() override { return search; }
    void rearrangeCards() override { calls.append("rearrange"); }
    void showSelectedRecordsInImagePane() override { calls.append("image"); }
    void updateSelectStatus() override { calls.append("status"); }
    void saveAction() override
    {
        calls.append("save");
        context->save();
    }
};

class Bookkeeping : public SyncFixture {
protected:
    ManualClock clock;
    BookkeepingHost keeperHost;
    std::unique_ptr<PLSyncBookkeeping> keeper;

    void SetUp() override
    {
        SyncFixture::SetUp();
        Scheduler::shared().setClock(&clock);
        keeperHost.context = context.get();
        keeper = std::make_unique<PLSyncBookkeeping>(&keeperHost);
    }
    void TearDown() override
    {
        keeper.reset();
        Scheduler::shared().setClock(nullptr);
        g_bSyncOSJudge = true;
    }

    // Changes a card as an edit does and lets the run loop come round.
    void edit(const ManagedObjectPtr& card, const QString& key, const QVariant& value)
    {
        keeperHost.calls.clear();
        card->setValue(key, value);
        context->processPendingChanges();
        clock.advance(0);
    }
};

TEST_F(Bookkeeping, EmptyItemsGetNewIdentifiersOnEveryEditAndFilledOnesKeepTheirs)
{
    const ManagedObjectPtr card = addCard({{"family_Name", "Lee"}, {"telephone_Number", "03"}, {"sync_Phone_work", "W"}});
    edit(card, "memo", "first edit");
    const QString syncID = card->stringValue("syncID");
    const QString fax = card->stringValue("sync_Phone_Fax");
    EXPECT_EQ(syncID.size(), 36);
    EXPECT_EQ(fax.size(), 36);
    EXPECT_EQ(card->stringValue("sync_Phone_work"), "W");
    EXPECT_EQ(keeperHost.calls, QStringList({"rearrange", "save"}));
    EXPECT_FALSE(context->hasChanges());

    edit(card, "memo", "second edit");
    EXPECT_EQ(card->stringValue("syncID"), syncID);
    const QString faxAgain = card->stringValue("sync_Phone_Fax");
    EXPECT_NE(faxAgain, fax);

    edit(card, "fax_Number", "03-2");
    edit(card, "memo", "third edit");
    EXPECT_EQ(card->stringValue("sync_Phone_Fax"), faxAgain);
    EXPECT_EQ(card->stringValue("syncID"), syncID);
}

TEST_F(Bookkeeping, NamedTestTrashAndSynchronisationFlag)
{
    const ManagedObjectPtr company = addCard({{"company", "Acme"}});
    edit(company, "memo", "x");
    EXPECT_TRUE(company->stringValue("syncID").isEmpty()); // a company alone does not name a card
    EXPECT_FALSE(company->stringValue("sync_URL").isEmpty());

    g_bSyncOSJudge = false;
    edit(company, "memo", "y");
    EXPECT_FALSE(company->stringValue("syncID").isEmpty());

    const ManagedObjectPtr trashed = addCard({{"family_Name", "Gone"}, {"deletedFlag", 1}});
    edit(trashed, "memo", "x");
    EXPECT_TRUE(trashed->stringValue("syncID").isEmpty());
    EXPECT_TRUE(trashed->stringValue("sync_Email").isEmpty());

    keeperHost.syncing = true;
    const ManagedObjectPtr during = addCard({{"family_Name", "During"}});
    edit(during, "memo", "x");
    EXPECT_FALSE(during->stringValue("syncID").isEmpty());
    EXPECT_TRUE(during->stringValue("sync_Email").isEmpty());
}

TEST_F(Bookkeeping, SearchUpdatesAndIgnoredNotifications)
{
    const ManagedObjectPtr card = addCard({{"family_Name", "Lee"}});
    keeperHost.search = "Lee";
    edit(card, "memo", "x");
    EXPECT_EQ(keeperHost.calls, QStringList({"rearrange", "image", "rearrange", "status", "save"}));

    // Refresh notifications and other contexts' notifications change nothing and save nothing.
    keeperHost.calls.clear();
    card->setValue("memo", "unsaved");
    const QString fax = card->stringValue("sync_Phone_Fax");
    QVariantMap info{{ManagedObjectContext::kUpdatedObjectsKey, QVariant::fromValue(ManagedObjectList{card})},
                     {PLSyncBookkeeping::kRefreshedObjectsKey, QVariant::fromValue(ManagedObjectList{card})}};
    NotificationCenter::defaultCenter().post(ManagedObjectContext::kObjectsDidChangeNotification, context.get(), info);
    info.remove(PLSyncBookkeeping::kRefreshedObjectsKey);
    int otherContext = 0;
    NotificationCenter::defaultCenter().post(ManagedObjectContext::kObjectsDidChangeNotification, &otherContext, info);
    clock.advance(0);
    EXPECT_TRUE(keeperHost.calls.isEmpty());
    EXPECT_EQ(card->stringValue("sync_Phone_Fax"), fax);
}

} // namespace
