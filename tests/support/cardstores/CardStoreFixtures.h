// Card database folders of every store version, made in the test: the one-entity stores of
// versions 1 and 5, the four-entity stores of versions 51 and 53, and stores whose Version row
// claims any other database version.
#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QMap>
#include <QVariantMap>

namespace CardStoreFixtures {

struct Card {
    QString cardId;
    QString fullName;
    QString company;
    bool inTrash = false;
    int connected = 0;
    QString flag1;          // "1" for cards of version 5 and later
    QString faceImageFile;  // file name in "Images"
    QString backImageFile;
    QString folderId;       // four-entity stores: the folder the card is filed in ("" Inbox)
};

// What a store holds, read back with raw SQL for comparisons.
struct StoreContents {
    QList<QVariantMap> cards;    // ZCARD rows by Z_PK: cardID, full_Name, company, deletedFlag, flag1, flag2, connected, face, back
    QList<QVariantMap> belongs;  // cardID, folder_ID, folder1_Name, folder2_Name, card (cardID of ZTOCARDRELATION)
    int folderCount = 0;
    QStringList versionValues;   // ZDATABASE_VERSION of every ZVERSION row
};

// Cards named "Card <n>" with identifiers "ID<n>"; every third card in the trash.
QList<Card> numberedCards(int count, const QString& flag1);

// A store file of version 1 or 5 (one table ZCARD; version 5 sets flag1 "1" on every card).
bool writeOldStore(const QString& storeFile, const QList<Card>& cards);
// A four-entity store: `current` adds the version-53 columns; `databaseVersion` goes into the
// Version row (1: store version 51, 2: 53); a user folder "Clients" is added below the root
// and `userFolderId` receives its identifier.
bool writeStore(const QString& storeFile, bool current, int databaseVersion, const QList<Card>& cards,
                QString* userFolderId = nullptr);

StoreContents readStore(const QString& storeFile);
// The folder's entries (names, recursively, "Images/x.pdf" style) with the size and md5 of each file.
QMap<QString, QString> snapshotFolder(const QString& folder);

} // namespace CardStoreFixtures
