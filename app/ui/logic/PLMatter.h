// The text formatters of the main application: a maximum length in UTF-16 units (0: no limit),
// with or without line breaks ("\n", "\r", U+2028). They check typing, give a field's value
// and its display text; widgets use them through MatterAdapter.
#pragma once

#include <QString>
#include <QVariant>

struct TextRange {
    int location = 0;
    int length = 0;
    friend bool operator==(const TextRange&, const TextRange&) = default;
};

class PLMatter {
public:
    PLMatter() = default;
    explicit PLMatter(quint16 maxLength) : _uiMaxLength(maxLength) {}
    static PLMatter initWithMaxLengthHasEnterKey(quint16 maxLength);
    virtual ~PLMatter() = default;

    quint16 maxLength() const { return _uiMaxLength; }
    bool hasEnterKey() const { return bHasEnterKey; }

    // Checks an edit that turns `original` (selection `originalSelected`) into `*partial`
    // (selection `*proposedSelected`). YES accepts the edit as it stands; NO either refuses it
    // (the string unchanged) or replaces it by a shortened one, both given back through the pointers.
    virtual bool isPartialStringValid(QString* partial, TextRange* proposedSelected, const QString& original, TextRange originalSelected) const;
    // The field's value: false when the string is longer than the maximum; a single-line value
    // ends before its first line break.
    bool getObjectValue(QString* value, const QString& string) const;
    bool isValidString(const QString& string) const;
    QString stringForObjectValue(const QVariant& value) const;

    static bool isLineBreak(QChar c);
    // The first `length` UTF-16 units, one less when the cut would split a surrogate pair.
    static QString leftUnits(const QString& text, int length);
    // `text` before its earliest line break of any kind.
    static QString firstLine(const QString& text);

protected:
    quint16 _uiMaxLength = 0;
    bool bHasEnterKey = false;
};

// The same, with stricter typing: typed text ends before its first line break and the
// result always replaces the proposed string.
class PLInputTextMatter : public PLMatter {
public:
    using PLMatter::PLMatter;
    bool isPartialStringValid(QString* partial, TextRange* proposedSelected, const QString& original, TextRange originalSelected) const override;
};

// The display-only formatter of the card list's cells: one line, cut to the maximum.
class PLCardMatter {
public:
    PLCardMatter() = default;
    explicit PLCardMatter(quint16 maxLength) : _uiMaxLength(maxLength) {}
    QString stringForObjectValue(const QVariant& value) const;

private:
    quint16 _uiMaxLength = 0;
};
