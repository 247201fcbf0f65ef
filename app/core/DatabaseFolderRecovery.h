// What a program stopped in the middle of its work can leave in a database folder, and how the
// folder is put right the next time it is opened, with its lock held.
#pragma once

#include <QString>

namespace DatabaseFolderRecovery {

// A folder that holds no store but stores of the backup series ("Pelmora1.sqldb_bak…", else
// "Pelmora.sqldb_bak…"): a store switch was stopped after the store was moved aside. The newest
// of that series gets the store's name back (the backup keeps its own). Takes the folder's lock
// for the repair and does nothing when another program holds it. True when a store was put back.
bool restoreInterruptedStore(const QString& folder);

// Removes what a stopped import, migration or password change left, and only that: the work
// files of this suite's own naming in the folder, card images (by their naming) that no card of
// the store names, the half-written copies of card images, and this user's staging folders of
// processes that are gone. The caller holds the folder's lock; the store must be current.
void sweepLeftovers(const QString& folder);

} // namespace DatabaseFolderRecovery
