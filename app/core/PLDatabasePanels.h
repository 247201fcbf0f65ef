// The panels of the database commands. A database is a folder with the extension cxdb (older
// ones pldb), chosen as one item. Tests install scripted panels through setCurrent.
#pragma once

#include "platform/appkit/WindowHandle.h"

#include <QString>
#include <QStringList>

class PLDatabasePanels {
public:
    struct Request {
        WindowHandle window;          // sheet's window; null or hidden: an application-modal panel
        QString title;
        QString prompt;               // the save panel's button
        QString directory;            // where the panel starts
        QString name;                 // save panel: the proposed name
        QStringList allowedTypes;     // extensions of the database folders offered
    };

    virtual ~PLDatabasePanels() = default;
    // The path of a database folder to create (with its extension), or empty when cancelled.
    virtual QString runSavePanel(const Request& request) = 0;
    // The path of an existing database folder, or empty when cancelled.
    virtual QString runOpenPanel(const Request& request) = 0;

    static PLDatabasePanels& current();
    // Installs `panels` (not owned); null restores the dialog panels.
    static void setCurrent(PLDatabasePanels* panels);
};

// The application's panels: the panel service's, where a database folder is picked as a whole.
class DialogDatabasePanels : public PLDatabasePanels {
public:
    QString runSavePanel(const Request& request) override;
    QString runOpenPanel(const Request& request) override;
};
