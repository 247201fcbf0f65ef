// One person of an address book: one vCard file of the collection.
//
// Reading takes the managed properties out of the vCard (name, phonetic names, organisation and
// department, job title, note, phones, e-mail addresses, URLs, addresses); everything else is
// left in the lines as read. Writing changes only the lines of the properties that were set to
// something else, and keeps every other line byte for byte, with the file's own VERSION and
// line ends. A new person is written as vCard 3.0 with a UID and FN, in "<UID>.vcf".
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
    // A new person with a new UID, not yet in any file.
    static std::unique_ptr<ABPerson> newPerson();

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
    // The bytes of the person's file with its changes.
    QByteArray vcardData() const;

private:
    friend class AddressBook;
    ABPerson() = default;
    // After a write: the written bytes become what the person was read from.
    bool resetFromData(const QByteArray& data);
    void readLines();
    QByteArray renderLine(const QByteArray& group, const QByteArray& nameAndParams, const QString& value) const;
    // A property line written in place of line `index`, keeping its group and parameters.
    QByteArray rewriteLine(int index, const QByteArray& name, const QString& value) const;
    QByteArray nameLine() const;
    QByteArray organizationLine() const;
    QByteArray entryLines(ABProperty property, const ABMultiValueEntry& entry, int* nextGroup) const;

    QString m_fileName;
    QString m_uid;
    QString m_version;
    QString m_formattedName;
    QByteArray m_lineEnd = "\r\n";
    bool m_new = false;
    QList<VCardContentLine> m_lines;

    std::array<QString, kABSingleValueCount> m_single;
    std::array<bool, kABSingleValueCount> m_singleChanged{};
    std::array<int, kABSingleValueCount> m_singleLine{}; // the line a single value was read from, -1 none
    QStringList m_nameParts;         // N as read, still escaped
    QStringList m_organizationParts; // ORG as read, still escaped
    std::array<ABMultiValue, kABMultiValueCount> m_multi;
    std::array<bool, kABMultiValueCount> m_multiChanged{};
    std::array<QList<int>, kABMultiValueCount> m_multiLines; // lines of each multi-value, companions included
    int m_highestGroup = 0;
};
