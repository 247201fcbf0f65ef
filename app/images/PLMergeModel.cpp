#include "app/images/PLMergeModel.h"

#include "app/core/CardTrashFlag.h"
#include "app/core/DiskUtilities.h"
#include "app/core/PLChecker.h"
#include "app/core/PLMessage.h"
#include "app/core/PLNetDBLockController.h"
#include "app/images/CardImageFiles.h"
#include "app/images/CardPdfCheck.h"
#include "app/images/CardPdfDecoding.h"
#include "app/images/PLMergeHost.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/PathCompare.h"
#include "platform/foundation/PreferenceDomain.h"
#include "platform/store/CardStoreModel.h"
#include "platform/store/ManagedObjectContext.h"

#include <QDir>
#include <QFileInfo>
#include <QTransform>

#include <algorithm>
#include <cmath>

namespace {

const QString kCardID = QStringLiteral("cardID");
const QString kFaceFile = QStringLiteral("face_Image_File");
const QString kBackFile = QStringLiteral("back_Image_File");
const QString kDeletedFlag = QStringLiteral("deletedFlag");
const QString kAcceptDate = QStringLiteral("accept_Date");
const QString kFolderID = QStringLiteral("folder_ID");

void sortByAcceptDate(ManagedObjectList& cards)
{
    std::stable_sort(cards.begin(), cards.end(), [](const ManagedObjectPtr& a, const ManagedObjectPtr& b) {
        return compareValues(a->value(kAcceptDate), b->value(kAcceptDate)) < 0;
    });
}

} // namespace

PLMergeModel::PLMergeModel(PLMergeHost* host) : m_host(host)
{
    m_services.checkDiskSize = [](const QString& path, uint64_t needed) { return checkDiskSize(path, needed); };
    m_services.checkDBAttributes = [](const QString& path) { return checkDBAttributes(path); };
}

QString PLMergeModel::databasePath() const
{
    return m_host ? m_host->currentDatabasePath() : QString();
}

QString PLMergeModel::imagesFolder() const
{
    return cardImagesFolder(databasePath());
}

void PLMergeModel::showError(int messageId) const
{
    if (!PLNetDBLockController::ShowErrorMessageByPathType())
        PLMessage::ShowPLErrorMessageBySheet(m_messageWindow, messageId);
}

int PLMergeModel::checkDatabaseFolder() const
{
    return m_services.checkDBAttributes(databasePath());
}

int PLMergeModel::checkFreeSpace(const QString& path, uint64_t needed) const
{
    return m_services.checkDiskSize(path, needed);
}

// Candidates ------------------------------------------------------------------------------------

bool PLMergeModel::isCandidateCard(const ManagedObject& card, const QString& imagesFolder)
{
    const QString face = card.stringValue(kFaceFile);
    if (PLChecker::isBlank(face) || PLChecker::isBlank(card.stringValue(kCardID)) || !isPlainFileName(face))
        return false;
    if (!PLChecker::isBlank(card.stringValue(kBackFile)))
        return false;
    return isImagePdf(QDir(imagesFolder).filePath(face), 1);
}

QString PLMergeModel::selectedFrontPath(bool* exactlyOne, bool* isFolder)
{
    const QList<CardDict> selected = m_host ? m_host->getSeleteRecords() : QList<CardDict>();
    *exactlyOne = false;
    *isFolder = false;
    if (selected.size() != 1)
        return QString();
    const QString face = selected.first().value(kFaceFile).toString();
    if (PLChecker::isBlank(face))
        return QString();
    *exactlyOne = true;
    const QString path = QDir(imagesFolder()).filePath(face);
    *isFolder = QFileInfo(path).isDir();
    return path;
}

void PLMergeModel::appendCandidate(const ManagedObjectPtr& card, const QString& selectedFrontPath)
{
    const QString path = QDir(imagesFolder()).filePath(card->stringValue(kFaceFile));
    auto info = std::make_shared<PLMergeInfo>(card->stringValue(kCardID), path);
    if (!selectedFrontPath.isEmpty() && path == selectedFrontPath) {
        _selectedCardId = info->cardId();
        m_pageInfo.selectedIndex = int32_t(m_candidates.size());
    }
    m_candidates.append(info);
}

