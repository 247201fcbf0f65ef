#include "app/ui/PLApplicationServices.h"

#include "app/core/PLDatabaseCommands.h"
#include "app/images/ArrivingFiles.h"
#include "app/images/CardPdfCheck.h"
#include "app/images/OcrApplicationLink.h"
#include "platform/appkit/Scheduler.h"
#include "platform/workspace/Workspace.h"

#include <QCoreApplication>

PLAppServices makeApplicationServices()
{
    PLAppServices services;
    services.CheckPDF = [](const QString& path) { return CheckPDF(path); };
    services.checkAddedFiles = [](const QString& path) { return checkAddedFiles(path); };
    services.ConvertJPEGToPDF = [](const QString& jpeg, QString* pdf) { return ConvertJPEGToPDF(jpeg, pdf); };
    services.divideMultiPagePDF = [](const QString& pdf, bool* success) { return divideMultiPagePDF(pdf, success); };
    services.LaunchOCRApplication = [] { return LaunchOCRApplication(); };
    services.QuitOCRApplication = [] { QuitOCRApplication(); };
    // Linked applications are not part of this build: a linkage list is not installed.
    services.installExtAppLnkConfigFile = [](const QString&) { return std::optional<QString>(); };
    services.initDB = [] { PLDatabaseCommands::initDB(); };
    services.terminate = [] {
        Scheduler::shared().performAfterDelay(nullptr, QStringLiteral("terminate:"), 0, [] { QCoreApplication::quit(); });
    };
    services.openApplication = [](const QString& program) { return Workspace::shared().launchApplication(program); };
    return services;
}
