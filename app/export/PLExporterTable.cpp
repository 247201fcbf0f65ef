// The CSV and text exports: of the main window's cards, each value read from the store's card by
// its attribute with no dictionary made for the card, and of card dictionaries. The file is
// written to the disk a piece at a time while its rows are made.
#include "app/core/PLChecker.h"
#include "app/export/ExportTable.h"
#include "app/export/ExportTarget.h"
#include "app/export/PLExporter.h"
#include "app/images/CardFieldKeys.h"

#include <algorithm>
#include <iterator>

namespace {

constexpr int kStatusBadArguments = 3;

// The cards with a name: `cards` itself when every one has one. When some have none, the user is
// asked as for card dictionaries; false when the export stops there.
bool namedCards(const ManagedObjectList& cards, ManagedObjectList* named)
{
    const EntityDescription* entity = nullptr;
    int fullName = -1;
    const auto hasName = [&](const ManagedObjectPtr& card) {
        if (&card->entity() != entity) {
            entity = &card->entity();
            fullName = entity->indexOf(cardkey::kFullName);
        }
        if (fullName < 0)
            return false;
        const QVariant& name = card->value(fullName);
        return name.typeId() == QMetaType::QString ? !PLChecker::isBlank(*static_cast<const QString*>(name.constData()))
                                                   : !PLChecker::isBlank(name.toString());
    };
    if (std::all_of(cards.begin(), cards.end(), hasName)) {
        *named = cards;
        return true;
    }
    std::copy_if(cards.begin(), cards.end(), std::back_inserter(*named), hasName);
    QList<CardDict> names;
    for (const ManagedObjectPtr& card : cards)
        names.append({{cardkey::kFullName, card->value(cardkey::kFullName)}});
    QList<CardDict> kept;
    return PLChecker::checkDataListBeforeExport(names, &kept);
}

template <typename Cards> int saveTable(const QString& filePath, QChar separator, const Cards& named)
{
    return saveInPieces(filePath, [&](const ExportPieceWriter& write) {
        return ExportTable(PLExporter::exportItemsMask(), separator).writeFile(named, write);
    });
}

int exportTable(const QString& filePath, const ManagedObjectList& cards, QChar separator)
{
    if (filePath.isEmpty() || cards.isEmpty())
        return kStatusBadArguments;
    ManagedObjectList named;
    if (!namedCards(cards, &named))
        return 0;
    return saveTable(filePath, separator, named);
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

int PLExporter::CreateCSVorTextFile(const QString& filePath, const QList<CardDict>& cards, QChar separator)
{
    if (filePath.isEmpty() || cards.isEmpty())
        return kStatusBadArguments;
    QList<CardDict> named;
    if (!PLChecker::checkDataListBeforeExport(cards, &named))
        return 0;
    return saveTable(filePath, separator, named);
}

int PLExporter::ExportToCSV(const QString& filePath, const QList<CardDict>& cards)
{
    return CreateCSVorTextFile(filePath, cards, QLatin1Char(','));
}

int PLExporter::ExportToText(const QString& filePath, const QList<CardDict>& cards)
{
    return CreateCSVorTextFile(filePath, cards, QLatin1Char('\t'));
}
