#include "app/ui/MainWindowBookkeepingHost.h"

#include "app/core/OpenDatabase.h"
#include "app/ui/PLImageController.h"
#include "app/ui/PLMainWindowController.h"
#include "app/ui/logic/PLArrayController.h"

#include <QLineEdit>

ManagedObjectContext* MainWindowBookkeepingHost::managedObjectContext()
{
    return m_database.context();
}

bool MainWindowBookkeepingHost::isSyncing() const
{
    return m_window.isSyncing();
}

QString MainWindowBookkeepingHost::searchFieldString()
{
    const QLineEdit* field = m_window.ui()._searchFiled;
    return field ? field->text() : QString();
}

void MainWindowBookkeepingHost::rearrangeCards()
{
    if (PLArrayController* cards = m_window.arrayController())
        cards->rearrangeObjects();
}

void MainWindowBookkeepingHost::showSelectedRecordsInImagePane()
{
    if (PLImageController* pane = m_window.imageController())
        pane->setCardData(m_window.getSeleteRecords(), PLImageController::kModeSelected);
}

void MainWindowBookkeepingHost::updateSelectStatus()
{
    m_window.updateSelectStatus();
}

void MainWindowBookkeepingHost::saveAction()
{
    m_window.saveAction();
}
