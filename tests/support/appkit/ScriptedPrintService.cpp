#include "tests/support/appkit/ScriptedPrintService.h"

#include "platform/appkit/ModalScope.h"

#include <QPrinter>

ScriptedPrintService::ScriptedPrintService()
{
    PrintService::setCurrent(this);
}

ScriptedPrintService::~ScriptedPrintService()
{
    PrintService::setCurrent(nullptr);
}

bool ScriptedPrintService::runPageLayout(WindowHandle, QPageLayout* layout)
{
    ModalScope scope;
    if (!pageLayoutAnswer)
        return false;
    *layout = *pageLayoutAnswer;
    return true;
}

bool ScriptedPrintService::runPrint(const PrintRequest& request)
{
    ModalScope scope;
    ++printRuns;
    if (outputPdf.isEmpty())
        return false;
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(outputPdf);
    printer.setPageLayout(request.pageLayout);
    return request.drawPages && request.drawPages(printer);
}
