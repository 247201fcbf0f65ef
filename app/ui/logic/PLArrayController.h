// The array controller of the card list and the trash: a row stays selected whenever rows exist.
// After a rearrangement that lost the selection, the same row index is selected again when it
// still exists, else the first row; after a new filter that lost it, the first row.
#pragma once

#include "app/ui/logic/ArrayController.h"

class PLArrayController : public ArrayController {
    Q_OBJECT
public:
    using ArrayController::ArrayController;

    void rearrangeObjects() override;
    void setFilterPredicate(const RowPredicate& predicate) override;
};
