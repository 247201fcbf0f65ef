#include "app/ui/views/PLTableView.h"

#include "app/ui/views/MatterAdapter.h"

#include <QLineEdit>
#include <QStyledItemDelegate>

#include <utility>

namespace {

// Name cells are edited in a line edit that takes at most 255 characters, line breaks refused.
class NameDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
        if (auto* line = qobject_cast<QLineEdit*>(editor))
            MatterAdapter::attach(line, std::make_shared<PLMatter>(PLTableView::kNameMaxLength));
        return editor;
    }
};

} // namespace

PLTableView::PLTableView(QWidget* parent) : QTableView(parent)
{
    setItemDelegateForColumn(kNameColumn, new NameDelegate(this));
}

void PLTableView::commitData(QWidget* editor)
{
    if (auto* line = qobject_cast<QLineEdit*>(editor))
        m_editedName = PLMatter::firstLine(line->text());
}

void PLTableView::closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint)
{
    const bool movesOn = hint == QAbstractItemDelegate::EditNextItem || hint == QAbstractItemDelegate::EditPreviousItem;
    QTableView::closeEditor(editor, movesOn ? QAbstractItemDelegate::NoHint : hint);
    setFocus(Qt::OtherFocusReason);
    // The rename reloads the list, which must not happen under an open editor.
    if (!m_editedName.isNull())
        emit fileNameEdited(std::exchange(m_editedName, QString()));
}
