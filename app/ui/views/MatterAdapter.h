// Puts a text formatter on a text field: every edit is checked as it is made (refused or
// shortened edits leave the field with the formatter's string and caret), and the value is
// taken when editing ends (a single-line value ends before its first line break).
// QLineEdit for single-line fields; QPlainTextEdit for the fields that allow line breaks.
#pragma once

#include "app/ui/logic/PLMatter.h"

#include <QObject>

#include <memory>

class QLineEdit;
class QPlainTextEdit;

class MatterAdapter : public QObject {
    Q_OBJECT
public:
    // The adapter belongs to the field and lives as long as it.
    static MatterAdapter* attach(QLineEdit* field, std::shared_ptr<const PLMatter> matter);
    static MatterAdapter* attach(QPlainTextEdit* field, std::shared_ptr<const PLMatter> matter);

    const PLMatter& matter() const { return *m_matter; }

private:
    MatterAdapter(QObject* field, std::shared_ptr<const PLMatter> matter);
    // Checks the change from the last accepted state to `text` with the caret at `caret`;
    // answers the text and caret the field must show when they differ.
    bool check(QString* text, int* caret);
    void remember(const QString& text, TextRange selected);

    std::shared_ptr<const PLMatter> m_matter;
    QString m_text;
    TextRange m_selected;
    bool m_busy = false;
    int m_checkedRevision = -1;
};
