#include "platform/appkit/PrintService.h"

namespace {

PrintService* g_current = nullptr;
PrintService* g_application = nullptr;

// For a program without windows: every panel is cancelled and nothing is printed.
class NoPrinting : public PrintService {
public:
    bool runPageLayout(WindowHandle, QPageLayout*) override { return false; }
    bool runPrint(const PrintRequest&) override { return false; }
};

} // namespace

PrintService& PrintService::current()
{
    static NoPrinting none;
    return g_current ? *g_current : g_application ? *g_application : none;
}

void PrintService::setCurrent(PrintService* service)
{
    g_current = service;
}

void PrintService::setApplicationService(PrintService* service)
{
    g_application = service;
}
