#include "app/ui/MainWindowMergeHost.h"

#include "app/core/CardEntities.h"
#include "app/core/OpenDatabase.h"
#include "app/ui/CardFolderPath.h"
#include "app/ui/PLMainWindowController.h"
#include "app/ui/PLOutlineViewController.h"
#include "app/ui/logic/PLArrayController.h"
#include "platform/store/ManagedObjectContext.h"

namespace {

const char* const kRectKeys[] = {"full_Name_XY", "company_XY", "job_Title_XY", "department_XY", "zip_PostalCode_XY", "address_XY",
                                  "telephone_Number_XY", "fax_Number_XY", "mobile_Number_XY", "e_Mail_XY", "web_Page_Address_XY", "memo_XY"};

} // namespace

ManagedObjectContext* MainWindowMergeHost::managedObjectContext()
{
    return m_database.context();
}

QString MainWindowMergeHost::currentDatabasePath()
{
    return m_database.folder();
}

WindowHandle MainWindowMergeHost::mainWindow()
{
    return m_window.window();
}

bool MainWindowMergeHost::isMainWindowVisibleOrMiniaturized()
{
    return m_window.isWindowVisible() || m_window.isWindowMiniaturized();
}

QList<CardDict> MainWindowMergeHost::getSeleteRecords()
{
    return m_window.getSeleteRecords();
}

int MainWindowMergeHost::selectedFolderRow()
{
    const TreeNode* folder = m_window.outlineViewController()->getSelectedItem();
    if (!folder)
        return -1;
    return folder->folderType == kFolderTypeRoot ? 0 : 1;
}

QString MainWindowMergeHost::selectedFolderID()
{
    return m_window.selectedFolderID();
}

int MainWindowMergeHost::setFolderNameWhenRemoving(const QString& cardID)
{
    return ::setFolderNameWhenRemoving(m_database.context(), cardID);
}

void MainWindowMergeHost::updateOneRecord(const ManagedObjectPtr& card)
{
    if (ManagedObjectContext* context = m_database.context(); context && card)
        context->refreshObject(card, true);
    m_window.saveAction();
    PLArrayController* cards = m_window.arrayController();
    cards->rearrangeObjects();
    cards->setSelectionIndexes(cards->selectionIndexes());
    m_window.trashArrayController()->rearrangeObjects();
    m_window.updateSelectStatus();
}

int MainWindowMergeHost::cleanRecordRect(const ManagedObjectPtr& card)
{
    if (!card)
        return 3;
    for (const char* key : kRectKeys)
        card->setValue(QString::fromLatin1(key), QString());
    return 0;
}

void MainWindowMergeHost::saveAction()
{
    m_window.saveAction();
}
