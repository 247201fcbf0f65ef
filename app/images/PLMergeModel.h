// The state of the merge window without its widgets: the candidate cards, the page state and
// its label, the thumbnail grid arithmetic, the focus moves, the zoom state, the two previews,
// and the merges with their undo records. The window controller shows what this holds.
//
// Every merge is saved at once, so a crash cannot leave a back page file that its card does not
// reference; such a stale file is replaced by the next merge. A merge checks its back card
// before it changes anything, and a failed undo keeps its record so that it can be tried again.
// Main thread only.
#pragma once

#include "app/images/PLMergeInfo.h"
#include "platform/appkit/WindowHandle.h"
#include "platform/store/ManagedObject.h"

#include <QImage>
#include <QList>
#include <QRect>
#include <QString>

#include <cstdint>
#include <functional>
#include <optional>

class PLMergeHost;

struct PageInfo {
    int32_t selectedIndex = -1;
    int32_t focusCellIndex = 0;
    int32_t maxRecords = 0;
    int32_t pageCount = 0;
    int32_t pageSize = 0;
    int32_t pageIndex = 1;
    bool isAllowPaging = false;
};

struct TableAttrs {
    float tableWidth = 0, tableHeight = 0, vScrollBarWidth = 0;
    float marginLeft = 0, marginRight = 0, marginTop = 0, marginBottom = 0;
    float cellPadding = 0, rowSpacing = 0, colSpacing = 0, cellWidth = 0, cellHeight = 0;
    int32_t rowCount = 0, colCount = 0;
};

// One merge: the front and back candidates and the page state at the time of the merge.
struct MergeUndoRecord {
    PLMergeInfoPtr face;
    PLMergeInfoPtr back;
    std::optional<PageInfo> pageInfo;
    bool isComplete() const { return face && back && pageInfo; }
};

namespace mergepref {
inline const QString kDeleteBackImage = QStringLiteral("Delete back image after merging operation items");
inline const QString kScaleFactor = QStringLiteral("PLPREFERENCES_KEY_MERGE_CARD_SCALE_FACTOR");
inline const QString kAutoRunMerge = QStringLiteral("Auto run merge card function items");
inline const QString kGeneralDisplay = QStringLiteral("General display items");
} // namespace mergepref

class PLMergeModel {
public:
    static constexpr int kCellsPerPage = 12;
    static constexpr float kMarginTop = 2, kMarginBottom = 2, kMarginLeft = 4, kMarginRight = 4;
    static constexpr float kCellPadding = 0, kRowSpacing = 2, kColSpacing = 6;

    // Zoom states.
    static constexpr int kDisplayNormal = 0, kZoomingIn = 1, kZoomingOut = 2, kZoomed = 3;
    // Modes of opening.
    static constexpr int kModeSearch = 0, kModeNewCards = 1;
    // What prepareCandidates answers when the window must not run and nothing was shown.
    static constexpr int kNothingShown = -1;

    // What the model asks of the system; tests replace them.
    struct Services {
        std::function<int(const QString& path)> checkDBAttributes;
        std::function<int(const QString& path, uint64_t needed)> checkDiskSize;
    };

    explicit PLMergeModel(PLMergeHost* host);

    void setHost(PLMergeHost* host) { m_host = host; }
    void setServices(Services services) { m_services = std::move(services); }
    Services& services() { return m_services; }
    // The window the messages are shown on (null: the application's main window).
    void setMessageWindow(WindowHandle window) { m_messageWindow = window; }
    PLMergeHost* host() const { return m_host; }
    QString databasePath() const;
    QString imagesFolder() const;

    // Candidates -------------------------------------------------------------------------------
    // A card with an identifier and a plain front file name, whose front file in `imagesFolder`
    // is a one-page card PDF, and without a back file name.
    static bool isCandidateCard(const ManagedObject& card, const QString& imagesFolder);
    // Mode 0: every card that is not in the trash (of the selected folder unless the root is
    // selected). 0, or 103 (not exactly one selected card with a front, its front is a folder,
    // or no card could be fetched).
    int searchCandidateCardPaths();
    // Mode 1: the given new cards; the first candidate becomes the selected one.
    void initCandidateCards(const ManagedObjectList& cards);
    // Opening: the free-space check on "Images", then the candidates of the mode. 0 when the
    // window should run; otherwise the message shown (11, 102, 103) or kNothingShown.
    int prepareCandidates(int mode, const ManagedObjectList& newCards);

    const QList<PLMergeInfoPtr>& allCandidates() const { return m_candidates; }
    // The candidates not merged, in order.
    const QList<PLMergeInfoPtr>& arrangedCandidates() const { return m_arranged; }
    bool hasCandidateCards() const { return m_arranged.size() > 1; }
    bool isFromScanData() const { return m_isFromScanData; }

    // Page state -------------------------------------------------------------------------------
    PageInfo& pageInfo() { return m_pageInfo; }
    const PageInfo& pageInfo() const { return m_pageInfo; }
    static int32_t pageCountFor(int32_t candidates);
    void initPage();
    void updatePageInfo();
    int32_t getCurrentDisplayCardNum() const;
    void firstPage();
    void lastPage();
    void nextPage();
    void prevPage();
    // " %d - %d / %d %@ " with the first and last number on the page, the count and `unit`.
    QString pageLabel(const QString& unit) const;
    // The candidate shown in cell 0..11 of the current page; null for an empty cell.
    PLMergeInfoPtr candidateAtCell(int cell) const;
    int cellOfCandidate(const PLMergeInfoPtr& candidate) const;

