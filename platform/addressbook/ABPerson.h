// One person of an address book: one vCard file of the collection.
//
// Reading takes the managed properties out of the vCard (name, phonetic names, organisation and
// department, job title, note, phones, e-mail addresses, URLs, addresses); everything else is
// left in the lines as read. Writing changes only the lines of the properties that were set to
// something else, and keeps every other line byte for byte, with the file's own VERSION, line
// ends and charset. A new person is written as vCard 3.0 with its UID and FN.
//
// A file is written in one charset: its own when every changed value has bytes in it, else
// wholly in UTF-8, each line that was in another charset written again without its CHARSET.
#pragma once

#include "platform/addressbook/ABMultiValue.h"
#include "platform/addressbook/VCardText.h"

#include <QByteArray>
#include <QString>

#include <array>
#include <memory>

class ABPerson {
public:
    // A person read from a file's bytes; null when they are not one vCard (`errorText` says why).
    static std::unique_ptr<ABPerson> fromData(const QString& fileName, const QByteArray& data, QString* errorText);
    // A new person with this UID (a new one when empty), to be written as `fileName`.
    static std::unique_ptr<ABPerson> newPerson(const QString& uid, const QString& fileName);

    QString fileName() const { return m_fileName; }
    QString uid() const { return m_uid; }
    QString version() const { return m_version; }
    // FN as read (null when there is none): the whole name as the other program shows it.
    QString formattedName() const { return m_formattedName; }

    // A single value: null when the person has none.
    QString valueForProperty(ABProperty property) const;
    // An empty or null value removes it. Setting the value the person has is no change.
    void setValue(const QString& value, ABProperty property);
    ABMultiValue multiValueForProperty(ABProperty property) const;
    void setMultiValue(const ABMultiValue& value, ABProperty property);

    bool isNew() const { return m_new; }
    bool hasChanges() const;
    // The bytes of the person's file with its changes: in the file's charset, or wholly in UTF-8
    // when `toUtf8` is set or a changed value has no bytes in the file's charset (then `inUtf8`).
    QByteArray vcardData(bool toUtf8 = false, bool* inUtf8 = nullptr) const;
    // The person `data`, written from this person, reads as: one vCard with this person's UID
    // and values; null when it is not (`why` says what differs).
    std::unique_ptr<ABPerson> readBack(const QByteArray& data, QString* why) const;

private:
    friend class AddressBook;
    ABPerson() = default;
    void readLines();
    // Whether the lines were read as UTF-8 (or ASCII) only.
    bool isUtf8() const { return m_charset.isEmpty() && !m_mixedCharsets; }

    // How vcardData writes: the charset of new and rewritten lines, and whether every line
    // read in another charset is written again in UTF-8.
    struct Output {
        QByteArray charset; // empty: UTF-8
        bool declare = false; // new lines that are not ASCII name their charset
        bool allUtf8 = false;
        bool rewriting = false; // the person is written anew, not only copied
        bool unencodable = false; // a value had no bytes in `charset`
    };
    QByteArray writeData(Output* out) const;
    QByteArray renderLine(Output* out, const QByteArray& group, const QByteArray& name, const QByteArray& params,
                          const QString& value) const;
    // A property line written in place of line `index`, keeping its group and parameters.
    QByteArray rewriteLine(Output* out, int index, const QByteArray& name, const QString& value) const;
    // An original line as it goes into the written file.
    QByteArray originalLine(Output* out, const VCardContentLine& line) const;
    QByteArray nameLine(Output* out) const;
    QByteArray organizationLine(Output* out) const;
    QByteArray entryLines(Output* out, ABProperty property, const ABMultiValueEntry& entry, int* nextGroup) const;

    QString m_fileName;
    QString m_uid;
    QString m_version;
    QString m_formattedName;
    int m_formattedNameLine = -1;
    QByteArray m_lineEnd = "\r\n";
    bool m_new = false;
    QList<VCardContentLine> m_lines;
    QByteArray m_charset; // the one charset other than UTF-8 the lines were read in
    bool m_charsetDeclared = false; // named by the lines' CHARSET
    bool m_mixedCharsets = false; // lines in more than one charset that is not ASCII

    std::array<QString, kABSingleValueCount> m_single;
    std::array<QString, kABSingleValueCount> m_readSingle; // as read, to tell FN was made of them
    std::array<bool, kABSingleValueCount> m_singleChanged{};
    std::array<int, kABSingleValueCount> m_singleLine{}; // the line a single value was read from, -1 none
    QStringList m_nameParts;         // N as read, still escaped
    QStringList m_organizationParts; // ORG as read, still escaped
    std::array<ABMultiValue, kABMultiValueCount> m_multi;
    std::array<bool, kABMultiValueCount> m_multiChanged{};
    std::array<QList<int>, kABMultiValueCount> m_multiLines; // lines of each multi-value, companions included
    int m_highestGroup = 0;
};
