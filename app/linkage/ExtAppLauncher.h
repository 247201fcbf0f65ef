// Opening linked applications: a desktop entry is started as its "Exec" line says, with the
// files in place of its field codes; any other path is run as a program with the files as its
// arguments. Never through a shell.
#pragma once

#include <QString>
#include <QStringList>

// 0; -50 when the application is missing; -4960 for an empty document path; -1 when it could not
// be started. Documents that no longer exist are left out.
int LauchApplication(const QString& application, const QStringList& documents, bool passMainBundle);
int LauchAppSetting(const QString& application, bool passMainBundle);
