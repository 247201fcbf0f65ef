#include "tools/dbtools/ToolServices.h"

#include <QFileDialog>

namespace {
ToolServices* g_services = nullptr;
}

ToolServices& ToolServices::current()
{
    static QtToolServices qtServices;
    return g_services ? *g_services : qtServices;
}

void ToolServices::setCurrent(ToolServices* services)
{
    g_services = services;
}

QString QtToolServices::chooseDatabaseFolder(QWidget* window, const QString& title, const QString& startFolder)
{
    return QFileDialog::getExistingDirectory(window, title, startFolder, QFileDialog::ShowDirsOnly);
}