    // Thumbnail grid ---------------------------------------------------------------------------
    struct Layout {
        TableAttrs attrs;
        QList<QRect> frames;   // one per visible thumbnail, in the document view's top-down coordinates
        QSize documentSize;
    };
    // `tableWidth`: content width of the thumbnail area; `visibleHeight`: its visible height.
    static Layout layout(float tableWidth, float visibleHeight, float vScrollBarWidth, float scaleFactor,
                         int32_t pageSize);
    void setTableAttrs(const TableAttrs& attrs) { m_tableAttrs = attrs; }
    const TableAttrs& tableAttrs() const { return m_tableAttrs; }

    // Focus ------------------------------------------------------------------------------------
    enum class Arrow { Up, Down, Left, Right };
    // The cell the arrow moves the focus to: within 0..11 and shown (`isEnabled`); -1 otherwise.
    int arrowTarget(Arrow arrow, const std::function<bool(int cell)>& isEnabled) const;

    // Zoom -------------------------------------------------------------------------------------
    int displayStatus() const { return m_displayStatus; }
    // From state 0 to 1 (answers kZoomingIn), from 3 to 2 (kZoomingOut); otherwise kDisplayNormal.
    int startZoom();
    // The end of an animation: 1 becomes 3, 2 becomes 0.
    void zoomAnimationEnded();

    // Previews (kind 1 front, 2 back) ----------------------------------------------------------
    PLMergeInfoPtr previewCandidate(uint32_t kind) const;
    QImage previewBitmap(uint32_t kind) const;
    // Shows `candidate` with `bitmap` in the preview; a card shown in the other preview leaves it.
    void doDrop(const PLMergeInfoPtr& candidate, const QImage& bitmap, uint32_t kind);
    // Drags the content of preview `from` onto preview `to`: moves it, or exchanges both.
    void swapPreviews(uint32_t from, uint32_t to);
    // Empties the preview; with `resetFlag` its candidate is no longer previewed.
    void clearPreview(uint32_t kind, bool resetFlag);
    void setPreviewBitmap(uint32_t kind, const QImage& bitmap);
    bool canMerge() const { return previewCandidate(1) && previewCandidate(2); }

    // Merges and undo --------------------------------------------------------------------------
    bool isDeleteBackImage() const { return _isDeleteBackImage; }
    void setDeleteBackImage(bool on) { _isDeleteBackImage = on; }
    // Adds the back preview's page to the front preview's card; true when an undo record was made.
    bool merge();
    bool doCheckBeforeCancel();
    // Undoes the newest merge; true when it was undone and its record removed.
    bool cancelMerge();
    // Takes a back card out of the trash: 0, or 112 when the card is not found exactly once.
    int recoverFromTrash(const PLMergeInfoPtr& candidate);
    const QList<MergeUndoRecord>& undoRecords() const { return m_undoRecords; }
    QList<MergeUndoRecord>& undoRecords() { return m_undoRecords; }
    // Re-filters the candidates after a merge or undo, selecting `select` when it is listed.
    void updateCandidateCardsDisplay(const PLMergeInfoPtr& select);
    // Turns the candidate's front page by 90 degrees: 0, or the message shown (48, 11, 82).
    int rotate(const PLMergeInfoPtr& candidate);

    // The `Card` objects with this identifier.
    ManagedObjectList fetchManagedObject(const QString& cardId);
    // The first page's bitmap of a card PDF, turned upright; null when it cannot be read.
    static QImage loadImageRepWith(const QString& path);

    // The main window's selected card and what happened to it here.
    const QString& selectedCardId() const { return _selectedCardId; }
    bool isSelectedCardBeChanged() const;
    void setSelectedCardBeRotated() { _isSelectedCardBeRotated = true; }

    // Preferences ------------------------------------------------------------------------------
    // "Delete back image after merging operation items" (YES when absent or not a number) and the
    // scale factor (the minimum when absent, not a number or outside minimum..maximum).
    void readPreferences(float sliderMinimum, float sliderMaximum);
    float scaleFactor() const { return _scaleFactor; }
    void setScaleFactor(float factor) { _scaleFactor = factor; }
    // Writes the scale factor and, in mode 1 with `stopAutoRun`, switches the automatic merge off.
    bool savePreferences(bool stopAutoRun);

    // Shows a numbered message as a sheet on the merge window (or the main window before it runs).
    void showError(int messageId) const;
    int checkDatabaseFolder() const;
    int checkFreeSpace(const QString& path, uint64_t needed) const;

private:
    int openingStatus(int mode, const ManagedObjectList& newCards);
    void appendCandidate(const ManagedObjectPtr& card, const QString& selectedFrontPath);
    QString selectedFrontPath(bool* exactlyOne, bool* isFolder);
    ManagedObjectPtr fetchOne(const QString& cardId);
    void markSelectedFlags(const PLMergeInfoPtr& candidate, bool* flag, bool value);

    PLMergeHost* m_host;
    Services m_services;
    WindowHandle m_messageWindow;
    QList<PLMergeInfoPtr> m_candidates;
    QList<PLMergeInfoPtr> m_arranged;
    PageInfo m_pageInfo;
    TableAttrs m_tableAttrs;
    int m_displayStatus = kDisplayNormal;
    bool m_isFromScanData = false;
    PLMergeInfoPtr m_preview[2];
    QImage m_previewBitmap[2];
    QList<MergeUndoRecord> m_undoRecords;
    float _scaleFactor = 1.0f;
    bool _isDeleteBackImage = true;
    QString _selectedCardId;
    bool _isSelectedCardBeRotated = false;
    bool _isSelectedCardBeMerged = false;
    bool _isDataSelectionBeChanged = false;
};
