// The main window's bookkeeping of synchronisation identifiers on card changes.
//
// Every objects-did-change notification of the main window's context that carries updated
// objects gives each changed live card a card identifier once it is named, and a new identifier
// to each of its empty exchangeable items (so an item's identifier names the value it gets
// next); then the card list is rearranged and a save is scheduled for the next pass of the run
// loop (one save however many notifications come before it). Inserted and deleted objects get
// no bookkeeping; notifications of other contexts and refresh notifications are ignored, and so
// is the notification of the identifiers set here, which would otherwise renew them twice.
#pragma once

#include "platform/foundation/NotificationCenter.h"

#include <QString>

class ManagedObjectContext;

// What the bookkeeping needs of the main window controller, which implements it.
class PLSyncBookkeepingHost {
public:
    virtual ~PLSyncBookkeepingHost() = default;
    virtual ManagedObjectContext* managedObjectContext() = 0;
    // Whether an Address Book synchronisation runs (`_bIsSynchronous`).
    virtual bool isSyncing() const = 0;
    // The search field's text; null or empty when there is no search.
    virtual QString searchFieldString() = 0;
    // Rearranges the card list's array controller.
    virtual void rearrangeCards() = 0;
    // Hands the image pane the selected cards (`setCardData` with `getSeleteRecords`, mode 3).
    virtual void showSelectedRecordsInImagePane() = 0;
    virtual void updateSelectStatus() = 0;
    virtual void saveAction() = 0;
};

class PLSyncBookkeeping {
public:
    // The key of the notifications that refreshes post.
    static constexpr const char* kRefreshedObjectsKey = "refreshed";

    // Observes the objects-did-change notifications of every context while it lives.
    explicit PLSyncBookkeeping(PLSyncBookkeepingHost* host);
    ~PLSyncBookkeeping();
    PLSyncBookkeeping(const PLSyncBookkeeping&) = delete;
    PLSyncBookkeeping& operator=(const PLSyncBookkeeping&) = delete;

    void updateData(const Notification& notification);

private:
    PLSyncBookkeepingHost* m_host;
    bool m_refreshing = false;
};
