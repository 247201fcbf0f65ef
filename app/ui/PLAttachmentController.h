// The attachments of the shown card, listed in the side pane below the detail editor; the files
// live in the database's "Files/<cardID>" folder. The list always shows what that folder holds:
// setting a card reloads it, setting none empties it. A name edited in the list renames the file.
#pragma once

#include <QIcon>
#include <QList>
#include <QObject>
#include <QStringList>

class OpenDatabase;
class PLTableView;
class QLabel;
class QStandardItemModel;

class PLAttachmentController : public QObject {
    Q_OBJECT
public:
    // The most attachments a card holds.
    static constexpr int kMaxAttachments = 100;
    // The size of a row's icon.
    static constexpr int kIconSize = 48;

    explicit PLAttachmentController(const OpenDatabase& database, QObject* parent = nullptr);

    // Outlets.
    void setAttachTableView(PLTableView* view) { _attachTableView = view; }
    void setIconView(QLabel* view) { _iconView = view; }
    void awakeFromNib();

    PLTableView* attachTableView() const { return _attachTableView; }

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
    // Renames the file of the selected row to `name` within the card's folder.
    void renameFileName(const QString& name);

private:
    QString cardFolder() const;
    void reloadTable();
    static QIcon iconImageOfSize(const QString& path);

    const OpenDatabase& m_database;
    PLTableView* _attachTableView = nullptr;
    QLabel* _iconView = nullptr;
    QStandardItemModel* m_model = nullptr;
    QList<QIcon> _arFileIcons;
    QStringList _arFilePaths;
    QString _cardID;
};
