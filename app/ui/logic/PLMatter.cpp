#include "app/ui/logic/PLMatter.h"

namespace {

struct Edit {
    QString base;  // the original without its selected text
    QString typed; // what the edit inserts at the selection's start
    bool deletes;  // nothing typed: the edit only removes text, which is always allowed
};

Edit editOf(const QString& partial, TextRange proposed, const QString& original, TextRange selected)
{
    const int start = qBound(0, selected.location, int(original.size()));
    const int length = qBound(0, selected.length, int(original.size()) - start);
    Edit edit{QString(original).remove(start, length), QString(), false};
    const int typedLength = proposed.location - start;
    edit.deletes = typedLength <= 0;
    if (!edit.deletes)
        edit.typed = partial.mid(start, typedLength);
    return edit;
}

// Inserts what fits of `typed` into the base; answers whether all of it fitted.
bool insertFitting(const PLMatter& matter, const Edit& edit, int start, QString* partial, TextRange* proposed)
{
    const int max = matter.maxLength();
    QString typed = edit.typed;
    const bool fits = max == 0 || edit.base.size() + typed.size() <= max;
    if (!fits)
        typed = edit.base.size() < max ? PLMatter::leftUnits(typed, max - int(edit.base.size())) : QString();
    *partial = QString(edit.base).insert(start, typed);
    *proposed = {start + int(typed.size()), 0};
    return fits;
}

} // namespace

PLMatter PLMatter::initWithMaxLengthHasEnterKey(quint16 maxLength)
{
    PLMatter matter(maxLength);
    matter.bHasEnterKey = true;
    return matter;
}

bool PLMatter::isLineBreak(QChar c)
{
    return c == QLatin1Char('\n') || c == QLatin1Char('\r') || c == QChar(0x2028);
}

QString PLMatter::leftUnits(const QString& text, int length)
{
    if (length >= text.size())
        return text;
    if (length <= 0)
        return QString();
    if (text.at(length - 1).isHighSurrogate() && text.at(length).isLowSurrogate())
        --length;
    return text.left(length);
}

QString PLMatter::firstLine(const QString& text)
{
    for (int i = 0; i < text.size(); ++i) {
        if (isLineBreak(text.at(i)))
            return text.left(i);
    }
    return text;
}

bool PLMatter::isPartialStringValid(QString* partial, TextRange* proposedSelected, const QString& original, TextRange originalSelected) const
{
    const Edit edit = editOf(*partial, *proposedSelected, original, originalSelected);
    if (edit.deletes)
        return true;
    if (!bHasEnterKey && edit.typed.size() == 1 && isLineBreak(edit.typed.at(0))) {
        *partial = original;
        *proposedSelected = originalSelected;
        return false;
    }
    QString result;
    TextRange selection;
    if (insertFitting(*this, edit, originalSelected.location, &result, &selection))
        return true;
    *partial = result;
    *proposedSelected = selection;
    return false;
}

bool PLInputTextMatter::isPartialStringValid(QString* partial, TextRange* proposedSelected, const QString& original, TextRange originalSelected) const
{
    Edit edit = editOf(*partial, *proposedSelected, original, originalSelected);
    if (edit.deletes)
        return true;
    const QString line = firstLine(edit.typed);
    const bool cut = line.size() != edit.typed.size();
    edit.typed = line;
    const bool fits = insertFitting(*this, edit, originalSelected.location, partial, proposedSelected);
    return fits && !cut;
}

bool PLMatter::isValidString(const QString& string) const
{
    return _uiMaxLength == 0 || string.size() <= _uiMaxLength;
}

bool PLMatter::getObjectValue(QString* value, const QString& string) const
{
    if (!isValidString(string))
        return false;
    *value = bHasEnterKey ? string : firstLine(string);
    return true;
}

QString PLMatter::stringForObjectValue(const QVariant& value) const
{
    if (value.isNull())
        return QString();
    return _uiMaxLength ? leftUnits(value.toString(), _uiMaxLength) : value.toString();
}

QString PLCardMatter::stringForObjectValue(const QVariant& value) const
{
    if (value.isNull())
        return QString();
    QString text = value.toString();
    for (QChar& c : text) {
        if (PLMatter::isLineBreak(c))
            c = QLatin1Char(' ');
    }
    return _uiMaxLength ? PLMatter::leftUnits(text, _uiMaxLength) : text;
}
