// The one way the application prints: the page layout panel and the print panel, each a sheet of
// a visible window, run inside a ModalScope. The caller draws its pages onto the printer the
// user chose; the print settings (paper, orientation) are kept between runs in `PrintInfo`.
//
// The programs with windows install the dialog service (platform/appkit/dialogs) at start-up;
// tests replace it with a scripted one (tests/support/appkit) through setCurrent.
#pragma once

#include "platform/appkit/WindowHandle.h"

#include <QPageLayout>

#include <functional>

class QPrinter;

struct PrintRequest {
    WindowHandle window;                      // the sheet's window; null or hidden: application-modal
    QPageLayout pageLayout;                   // the paper, orientation and margins to start from
    std::function<bool(QPrinter&)> drawPages; // draws every page; false when it could not
};

class PrintService {
public:
    virtual ~PrintService() = default;

    // Lets the user change `layout`; false when cancelled (the layout is then unchanged).
    virtual bool runPageLayout(WindowHandle window, QPageLayout* layout) = 0;
    // Runs the print panel and, when the user prints, draws the pages; false when cancelled or
    // when the pages could not be drawn.
    virtual bool runPrint(const PrintRequest& request) = 0;

    // The service a test installed, else the application's; with neither, every panel is
    // cancelled.
    static PrintService& current();
    // Installs `service` (not owned); null returns to the application's service.
    static void setCurrent(PrintService* service);
    // The application's service (not owned), installed once at start-up.
    static void setApplicationService(PrintService* service);
};
