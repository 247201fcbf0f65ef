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
    const ManagedObjectList selected = _acWndCard->selectedObjects();
    if (selected.isEmpty() || hasAttachedSheet())
        return;
    QStringList fields;
    for (const ManagedObjectPtr& card : selected)
        fields.append(card->stringValue(QStringLiteral("e_Mail")));
    // The item may have been enabled for text edited since: no address left is said, as is a
    // desktop without a mail program.
    const QUrl url = CardUrls::mailUrl(fields);
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
