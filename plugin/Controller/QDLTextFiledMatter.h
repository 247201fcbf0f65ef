// The keyword and credential fields' check: at most a given number of characters (the field's
// maximum length), and one line only: text pasted with line breaks keeps its first line.
#pragma once

#include <QValidator>

class QLineEdit;

class QDLTextFiledMatter : public QValidator {
public:
    QDLTextFiledMatter(quint16 maxLength, QObject* parent) : QValidator(parent), _uiMaxLength(maxLength) {}

    // Gives `field` this check and its maximum length.
    static void apply(QLineEdit* field, quint16 maxLength);

    State validate(QString& input, int& pos) const override;

private:
    quint16 _uiMaxLength;
};
