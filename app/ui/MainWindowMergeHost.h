// The main window's side of a merge (the merge window and the merge after an import): the open
// database, the card list's and the folder tree's selection, and the refresh and save of a card
// the merge changed. Owned by the main window controller.
#pragma once

#include "app/images/PLMergeHost.h"

class OpenDatabase;
class PLMainWindowController;

class MainWindowMergeHost : public PLMergeHost {
public:
    MainWindowMergeHost(PLMainWindowController& window, const OpenDatabase& database) : m_window(window), m_database(database) {}

    ManagedObjectContext* managedObjectContext() override;
    QString currentDatabasePath() override;
    WindowHandle mainWindow() override;
    bool isMainWindowVisibleOrMiniaturized() override;
    QList<CardDict> getSeleteRecords() override;
    int selectedFolderRow() override;
    QString selectedFolderID() override;
    int setFolderNameWhenRemoving(const QString& cardID) override;
    void updateOneRecord(const ManagedObjectPtr& card) override;
    int cleanRecordRect(const ManagedObjectPtr& card) override;
    void saveAction() override;

private:
    PLMainWindowController& m_window;
    const OpenDatabase& m_database;
};
