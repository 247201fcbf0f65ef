// The one way the application asks the user for files or folders: open panels (one or several
// files, or folders) and save panels; and for a choice among a few rows (choice panels). With a visible window a panel is a sheet of it
// (window-modal); otherwise it is application-modal. A panel runs inside a ModalScope, so delayed
// calls wait until it has closed.
//
// The programs with windows install the dialog panels (platform/appkit/dialogs) at start-up;
// tests replace them with a scripted service (tests/support/appkit) through setCurrent.
#pragma once

#include "platform/appkit/WindowHandle.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

struct PanelRequest {
    WindowHandle window;            // the sheet's window; null or hidden: application-modal
    QString title;
    QString prompt;                 // the accept button's text; empty: the panel's own
    QString directory;              // where the panel starts; empty: the user's home
    QString name;                   // save panel: the proposed name
    QStringList allowedTypes;       // extensions without the dot; empty: any
    bool allowsOtherFileTypes = false; // save panel: a name typed with another extension keeps it
    bool chooseDirectories = false; // open panel: folders instead of files
    bool allowsMultipleSelection = false;
    // Open panel: whether a chosen path may be accepted (a path refused is dropped).
    std::function<bool(const QString&)> isValidFilename;
};

// A panel of texts above a choice of rows, with OK and Cancel. Each text and row carries the
// object name of its control beside its text.
struct PanelText {
    QString name;
    QString text;
};
struct ChoicePanelRequest {
    WindowHandle window; // the sheet's window; null or hidden: application-modal
    QString name;        // the panel's object name
    QString title;
    QList<PanelText> texts;   // in order, above the rows
    QList<PanelText> choices; // the rows, one of which is chosen
    int chosen = 0;           // the row chosen when the panel opens
};

class PanelService {
public:
    virtual ~PanelService() = default;

    // The chosen paths, or none when the user cancelled.
    virtual QStringList runOpenPanel(const PanelRequest& request) = 0;
    // The chosen path, with the first allowed extension added when it has none of them (when other
    // types are allowed, only when it has no extension at all); empty when the user cancelled.
    virtual QString runSavePanel(const PanelRequest& request) = 0;
    // The row chosen when the user pressed OK; -1 when they cancelled.
    virtual int runChoicePanel(const ChoicePanelRequest& request) = 0;

    // The service a test installed, else the application's; with neither, every panel is
    // cancelled.
    static PanelService& current();
    // Installs `service` (not owned); null returns to the application's service.
    static void setCurrent(PanelService* service);
    // The application's service (not owned), installed once at start-up.
    static void setApplicationService(PanelService* service);
};

// Whether the extension of `path` is one of `types` (without the dot, in any case).
bool hasAllowedType(const QString& path, const QStringList& types);
