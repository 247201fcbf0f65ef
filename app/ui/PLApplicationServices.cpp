#include "app/ui/PLApplicationServices.h"

#include "app/core/PLDatabaseCommands.h"
#include "app/images/ArrivingFiles.h"
#include "app/images/CardPdfCheck.h"
#include "app/images/OcrApplicationLink.h"
#include "app/linkage/PLExtAppController.h"
#include "platform/appkit/Scheduler.h"
#include "platform/workspace/Workspace.h"

#include <QCoreApplication>

PLAppServices makeApplicationServices()
{
    PLAppServices services;
    services.CheckPDF = [](const QString& path) { return CheckPDF(path); };
    services.checkAddedFiles = [](const QString& path) { return checkAddedFiles(path); };
    services.forgetCheckedFiles = [] { forgetCheckedFiles(); };
    services.ConvertJPEGToPDF = [](const QString& jpeg, QString* pdf) { return ConvertJPEGToPDF(jpeg, pdf); };
    services.divideMultiPagePDF = [](const QString& pdf, bool* success) { return divideMultiPagePDF(pdf, success); };
    services.LaunchOCRApplication = [] { return LaunchOCRApplication(); };
    services.QuitOCRApplication = [] { QuitOCRApplication(); };
    services.installExtAppLnkConfigFile = [](const QString& path, QString* refusal) {
        const QString installed = PLExtAppController::installExtAppLnkConfigFile(path, refusal);
        return installed.isEmpty() ? std::nullopt : std::optional<QString>(installed);
    };
    services.initDB = [] { return PLDatabaseCommands::initDB(); };
    services.terminate = [] {
        Scheduler::shared().performAfterDelay(nullptr, QStringLiteral("terminate:"), 0, [] { QCoreApplication::quit(); });
    };
    services.openApplication = [](const QString& program) { return Workspace::shared().launchApplication(program); };
    return services;
}
