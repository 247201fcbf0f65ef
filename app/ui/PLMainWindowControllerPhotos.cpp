// The photo applications: which of them the window offers (the desktop entries the exporter
// hands the cards to), and handing the selected cards to one of them from the photo pull-down
// or the Export menu, each card's "flag2" recording where it went.
#include "app/ui/PLMainWindowController.h"

#include "app/core/Logging.h"
#include "platform/foundation/Log.h"
#include "app/core/PLMessage.h"
#include "app/core/PLNetDBLockController.h"
#include "app/export/PLExporter.h"
#include "app/export/PhotoAfterImport.h"
#include "app/export/PhotoApplications.h"
#include "app/ui/logic/PLArrayController.h"
#include "app/ui/logic/PhotoApplications.h"
#include "platform/foundation/PreferenceDomain.h"
#include "platform/store/ManagedObjectContext.h"

#include <QMainWindow>

void PLMainWindowController::detectPhotoApplications()
{
    using namespace PhotoApplications;
    PreferenceDomain& prefs = PreferenceDomain::standard();
    const PlistValue state = prefs.value(QString::fromLatin1(kStateKey));
    // One source of truth with the exporter: the desktop entries it would start.
    const Choice choice = detect(prefs.value(QString::fromLatin1(kAutoRegisterKey)).toBool(false), state.isNumber() ? int(state.toInteger()) : 0,
                                 isPhotoApplicationInstalled(PLExporter::kPhotoAppType2), isPhotoApplicationInstalled(PLExporter::kPhotoAppType1));
    _iPhotosInstuallInfo = choice.installed;
    prefs.setValue(QString::fromLatin1(kInstallInfoKey), choice.installed);
    prefs.setValue(QString::fromLatin1(kStateKey), choice.state);
    prefs.setValue(QString::fromLatin1(kAutoRegisterKey), choice.autoRegister);
}

void PLMainWindowController::exportiPhoto()
{
    exportToPhotoApplication(PLExporter::kPhotoAppType1);
}

void PLMainWindowController::exportPhotos()
{
    exportToPhotoApplication(PLExporter::kPhotoAppType2);
}

void PLMainWindowController::exportToPhotoApplication(int appType)
{
    const bool first = appType == PLExporter::kPhotoAppType1;
    endFolderNameEditing();
    // A shortcut or the pull-down can fire while the item's enabling is stale.
    if (!validateMenuItem(first ? QStringLiteral("exportiPhoto") : QStringLiteral("exportPhotos")) || !passesFolderGuard())
        return;
    const ManagedObjectList selected = _acWndCard->selectedObjects();
    if (selected.isEmpty())
        return;
    if (!isPhotoApplicationInstalled(appType)) {
        PLNSLog(first ? QStringLiteral("iPhoto not exist!") : QStringLiteral("Photos not exist!"));
        PLMessage::ShowPLErrorMessageBySheet(m_window.get(), first ? 47 : 244);
        return;
    }
    const int result = first ? PLExporter::ExportToiPhoto(getSeleteRecords()) : PLExporter::ExportToPhotos(getSeleteRecords());
    if (result == -50)
        return;
    if (result != 0) {
        PLprintf(first ? QStringLiteral("ExportToiPhoto failed:%d\n") : QStringLiteral("ExportToPhotos failed:%d\n"), result);
        if (!PLNetDBLockController::ShowErrorMessageAlertSheetByPathType(m_window.get()))
            PLMessage::ShowPLErrorMessageBySheet(m_window.get(), result);
        return;
    }
    for (const ManagedObjectPtr& card : selected) {
        const QString flag = card->stringValue(QStringLiteral("flag2"));
        const QString sent = sentFlagAfterHandOff(flag, appType);
        if (sent == flag)
            continue;
        card->setValue(QStringLiteral("flag2"), sent);
        managedObjectContext()->refreshObject(card, true);
    }
    performLater([this] { saveAction(); });
}
