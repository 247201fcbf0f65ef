// The folder chooser for tests: it answers queued folders and records where it started.
#pragma once

#include "tools/dbtools/ToolServices.h"

#include <QStringList>

class ScriptedToolServices : public ToolServices {
public:
    ScriptedToolServices() { ToolServices::setCurrent(this); }
    ~ScriptedToolServices() override { ToolServices::setCurrent(nullptr); }

    QString chooseDatabaseFolder(QWidget*, const QString&, const QString& startFolder) override
    {
        startFolders.append(startFolder);
        return chosen.isEmpty() ? QString() : chosen.takeFirst();
    }

    QStringList chosen;
    QStringList startFolders;
};
