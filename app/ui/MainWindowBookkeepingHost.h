// The main window's side of the bookkeeping of synchronisation identifiers: the open database's
// context, and the card list, search field and image pane that follow a change of cards.
// Owned by the main window controller, which it outlives never.
#pragma once

#include "app/sync/PLSyncBookkeeping.h"

class OpenDatabase;
class PLMainWindowController;

class MainWindowBookkeepingHost : public PLSyncBookkeepingHost {
public:
    MainWindowBookkeepingHost(PLMainWindowController& window, const OpenDatabase& database) : m_window(window), m_database(database) {}

    ManagedObjectContext* managedObjectContext() override;
    bool isSyncing() const override;
    QString searchFieldString() override;
    void rearrangeCards() override;
    void showSelectedRecordsInImagePane() override;
    void updateSelectStatus() override;
    void saveAction() override;

private:
    PLMainWindowController& m_window;
    const OpenDatabase& m_database;
};
