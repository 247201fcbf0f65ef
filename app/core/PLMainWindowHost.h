// What the application delegate asks of the main window controller beyond the database commands:
// its window, the first opening of the store, the import and the search. The main window
// controller implements it; tests use a fake.
#pragma once

#include "app/core/PLDatabaseCommands.h"

#include <QString>
#include <QStringList>

class PLMainWindowHost : public PLMainWindowDatabase {
public:
    virtual WindowHandle windowHandle() const = 0;
    virtual bool isWindowVisible() const = 0;
    virtual bool isWindowMiniaturized() const = 0;
    // A sheet (window-modal dialog) is attached to the main window.
    virtual bool hasAttachedSheet() const = 0;

    // Opens the chosen database without showing the window.
    virtual void initDB() = 0;
    virtual void showActiveWindow() = 0;
    virtual void SetWindowsize() = 0;
    virtual void showWindow() = 0;
    virtual void closeWindow() = 0;
    // Brings the window to the front and gives it the keyboard focus.
    virtual void activateWindow() = 0;

    virtual bool isImageProcessing() const = 0;
    virtual bool isSyncing() const = 0;
    // Ends an in-place edit of a folder name in the folder tree, when one runs.
    virtual void endFolderNameEditing() = 0;

    virtual void searchText(const QString& text) = 0;
    // Imports card files as new cards; `importedPaths` gets the given paths whose card image was
    // copied into the database (scanner files are deleted only when imported).
    virtual int scanData(const QStringList& paths, int inputType, QStringList* importedPaths) = 0;
};
