// What the upload command asks of the main window: its window and processing sheet, the
// selected cards and the folder of the open database.
#pragma once

#include "app/images/CardRecord.h"
#include "app/linkage/PLExtAppWindow.h"

#include <QList>
#include <QString>

class PLUploadHost : public PLExtAppWindow {
public:
    // The selected cards as card dictionaries, in selection order.
    virtual QList<CardDict> getSeleteRecords() = 0;
    // The folder of the open database; "" when none.
    virtual QString databaseFolder() const = 0;
};
