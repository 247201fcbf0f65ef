#include "app/ui/views/MatterAdapter.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextDocument>

MatterAdapter::MatterAdapter(QObject* field, std::shared_ptr<const PLMatter> matter) : QObject(field), m_matter(std::move(matter)) {}

void MatterAdapter::remember(const QString& text, TextRange selected)
{
    if (!m_busy) {
        m_text = text;
        m_selected = selected;
    }
}

bool MatterAdapter::check(QString* text, int* caret)
{
    TextRange proposed{*caret, 0};
    const bool valid = m_matter->isPartialStringValid(text, &proposed, m_text, m_selected);
    *caret = proposed.location;
    return valid;
}

MatterAdapter* MatterAdapter::attach(QLineEdit* field, std::shared_ptr<const PLMatter> matter)
{
    auto* adapter = new MatterAdapter(field, std::move(matter));
    auto rememberField = [adapter, field] {
        const bool selected = field->hasSelectedText();
        adapter->remember(field->text(), {selected ? field->selectionStart() : field->cursorPosition(), selected ? int(field->selectedText().size()) : 0});
    };
    rememberField();
    connect(field, &QLineEdit::cursorPositionChanged, adapter, rememberField);
    connect(field, &QLineEdit::selectionChanged, adapter, rememberField);
    connect(field, &QLineEdit::textEdited, adapter, [adapter, field, rememberField](const QString& edited) {
        QString text = edited;
        int caret = field->cursorPosition();
        adapter->m_busy = true;
        if (!adapter->check(&text, &caret)) {
            field->setText(text);
            field->setCursorPosition(caret);
        }
        adapter->m_busy = false;
        rememberField();
    });
    connect(field, &QLineEdit::editingFinished, adapter, [adapter, field] {
        QString value;
        if (adapter->matter().getObjectValue(&value, field->text()) && value != field->text())
            field->setText(value);
    });
    return adapter;
}

MatterAdapter* MatterAdapter::attach(QPlainTextEdit* field, std::shared_ptr<const PLMatter> matter)
{
    auto* adapter = new MatterAdapter(field, std::move(matter));
    // The caret moves before the text change is announced: only a document already checked is
    // remembered as the state an edit starts from.
    auto rememberField = [adapter, field] {
        if (field->document()->revision() != adapter->m_checkedRevision)
            return;
        const QTextCursor cursor = field->textCursor();
        adapter->remember(field->toPlainText(), {cursor.selectionStart(), cursor.selectionEnd() - cursor.selectionStart()});
    };
    adapter->m_checkedRevision = field->document()->revision();
    rememberField();
    connect(field, &QPlainTextEdit::cursorPositionChanged, adapter, rememberField);
    connect(field, &QPlainTextEdit::selectionChanged, adapter, rememberField);
    connect(field, &QPlainTextEdit::textChanged, adapter, [adapter, field, rememberField] {
        if (adapter->m_busy)
            return;
        QString text = field->toPlainText();
        int caret = field->textCursor().position();
        adapter->m_busy = true;
        if (!adapter->check(&text, &caret)) {
            field->setPlainText(text);
            QTextCursor cursor = field->textCursor();
            cursor.setPosition(caret);
            field->setTextCursor(cursor);
        }
        adapter->m_busy = false;
        adapter->m_checkedRevision = field->document()->revision();
        rememberField();
    });
    return adapter;
}
