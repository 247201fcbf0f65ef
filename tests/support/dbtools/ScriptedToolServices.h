// Folder chooser and help for tests: the chooser answers a queued folder, help pages are recorded.
#pragma once

#include "tools/dbtools/ToolServices.h"

#include <QList>
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
    void openHelp(const QUrl& page) override { helpPages.append(page); }

    QStringList chosen;
    QStringList startFolders;
    QList<QUrl> helpPages;
};
