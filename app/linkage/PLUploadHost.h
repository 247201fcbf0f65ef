// What the upload command asks of the main window: its window and processing sheet, and the
// selected cards.
#pragma once

#include "app/images/CardRecord.h"
#include "app/linkage/PLExtAppWindow.h"

#include <QList>

class PLUploadHost : public PLExtAppWindow {
public:
    // The selected cards as card dictionaries, in selection order.
    virtual QList<CardDict> getSeleteRecords() = 0;
};
