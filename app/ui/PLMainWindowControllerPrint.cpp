// Printing the selected cards (front and back side by side, three cards to a sheet) and the page
// set-up kept for the window's next print.
#include "app/ui/PLMainWindowController.h"

#include "app/core/DatabaseFolder.h"
#include "app/core/Globals.h"
#include "app/core/OpenDatabase.h"
#include "app/core/PLMessage.h"
#include "app/core/PLNetDBLockController.h"
#include "app/images/CardImageFiles.h"
#include "app/images/PLImageCreator.h"
#include "app/ui/PLPrintView.h"
#include "platform/appkit/PrintService.h"
#include "platform/foundation/Log.h"

#include <QDir>
#include <QFileInfo>
#include <QPrinter>

QPageLayout& PLMainWindowController::printInfo()
{
    // The system's default paper until the user sets one up.
    if (!_printInfo.isValid())
        _printInfo = QPrinter().pageLayout();
    return _printInfo;
}

void PLMainWindowController::print()
{
    endFolderNameEditing();
    if (!validateMenuItem(QStringLiteral("print")))
        return;
    // A locked or read-only database can be printed; a missing or unreadable one cannot.
    const int folder = checkDBAttributes(m_database.folder());
    if (folder == kDBAttributesMissing || folder == kDBAttributesUnreadable) {
        if (!PLNetDBLockController::ShowErrorMessageAlertSheetByPathType(m_window.get()))
            PLMessage::ShowPLErrorMessageBySheet(m_window.get(), 48);
        return;
    }
    const bool readOnly = PLNetDBLockController::dbOpenMode() == PLNetDBLockController::kOpenModeReadOnly;
    const QDir images(cardImagesFolder(readOnly ? g_strCurReadOnlyDBPath : m_database.folder()));
    QVariantList entries;
    for (const CardDict& card : getSeleteRecords()) {
        const QString face = card.value(QStringLiteral("face_Image_File")).toString();
        if (face.trimmed().isEmpty())
            continue;
        const QString facePath = images.filePath(face);
        if (!QFileInfo::exists(facePath) && PLImageCreator::writeCardImage(m_database.folder(), card) != 0) {
            PLNSLog(QStringLiteral("Image Create failed. %@"), facePath);
            continue;
        }
        QVariantMap entry{{QString::fromLatin1(kPrintPdfPathFace), facePath}};
        const QString back = card.value(QStringLiteral("back_Image_File")).toString();
        if (!back.trimmed().isEmpty()) {
            const QString backPath = images.filePath(back);
            entry.insert(QString::fromLatin1(kPrintPdfPathBack), QFileInfo::exists(backPath) ? backPath : QString());
        }
        entries.append(entry);
    }
    if (entries.isEmpty())
        return;
    auto view = std::make_shared<PLPrintView>(QRectF(0, 0, 100, 100));
    view->setPaperSize(printInfo().fullRectPoints().size());
    view->setCenter(true);
    view->setVCount(2);
    view->setHCount(3);
    view->setAutoScale(false);
    view->setPrintNum(false);
    if (!view->setFiles(entries))
        return;
    PrintRequest request;
    request.window = m_window.get();
    request.pageLayout = printInfo();
    request.drawPages = [view](QPrinter& printer) { return view->drawSheets(printer); };
    PrintService::current().runPrint(request);
}

void PLMainWindowController::printPagesSetting()
{
    endFolderNameEditing();
    if (hasAttachedSheet())
        return;
    PrintService::current().runPageLayout(m_window.get(), &printInfo());
}
