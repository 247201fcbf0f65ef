// Linked applications: the linkage files tidied and the list saved at set-up, the Export menu's
// submenu and the toolbar's pull-down filled with the applications the user shows, and the
// selected cards handed to the chosen one.
#include "app/core/BundleImage.h"
#include "app/core/LocalString.h"
#include "app/linkage/PLExtAppController.h"
#include "app/ui/MainWindowUploadHost.h"
#include "app/ui/PLMainWindowController.h"
#include "app/ui/views/PLMenuItem.h"
#include "platform/foundation/Bundle.h"

#include <QFile>
#include <QMainWindow>
#include <QMenu>
#include <QToolButton>

void PLMainWindowController::prepareLinkedApplications()
{
    PLExtAppController::cleanOldCfgFileIfNewOneExists();
    PLExtAppController::cleanCfgFileIfAppUnInstalled();
    PLExtAppController* shared = PLExtAppController::sharedController();
    if (!shared)
        return;
    shared->setMainWindowController(m_uploadHost.get());
    shared->updateExtAppInfoFormList();
    shared->savePreferenceBy(shared->extAppInfoFormList());
}

void PLMainWindowController::updateExtAppLinkageMenu(QMenu* menu, const QList<PLExtAppInfoForm>& extAppFormList)
{
    if (!menu)
        return;
    // The pull-down's face is the button's own image, so both kinds of menu are emptied whole.
    for (QAction* item : menu->actions()) {
        menu->removeAction(item);
        if (item->parent() == menu)
            delete item;
    }
    const QString uploadTitle = getLocalString(QStringLiteral("IDS_MENU_ITEM_SALESFORCE"));
    for (const PLExtAppInfoForm& form : extAppFormList) {
        if (!form.isSelect)
            continue;
        auto* item = new PLMenuItem(form.appName.trimmed().isEmpty() ? QString() : form.appName, menu);
        item->setToolTip(form.appDescription.trimmed().isEmpty() ? QString() : form.appDescription);
        item->setMenuItemID(form.appID);
        item->setIcon(form.appIcon);
        const bool upload = form.appType == 3 && item->text() == uploadTitle;
        adoptMenuItem(item, upload ? QStringLiteral("onCloudConnect") : QStringLiteral("onExtAppListMenuItem"));
        if (upload) {
            item->setToolTip(getLocalString(QStringLiteral("IDS_SALESFORCE_MENUITEM_TOOLTIP")));
            connect(item, &QAction::triggered, this, &PLMainWindowController::onCloudConnect);
        } else {
            connect(item, &QAction::triggered, this, [this, item] { onExtAppListMenuItem(item->menuItemID()); });
        }
        menu->addAction(item);
    }
    if (menu == m_extAppMenu || menu == _cardListContextualMenuExtAppLinage)
        menu->menuAction()->setEnabled(!menu->isEmpty());
}

void PLMainWindowController::updateAllExtAppLinageMenu()
{
    PLExtAppController* shared = PLExtAppController::sharedController();
    const QList<PLExtAppInfoForm> forms = shared ? shared->extAppInfoFormList() : QList<PLExtAppInfoForm>();
    updateExtAppLinkageMenu(m_extAppMenu, forms);
    updateExtAppLinkageMenu(_cardListContextualMenuExtAppLinage, forms);
    updateExtApplistPopUpBtn();
}

void PLMainWindowController::updateExtApplistPopUpBtn()
{
    m_ui._popUpBtnApp->setIcon(bundleImage(QStringLiteral("application_Toolbar.png")));
    PLExtAppController* shared = PLExtAppController::sharedController();
    updateExtAppLinkageMenu(m_ui._popUpBtnApp->menu(), shared ? shared->extAppInfoFormList() : QList<PLExtAppInfoForm>());
    validateToolbarItems();
}

void PLMainWindowController::onExtAppListMenuItem(const QString& appID)
{
    endFolderNameEditing();
    // A shortcut can fire while the item's enabling is stale.
    if (!validateMenuItem(QStringLiteral("onExtAppListMenuItem")))
        return;
    PLExtAppController* shared = PLExtAppController::sharedController();
    if (!shared)
        return;
    shared->setMainWindowController(m_uploadHost.get());
    const int result = shared->launchExtApp(appID, getSeleteRecords());
    if (result != 0)
        shared->handleError(result, true, m_window.get(), QStringLiteral("IDS_MSG_OPERATION_LAUNCH_EXTAPP"));
}
