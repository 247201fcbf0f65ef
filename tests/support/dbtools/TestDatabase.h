// Card database folders for the tools' tests, made by the card store layer: the store with a
// version row, the two standard folders and the cards, then "Images" (with image files) and "Files".
#pragma once

#include <QString>
#include <QStringList>

namespace TestDatabase {

struct Options {
    int cards = 10;
    int imageFiles = 0;
    int imageBytes = 4096;
    int databaseVersion = 2;
    QString storeName = QStringLiteral("Pelmora1.sqldb");
    // Filler text per card, so that deleting cards leaves pages to reclaim.
    int memoBytes = 200;
};

// Creates the folder `path` (it must not exist) as a card database.
bool create(const QString& path, const Options& options = Options());

// The cards' full names in card order, read back through the card store layer.
QStringList cardNames(const QString& storePath);

// Raw access to a store file for checks.
int cardCount(const QString& storePath);
bool deleteCards(const QString& storePath, int count);
QStringList tableNames(const QString& storePath);
// Every row of every table as text, in table and key order: equal after a lossless rewrite.
QStringList allRows(const QString& storePath);

} // namespace TestDatabase
