// The merges, their undo, the page turn and the preferences of the merge window's model.
#include "app/images/PLMergeModel.h"

#include "app/core/DiskUtilities.h"
#include "app/core/PLChecker.h"
#include "app/images/CardImageFiles.h"
#include "app/images/CardPdfDecoding.h"
#include "app/images/ManagedCardRecord.h"
#include "app/images/PLMergeHost.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/PreferenceDomain.h"
#include "platform/store/ManagedObjectContext.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTransform>

namespace {

const QString kCardID = QStringLiteral("cardID");
const QString kBackFile = QStringLiteral("back_Image_File");
const QString kDeletedFlag = QStringLiteral("deletedFlag");

// A back page file the card does not reference is left from a merge that was never saved.
void removeStaleBackFile(const QString& imagesFolder, const ManagedObject& card)
{
    if (!PLChecker::isBlank(card.stringValue(kBackFile)))
        return;
    const QString stale = QDir(imagesFolder).filePath(card.stringValue(kCardID) + QLatin1String(kBackSuffix));
    const QFileInfo info(stale);
    if (info.isFile() && !info.isSymLink() && QFile::remove(stale))
        PLNSLog(QStringLiteral("[merge] stale back page removed: %@"), stale);
}

} // namespace

bool PLMergeModel::merge()
{
    const PLMergeInfoPtr face = previewCandidate(1), back = previewCandidate(2);
    if (!face || !back)
        return false;
    if (face->cardId() == back->cardId()) {
        PLNSLog(QStringLiteral("cardId is equal"));
        return false;
    }
    if (checkDatabaseFolder() != 0) {
        showError(48);
        return false;
    }
    const uint64_t backSize = uint64_t(std::max<qint64>(QFileInfo(back->pdfFilePath()).size(), 0));
    if (checkFreeSpace(databasePath(), backSize + g_lDiskSize) != 0) {
        showError(11);
        return false;
    }
    const auto mergeFailure = [&](int code) {
        PLNSLog(QStringLiteral("Merge pdf page Failure! [error code: %d, %s, %s"), code,
                back->pdfFilePath().toUtf8().constData(), face->pdfFilePath().toUtf8().constData());
        showError(103);
        return false;
    };
    const ManagedObjectPtr faceCard = fetchOne(face->cardId());
    if (!faceCard)
        return mergeFailure(-1);
    // The back card is checked before anything changes, so a merge is never left without its undo.
    ManagedObjectPtr backCard;
    if (_isDeleteBackImage) {
        backCard = fetchOne(back->cardId());
        if (!backCard || backCard->value(kDeletedFlag).toLongLong() != 0) {
            PLNSLog(QStringLiteral("[merge] can't find the record to be removed!"));
            showError(114);
            return false;
        }
    }
    removeStaleBackFile(imagesFolder(), *faceCard);
    ManagedCardRecord faceRecord(faceCard.get());
    const int added = AddBackImageInfo(databasePath(), back->pdfFilePath(), &faceRecord);
    if (added != 0)
        return mergeFailure(added);
    markSelectedFlags(face, &_isSelectedCardBeMerged, true);

    if (backCard) {
        backCard->setValue(kDeletedFlag, 1);
        if (m_host->setFolderNameWhenRemoving(back->cardId()) != 0)
            PLNSLog(QStringLiteral("Failed to set folderName."));
        m_host->updateOneRecord(backCard);
        markSelectedFlags(back, &_isDataSelectionBeChanged, true);
    }
    m_host->saveAction();

    m_undoRecords.append(MergeUndoRecord{face, back, m_pageInfo});
    clearPreview(1, false);
    clearPreview(2, false);
    face->setIsMerged(true);
    back->setIsMerged(true);
    updateCandidateCardsDisplay(nullptr);
    return true;
}

bool PLMergeModel::doCheckBeforeCancel()
{
    if (m_undoRecords.isEmpty() || !m_undoRecords.last().isComplete())
        return false;
    if (checkDatabaseFolder() != 0) {
        showError(48);
        return false;
    }
    if (checkFreeSpace(databasePath(), g_lDiskSize) != 0) {
        PLNSLog(QStringLiteral("[cancel]checkDiskSize error."));
        showError(11);
        return false;
    }
    return true;
}

