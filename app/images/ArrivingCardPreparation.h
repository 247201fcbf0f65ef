// The arriving card files of an import read, checked and written into the database's Images
// folder on threads of their own, ahead of the import that makes cards of them one by one in
// their order: the import's own thread is left only the cards themselves.
#pragma once

#include "platform/foundation/OrderedWork.h"

#include <QString>
#include <QStringList>

#include <optional>

class ArrivingCardPreparation {
public:
    struct Card {
        enum class Outcome { NotACard, NotImported, Imported };
        Outcome outcome = Outcome::NotACard;
        QString cardID; // the identifier its files are named after, when imported
        std::optional<QString> creator;
        int pages = 0;
    };

    // Starts on `paths` at once; the files are written and started on their way to the disk
    // without waiting for it, for a batch to make durable.
    ArrivingCardPreparation(const QStringList& paths, const QString& databaseFolder, int inputType);
    // Files written for cards never taken are removed again: no card names them.
    ~ArrivingCardPreparation();
    ArrivingCardPreparation(const ArrivingCardPreparation&) = delete;
    ArrivingCardPreparation& operator=(const ArrivingCardPreparation&) = delete;

    // The card of paths[index], once it is ready; each is taken once.
    Card take(qsizetype index);

private:
    Card prepare(const QString& path) const;

    const QStringList m_paths;
    const QString m_databaseFolder;
    const int m_inputType;
    OrderedWork<Card> m_work;
};
