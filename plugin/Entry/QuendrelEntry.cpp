#include "plugin/Entry/QuendrelEntry.h"

#include "platform/appkit/dialogs/DialogServices.h"
#include "plugin/Controller/BundleController.h"

#include <QFile>
#include <QWidget>

int32_t StartQDL(int settingsOnly, const char* pathOfXML, void* inputWinObj, int outputCSV)
{
    // The plug-in binds to its own copies of the services: it shows its alerts as dialogs.
    installDialogServices();
    BundleController controller;
    const QString path = pathOfXML ? QFile::decodeName(pathOfXML) : QString();
    return controller.StartQDL(settingsOnly != 0, path, static_cast<QWidget*>(inputWinObj), outputCSV != 0);
}