int PLMergeModel::searchCandidateCardPaths()
{
    bool exactlyOne = false, isFolder = false;
    const QString selectedPath = selectedFrontPath(&exactlyOne, &isFolder);
    if (!exactlyOne || isFolder)
        return 103;
    ManagedObjectContext* context = m_host->managedObjectContext();
    ManagedObjectList cards;
    int error = 0;
    if (context) {
        FetchRequest request{QString::fromLatin1(CardStore::kEntityCard), notDeletedCard(),
                             {{kAcceptDate, true}}};
        cards = context->executeFetchRequest(request, &error);
    }
    if (!context || error != 0 || cards.isEmpty()) {
        PLNSLog(QStringLiteral("[searchCandidateCardPaths] fetchRequest failure!"));
        return 103;
    }
    // Cards with a back or outside the folder are dropped before any front file is opened.
    const bool wholeDatabase = m_host->selectedFolderRow() == 0;
    const QString folderID = wholeDatabase ? QString() : m_host->selectedFolderID();
    const QString images = imagesFolder();
    m_pageInfo.selectedIndex = -1;
    for (const ManagedObjectPtr& card : cards) {
        if (!PLChecker::isBlank(card->stringValue(kBackFile)))
            continue;
        if (!wholeDatabase && (folderID.isNull() || card->stringValue(kFolderID) != folderID))
            continue;
        if (isCandidateCard(*card, images))
            appendCandidate(card, selectedPath);
    }
    m_arranged = m_candidates;
    return 0;
}

void PLMergeModel::initCandidateCards(const ManagedObjectList& cards)
{
    bool exactlyOne = false, isFolder = false;
    const QString selectedPath = selectedFrontPath(&exactlyOne, &isFolder);
    ManagedObjectList sorted;
    for (const ManagedObjectPtr& card : cards)
        if (card)
            sorted.append(card);
    sortByAcceptDate(sorted);
    const QString images = imagesFolder();
    for (const ManagedObjectPtr& card : sorted)
        if (isCandidateCard(*card, images))
            appendCandidate(card, selectedPath);
    m_pageInfo.selectedIndex = 0;
    m_arranged = m_candidates;
}

int PLMergeModel::prepareCandidates(int mode, const ManagedObjectList& newCards)
{
    // The merge window is not shown yet: its messages go to the main window.
    const WindowHandle mergeWindow = m_messageWindow;
    m_messageWindow = WindowHandle();
    const int status = openingStatus(mode, newCards);
    m_messageWindow = mergeWindow;
    return status;
}

int PLMergeModel::openingStatus(int mode, const ManagedObjectList& newCards)
{
    if (checkFreeSpace(imagesFolder(), g_lDiskSize) != 0) {
        showError(11);
        return 11;
    }
    if (mode == kModeNewCards) {
        m_isFromScanData = true;
        initCandidateCards(newCards);
    } else if (mode == kModeSearch) {
        m_isFromScanData = false;
        const int status = searchCandidateCardPaths();
        if (status != 0) {
            showError(status);
            return status;
        }
    }
    if (hasCandidateCards())
        return 0;
    if (mode == kModeSearch) {
        showError(102);
        return 102;
    }
    return kNothingShown;
}

// Page state ------------------------------------------------------------------------------------

int32_t PLMergeModel::pageCountFor(int32_t candidates)
{
    return candidates / kCellsPerPage + (candidates % kCellsPerPage ? 1 : 0);
}

int32_t PLMergeModel::getCurrentDisplayCardNum() const
{
    const int32_t n = int32_t(m_arranged.size());
    if (n == 0)
        return 0;
    if (!m_pageInfo.isAllowPaging)
        return n;
    if (m_pageInfo.pageIndex * kCellsPerPage <= n)
        return kCellsPerPage;
    return n % kCellsPerPage;
}

