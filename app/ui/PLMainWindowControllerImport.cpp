// The import of card files as new cards: one Card and one CardBelong per card page, the page
// copied into the database, recognition, the staging clean-up, the photo hand-off, the save and
// the selection.
#include "app/ui/PLMainWindowController.h"

#include "app/core/CardEntities.h"
#include "app/core/CardFolder.h"
#include "app/core/DatabaseFolder.h"
#include "app/core/Globals.h"
#include "app/core/Identifiers.h"
#include "app/core/LocalString.h"
#include "app/core/OpenDatabase.h"
#include "app/core/PLAppController.h"
#include "app/core/PLChecker.h"
#include "app/core/PLMessage.h"
#include "app/export/PhotoAfterImport.h"
#include "app/images/ArrivingCardPreparation.h"
#include "app/images/CardDictionary.h"
#include "app/images/CardImageFiles.h"
#include "app/images/ManagedCardRecord.h"
#include "app/images/PLMergeModel.h"
#include "app/images/merge/PLMergeAfterImport.h"
#include "app/linkage/prefs/PLPreferences.h"
#include "app/ui/MainWindowMergeHost.h"
#include "app/ui/PLImageController.h"
#include "platform/foundation/CrashPoint.h"
#include "platform/foundation/FlagGuard.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/PathCompare.h"
#include "platform/foundation/PreferenceDomain.h"
#include "platform/foundation/TreeRemoval.h"
#include "platform/store/CardStoreModel.h"
#include "platform/store/ManagedObjectContext.h"

#include <QDateTime>
#include <QHash>

#include <future>

namespace {

// The database cannot be written (the store refused the save).
constexpr int kMsgCannotWriteDatabase = 48;

const char* const kSyncKeys[] = {"sync_Email", "sync_Phone_work", "sync_Phone_Mobile", "sync_URL", "sync_Street", "sync_Phone_Fax"};

bool isFilled(const ManagedObject& card, const char* key)
{
    return !card.stringValue(QString::fromLatin1(key)).isEmpty();
}

// Whether a recognised card names a person (or, without the sync rule, a company).
bool hasName(const ManagedObject& card)
{
    const bool person = isFilled(card, "first_Name") || isFilled(card, "middle_Name") || isFilled(card, "family_Name");
    return g_bSyncOSJudge ? person : person || isFilled(card, "company");
}

} // namespace

void PLMainWindowController::discardImportedCards(const ManagedObjectList& cards, const ManagedObjectList& belongs)
{
    const QString images = DatabaseLayout::imagesFolderPath(m_database.folder());
    for (const ManagedObjectPtr& card : cards) {
        for (const char* key : {"face_Image_File", "back_Image_File"}) {
            const QString name = card->stringValue(QString::fromLatin1(key));
            if (!name.isEmpty())
                removeTreeIn(images, name);
        }
        m_database.context()->deleteObject(card);
    }
    for (const ManagedObjectPtr& belong : belongs)
        m_database.context()->deleteObject(belong);
    // The selection a hidden import recorded names cards that are gone.
    for (const ManagedObjectPtr& object : m_database.context()->updatedObjects()) {
        if (object->entityName() == QLatin1String(CardStore::kEntityVersion))
            m_database.context()->refreshObject(object, false);
    }
}

void PLMainWindowController::dropCardsNotOnDisk(const QStringList& cardIDs, ManagedObjectList* cards,
                                                ManagedObjectList* belongs, const QHash<QString, QString>& sources,
                                                QStringList* importedPaths)
{
    ManagedObjectList droppedCards, droppedBelongs;
    for (qsizetype i = cards->size() - 1; i >= 0; --i) {
        const QString cardID = cards->at(i)->stringValue(QStringLiteral("cardID"));
        if (!cardIDs.contains(cardID))
            continue;
        PLNSLog(QStringLiteral("Failure to import Card Image File into Pelmora Database! Path:[%@]"), sources.value(cardID));
        if (importedPaths)
            importedPaths->removeAll(sources.value(cardID));
        droppedCards.append(cards->takeAt(i));
        droppedBelongs.append(belongs->takeAt(i));
    }
    discardImportedCards(droppedCards, droppedBelongs);
}

