// The application's printing: Qt's page setup and print dialogs. The programs with windows
// install it at start-up (installDialogServices).
#pragma once

#include "platform/appkit/PrintService.h"

class DialogPrintService : public PrintService {
public:
    bool runPageLayout(WindowHandle window, QPageLayout* layout) override;
    bool runPrint(const PrintRequest& request) override;
};
