#include "app/ui/PLEditMenu.h"

#include "app/core/LocalString.h"
#include "app/ui/views/PLCardListTableView.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QTextEdit>

namespace {

struct ItemInfo {
    PLEditMenu::Item item;
    const char* objectName; // the action's name
    const char* titleKey;
    QKeySequence::StandardKey shortcut;
};

// A focused text field or folder tree takes the Delete key before the shortcut does (Qt's
// shortcut override); the card tables also take Backspace by themselves.
const ItemInfo kItems[] = {
    {PLEditMenu::Item::Undo, "undo", "IDS_MENU_UNDO", QKeySequence::Undo},
    {PLEditMenu::Item::Redo, "redo", "IDS_MENU_REDO", QKeySequence::Redo},
    {PLEditMenu::Item::Cut, "cut", "IDS_MENU_CUT", QKeySequence::Cut},
    {PLEditMenu::Item::Copy, "copy", "IDS_MENU_COPY", QKeySequence::Copy},
    {PLEditMenu::Item::Paste, "paste", "IDS_MENU_PASTE", QKeySequence::Paste},
    {PLEditMenu::Item::Delete, "delete", "IDS_DELETE_MENU_ITEM_WHEN_CARD_TABLEVIEW_DEACTIVE", QKeySequence::Delete},
    {PLEditMenu::Item::SelectAll, "selectAll", "IDS_MENU_SELECT_ALL", QKeySequence::SelectAll},
};

bool clipboardHasText()
{
    const QMimeData* data = QApplication::clipboard()->mimeData();
    return data && data->hasText();
}

// The rules of a text field, one- or multi-line.
struct TextTarget {
    bool readOnly;
    bool hasSelection;
    bool hasText;
    bool undoAvailable;
    bool redoAvailable;
    bool secret; // a password field: nothing leaves it
};

std::optional<TextTarget> textTarget(QWidget* widget)
{
    if (auto* line = qobject_cast<QLineEdit*>(widget))
        return TextTarget{line->isReadOnly(), line->hasSelectedText(), !line->text().isEmpty(), line->isUndoAvailable(),
                          line->isRedoAvailable(), line->echoMode() != QLineEdit::Normal};
    if (auto* plain = qobject_cast<QPlainTextEdit*>(widget))
        return TextTarget{plain->isReadOnly(), plain->textCursor().hasSelection(), !plain->document()->isEmpty(),
                          plain->document()->isUndoAvailable(), plain->document()->isRedoAvailable(), false};
    if (auto* rich = qobject_cast<QTextEdit*>(widget))
        return TextTarget{rich->isReadOnly(), rich->textCursor().hasSelection(), !rich->document()->isEmpty(),
                          rich->document()->isUndoAvailable(), rich->document()->isRedoAvailable(), false};
    return std::nullopt;
}

bool validateText(PLEditMenu::Item item, const TextTarget& t)
{
    switch (item) {
    case PLEditMenu::Item::Undo:
        return !t.readOnly && t.undoAvailable;
    case PLEditMenu::Item::Redo:
        return !t.readOnly && t.redoAvailable;
    case PLEditMenu::Item::Cut:
        return !t.readOnly && t.hasSelection && !t.secret;
    case PLEditMenu::Item::Copy:
        return t.hasSelection && !t.secret;
    case PLEditMenu::Item::Paste:
        return !t.readOnly && clipboardHasText();
    case PLEditMenu::Item::Delete:
        return !t.readOnly && t.hasSelection;
    case PLEditMenu::Item::SelectAll:
        return t.hasText;
    }
    return false;
}

template <typename Edit>
void performOnEdit(Edit* edit, PLEditMenu::Item item)
{
    switch (item) {
    case PLEditMenu::Item::Undo:
        edit->undo();
        break;
    case PLEditMenu::Item::Redo:
        edit->redo();
        break;
    case PLEditMenu::Item::Cut:
        edit->cut();
        break;
    case PLEditMenu::Item::Copy:
        edit->copy();
        break;
    case PLEditMenu::Item::Paste:
        edit->paste();
        break;
    case PLEditMenu::Item::Delete:
        if constexpr (std::is_same_v<Edit, QLineEdit>)
            edit->del();
        else
            edit->textCursor().removeSelectedText();
        break;
    case PLEditMenu::Item::SelectAll:
        edit->selectAll();
        break;
    }
}

} // namespace

PLEditMenu::PLEditMenu(QWidget& window, std::function<bool()> hasAttachedSheet)
    : QObject(&window), m_window(window), m_hasAttachedSheet(std::move(hasAttachedSheet))
{
    m_menu = new QMenu(getLocalString(QStringLiteral("IDS_MENU_EDIT")), &window);
    m_menu->setObjectName(QStringLiteral("editMenu"));
    for (const ItemInfo& info : kItems) {
        if (info.item == Item::Cut || info.item == Item::Delete)
            m_menu->addSeparator();
        QAction* action = m_menu->addAction(getLocalString(QString::fromLatin1(info.titleKey)));
        action->setObjectName(QString::fromLatin1(info.objectName));
        action->setShortcut(info.shortcut);
        // The shortcuts work whether or not the menu is on a menu bar.
        window.addAction(action);
        connect(action, &QAction::triggered, this, [this, item = info.item] { perform(item); });
        m_actions.append(action);
    }
    connect(m_menu, &QMenu::aboutToShow, this, &PLEditMenu::validate);
    // Closed, the items stay enabled so that their shortcuts reach perform, which checks again.
    connect(m_menu, &QMenu::aboutToHide, this, [this] {
        for (QAction* action : std::as_const(m_actions))
            action->setEnabled(true);
    });
}

QAction* PLEditMenu::action(Item item) const
{
    return m_actions.value(int(item));
}

void PLEditMenu::validate()
{
    for (const ItemInfo& info : kItems) {
        QString undoTitle;
        action(info.item)->setEnabled(validateItem(info.item, &undoTitle));
        if (info.item == Item::Undo)
            action(info.item)->setText(undoTitle.isEmpty() ? getLocalString(QStringLiteral("IDS_MENU_UNDO")) : undoTitle);
    }
}

bool PLEditMenu::validateItem(Item item, QString* undoTitle) const
{
    if (m_hasAttachedSheet && m_hasAttachedSheet())
        return false;
    QWidget* focused = m_window.focusWidget();
    if (auto* table = qobject_cast<PLCardListTableView*>(focused)) {
        switch (item) {
        case Item::Undo:
            return table->validateUndo(undoTitle);
        case Item::Delete:
            return table->validateDelete();
        case Item::SelectAll:
            return table->model() && table->model()->rowCount() > 0 &&
                   table->selectionMode() == QAbstractItemView::ExtendedSelection;
        default:
            return false;
        }
    }
    const std::optional<TextTarget> text = textTarget(focused);
    return text && validateText(item, *text);
}

void PLEditMenu::perform(Item item)
{
    if (!validateItem(item))
        return;
    QWidget* focused = m_window.focusWidget();
    if (auto* table = qobject_cast<PLCardListTableView*>(focused)) {
        if (item == Item::Undo)
            table->undo();
        else if (item == Item::Delete)
            table->deleteItem();
        else if (item == Item::SelectAll)
            table->selectAll();
    } else if (auto* line = qobject_cast<QLineEdit*>(focused)) {
        performOnEdit(line, item);
    } else if (auto* plain = qobject_cast<QPlainTextEdit*>(focused)) {
        performOnEdit(plain, item);
    } else if (auto* rich = qobject_cast<QTextEdit*>(focused)) {
        performOnEdit(rich, item);
    }
}
