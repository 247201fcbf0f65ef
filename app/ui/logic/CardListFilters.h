// The filters of the card list and the trash, evaluated in memory on the cards: the folder
// filter, the search scopes of the search menu (tags 16, 17 to 30 and 15) and the trash.
// Text matches are case-insensitive containment on the whole text, taken literally.
#pragma once

#include "app/ui/logic/ListRow.h"

#include <QString>
#include <QStringList>

namespace CardListFilters {

// The folder the list shows: none selected, the root (type 1) or another folder.
struct Folder {
    bool selected = false;
    int folderType = 0;
    QString folderID;
};

RowPredicate trashFilter();
// Not deleted (a missing deletedFlag counts as not deleted), and: the root shows the cards that have a folder, another folder its own cards.
RowPredicate cardListFilter(const Folder& folder);

// The attributes a search scope tag matches; empty for an unknown tag. Tag 16 takes the
// reading attributes only when the display mode has their bits.
QStringList searchAttributes(int scopeTag, int displayMode);
// Whether any of the attributes contains `text`, ignoring case.
bool containsText(const ListRow& card, const QStringList& attributes, const QString& text);

struct SearchFilters {
    RowPredicate cardList;
    RowPredicate trash;
};
// Non-empty `text`: the card list shows the matching cards that are not deleted, narrowed to the
// folder unless it is the root or none; the trash shows the matching deleted cards.
SearchFilters searchFilters(const Folder& folder, const QString& text, int scopeTag, int displayMode);

} // namespace CardListFilters