void PLMergeModel::initPage()
{
    m_pageInfo.maxRecords = int32_t(m_arranged.size());
    m_pageInfo.isAllowPaging = true;
    m_pageInfo.pageCount = pageCountFor(m_pageInfo.maxRecords);
    const int32_t selected = std::max<int32_t>(m_pageInfo.selectedIndex, 0);
    m_pageInfo.pageIndex = selected / kCellsPerPage + 1;
    m_pageInfo.pageSize = getCurrentDisplayCardNum();
    m_pageInfo.focusCellIndex = selected % kCellsPerPage;
}

void PLMergeModel::updatePageInfo()
{
    m_pageInfo.maxRecords = int32_t(m_arranged.size());
    if (m_pageInfo.isAllowPaging) {
        m_pageInfo.pageCount = pageCountFor(m_pageInfo.maxRecords);
        if (m_pageInfo.pageIndex > m_pageInfo.pageCount)
            m_pageInfo.pageIndex = m_pageInfo.pageCount;
    }
    m_pageInfo.pageSize = getCurrentDisplayCardNum();
    m_pageInfo.focusCellIndex = 0;
}

void PLMergeModel::firstPage()
{
    m_pageInfo.pageIndex = 1;
    m_pageInfo.focusCellIndex = 0;
    m_pageInfo.pageSize = getCurrentDisplayCardNum();
}

void PLMergeModel::lastPage()
{
    m_pageInfo.pageIndex = m_pageInfo.pageCount;
    m_pageInfo.focusCellIndex = 0;
    m_pageInfo.pageSize = getCurrentDisplayCardNum();
}

void PLMergeModel::nextPage()
{
    if (m_pageInfo.pageIndex < m_pageInfo.pageCount)
        ++m_pageInfo.pageIndex;
    m_pageInfo.focusCellIndex = 0;
    m_pageInfo.pageSize = getCurrentDisplayCardNum();
}

void PLMergeModel::prevPage()
{
    if (m_pageInfo.pageIndex >= 2)
        --m_pageInfo.pageIndex;
    m_pageInfo.focusCellIndex = 0;
    m_pageInfo.pageSize = getCurrentDisplayCardNum();
}

QString PLMergeModel::pageLabel(const QString& unit) const
{
    int first = 0, last = 0;
    if (m_pageInfo.pageCount > 0 && m_pageInfo.pageIndex > 0) {
        first = m_pageInfo.pageIndex * kCellsPerPage - (kCellsPerPage - 1);
        last = m_pageInfo.pageIndex * kCellsPerPage - kCellsPerPage + m_pageInfo.pageSize;
    }
    return formatText(QStringLiteral(" %d - %d / %d %@ "), first, last, int(m_pageInfo.maxRecords), unit);
}

PLMergeInfoPtr PLMergeModel::candidateAtCell(int cell) const
{
    if (cell < 0 || cell >= m_pageInfo.pageSize)
        return nullptr;
    const qsizetype index = qsizetype(m_pageInfo.pageIndex - 1) * kCellsPerPage + cell;
    return index >= 0 && index < m_arranged.size() ? m_arranged.at(index) : nullptr;
}

int PLMergeModel::cellOfCandidate(const PLMergeInfoPtr& candidate) const
{
    for (int cell = 0; cell < m_pageInfo.pageSize; ++cell)
        if (candidateAtCell(cell) == candidate)
            return cell;
    return -1;
}

// Thumbnail grid --------------------------------------------------------------------------------

