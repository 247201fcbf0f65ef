// The property names, labels and multi-values of an address-book person.
//
// A multi-value is an ordered list of entries, each a value (text, or an address of named parts)
// with a label. Entries read from a file remember what they were read as: an entry that is
// still the same when the person is written goes back into the file as the lines it came from.
#pragma once

#include "platform/addressbook/VCardText.h"

#include <QList>
#include <QMap>
#include <QString>

#include <algorithm>
#include <memory>

enum ABProperty {
    // Single values: the parts of the name, the phonetic names, organisation and job.
    kABFirstNameProperty,
    kABMiddleNameProperty,
    kABLastNameProperty,
    kABTitleProperty, // the name prefix, not the job title
    kABSuffixProperty,
    kABFirstNamePhoneticProperty,
    kABMiddleNamePhoneticProperty,
    kABLastNamePhoneticProperty,
    kABOrganizationProperty,
    kABDepartmentProperty,
    kABJobTitleProperty,
    kABNoteProperty,
    // Multi-values.
    kABPhoneProperty,
    kABEmailProperty,
    kABURLsProperty,
    kABAddressProperty,
};
inline constexpr int kABSingleValueCount = kABNoteProperty + 1;
inline constexpr int kABMultiValueCount = kABAddressProperty - kABPhoneProperty + 1;

inline bool isMultiValueProperty(ABProperty property) { return property >= kABPhoneProperty; }

// Labels. Any other text is a custom label, kept as it stands.
inline const QString kABWorkLabel = QStringLiteral("work");
inline const QString kABHomeLabel = QStringLiteral("home");
inline const QString kABOtherLabel = QStringLiteral("other");
inline const QString kABPhoneMobileLabel = QStringLiteral("mobile");
inline const QString kABPhoneWorkFAXLabel = QStringLiteral("work fax");
inline const QString kABPhoneHomeFAXLabel = QStringLiteral("home fax");
inline const QString kABPhoneWorkLabel = kABWorkLabel;
inline const QString kABEmailWorkLabel = kABWorkLabel;
inline const QString kABAddressWorkLabel = kABWorkLabel;

// The parts of an address entry.
using ABAddress = QMap<QString, QString>;
inline const QString kABAddressStreetKey = QStringLiteral("Street");
inline const QString kABAddressCityKey = QStringLiteral("City");
inline const QString kABAddressStateKey = QStringLiteral("State");
inline const QString kABAddressZIPKey = QStringLiteral("ZIP");
inline const QString kABAddressCountryKey = QStringLiteral("Country");
inline const QString kABAddressCountryCodeKey = QStringLiteral("CountryCode");

struct ABMultiValueEntry {
    QString label;
    QString value;     // phones, e-mail addresses and URLs
    ABAddress address; // addresses

    bool sameContent(const ABMultiValueEntry& other) const
    {
        return label == other.label && value == other.value && address == other.address;
    }

    // Set for entries read from a file: the lines the entry came from (the property's line, then
    // its grouped companions) and what they were read as.
    struct Origin {
        QList<VCardContentLine> lines;
        QString label;
        QString value;
        ABAddress address;
    };
    std::shared_ptr<const Origin> origin;
    // Read from a line that says neither what nor whose it is (no TYPE but PREF, VOICE or
    // INTERNET, no label): what many programs and servers write for a person's one number.
    bool untyped = false;
};

class ABMultiValue {
public:
    int count() const { return int(m_entries.size()); }
    const ABMultiValueEntry& entryAtIndex(int index) const { return m_entries[index]; }
    QString valueAtIndex(int index) const { return m_entries[index].value; }
    const ABAddress& addressAtIndex(int index) const { return m_entries[index].address; }
    QString labelAtIndex(int index) const { return m_entries[index].label; }

    void addEntry(const ABMultiValueEntry& entry) { m_entries.append(entry); }
    void addValue(const QString& value, const QString& label) { m_entries.append({label, value, {}, nullptr}); }
    void addAddress(const ABAddress& address, const QString& label) { m_entries.append({label, {}, address, nullptr}); }
    // Another value or address for an entry, which keeps its label and the lines it came from.
    void setValueAtIndex(int index, const QString& value) { m_entries[index].value = value; }
    void setAddressAtIndex(int index, const ABAddress& address) { m_entries[index].address = address; }
    // `index` is clamped to the list.
    void insertEntry(const ABMultiValueEntry& entry, int index)
    {
        m_entries.insert(std::clamp(index, 0, count()), entry);
    }

    bool sameContent(const ABMultiValue& other) const
    {
        if (count() != other.count())
            return false;
        for (int i = 0; i < count(); ++i) {
            if (!m_entries[i].sameContent(other.m_entries[i]))
                return false;
        }
        return true;
    }

private:
    QList<ABMultiValueEntry> m_entries;
};
