#include "platform/appkit/PrintService.h"

#include "platform/appkit/ModalScope.h"

#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrinter>

namespace {

PrintService* g_service = nullptr;

QWidget* sheetWindow(QWidget* window)
{
    return window && window->isVisible() ? window : nullptr;
}

} // namespace

PrintService& PrintService::current()
{
    static DialogPrintService dialogs;
    return g_service ? *g_service : dialogs;
}

void PrintService::setCurrent(PrintService* service)
{
    g_service = service;
}

bool DialogPrintService::runPageLayout(QWidget* window, QPageLayout* layout)
{
    QPrinter printer;
    printer.setPageLayout(*layout);
    QPageSetupDialog dialog(&printer, sheetWindow(window));
    dialog.setWindowModality(sheetWindow(window) ? Qt::WindowModal : Qt::ApplicationModal);
    if (execModal(dialog) != QDialog::Accepted)
        return false;
    *layout = printer.pageLayout();
    return true;
}

bool DialogPrintService::runPrint(const PrintRequest& request)
{
    QPrinter printer;
    printer.setPageLayout(request.pageLayout);
    QPrintDialog dialog(&printer, sheetWindow(request.window));
    dialog.setWindowModality(sheetWindow(request.window) ? Qt::WindowModal : Qt::ApplicationModal);
    if (execModal(dialog) != QDialog::Accepted)
        return false;
    return request.drawPages && request.drawPages(printer);
}
