#include "plugin/Controller/QDLTextFiledMatter.h"

#include <QLineEdit>
#include <QRegularExpression>

void QDLTextFiledMatter::apply(QLineEdit* field, quint16 maxLength)
{
    field->setMaxLength(maxLength);
    field->setValidator(new QDLTextFiledMatter(maxLength, field));
}

QValidator::State QDLTextFiledMatter::validate(QString& input, int& pos) const
{
    // The line ends at its first break of any kind, so that checking the result again keeps it.
    static const QRegularExpression lineBreak(QStringLiteral("[\\n\\r\\x{2028}]"));
    const qsizetype at = input.indexOf(lineBreak);
    if (at >= 0)
        input.truncate(at);
    if (_uiMaxLength > 0 && input.size() > _uiMaxLength)
        input.truncate(_uiMaxLength);
    pos = std::min(pos, int(input.size()));
    return Acceptable;
}
