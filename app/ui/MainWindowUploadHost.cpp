#include "app/ui/MainWindowUploadHost.h"

#include "app/core/OpenDatabase.h"
#include "app/ui/PLMainWindowController.h"

QWidget* MainWindowUploadHost::window() const
{
    return m_window.window();
}

bool MainWindowUploadHost::RunIndicator(const QString& title, const QString& message)
{
    return m_window.RunIndicator(title, message);
}

void MainWindowUploadHost::StopIndicator()
{
    m_window.StopIndicator();
}

QList<CardDict> MainWindowUploadHost::getSeleteRecords()
{
    return m_window.getSeleteRecords();
}

QString MainWindowUploadHost::databaseFolder() const
{
    return m_database.folder();
}
