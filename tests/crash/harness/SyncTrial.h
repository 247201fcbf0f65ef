// The trial of an Address Book synchronisation: a database whose cards meet some persons of a
// folder of contact files (one beside another contact in the same file), persons that become
// cards and cards that become persons. The run is killed; then every contact file must read and
// be its old or its new version; a second synchronisation (the next start) must leave as many
// persons and cards as one uninterrupted run, and no temporary file.
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

namespace SyncTrial {

// How long the synchronisation runs here at most, for the random moments.
int spanMs();

// Makes the database and the book under `root`, and beside them what one uninterrupted run makes.
void prepare(const QString& root);
// The arguments of the child process that synchronises (the next start does the same, to its end).
QList<QByteArray> arguments(const QString& root);
// What is wrong after the kill, and after the next start.
QStringList checkAfterKill(const QString& root);
QStringList checkAfterNextStart(const QString& root);

// Whether `mode` names the child program above, and runs it.
bool isChildMode(const QByteArray& mode);
int runChild(const QString& root);

} // namespace SyncTrial
