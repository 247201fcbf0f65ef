// The page operations on the selected card's image files: turning the shown page, swapping front
// and back, removing the back, and the merge window that adds backs to cards.
#include "app/ui/PLMainWindowController.h"

#include "app/core/DatabaseFolder.h"
#include "app/core/DiskUtilities.h"
#include "app/core/Globals.h"
#include "app/core/OpenDatabase.h"
#include "app/core/PLMessage.h"
#include "app/core/PLNetDBLockController.h"
#include "app/images/CardImageFiles.h"
#include "app/images/ManagedCardRecord.h"
#include "app/images/merge/PLCardMergerWindowController.h"
#include "app/ui/MainWindowMergeHost.h"
#include "app/ui/PLImageController.h"
#include "app/ui/logic/PLArrayController.h"

#include <QDir>
#include <QFileInfo>

namespace {

bool isBlank(const QString& text)
{
    return text.trimmed().isEmpty();
}

QString imageFilePath(const QString& databaseFolder, const QString& name)
{
    return QDir(cardImagesFolder(databaseFolder)).filePath(name);
}

} // namespace

bool PLMainWindowController::passesFolderGuard()
{
    if (checkDBAttributes(m_database.folder()) == kDBAttributesOK)
        return true;
    if (!PLNetDBLockController::ShowErrorMessageAlertSheetByPathType(m_window.get()))
        PLMessage::ShowPLErrorMessageBySheet(m_window.get(), 48);
    return false;
}

bool PLMainWindowController::passesSpaceGuard(const QString& path, uint64_t size)
{
    if (checkDiskSize(path, size + g_lDiskSize) == 0)
        return true;
    PLMessage::ShowPLErrorMessageBySheet(m_window.get(), 11);
    return false;
}

void PLMainWindowController::pageOperationDone(const ManagedObjectPtr& card, int paneMode)
{
    if (card)
        m_mergeHost->cleanRecordRect(card);
    saveAction();
    _imageController->setCardData(getSeleteRecords(), paneMode);
}

void PLMainWindowController::onRotateBar()
{
    endFolderNameEditing();
    // A shortcut or toolbar click can come while the item's enabling is stale.
    if (!validateMenuItem(QStringLiteral("onRotateBar")) || !passesFolderGuard())
        return;
    const ManagedObjectList selected = _acWndCard->selectedObjects();
    if (selected.isEmpty())
        return;
    const ManagedObjectPtr card = selected.first();
    const bool otherPage = _imageController->getCurrentDisplayPage() != 1;
    const QString back = card->stringValue(QStringLiteral("back_Image_File"));
    // The shown back is its own file, or the second page of an older two-page front file.
    const bool backIsPageOfFront = otherPage && isBlank(back);
    const QString path = imageFilePath(m_database.folder(), otherPage && !isBlank(back) ? back : card->stringValue(QStringLiteral("face_Image_File")));
    if (QFileInfo(path).isDir() || !passesSpaceGuard(path))
        return;
    const int pages = GetPDFPageCount(path);
    if (pages < 1)
        return;
    ManagedCardRecord record(card.get());
    const int pageIndex = backIsPageOfFront ? 1 : 0;
    const int result = pages >= 2 ? RotateMultiPageCard(path, &record, pageIndex) : RotatePDFPage(path, pageIndex, 90);
    // A failed turn leaves the card and the pane as they were, without a message.
    if (result == 0)
        pageOperationDone(card, PLImageController::kModeRedisplay);
}

void PLMainWindowController::onSwapBar()
{
    endFolderNameEditing();
    if (!validateMenuItem(QStringLiteral("onSwapBar")) || !passesFolderGuard())
        return;
    const ManagedObjectList selected = _acWndCard->selectedObjects();
    if (selected.isEmpty() || !passesSpaceGuard(cardImagesFolder(m_database.folder())))
        return;
    const ManagedObjectPtr card = selected.first();
    ManagedCardRecord record(card.get());
    int result = -1;
    if (!isBlank(card->stringValue(QStringLiteral("back_Image_File")))) {
        result = ReverseCard(m_database.folder(), &record);
    } else {
        const QString face = card->stringValue(QStringLiteral("face_Image_File"));
        if (!isBlank(face) && QFileInfo::exists(imageFilePath(m_database.folder(), face)))
            result = ReverseMultiPageCard(m_database.folder(), &record);
    }
    if (result == 0)
        pageOperationDone(card, PLImageController::kModeNewImages);
}

void PLMainWindowController::onRemoveBar()
{
    endFolderNameEditing();
    if (!validateMenuItem(QStringLiteral("onRemoveBar")) || !passesFolderGuard())
        return;
    const auto failed = [this] {
        if (!PLNetDBLockController::ShowErrorMessageAlertSheetByPathType(m_window.get()))
            PLMessage::ShowPLErrorMessageBySheet(m_window.get(), 104);
    };
    const ManagedObjectList selected = _acWndCard->selectedObjects();
    const ManagedObjectPtr card = selected.size() == 1 ? selected.first() : nullptr;
    const QString face = card ? card->stringValue(QStringLiteral("face_Image_File")) : QString();
    const QString facePath = imageFilePath(m_database.folder(), face);
    if (!card || isBlank(face) || QFileInfo(facePath).isDir()) {
        failed();
        return;
    }
    if (!passesSpaceGuard(facePath))
        return;
    if (PLMessage::ShowPLInfoMessageBySheet(m_window.get(), QStringLiteral("IDS_MSG_IS_DELETEIMAGE"), 2, 3, QString()) != 1)
        return;
    // The question may have stood open a long while: the folder and the volume are looked at again.
    if (!passesFolderGuard() || !passesSpaceGuard(facePath))
        return;
    ManagedCardRecord record(card.get());
    const int result = isBlank(card->stringValue(QStringLiteral("back_Image_File"))) ? RemovePDFPage(facePath, 1)
                                                                                   : DelBackImageInfo(m_database.folder(), &record);
    if (result != 0) {
        failed();
        return;
    }
    saveAction();
    _imageController->setCardData(getSeleteRecords(), PLImageController::kModeBackRemoved);
}

void PLMainWindowController::onMergeBar()
{
    if (!passesFolderGuard())
        return;
    endFolderNameEditing();
    if (!validateMenuItem(QStringLiteral("onMergeBar")))
        return;
    PLCardMergerWindowController controller(m_window.get());
    controller.setMainWinController(m_mergeHost.get());
    controller.showModalWindow(PLMergeModel::kModeSearch, {});
    if (controller.isSelectedCardBeChanged())
        _imageController->setCardData(getSeleteRecords(), PLImageController::kModeReload);
}