PLMergeModel::Layout PLMergeModel::layout(float tableWidth, float visibleHeight, float vScrollBarWidth,
                                          float scaleFactor, int32_t pageSize)
{
    Layout result;
    TableAttrs& t = result.attrs;
    t.tableWidth = tableWidth;
    t.vScrollBarWidth = vScrollBarWidth;
    t.marginTop = kMarginTop;
    t.marginBottom = kMarginBottom;
    t.marginLeft = kMarginLeft;
    t.marginRight = kMarginRight;
    t.cellPadding = kCellPadding;
    t.rowSpacing = kRowSpacing;
    t.colSpacing = kColSpacing;

    float width = t.tableWidth - t.marginLeft - t.marginRight;
    const float height = visibleHeight;
    const float base = std::min(width * 0.25f - (t.colSpacing + 2 * t.cellPadding),
                                (height - t.marginTop - t.marginBottom) / 3 - (t.rowSpacing + 2 * t.cellPadding));
    const float side = std::max(base * scaleFactor, 1.0f);
    t.cellWidth = t.cellHeight = side;
    t.colCount = std::max<int32_t>(int32_t(width / (t.colSpacing + 2 * t.cellPadding + side)), 2);
    t.rowCount = (pageSize + t.colCount - 1) / t.colCount;
    const float needed = (t.rowSpacing + 2 * t.cellPadding + side) * float(t.rowCount) + t.marginTop + t.marginBottom;
    if (height >= needed) {
        t.tableHeight = height;
    } else {
        t.tableHeight = needed;
        t.tableWidth -= t.vScrollBarWidth;
        width -= t.vScrollBarWidth;
    }
    t.colSpacing = width / float(t.colCount) - (2 * t.cellPadding + side);

    // Placed bottom-up as the grid is worked out, then flipped into the view's top-down coordinates.
    float x = t.marginLeft, y = t.tableHeight - t.marginTop;
    const float cellW = side + 2 * t.cellPadding + t.colSpacing;
    const float cellH = side + 2 * t.cellPadding + t.rowSpacing;
    for (int32_t i = 0; i < pageSize; ++i) {
        if (i % t.colCount == 0) {
            x = t.marginLeft;
            y -= side + 2 * t.cellPadding + t.rowSpacing;
        } else {
            x += side + 2 * t.cellPadding + t.colSpacing;
        }
        const float dx = t.colSpacing / 2 + t.cellPadding, dy = t.rowSpacing / 2 + t.cellPadding;
        const float left = x + dx, bottom = y + dy, right = x + cellW - dx, top = y + cellH - dy;
        const int l = int(std::floor(left)), r = int(std::ceil(right));
        const int flippedTop = int(std::floor(t.tableHeight - top)), flippedBottom = int(std::ceil(t.tableHeight - bottom));
        result.frames.append(QRect(l, flippedTop, r - l, flippedBottom - flippedTop));
    }
    result.documentSize = QSize(int(std::ceil(t.tableWidth)), int(std::ceil(t.tableHeight)));
    return result;
}

// Focus -----------------------------------------------------------------------------------------

int PLMergeModel::arrowTarget(Arrow arrow, const std::function<bool(int)>& isEnabled) const
{
    const int columns = std::max<int32_t>(m_tableAttrs.colCount, 1);
    int step = 0;
    switch (arrow) {
    case Arrow::Up: step = -columns; break;
    case Arrow::Down: step = columns; break;
    case Arrow::Left: step = -1; break;
    case Arrow::Right: step = 1; break;
    }
    const int target = m_pageInfo.focusCellIndex + step;
    if (target < 0 || target >= kCellsPerPage || !isEnabled(target))
        return -1;
    return target;
}

// Zoom ------------------------------------------------------------------------------------------

int PLMergeModel::startZoom()
{
    if (m_displayStatus == kDisplayNormal) {
        m_displayStatus = kZoomingIn;
        return kZoomingIn;
    }
    if (m_displayStatus == kZoomed) {
        m_displayStatus = kZoomingOut;
        return kZoomingOut;
    }
    return kDisplayNormal;
}

void PLMergeModel::zoomAnimationEnded()
{
    if (m_displayStatus == kZoomingIn)
        m_displayStatus = kZoomed;
    else if (m_displayStatus == kZoomingOut)
        m_displayStatus = kDisplayNormal;
}

