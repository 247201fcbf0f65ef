#include "plugin/Entry/QuendrelEntry.h"

#include "plugin/Controller/BundleController.h"

#include <QFile>
#include <QWidget>

int32_t StartQDL(int settingsOnly, const char* pathOfXML, void* inputWinObj, int outputCSV)
{
    BundleController controller;
    const QString path = pathOfXML ? QFile::decodeName(pathOfXML) : QString();
    return controller.StartQDL(settingsOnly != 0, path, static_cast<QWidget*>(inputWinObj), outputCSV != 0);
}
