// Recognising the selected cards again, in the language the recognise bar shows, or only the
// box drawn on the image when there is one; and the choice of the language.
#include "app/ui/PLMainWindowController.h"

#include "app/core/LocalString.h"
#include "app/core/PLMessage.h"
#include "app/ui/PLImageController.h"
#include "app/ui/logic/PLArrayController.h"
#include "app/ui/logic/ToolbarItems.h"
#include "platform/foundation/FlagGuard.h"

void PLMainWindowController::recognize()
{
    const bool isRect = _imageController->getRedBoxState();
    const QRectF box = _imageController->getRecognizeBox();
    endFolderNameEditing();
    // A shortcut or the bar can fire while the item's enabling is stale.
    if (!validateMenuItem(QStringLiteral("recognize")))
        return;
    if (PLMessage::ShowPLInfoMessageBySheet(m_window.get(), QStringLiteral("IDS_MSG_IS_RECOG"), 2, 3, QString()) != 1)
        return;
    if (!passesFolderGuard())
        return;
    int result = 0;
    {
        FlagGuard processing(_bProcessing);
        const bool sheet = RunIndicator(QStringLiteral("Pelmora"), getLocalString(QStringLiteral("IDS_INDICATOR_OCR")));
        const ManagedObjectList selected = _acWndCard->selectedObjects();
        result = _regController.recongnizeCard(box, &selected, isRect, 1, _iRecognizeButtonState);
        if (sheet)
            StopIndicator();
    }
    // The recognised fields are stored at once, as every other edit is.
    saveAction();
    _imageController->setCardData(getSeleteRecords(), PLImageController::kModeClearBoxes);
    if (result != 0)
        PLMessage::ShowPLErrorMessageBySheet(m_window.get(), result, _regController.missingLanguagePackage());
}

void PLMainWindowController::recognizeInEnglish()
{
    if (validateMenuItem(QStringLiteral("recognizeInEnglish")))
        applyRecognizeRow(PLRegController::kLanguageEnglish, QString::fromLatin1(ToolbarItems::language(PLRegController::kLanguageEnglish).languageTextKey));
}

void PLMainWindowController::recognizeInJapanese()
{
    if (validateMenuItem(QStringLiteral("recognizeInJapanese")))
        applyRecognizeRow(PLRegController::kLanguageJapanese, QString::fromLatin1(ToolbarItems::language(PLRegController::kLanguageJapanese).languageTextKey));
}
