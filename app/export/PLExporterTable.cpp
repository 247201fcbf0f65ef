// The CSV and text exports of the main window's cards: each value is read from the store's card by
// its attribute, with no dictionary made for the card.
#include "app/core/PLChecker.h"
#include "app/export/ExportTable.h"
#include "app/export/PLExporter.h"
#include "app/images/CardFieldKeys.h"
#include "platform/foundation/TemporaryWrite.h"

#include <QFileInfo>

namespace {

constexpr int kStatusBadArguments = 3;

// The cards with a name. When some have none, the user is asked as for card dictionaries; false
// when the export stops there.
bool namedCards(const ManagedObjectList& cards, ManagedObjectList* named)
{
    const EntityDescription* entity = nullptr;
    int fullName = -1;
    for (const ManagedObjectPtr& card : cards) {
        if (&card->entity() != entity) {
            entity = &card->entity();
            fullName = entity->indexOf(cardkey::kFullName);
        }
        if (fullName >= 0 && !PLChecker::isBlank(card->value(fullName).toString()))
            named->append(card);
    }
    if (named->size() == cards.size())
        return true;
    QList<CardDict> names;
    for (const ManagedObjectPtr& card : cards)
        names.append({{cardkey::kFullName, card->value(cardkey::kFullName)}});
    QList<CardDict> kept;
    return PLChecker::checkDataListBeforeExport(names, &kept);
}

int exportTable(const QString& filePath, const ManagedObjectList& cards, QChar separator)
{
    if (filePath.isEmpty() || cards.isEmpty())
        return kStatusBadArguments;
    const uint32_t mask = PLExporter::exportItemsMask();
    ManagedObjectList named;
    if (!namedCards(cards, &named))
        return 0;
    removeTemporaryLeftovers(QFileInfo(filePath).absolutePath());
    const QString text = ExportTable(mask, separator).fileText(named);
    return PLExporter::saveFile(ExportTable::littleEndianBytes(text), filePath);
}

} // namespace

int PLExporter::ExportToCSV(const QString& filePath, const ManagedObjectList& cards)
{
    return exportTable(filePath, cards, QLatin1Char(','));
}

int PLExporter::ExportToText(const QString& filePath, const ManagedObjectList& cards)
{
    return exportTable(filePath, cards, QLatin1Char('\t'));
}
