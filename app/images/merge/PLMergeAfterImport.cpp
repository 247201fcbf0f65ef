#include "app/images/merge/PLMergeAfterImport.h"

#include "app/core/DatabaseFolder.h"
#include "app/images/PLMergeHost.h"
#include "app/images/merge/PLCardMergerWindowController.h"
#include "platform/appkit/dialogs/ModalDialog.h"
#include "platform/foundation/PreferenceDomain.h"

bool isAutoRunMergeCardFunc()
{
    PreferenceDomain& prefs = PreferenceDomain::standard();
    const PlistValue autoRun = prefs.value(mergepref::kAutoRunMerge);
    if (autoRun.isNumber())
        return autoRun.toBool();
    const PlistValue general = prefs.value(mergepref::kGeneralDisplay);
    return general.isNumber() ? general.toBool() : true;
}

bool shouldRunMergeAfterImport(bool mainWindowVisibleOrMiniaturized, qsizetype newCardCount, bool autoRun,
                               int dbAttributes)
{
    return mainWindowVisibleOrMiniaturized && newCardCount >= 2 && autoRun && dbAttributes == 0;
}

MergeAfterImportResult runMergeAfterImport(PLMergeHost& host, const ManagedObjectList& newCards,
                                           const std::function<int(const QString&)>& checkAttributes)
{
    MergeAfterImportResult result;
    if (!host.isMainWindowVisibleOrMiniaturized() || newCards.size() < 2 || !isAutoRunMergeCardFunc())
        return result;
    const QString path = host.currentDatabasePath();
    if (!shouldRunMergeAfterImport(true, newCards.size(), true, checkAttributes ? checkAttributes(path) : checkDBAttributes(path)))
        return result;
    PLCardMergerWindowController controller(windowWidget(host.mainWindow()));
    controller.setMainWinController(&host);
    if (checkAttributes)
        controller.model().services().checkDBAttributes = checkAttributes;
    controller.showModalWindow(PLMergeModel::kModeNewCards, newCards);
    result.ran = true;
    result.selectedCardChanged = controller.isSelectedCardBeChanged();
    return result;
}
