// Mail to the selected cards and the selected card's web page, opened by the desktop's handlers.
#include "app/ui/PLMainWindowController.h"

#include "app/core/PLMessage.h"
#include "app/ui/logic/CardUrls.h"
#include "app/ui/logic/PLArrayController.h"
#include "app/ui/logic/ToolbarItems.h"
#include "platform/workspace/Workspace.h"

void PLMainWindowController::onMail()
{
    endFolderNameEditing();
    // A shortcut or toolbar click can come while the item's enabling is stale.
    if (!validateMenuItem(QStringLiteral("onMail")))
        return;
    QStringList addresses;
    for (const ManagedObjectPtr& card : _acWndCard->selectedObjects())
        addresses.append(card->stringValue(QStringLiteral("e_Mail")));
    const QUrl url = CardUrls::mailUrl(addresses);
    if (url.isEmpty())
        return;
    if (!url.isValid() || !Workspace::shared().openUrl(url))
        PLMessage::ShowPLErrorMessageBySheet(m_window.get(), 45);
}

void PLMainWindowController::onExplorer()
{
    endFolderNameEditing();
    if (!validateMenuItem(QStringLiteral("onExplorer")))
        return;
    const QUrl url = CardUrls::webPageUrl(_acWndCard->selectedObjects().first()->stringValue(QStringLiteral("web_Page_Address")));
    if (!url.isValid() || !Workspace::shared().openUrl(url))
        PLMessage::ShowPLErrorMessageBySheet(m_window.get(), 45);
}
