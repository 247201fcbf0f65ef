// The detail editor in the side pane: the fields of the selected card.
//
// The frame gives it its view; the editor's rows, formatters and the save after an edit grow here.
#pragma once

#include <QObject>

class QWidget;

class PLExportItemController : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    // Outlets.
    void setDetailCardView(QWidget* view) { _detailCardView = view; }
    void awakeFromNib() {}

    QWidget* detailCardView() const { return _detailCardView; }

private:
    QWidget* _detailCardView = nullptr;
};
