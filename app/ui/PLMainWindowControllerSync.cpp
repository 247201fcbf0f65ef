// The main window's side of the bookkeeping of synchronisation identifiers (PLSyncBookkeeping).
#include "app/ui/PLMainWindowController.h"

#include "app/ui/PLImageController.h"
#include "app/ui/logic/PLArrayController.h"

#include <QLineEdit>

QString PLMainWindowController::searchFieldString()
{
    return m_ui._searchFiled ? m_ui._searchFiled->text() : QString();
}

void PLMainWindowController::rearrangeCards()
{
    if (_acWndCard)
        _acWndCard->rearrangeObjects();
}

void PLMainWindowController::showSelectedRecordsInImagePane()
{
    if (_imageController)
        _imageController->setCardData(getSeleteRecords(), PLImageController::kModeSelected);
}