bool PLMergeModel::cancelMerge()
{
    if (m_undoRecords.isEmpty() || !m_undoRecords.last().isComplete())
        return false;
    const MergeUndoRecord record = m_undoRecords.last();
    const PLMergeInfoPtr face = record.face, back = record.back;
    markSelectedFlags(face, &_isSelectedCardBeMerged, false);

    // A failed step keeps the record, so the undo can be tried again; a back page already
    // removed by an earlier try counts as done.
    const ManagedObjectPtr faceCard = fetchOne(face->cardId());
    int removed = faceCard ? 0 : -1;
    if (faceCard && !PLChecker::isBlank(faceCard->stringValue(kBackFile))) {
        ManagedCardRecord faceRecord(faceCard.get());
        removed = DelBackImageInfo(databasePath(), &faceRecord);
    }
    if (removed != 0) {
        PLNSLog(QStringLiteral("[cancel]RemovePDFPage error.[error code: %d]"), removed);
        showError(112);
        return false;
    }
    if (_isDeleteBackImage) {
        const int recovered = recoverFromTrash(back);
        if (recovered != 0) {
            m_host->saveAction();
            PLNSLog(QStringLiteral("[cancel]recoverFromTrash error.[error code: %d]"), recovered);
            PLNSLog(QStringLiteral("[cancel] the back page of %@ was removed; %@ is still in the trash."),
                    face->cardId(), back->cardId());
            showError(recovered);
            return false;
        }
    }
    m_host->saveAction();

    face->setIsMerged(false);
    back->setIsMerged(false);
    m_pageInfo = *record.pageInfo;
    for (uint32_t kind : {1u, 2u})
        if (previewCandidate(kind))
            clearPreview(kind, true);
    for (const auto& [candidate, kind] : {std::pair{face, 1u}, std::pair{back, 2u}}) {
        const QImage bitmap = loadImageRepWith(candidate->pdfFilePath());
        if (bitmap.isNull()) {
            candidate->resetMergeInfo();
            continue;
        }
        candidate->setPreviewFlag(kind);
        m_preview[kind - 1] = candidate;
        m_previewBitmap[kind - 1] = bitmap;
    }
    updateCandidateCardsDisplay(face);
    m_undoRecords.removeLast();
    return true;
}

int PLMergeModel::recoverFromTrash(const PLMergeInfoPtr& candidate)
{
    if (!candidate)
        return 0;
    const ManagedObjectPtr card = fetchOne(candidate->cardId());
    if (!card) {
        PLNSLog(QStringLiteral("[cancel] can't find the record !"));
        return 112;
    }
    if (card->value(kDeletedFlag).toLongLong() == 1) {
        card->setValue(kDeletedFlag, 0);
        m_host->updateOneRecord(card);
    }
    return 0;
}

int PLMergeModel::rotate(const PLMergeInfoPtr& candidate)
{
    if (!candidate || candidate->pdfFilePath().isEmpty())
        return 0;
    if (checkDatabaseFolder() != 0) {
        showError(48);
        return 48;
    }
    if (checkFreeSpace(databasePath(), g_lDiskSize) != 0) {
        showError(11);
        return 11;
    }
    markSelectedFlags(candidate, &_isSelectedCardBeRotated, true);
    if (RotatePDFPage(candidate->pdfFilePath(), 0, 90) != 0) {
        showError(82);
        return 82;
    }
    if (const ManagedObjectPtr card = fetchOne(candidate->cardId())) {
        m_host->cleanRecordRect(card);
        if (card->context())
            card->context()->refreshObject(card, true);
        m_host->saveAction();
    }
    return 0;
}

QImage PLMergeModel::loadImageRepWith(const QString& path)
{
    if (path.isEmpty())
        return QImage();
    CardBitmap first;
    if (AcquireCardImageFromPDF(path, &first, nullptr) != 0 || first.image.isNull())
        return QImage();
    if (first.info.rotation == 0)
        return first.image;
    return first.image.transformed(QTransform().rotate(first.info.rotation));
}

void PLMergeModel::readPreferences(float sliderMinimum, float sliderMaximum)
{
    PreferenceDomain& prefs = PreferenceDomain::standard();
    const PlistValue deleteBack = prefs.value(mergepref::kDeleteBackImage);
    _isDeleteBackImage = deleteBack.isNumber() ? deleteBack.toBool() : true;
    const PlistValue scale = prefs.value(mergepref::kScaleFactor);
    const double factor = scale.isNumber() ? scale.toReal() : double(sliderMinimum);
    _scaleFactor = factor >= sliderMinimum && factor <= sliderMaximum ? float(factor) : sliderMinimum;
}

bool PLMergeModel::savePreferences(bool stopAutoRun)
{
    PreferenceDomain& prefs = PreferenceDomain::standard();
    prefs.setValue(mergepref::kScaleFactor, double(_scaleFactor));
    if (m_isFromScanData && stopAutoRun)
        prefs.setValue(mergepref::kAutoRunMerge, false);
    if (!prefs.synchronize()) {
        PLNSLog(QStringLiteral("Save preference failure!"));
        return false;
    }
    return true;
}
