// A card database folder for merge tests: a store made by the store layer with the root, Inbox and
// one user folder, and cards whose fronts are generated one-page card PDFs in "Images". The host
// stands in for the main window over that store.
#pragma once

#include "app/images/PLMergeHost.h"
#include "platform/store/ManagedObjectContext.h"

#include <QDateTime>
#include <QString>

#include <memory>

namespace mergefixture {

inline constexpr char kRootFolderID[] = "FOLDER-ROOT";
inline constexpr char kInboxFolderID[] = "FOLDER-INBOX";
inline constexpr char kUserFolderID[] = "FOLDER-CLIENTS";

struct CardOptions {
    QString folderID = QString::fromLatin1(kInboxFolderID);
    bool hasBack = false;     // a back file name is set (and its file written)
    bool deleted = false;     // in the trash
    bool writeFront = true;   // without it the front file is missing
};

class Database {
public:
    // Makes "<parent>/Cards.cxdb" with its store and "Images" folder; null on failure.
    static std::unique_ptr<Database> create(const QString& parent, bool withImagesFolder = true);
    // The database at `path` with a fresh context; null when its store cannot be opened.
    static std::unique_ptr<Database> open(const QString& path);

    const QString& path() const { return m_path; }
    QString imagesFolder() const { return m_path + QStringLiteral("/Images"); }
    QString storePath() const;
    ManagedObjectContext& context() { return *m_context; }

    // A card "CARD-<n>" whose front shows its number; accepted n seconds after a fixed time.
    ManagedObjectPtr addCard(int number, const CardOptions& options = {});
    ManagedObjectPtr card(const QString& cardID);
    ManagedObjectPtr cardBelong(const QString& cardID);
    // Saves and answers 0 on success.
    int save() { return m_context->save(); }
    // A second context over the same store, to read what reached the file.
    std::unique_ptr<ManagedObjectContext> reopen() const;

    static QString cardID(int number) { return QStringLiteral("CARD-%1").arg(number, 4, 10, QLatin1Char('0')); }

private:
    Database() = default;
    ManagedObjectPtr addFolder(const char* id, int type, int level, const QString& name, const char* parent);

    QString m_path;
    std::unique_ptr<ManagedObjectContext> m_context;
};

// One-page card PDF with the number drawn large on it.
bool writeCardPdf(const QString& path, int number);

class Host : public PLMergeHost {
public:
    explicit Host(Database& database) : m_database(database) {}

    ManagedObjectContext* managedObjectContext() override { return &m_database.context(); }
    QString currentDatabasePath() override { return m_database.path(); }
    WindowHandle mainWindow() override { return {}; }
    bool isMainWindowVisibleOrMiniaturized() override { return visible; }
    QList<CardDict> getSeleteRecords() override { return selected; }
    int selectedFolderRow() override { return folderRow; }
    QString selectedFolderID() override { return folderID; }
    int setFolderNameWhenRemoving(const QString& cardID) override;
    void updateOneRecord(const ManagedObjectPtr& card) override;
    int cleanRecordRect(const ManagedObjectPtr& card) override;
    void saveAction() override;

    // Selects the card in the stand-in card list.
    void select(const ManagedObjectPtr& card);

    QList<CardDict> selected;
    int folderRow = 0;
    QString folderID;
    bool visible = true;
    int saves = 0;
    int updates = 0;

private:
    Database& m_database;
};

} // namespace mergefixture
