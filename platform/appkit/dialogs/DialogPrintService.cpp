#include "platform/appkit/dialogs/DialogPrintService.h"

#include "platform/appkit/dialogs/ModalDialog.h"

#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrinter>

bool DialogPrintService::runPageLayout(WindowHandle window, QPageLayout* layout)
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
    // At the printer's own resolution: a printer at the screen's would draw pictures coarser
    // than they were scanned.
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageLayout(request.pageLayout);
    QPrintDialog dialog(&printer, sheetWindow(request.window));
    dialog.setWindowModality(sheetWindow(request.window) ? Qt::WindowModal : Qt::ApplicationModal);
    if (execModal(dialog) != QDialog::Accepted)
        return false;
    return request.drawPages && request.drawPages(printer);
}
