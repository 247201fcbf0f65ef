// Draws a folder row of the tree (its icon, then its name) and opens the in-place name editor
// over the text only. Ending the editor hands the name to the folder tree; `callEndEditing` is
// the entry other commands use to commit a name being edited before they act.
#pragma once

#include <QPixmap>
#include <QStyledItemDelegate>

class PLOutlineViewController;

class ImageAndTextCell : public QStyledItemDelegate {
    Q_OBJECT
public:
    static constexpr int kImageSide = 16;
    static constexpr int kImageGap = 3;
    static constexpr int kTextShift = 2;
    static constexpr int kFocusRingX = 2;

    explicit ImageAndTextCell(QObject* parent = nullptr);

    // The icon drawn where a row brings none of its own; shown at 16 x 16 whatever its size.
    const QPixmap& image() const { return m_image; }
    void setImage(const QPixmap& image);
    // A cell without an icon but with a title draws its text centred upright.
    bool isGroupCell(const QString& title) const { return m_image.isNull() && !title.isEmpty(); }
    // The part of `bounds` the text takes: after the icon's strip and its gap, moved right by 2.
    QRect titleRectForBounds(const QRect& bounds) const;
    // The room the cell needs for `textSize`: the text plus the icon and its gap.
    QSize cellSize(const QSize& textSize) const;

    // Set for the tree's cell only; the title above the card list has none and posts nothing.
    void setOutlineViewController(PLOutlineViewController* controller) { _outlineViewController = controller; }

    // Ends the editing of `editor` (null: none open) and commits the name when the tree still
    // counts an edit as open.
    void callEndEditing(QWidget* editor);

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    void updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override;
    void destroyEditor(QWidget* editor, const QModelIndex& index) const override;

private:
    // The commit of a name: hands it to the tree once the view has let go of the editor.
    void endEditing(const QString& name) const;
    QPixmap imageFor(const QModelIndex& index) const;

    QPixmap m_image;
    PLOutlineViewController* _outlineViewController = nullptr;
};
