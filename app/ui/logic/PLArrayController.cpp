#include "app/ui/logic/PLArrayController.h"

void PLArrayController::rearrangeObjects()
{
    const int previous = selectionIndex();
    const bool changed = arrange();
    if (selectionIndexes().isEmpty() && !arrangedObjects().isEmpty()) {
        const int row = previous >= 0 && previous < arrangedObjects().size() ? previous : 0;
        if (setSelectionIndex(row))
            return;
    }
    if (changed)
        emit selectionChanged();
}

void PLArrayController::setFilterPredicate(const Predicate& predicate)
{
    ArrayController::setFilterPredicate(predicate);
    if (selectionIndexes().isEmpty() && !arrangedObjects().isEmpty())
        setSelectionIndex(0);
}
