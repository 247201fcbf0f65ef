#include "platform/appkit/dialogs/DialogServices.h"

#include "platform/appkit/dialogs/DialogMessagePresenter.h"
#include "platform/appkit/dialogs/DialogPanelService.h"
#include "platform/appkit/dialogs/DialogPrintService.h"

void installDialogServices()
{
    static DialogMessagePresenter presenter;
    static DialogPanelService panels;
    static DialogPrintService printing;
    MessagePresenter::setApplicationPresenter(&presenter);
    PanelService::setApplicationService(&panels);
    PrintService::setApplicationService(&printing);
}