// Previews --------------------------------------------------------------------------------------

PLMergeInfoPtr PLMergeModel::previewCandidate(uint32_t kind) const
{
    return kind == 1 || kind == 2 ? m_preview[kind - 1] : nullptr;
}

QImage PLMergeModel::previewBitmap(uint32_t kind) const
{
    return kind == 1 || kind == 2 ? m_previewBitmap[kind - 1] : QImage();
}

void PLMergeModel::setPreviewBitmap(uint32_t kind, const QImage& bitmap)
{
    if (kind == 1 || kind == 2)
        m_previewBitmap[kind - 1] = bitmap;
}

void PLMergeModel::clearPreview(uint32_t kind, bool resetFlag)
{
    if (kind != 1 && kind != 2)
        return;
    if (resetFlag && m_preview[kind - 1])
        m_preview[kind - 1]->resetMergeInfo();
    m_preview[kind - 1].reset();
    m_previewBitmap[kind - 1] = QImage();
}

void PLMergeModel::doDrop(const PLMergeInfoPtr& candidate, const QImage& bitmap, uint32_t kind)
{
    if ((kind != 1 && kind != 2) || !candidate)
        return;
    clearPreview(kind, true);
    const uint32_t other = kind == 1 ? 2 : 1;
    if (m_preview[other - 1] && m_preview[other - 1]->cardId() == candidate->cardId())
        clearPreview(other, true);
    candidate->setPreviewFlag(kind);
    m_preview[kind - 1] = candidate;
    m_previewBitmap[kind - 1] = bitmap;
}

void PLMergeModel::swapPreviews(uint32_t from, uint32_t to)
{
    if ((from != 1 && from != 2) || (to != 1 && to != 2) || from == to || !m_preview[from - 1])
        return;
    std::swap(m_preview[from - 1], m_preview[to - 1]);
    std::swap(m_previewBitmap[from - 1], m_previewBitmap[to - 1]);
    m_preview[to - 1]->setPreviewFlag(to);
    if (m_preview[from - 1])
        m_preview[from - 1]->setPreviewFlag(from);
}

// Merges and undo -------------------------------------------------------------------------------

ManagedObjectList PLMergeModel::fetchManagedObject(const QString& cardId)
{
    ManagedObjectContext* context = m_host ? m_host->managedObjectContext() : nullptr;
    if (!context)
        return {};
    int error = 0;
    ManagedObjectList cards = context->executeFetchRequest(
        FetchRequest{QString::fromLatin1(CardStore::kEntityCard), keyEquals(kCardID, cardId), {}}, &error);
    if (error != 0)
        PLNSLog(QStringLiteral("fetchRequest failure!"));
    return cards;
}

ManagedObjectPtr PLMergeModel::fetchOne(const QString& cardId)
{
    const ManagedObjectList cards = fetchManagedObject(cardId);
    return cards.size() == 1 ? cards.first() : nullptr;
}

bool PLMergeModel::isSelectedCardBeChanged() const
{
    if (_selectedCardId.isNull())
        return false;
    return _isSelectedCardBeMerged || _isSelectedCardBeRotated || _isDataSelectionBeChanged;
}

void PLMergeModel::markSelectedFlags(const PLMergeInfoPtr& candidate, bool* flag, bool value)
{
    if (candidate && !_selectedCardId.isNull() && candidate->cardId() == _selectedCardId)
        *flag = value;
}

void PLMergeModel::updateCandidateCardsDisplay(const PLMergeInfoPtr& select)
{
    m_arranged.clear();
    for (const PLMergeInfoPtr& candidate : std::as_const(m_candidates))
        if (!candidate->isMerged())
            m_arranged.append(candidate);
    const qsizetype index = select ? m_arranged.indexOf(select) : -1;
    if (index >= 0) {
        m_pageInfo.selectedIndex = int32_t(index);
        initPage();
    } else if (m_arranged.size() != m_pageInfo.maxRecords) {
        updatePageInfo();
    }
}
