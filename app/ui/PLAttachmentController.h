// The attachments of the shown card, listed in the side pane above the detail editor; the files
// live in the database's "Files/<cardID>" folder.
//
// The frame gives it its list; adding, opening, renaming and removing attachments grow here.
#pragma once

#include <QObject>

class QTableView;

class PLAttachmentController : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    // Outlets.
    void setAttachTableView(QTableView* view) { _attachTableView = view; }
    void awakeFromNib() {}

    QTableView* attachTableView() const { return _attachTableView; }

private:
    QTableView* _attachTableView = nullptr;
};
