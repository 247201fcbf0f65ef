// The command line of a launch: the files it hands over (after "--" every argument is a file,
// whatever it starts with) and the options it knows; and the names under which the application
// reaches files whose names are not UTF-8.
#pragma once

#include "platform/events/InstanceRequest.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

struct LaunchArguments {
    InstanceRequest request;  // OpenFiles with absolute paths (bytes as given), or Activate
    bool searchSelection = false;
    QStringList refused;      // arguments that were neither a file nor a known option, with why
};

// `arguments` without the program name; `cwd` makes relative paths absolute.
LaunchArguments parseLaunchArguments(const QList<QByteArray>& arguments, const QByteArray& cwd);

// Paths as the application works with them. A name that does not survive the conversion to text
// (not UTF-8) is reached through a link with a readable name made in `aliasFolder`; a name that
// cannot be reached so is left out and reported in `refused`.
QStringList pathsForImport(const QList<QByteArray>& paths, const QString& aliasFolder, QStringList* refused);
