// The attachments of the shown card, listed in the side pane below the detail editor; the files
// live in the database's "Files/<cardID>" folder. The list always shows what that folder holds:
// setting a card reloads it, setting none empties it, and every command ends by reading it again.
// Files come in by the add command (an open panel) or by dropping them on the list, go out by
// dragging rows, open with a double click, and are deleted, renamed in place or shown in the
// file manager's information window from the list's menu and the main menu's attachment menu.
#pragma once

#include "app/ui/logic/AttachmentRules.h"
#include "app/ui/views/PLTableView.h"

#include <QIcon>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QStringList>
#include <QUrl>

class OpenDatabase;
class PLMainWindowController;
class QLabel;
class QMenu;
class QStandardItemModel;

class PLAttachmentController : public QObject, public PLTableView::DataSource {
    Q_OBJECT
public:
    // The most attachments a card holds.
    static constexpr int kMaxAttachments = AttachmentRules::kMaxAttachments;
    // The size of a row's icon.
    static constexpr int kIconSize = 48;
    // What dragged attachment rows carry beside the files' URLs.
    static constexpr const char* kAttachmentDataType = "Pelmora Private attachment Type";

    // The contextual menu's items and the main menu's attachment menu's, in order.
    enum ContextItem { kContextAdd, kContextDelete, kContextRename, kContextInfo };
    enum MainMenuItem { kMenuAdd, kMenuDelete, kMenuInfo };

    explicit PLAttachmentController(const OpenDatabase& database, QObject* parent = nullptr);
    ~PLAttachmentController() override;

    // Outlets.
    void setAttachTableView(PLTableView* view) { _attachTableView = view; }
    void setIconView(QLabel* view) { _iconView = view; }
    void setMainWinController(PLMainWindowController* controller) { _mainWinController = controller; }
    void awakeFromNib();

    PLTableView* attachTableView() const { return _attachTableView; }
    // The list's contextual menu and the main menu's attachment menu (put on the menu bar by the main menu).
    QMenu* contextualMenu() const { return m_contextualMenu; }
    QMenu* attachmentMenu() const { return m_attachmentMenu; }

    // The card whose attachments are listed; a null string for none.
    void setCardID(const QString& cardID);
    const QString& cardID() const { return _cardID; }
    // Full paths of the listed files, in list order.
    const QStringList& filePaths() const { return _arFilePaths; }

    // Reloads the list from the card's attachment folder, in the folder's order.
    void attachExistFile();
    void clearTableRecord();
    // The card's attachment badge: shown when the card has attachments.
    void addAttachmentIcon(bool shown);

    // --- the commands

    // The add command: an open panel for files; the chosen ones are added once it has closed.
    void addAttachment();
    // Finishes an add from the panel: refused past the card's limit, else the list is shown and the files copied in.
    void doAddAttachment(const QList<QUrl>& urls);
    // Copies the files into the card's attachment folder, asking before one replaces an attachment.
    void addFile(const QStringList& paths);
    // Opens the file of `row` with the desktop's handler (a double click).
    void openAttachFile(int row);
    // Deletes the selected attachments after asking.
    void deleteAttachment();
    // Starts editing the name of the clicked (else the selected) row in place.
    void renameAttachment();
    // Renames the file of the selected row to `name` within the card's folder.
    void renameFileName(const QString& name);
    // The information window of the selected row's file.
    void getAttachmentInfo();
    void showFileInfoWindow(const QString& path);
    // The open panel takes only existing paths that are not folders.
    static bool isValidFilename(const QString& path);

    // Enables the items of either attachment menu by its rules.
    void menuNeedsUpdate(QMenu* menu);

    // --- the list's data source

    QMimeData* writeRowsWithIndexes(const QList<int>& rows) const override;
    bool validateDrop(const QMimeData* data, bool fromInside) const override;
    bool acceptDrop(const QMimeData* data) override;

private:
    QString cardFolder() const;
    QWidget* mainWindow() const;
    AttachmentRules::State ruleState() const;
    // Shows the number as an error sheet unless the path-type message was shown.
    void showError(int number) const;
    // The overwrite question for `name`; `several` offers Cancel and Yes to All.
    int askOverwrite(const QString& name, bool several) const;
    // The files a delete could not remove: each is forced out (unlocked first) after asking,
    // unless Continue All was chosen; Stop or a file that still cannot go ends it.
    void deleteFailedFiles(QStringList failures, bool several);
    int selectedRow() const;
    QList<int> selectedRows() const;
    void reloadTable();
    static QIcon iconImageOfSize(const QString& path);
    QMenu* makeMenu(const QList<std::pair<const char*, void (PLAttachmentController::*)()>>& items, const char* objectName);

    const OpenDatabase& m_database;
    PLTableView* _attachTableView = nullptr;
    QLabel* _iconView = nullptr;
    PLMainWindowController* _mainWinController = nullptr;
    QStandardItemModel* m_model = nullptr;
    QMenu* m_contextualMenu = nullptr;
    QMenu* m_attachmentMenu = nullptr;
    QList<QIcon> _arFileIcons;
    QStringList _arFilePaths;
    QString _cardID;
};
