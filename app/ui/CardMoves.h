// The main window's moves of cards: from the card list to the trash (and its undo), from the
// trash back to their folders or into a chosen folder, from the card list into another folder,
// and out of the store for good. The card list routes its menus, keys and drops here (cards
// dropped on a folder included); the trash pane's buttons arrive here too.
#pragma once

#include "platform/store/ManagedObject.h"

#include <QList>
#include <QObject>

#include <functional>

class CardMoveRecords;
class PLMainWindowController;
class TrashPane;
struct Notification;
struct TreeNode;

class CardMoves : public QObject {
    Q_OBJECT
public:
    // Posted, as soon as the tables have rearranged, after cards were deleted for good: the
    // card list's and the trash's selections noted before are selected again.
    static constexpr const char* kClearTrashNotification = "Pelmora clear trash notification";
    static constexpr const char* kRevertWhenClearTrashKey = "Pelmora userinfo key of revert when clear trash";
    static constexpr const char* kRevertLastSelectedKey = "Pelmora userinfo key of revert last selected";
    static constexpr const char* kRevertTrashSelectionKey = "Pelmora userinfo key of revert selectedIndexes of trash";
    static constexpr int kMsgFolderPathNotFound = 213;

    explicit CardMoves(PLMainWindowController& window);
    ~CardMoves() override;

    TrashPane& trashPane() const { return *m_pane; }

    // The card list's selection to the trash; undone by the card table's Undo.
    void removeRecord();
    // The trash's selection, or every card in the trash, deleted for good after asking.
    void removeRecordInTrash();
    void ClearTrash();
    // The trash's selection back to each card's folder; message 213 stops at a card whose
    // folder is gone, the cards before it stay restored.
    void returnRecord();
    // The trash's selection restored into `folder`, or the card list's selection moved there;
    // nothing for the root.
    void returnRecordToFolder(const TreeNode& folder);
    void moveRecordToFolder(const TreeNode& folder);

    // Before an undo: the database folder usable (48) and room on its disk (11).
    bool doCheckBeforeUndo();

private:
    void undoInTrashTable(const ManagedObjectList& cards);
    bool passesGuards(bool logged);
    // The restore of the trash's selection, each card into the folder `folderFor` names; a card
    // without one stops the restore (213).
    using FolderFor = std::function<bool(const CardMoveRecords& records, const ManagedObject& card, QString* folderID)>;
    void restoreSelectedTrash(const FolderFor& folderFor, bool leaveInbox);
    void deleteForGood(const ManagedObjectList& cards, bool noteTrashSelection);
    void respondToClearTrashNotification(const Notification& notification);
    void scrollToSelection(bool trash);
    void showtrashIconLater();

    PLMainWindowController& m_window;
    TrashPane* m_pane;
};
