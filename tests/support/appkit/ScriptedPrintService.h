// A print service for tests: the page layout panel answers as the test sets it, and printing
// draws the pages into a PDF file the test names (or is cancelled when none is named).
// It installs itself as the current service while it lives.
#pragma once

#include "platform/appkit/PrintService.h"

#include <QString>

#include <optional>

class ScriptedPrintService : public PrintService {
public:
    ScriptedPrintService();
    ~ScriptedPrintService() override;

    // The layout the page layout panel answers; unset: cancelled.
    std::optional<QPageLayout> pageLayoutAnswer;
    // Where printing writes its PDF; empty: the print panel is cancelled.
    QString outputPdf;
    int printRuns = 0;

    bool runPageLayout(WindowHandle window, QPageLayout* layout) override;
    bool runPrint(const PrintRequest& request) override;
};
