// The card database the application works on: its folder, the context over its store and the
// lock on it, held together by one object with one way to choose, open, switch and close it.
// Whatever needs the open database is handed this object.
//
// - The folder may be chosen (at start-up) before its store is opened; once open, the context
//   and the lock descriptor both belong to folder(), and a new folder can only be switched to.
// - A switch opens the new store and takes the new lock before it lets go of the old ones, and
//   changes nothing when either fails: the old database stays open and locked.
// - g_strCurDBPath and g_DBLockFile are copies of folder() and lockDescriptor(), kept for code
//   that reads them; this object is the only writer, after each change of its state.
// - contextChanged follows every change of context (null once closed).
// The application makes one; a second would overwrite the copies with its own state.
// Main thread only.
#pragma once

#include <QObject>
#include <QString>

#include <memory>

class ManagedObjectContext;

class OpenDatabase : public QObject {
    Q_OBJECT
public:
    enum class Result {
        Opened,
        NoFolder,    // no folder chosen, or an empty path given
        StoreFailed, // the store could not be opened or prepared
        InUse,       // another program holds the folder's lock
        LockUnusable, // something other than a lock file stands in its place (a link, a folder)
    };

    explicit OpenDatabase(QObject* parent = nullptr);
    // Closes the database.
    ~OpenDatabase() override;
    OpenDatabase(const OpenDatabase&) = delete;
    OpenDatabase& operator=(const OpenDatabase&) = delete;

    // The chosen or open folder; empty when none.
    const QString& folder() const { return m_folder; }
    // The open store's context; null when none is open.
    ManagedObjectContext* context() const { return m_context.get(); }
    // The descriptor holding the folder's lock; -1 when none is open.
    int lockDescriptor() const { return m_lock; }
    bool isOpen() const { return m_context != nullptr; }

    // Names the database to open later (empty: none). Refused, with nothing changed, while
    // another database is open: that one is only left by a switch or a close.
    bool choose(const QString& folder);
    // Opens the chosen folder's store and takes its lock; Opened at once when it is open.
    Result open();
    // Opens `folder`'s store, takes its lock and seeds it with the Inbox and the version row, then
    // lets go of the database open before. Nothing changes on failure.
    Result switchTo(const QString& folder);
    // Adds what a database needs and lacks (its folders, its version row) to the open store.
    void seed();
    // Releases the context and the lock; no folder is chosen afterwards.
    void close();

signals:
    void contextChanged(ManagedObjectContext* context);

private:
    void install(const QString& folder, std::unique_ptr<ManagedObjectContext> context, int lock);
    // Copies the folder and the lock descriptor into the process-wide names.
    void publish() const;

    QString m_folder;
    std::unique_ptr<ManagedObjectContext> m_context;
    int m_lock = -1;
};
