#include "app/ui/ImageAndTextCell.h"

#include "app/core/PLNetDBLockController.h"
#include "app/ui/FolderTree.h"
#include "app/ui/PLOutlineViewController.h"
#include "app/ui/logic/PLMatter.h"
#include "app/ui/views/MatterAdapter.h"

#include <QApplication>
#include <QLineEdit>
#include <QPainter>
#include <QPointer>

#include <cmath>

ImageAndTextCell::ImageAndTextCell(QObject* parent) : QStyledItemDelegate(parent) {}

void ImageAndTextCell::setImage(const QPixmap& image)
{
    if (image.cacheKey() == m_image.cacheKey())
        return;
    m_image = image.isNull() ? QPixmap() : image.scaled(kImageSide, kImageSide, Qt::KeepAspectRatio, Qt::SmoothTransformation);
}

QRect ImageAndTextCell::titleRectForBounds(const QRect& bounds) const
{
    const int strip = (m_image.isNull() ? 0 : kImageSide) + kImageGap;
    return bounds.adjusted(strip, 0, 0, 0).translated(kTextShift, 0);
}

QSize ImageAndTextCell::cellSize(const QSize& textSize) const
{
    return textSize + QSize((m_image.isNull() ? 0 : kImageSide) + kImageGap, 0);
}

QPixmap ImageAndTextCell::imageFor(const QModelIndex& index) const
{
    const QVariant decoration = index.data(Qt::DecorationRole);
    if (decoration.canConvert<QIcon>()) {
        const QIcon icon = decoration.value<QIcon>();
        if (!icon.isNull())
            return icon.pixmap(kImageSide, kImageSide);
    }
    return m_image;
}

void ImageAndTextCell::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    QStyleOptionViewItem opt(option);
    initStyleOption(&opt, index);
    QStyle* style = opt.widget ? opt.widget->style() : QApplication::style();
    style->drawPrimitive(QStyle::PE_PanelItemViewItem, &opt, painter, opt.widget);
    const QPixmap image = imageFor(index);
    QRect textRect = opt.rect;
    if (!image.isNull()) {
        QRect imageRect(opt.rect.x() + kImageGap, opt.rect.y() - 1, kImageSide, kImageSide);
        imageRect.translate(0, int(std::ceil((opt.rect.height() - kImageSide) * 0.5)));
        painter->drawPixmap(imageRect, image);
        textRect = opt.rect.adjusted(kImageSide + kImageGap, 0, 0, 0).translated(kTextShift, 0);
    } else if (opt.text.isEmpty()) {
        return;
    }
    const bool selected = opt.state.testFlag(QStyle::State_Selected);
    const QString shown = opt.fontMetrics.elidedText(opt.text, Qt::ElideRight, textRect.width());
    style->drawItemText(painter, textRect, Qt::AlignLeft | Qt::AlignVCenter, opt.palette, opt.state.testFlag(QStyle::State_Enabled), shown,
                        selected ? QPalette::HighlightedText : QPalette::Text);
    // The row the contextual menu is open on is outlined in the focus colour, from the left edge;
    // on the selected row, whose ground is that colour, in the colour of its text and a pixel
    // inside the row, where the ground frames it (around the row is the view's ground, most often
    // of the text's colour).
    if (_outlineViewController && index.isValid() && _outlineViewController->rightClickRowForRec() == index) {
        painter->save();
        painter->setPen(opt.palette.color(selected ? QPalette::HighlightedText : QPalette::Highlight));
        painter->setBrush(Qt::NoBrush);
        QRect ring = QRect(kFocusRingX, opt.rect.y(), opt.rect.x() + opt.rect.width() - kFocusRingX, opt.rect.height()).adjusted(0, 0, -1, -1);
        if (selected)
            ring.adjust(1, 1, -1, -1);
        painter->drawRect(ring);
        painter->restore();
    }
}

QSize ImageAndTextCell::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    const QFontMetrics& metrics = option.fontMetrics;
    const QSize text(metrics.horizontalAdvance(index.data(Qt::DisplayRole).toString()) + kTextShift, std::max(metrics.height(), kImageSide) + 2);
    return text + QSize((imageFor(index).isNull() ? 0 : kImageSide) + kImageGap, 0);
}

QWidget* ImageAndTextCell::createEditor(QWidget* parent, const QStyleOptionViewItem&, const QModelIndex& index) const
{
    if (!_outlineViewController || PLNetDBLockController::dbOpenMode() == 1)
        return nullptr;
    auto* editor = new QLineEdit(parent);
    editor->setObjectName(QStringLiteral("folderNameEditor"));
    editor->setAccessibleName(index.data(Qt::ToolTipRole).toString());
    editor->setFrame(false);
    MatterAdapter::attach(editor, std::make_shared<PLInputTextMatter>(quint16(kFolderNameMaxLength)));
    // An edit the user starts is a rename of the name shown; an added folder opened its own.
    if (!_outlineViewController->isInEditing())
        _outlineViewController->setFolderNameBeforeEdit(index.data(Qt::ToolTipRole).toString());
    return editor;
}

void ImageAndTextCell::updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    const QRect text = option.rect.adjusted((imageFor(index).isNull() ? 0 : kImageSide) + kImageGap, 0, 0, 0).translated(kTextShift, 0);
    editor->setGeometry(text);
}

void ImageAndTextCell::setModelData(QWidget* editor, QAbstractItemModel*, const QModelIndex&) const
{
    // The tree stores the name itself; the model is rebuilt from it.
    if (auto* line = qobject_cast<QLineEdit*>(editor))
        endEditing(line->text());
}

void ImageAndTextCell::destroyEditor(QWidget* editor, const QModelIndex& index) const
{
    QStyledItemDelegate::destroyEditor(editor, index);
    // An editor closed without a commit (Escape) still ends the edit, with the name it began with.
    if (_outlineViewController)
        endEditing(QString());
}

void ImageAndTextCell::endEditing(const QString& name) const
{
    QPointer<PLOutlineViewController> controller = _outlineViewController;
    // The view is still inside its commit here: the tree, rebuilt by the commit, waits for it.
    QMetaObject::invokeMethod(
        controller, [controller, name] {
            if (controller && controller->isInEditing())
                controller->endEditing(name.isNull() ? controller->folderNameBeforeEdit() : name);
        },
        Qt::QueuedConnection);
}

void ImageAndTextCell::callEndEditing(QWidget* editor)
{
    auto* line = qobject_cast<QLineEdit*>(editor);
    const QString name = line ? line->text() : QString();
    if (editor) {
        emit commitData(editor);
        emit closeEditor(editor, QAbstractItemDelegate::NoHint);
    }
    if (_outlineViewController && _outlineViewController->isInEditing())
        _outlineViewController->endEditing(line ? name : _outlineViewController->folderNameBeforeEdit());
}