int PLMainWindowController::scanData(const QStringList& paths, int inputType, QStringList* importedPaths)
{
    FlagGuard processing(_bProcessing);
    ManagedObjectContext* context = managedObjectContext();
    if (!context || paths.isEmpty()) {
        PLMessage::ShowPLErrorMessageBySheet(window(), 3);
        return 3;
    }
    // A received folder whose "Images" is a link would take the new cards' images out of the
    // database: refused before anything is read, as the trash and the start-up sweep refuse it.
    if (!isLinkFreeInside(DatabaseLayout::imagesFolderPath(m_database.folder()), m_database.folder())) {
        PLNSLog(QStringLiteral("The Images folder of the database is a link: nothing was imported. Path:[%@]"), m_database.folder());
        PLMessage::ShowPLErrorMessageBySheet(window(), kMsgCannotWriteDatabase);
        return kMsgCannotWriteDatabase;
    }
    // Work below runs with the processing flag set: saveAction does nothing until the end.
    const bool indicator = (isWindowVisible() || isWindowMiniaturized())
        && RunIndicator(QStringLiteral("Pelmora"), getLocalString(QStringLiteral("IDS_INDICATOR_PDF_LOADING")));

    const std::optional<PLBelongFolder> dropFolder = inputType == kInputTypeDrop && m_appController ? m_appController->belongFolder() : std::nullopt;
    if (isWindowVisible() && !(dropFolder && dropFolder->folderType == kFolderTypeUser) && !openInbox())
        PLNSLog(QStringLiteral("Failed to jump to Inbox."));

    int status = 0;
    std::optional<QStringList> files;
    if (inputType == kInputTypeScanner)
        files = paths;
    else if (m_appController)
        files = m_appController->prepareInputFilesToAnalyze(paths);
    if (!files || files->isEmpty()) {
        PLNSLog(QStringLiteral("prepare file wrong"));
        files.reset();
    }

    ManagedObjectList cards;
    ManagedObjectList belongs;
    QList<CardDict> newCardDicts;
    CardFileBatch batch;
    QHash<QString, QString> sources; // card identifier -> the file it came from
    if (files) {
        QString inboxID;
        FetchRequest inboxRequest{QString::fromLatin1(CardStore::kEntityFolder), keyEquals(QStringLiteral("folder_Type"), kFolderTypeInbox), {}};
        const ManagedObjectList inbox = context->executeFetchRequest(inboxRequest);
        if (!inbox.isEmpty())
            inboxID = inbox.first()->stringValue(QStringLiteral("folder_ID"));
        const int storedType = inputType == kInputTypeFileManager ? kInputTypeDrop : inputType;

        // The files are read, checked and copied in on threads of their own, ahead of this loop.
        ArrivingCardPreparation prepared(*files, m_database.folder(), inputType);
        for (qsizetype i = 0; i < files->size(); ++i) {
            const QString& path = files->at(i);
            const ArrivingCardPreparation::Card arriving = prepared.take(i);
            if (arriving.outcome == ArrivingCardPreparation::Card::Outcome::NotACard) {
                PLNSLog(QStringLiteral("pdf file is error"));
                continue;
            }
            if (arriving.outcome != ArrivingCardPreparation::Card::Outcome::Imported) {
                // A card without its image is not kept, and its file stays where it was.
                PLNSLog(QStringLiteral("Failure to import Card Image File into Pelmora Database! Path:[%@]"), path);
                continue;
            }
            const QString& cardID = arriving.cardID;
            const ManagedObjectPtr card = context->insertNewObject(QString::fromLatin1(CardStore::kEntityCard));
            const ManagedObjectPtr belong = context->insertNewObject(QString::fromLatin1(CardStore::kEntityCardBelong));
            for (const char* key : kSyncKeys)
                card->setValue(QString::fromLatin1(key), getUUID());
            const QDateTime now = QDateTime::currentDateTimeUtc();
            card->setValue(QStringLiteral("input_Type"), storedType);
            if (arriving.creator)
                card->setValue(QStringLiteral("previous_Creator"), *arriving.creator);
            card->setValue(QStringLiteral("cardID"), cardID);
            card->setValue(QStringLiteral("scanNow"), 1);
            card->setValue(QStringLiteral("deletedFlag"), 0);
            card->setValue(QStringLiteral("register_Date"), now);
            card->setValue(QStringLiteral("accept_Date"), QDateTime::currentDateTimeUtc());
            card->setValue(QStringLiteral("flag1"), QStringLiteral("1"));

            ManagedCardRecord record(card.get());
            addImportedCardFiles(&batch, m_database.folder(), cardID, arriving.pages);
            recordImportedCardFiles(&record, cardID, arriving.pages);

            QString folderID = inboxID;
            if (dropFolder && dropFolder->folderType != kFolderTypeRoot) {
                folderID = dropFolder->folderID;
                openFolderWithFolderID(folderID);
            }
            assignCardFolder(*card, *belong, folderID);

            belong->setValue(QStringLiteral("cardID"), cardID);
            belong->setRelatedObject(QStringLiteral("ToCardRelation"), card);
            cards.append(card);
            belongs.append(belong);
            newCardDicts.append(setDataDictToDict(record));
            sources.insert(cardID, path);
            // Recognised while the next cards are imported; the results are written below.
            _regController.recognizeCardAhead(record, 0, _iRecognizeButtonState);
            crashPoint("import-card-copied");
            // A card keeps two pages: a file with more is not wholly in the database and stays.
            if (importedPaths && arriving.pages <= 2)
                importedPaths->append(path);
        }

        // The cards' files reach the disk together, before the store that names them is saved,
        // while the last cards are recognised (a page turned meanwhile is written durably anew).
        std::future<QStringList> durable = std::async(std::launch::async, [&batch] { return batch.makeDurable(); });
        if (!cards.isEmpty())
            status = _regController.recongnizeCard(QRectF(), &cards, false, 0, _iRecognizeButtonState);
        for (const ManagedObjectPtr& card : std::as_const(cards)) {
            if (hasName(*card))
                card->setValue(QStringLiteral("syncID"), getUUID());
        }
        const QStringList notOnDisk = durable.get();
        if (!notOnDisk.isEmpty()) {
            dropCardsNotOnDisk(notOnDisk, &cards, &belongs, sources, importedPaths);
            newCardDicts.removeIf(
                [&notOnDisk](const CardDict& dict) { return notOnDisk.contains(dict.value(QStringLiteral("cardID")).toString()); });
        }
        // A hidden window keeps the last card imported as its selection: recorded once, as only
        // the last card's stays.
        if (!isWindowVisible() && !isWindowMiniaturized() && !cards.isEmpty())
            recordSelection(inboxID, cards.last()->stringValue(QStringLiteral("cardID")));
    }

    if (m_appController)
        m_appController->cleanStagingFolder();
    if (indicator)
        StopIndicator();
    if (status != 0)
        PLMessage::ShowPLErrorMessageBySheet(window(), status, _regController.missingLanguagePackage());
    if (!files)
        return status;

    const PhotoHandOffResult photos = handOffImportedCards(newCardDicts, window());
    if (photos.status != 0)
        status = photos.status;
    if (photos.appType != 0) {
        for (const ManagedObjectPtr& card : std::as_const(cards))
            card->setValue(QStringLiteral("flag2"), sentFlagAfterHandOff(card->stringValue(QStringLiteral("flag2")), photos.appType));
    }

    _bIsSynchronous = false;
    _bProcessing = false;
    crashPoint("import-before-save");
    if (!saveChanges()) {
        // Nothing of this import reached the store: it is taken back and the scanner's files stay.
        discardImportedCards(cards, belongs);
        if (importedPaths)
            importedPaths->clear();
        PLMessage::ShowPLErrorMessageBySheet(window(), kMsgCannotWriteDatabase);
        return kMsgCannotWriteDatabase;
    }
    if (!cards.isEmpty()) {
        selectCards({cards.last()->stringValue(QStringLiteral("cardID"))});
        // A user who quit during the run is not kept by the merge window.
        const MergeAfterImportResult merge = m_quitAfterRun ? MergeAfterImportResult{} : runMergeAfterImport(*m_mergeHost, cards);
        if (merge.selectedCardChanged)
            _imageController->setCardData(getSeleteRecords(), PLImageController::kModeReload);
        // The merge window may have changed its preference: an open preferences window shows it.
        const PlistValue autoRun = PreferenceDomain::standard().value(mergepref::kAutoRunMerge);
        if (merge.ran && _preferencesController && autoRun.isNumber())
            _preferencesController->setIsCheckAutoRunMergeCardFunc(autoRun.toBool());
    }
    return status;
}
