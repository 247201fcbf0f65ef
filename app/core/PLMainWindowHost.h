// What the application delegate asks of the main window controller: its window, its store stack,
// the database switch, the import and the search. The main window controller implements it; tests
// use a fake.
#pragma once

#include <QString>
#include <QStringList>

#include <optional>

class QWidget;

class PLMainWindowHost {
public:
    virtual ~PLMainWindowHost() = default;

    virtual QWidget* window() const = 0;
    virtual bool isWindowVisible() const = 0;
    virtual bool isWindowMiniaturized() const = 0;
    // A sheet (window-modal dialog) is attached to the main window.
    virtual bool hasAttachedSheet() const = 0;

    // Whether a store is open; asks for the context, which opens the store of g_strCurDBPath.
    virtual bool hasManagedObjectContext() = 0;
    // Opens the store of g_strCurDBPath without showing the window.
    virtual void initDB() = 0;
    // Rebuilds the store stack for g_strCurDBPath; false when the new store could not be opened.
    virtual bool newDB() = 0;
    virtual void setCurrentOpenedDBPath() = 0;
    // The database path to use after the password prompt, or nothing when the user gave up.
    virtual std::optional<QString> showPwdWndAccordingToSelectedDB(const QString& path) = 0;
    // 1 done (or nothing to do), 0 declined or failed; `newPath` gets a replacement folder.
    virtual int migrateDatabaseIfNeeded(bool confirm, const QString& path, QString* newPath) = 0;

    virtual void showActiveWindow() = 0;
    virtual void SetWindowsize() = 0;
    virtual void showWindow() = 0;
    virtual void closeWindow() = 0;

    virtual bool isImageProcessing() const = 0;
    virtual bool isSyncing() const = 0;
    // Ends an in-place edit of a folder name in the folder tree, when one runs.
    virtual void endFolderNameEditing() = 0;

    virtual void searchText(const QString& text) = 0;
    // Imports card files as new cards; `importedPaths` gets the given paths whose card image was
    // copied into the database (scanner files are deleted only when imported).
    virtual int scanData(const QStringList& paths, int inputType, QStringList* importedPaths) = 0;
};
