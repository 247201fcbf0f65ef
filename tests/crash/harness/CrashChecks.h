// What must hold in a card database folder after a program was killed, each check answering
// what it found wrong (empty: nothing).
#pragma once

#include <QString>
#include <QStringList>

namespace CrashChecks {

// The store passes "PRAGMA integrity_check" and every card's front image is in "Images".
QStringList storeAndImages(const QString& folder);
// Empty image files for every card's front image that has none (fixtures that name images only).
void writeCardImages(const QString& folder);
// The number of cards in the folder's store; -1 when it cannot be read.
int cardCount(const QString& folder);
// The identifier of the folder's first card; empty when there is none.
QString firstCardID(const QString& folder);
// Opens the folder as a start of the application does (repair, migration, sweep), then opens its
// store; what went wrong.
QStringList openAsAStartDoes(const QString& folder);
// Work files, unnamed card images of the card naming, unfinished copies and staging folders that should be gone.
QStringList leftovers(const QString& folder, const QString& tempFolder);

} // namespace CrashChecks
