// The trials of the writers that keep the user's files outside the card store: an export of many
// files, attaching files to a card, installing a linkage setting plist and saving the preferences.
// Each trial makes its files under a folder of its own, runs the writer in a child process (killed
// at a point or a moment), checks what the kill left, runs the writer's next start and checks again.
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

namespace WriterTrials {

enum class Writer { Export, Attach, Install, Preferences };

const char* nameOf(Writer writer);
// How long the writer runs here at most, for the random moments.
int spanMs(Writer writer);

// Makes the files the writer starts from, under `root`.
void prepare(Writer writer, const QString& root);
// The arguments of the child process that runs the writer; `nextStart`: what the next start does.
QList<QByteArray> arguments(Writer writer, const QString& root, bool nextStart);
// What is wrong after the kill, and after the next start.
QStringList checkAfterKill(Writer writer, const QString& root);
QStringList checkAfterNextStart(Writer writer, const QString& root);

// Whether `mode` names one of the child programs above, and runs it.
bool isChildMode(const QByteArray& mode);
int runChild(const QByteArray& mode, const QString& root);

} // namespace WriterTrials
