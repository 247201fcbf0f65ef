#include "app/ui/logic/PLArrayController.h"

void PLArrayController::rearrangeObjects()
{
    const int previous = selectionIndex();
    const bool changed = arrange();
    if (selectionIndexes().isEmpty() && arrangedCount() > 0) {
        const int row = previous >= 0 && previous < arrangedCount() ? previous : 0;
        if (setSelectionIndex(row))
            return;
    }
    if (changed)
        emit selectionChanged();
}

void PLArrayController::setFilterPredicate(const RowPredicate& predicate)
{
    ArrayController::setFilterPredicate(predicate);
    if (selectionIndexes().isEmpty() && arrangedCount() > 0)
        setSelectionIndex(0);
}
