#include "platform/addressbook/ABPerson.h"

#include <QHash>
#include <QSet>
#include <QUuid>

namespace {

// N components in file order and the property each one holds.
constexpr ABProperty kNameParts[] = {kABLastNameProperty, kABFirstNameProperty, kABMiddleNameProperty, kABTitleProperty,
                                     kABSuffixProperty};

struct TextProperty {
    ABProperty property;
    const char* name;
};
constexpr TextProperty kTextProperties[] = {
    {kABFirstNamePhoneticProperty, "X-PHONETIC-FIRST-NAME"},
    {kABMiddleNamePhoneticProperty, "X-PHONETIC-MIDDLE-NAME"},
    {kABLastNamePhoneticProperty, "X-PHONETIC-LAST-NAME"},
    {kABJobTitleProperty, "TITLE"},
    {kABNoteProperty, "NOTE"},
};

const char* multiValueName(int index)
{
    static const char* const names[] = {"TEL", "EMAIL", "URL", "ADR"};
    return names[index];
}

int multiValueIndexOfName(const QByteArray& name)
{
    for (int i = 0; i < kABMultiValueCount; ++i) {
        if (name == multiValueName(i))
            return i;
    }
    return -1;
}

bool isCompanionLine(const VCardContentLine& line)
{
    return !line.group.isEmpty() && (line.name == "X-ABLABEL" || line.name == "X-ABADR");
}

QString firstListValue(const QString& component)
{
    return unescapeVCardText(splitVCardValue(component, QLatin1Char(',')).first());
}

QString labelOfLine(ABProperty property, const VCardContentLine& line)
{
    const bool work = line.hasType("WORK");
    const bool home = line.hasType("HOME");
    if (property == kABPhoneProperty) {
        if (line.hasType("CELL"))
            return kABPhoneMobileLabel;
        if (line.hasType("FAX"))
            return work ? kABPhoneWorkFAXLabel : home ? kABPhoneHomeFAXLabel : kABOtherLabel;
    }
    return work ? kABWorkLabel : home ? kABHomeLabel : kABOtherLabel;
}

QString textOrNull(const QString& text)
{
    return text.isEmpty() ? QString() : text;
}

const QString kAddressPartKeys[] = {kABAddressStreetKey, kABAddressCityKey, kABAddressStateKey, kABAddressZIPKey,
                                    kABAddressCountryKey};

// A line that may be written elsewhere in the file: without the blanks it may start with after
// a blank line, which next to any other line would make it part of that line.
QByteArray movableLine(const QByteArray& raw)
{
    qsizetype start = 0;
    while (start < raw.size() && (raw.at(start) == ' ' || raw.at(start) == '\t'))
        ++start;
    return start == 0 ? raw : raw.mid(start);
}

// A character at or above U+3001 (ideographic punctuation, kana, CJK ideographs, Hangul).
bool isEastAsianText(const QString& text)
{
    return std::any_of(text.begin(), text.end(), [](QChar c) { return c.unicode() >= 0x3001; });
}

} // namespace

std::unique_ptr<ABPerson> ABPerson::fromData(const QString& fileName, const QByteArray& data, QString* errorText)
{
    std::unique_ptr<ABPerson> person(new ABPerson);
    if (!splitVCardLines(data, &person->m_lines, &person->m_lineEnd, errorText))
        return nullptr;
    person->m_fileName = fileName;
    person->readLines();
    return person;
}

std::unique_ptr<ABPerson> ABPerson::newPerson()
{
    std::unique_ptr<ABPerson> person(new ABPerson);
    person->m_new = true;
    person->m_version = QStringLiteral("3.0");
    person->m_uid = QUuid::createUuid().toString(QUuid::WithoutBraces).toUpper();
    person->m_fileName = person->m_uid + QLatin1String(".vcf");
    person->m_singleLine.fill(-1);
    return person;
}

bool ABPerson::resetFromData(const QByteArray& data)
{
    ABPerson fresh;
    if (!splitVCardLines(data, &fresh.m_lines, &fresh.m_lineEnd, nullptr))
        return false;
    fresh.m_fileName = m_fileName;
    fresh.readLines();
    *this = std::move(fresh);
    return true;
}

void ABPerson::readLines()
{
    m_singleLine.fill(-1);
    m_version = QStringLiteral("3.0");
    QHash<QByteArray, QList<int>> companions;
    for (int i = 0; i < m_lines.size(); ++i) {
        const VCardContentLine& line = m_lines[i];
        if (isCompanionLine(line))
            companions[line.group].append(i);
        if (line.group.startsWith("item")) {
            bool ok = false;
            const int n = line.group.mid(4).toInt(&ok);
            if (ok)
                m_highestGroup = std::max(m_highestGroup, n);
        }
    }

    for (int i = 0; i < m_lines.size(); ++i) {
        const VCardContentLine& line = m_lines[i];
        if (line.name == "VERSION") {
            m_version = line.value.trimmed();
        } else if (line.name == "FN" && m_formattedName.isNull()) {
            m_formattedName = unescapeVCardText(line.value.trimmed());
        } else if (line.name == "UID" && m_uid.isNull()) {
            m_uid = unescapeVCardText(line.value.trimmed());
        } else if (line.name == "N" && m_nameParts.isEmpty()) {
            m_nameParts = splitVCardValue(line.value, QLatin1Char(';'));
            for (int p = 0; p < 5; ++p) {
                m_single[kNameParts[p]] = p < m_nameParts.size() ? textOrNull(firstListValue(m_nameParts[p])) : QString();
                m_singleLine[kNameParts[p]] = i;
            }
        } else if (line.name == "ORG" && m_organizationParts.isEmpty()) {
            m_organizationParts = splitVCardValue(line.value, QLatin1Char(';'));
            m_single[kABOrganizationProperty] = textOrNull(unescapeVCardText(m_organizationParts.value(0)));
            m_single[kABDepartmentProperty] = textOrNull(unescapeVCardText(m_organizationParts.value(1)));
            m_singleLine[kABOrganizationProperty] = m_singleLine[kABDepartmentProperty] = i;
        } else if (const int m = multiValueIndexOfName(line.name); m >= 0) {
            const ABProperty property = ABProperty(kABPhoneProperty + m);
            ABMultiValueEntry entry;
            auto origin = std::make_shared<ABMultiValueEntry::Origin>();
            origin->lines = movableLine(line.raw);
            m_multiLines[m].append(i);
            entry.label = labelOfLine(property, line);
            for (int c : companions.value(line.group)) {
                const VCardContentLine& companion = m_lines[c];
                origin->lines.append(movableLine(companion.raw));
                m_multiLines[m].append(c);
                if (companion.name == "X-ABLABEL")
                    entry.label = unescapeVCardText(companion.value);
                else if (property == kABAddressProperty)
                    entry.address.insert(kABAddressCountryCodeKey, unescapeVCardText(companion.value));
            }
            if (property == kABAddressProperty) {
                const QStringList parts = splitVCardValue(line.value, QLatin1Char(';'));
                for (int p = 0; p < 5; ++p) {
                    const QString part = unescapeVCardText(parts.value(p + 2));
                    if (!part.isEmpty())
                        entry.address.insert(kAddressPartKeys[p], part);
                }
            } else {
                entry.value = unescapeVCardText(line.value);
                if (property == kABPhoneProperty && line.parameter("VALUE").compare(QLatin1String("uri"), Qt::CaseInsensitive) == 0
                    && entry.value.startsWith(QLatin1String("tel:"), Qt::CaseInsensitive))
                    entry.value = entry.value.mid(4);
            }
            origin->label = entry.label;
            origin->value = entry.value;
            origin->address = entry.address;
            entry.origin = std::move(origin);
            m_multi[m].addEntry(entry);
        } else {
            for (const TextProperty& t : kTextProperties) {
                if (line.name == t.name && m_singleLine[t.property] < 0) {
                    m_single[t.property] = textOrNull(unescapeVCardText(line.value));
                    m_singleLine[t.property] = i;
                }
            }
        }
    }
    // Each multi-value's lines in file order: a rewritten list takes the place of the first.
    for (auto& lines : m_multiLines)
        std::sort(lines.begin(), lines.end());
}

QString ABPerson::valueForProperty(ABProperty property) const
{
    return isMultiValueProperty(property) ? QString() : m_single[property];
}

void ABPerson::setValue(const QString& value, ABProperty property)
{
    if (isMultiValueProperty(property))
        return;
    const QString v = textOrNull(value);
    if (v == m_single[property])
        return;
    m_single[property] = v;
    m_singleChanged[property] = true;
}

ABMultiValue ABPerson::multiValueForProperty(ABProperty property) const
{
    return isMultiValueProperty(property) ? m_multi[property - kABPhoneProperty] : ABMultiValue();
}

void ABPerson::setMultiValue(const ABMultiValue& value, ABProperty property)
{
    if (!isMultiValueProperty(property))
        return;
    const int m = property - kABPhoneProperty;
    if (value.sameContent(m_multi[m]))
        return;
    m_multi[m] = value;
    m_multiChanged[m] = true;
}

bool ABPerson::hasChanges() const
{
    if (m_new)
        return true;
    for (bool changed : m_singleChanged) {
        if (changed)
            return true;
    }
    for (bool changed : m_multiChanged) {
        if (changed)
            return true;
    }
    return false;
}

QByteArray ABPerson::renderLine(const QByteArray& group, const QByteArray& nameAndParams, const QString& value) const
{
    QByteArray line;
    if (!group.isEmpty())
        line = group + '.';
    line += nameAndParams + ':' + value.toUtf8();
    return foldVCardLine(line, m_lineEnd);
}

QByteArray ABPerson::rewriteLine(int index, const QByteArray& name, const QString& value) const
{
    const VCardContentLine& line = m_lines[index];
    return renderLine(line.group, name + paramsForRewrittenLine(line.paramText, m_version == QLatin1String("2.1"), value), value);
}

QByteArray ABPerson::nameLine() const
{
    QStringList parts = m_nameParts;
    while (parts.size() < 5)
        parts.append(QString());
    for (int p = 0; p < 5; ++p) {
        if (m_new || m_singleChanged[kNameParts[p]])
            parts[p] = escapeVCardText(m_single[kNameParts[p]]);
    }
    const int line = m_singleLine[kABLastNameProperty];
    if (line >= 0)
        return rewriteLine(line, "N", parts.join(QLatin1Char(';')));
    return renderLine({}, "N", parts.join(QLatin1Char(';')));
}

QByteArray ABPerson::organizationLine() const
{
    QStringList parts = m_organizationParts;
    while (parts.size() < 2)
        parts.append(QString());
    parts[0] = escapeVCardText(m_single[kABOrganizationProperty]);
    parts[1] = escapeVCardText(m_single[kABDepartmentProperty]);
    while (parts.size() > 1 && parts.last().isEmpty())
        parts.removeLast();
    if (parts.size() == 1 && parts[0].isEmpty())
        return QByteArray();
    const int line = m_singleLine[kABOrganizationProperty];
    if (line >= 0)
        return rewriteLine(line, "ORG", parts.join(QLatin1Char(';')));
    return renderLine({}, "ORG", parts.join(QLatin1Char(';')));
}

QByteArray ABPerson::entryLines(ABProperty property, const ABMultiValueEntry& entry, int* nextGroup) const
{
    if (entry.origin && entry.sameContent({entry.origin->label, entry.origin->value, entry.origin->address, nullptr}))
        return entry.origin->lines;

    QByteArray params;
    bool custom = false;
    const QString& label = entry.label;
    if (property == kABPhoneProperty) {
        if (label == kABWorkLabel)
            params = ";TYPE=WORK,VOICE";
        else if (label == kABPhoneMobileLabel)
            params = ";TYPE=CELL";
        else if (label == kABPhoneWorkFAXLabel)
            params = ";TYPE=WORK,FAX";
        else if (label == kABPhoneHomeFAXLabel)
            params = ";TYPE=HOME,FAX";
        else if (label == kABHomeLabel)
            params = ";TYPE=HOME,VOICE";
        else
            custom = label != kABOtherLabel;
    } else {
        // vCard 4.0 has no INTERNET type: every e-mail address is one.
        if (property == kABEmailProperty && !m_version.startsWith(QLatin1Char('4')))
            params = ";TYPE=INTERNET";
        const QByteArray separator = params.isEmpty() ? ";TYPE=" : ",";
        if (label == kABWorkLabel)
            params += separator + "WORK";
        else if (label == kABHomeLabel)
            params += separator + "HOME";
        else
            custom = label != kABOtherLabel;
    }

    QString value;
    if (property == kABAddressProperty) {
        QStringList parts = {QString(), QString()};
        for (const QString& key : kAddressPartKeys)
            parts.append(escapeVCardText(entry.address.value(key)));
        value = parts.join(QLatin1Char(';'));
    } else if (property == kABURLsProperty) {
        // A URL is not text: its commas and semicolons stay as they are.
        value = vcardTextAsWritten(entry.value).remove(QLatin1Char('\n'));
    } else {
        value = escapeVCardText(entry.value);
    }

    const QString countryCode = entry.address.value(kABAddressCountryCodeKey);
    const bool grouped = custom || (property == kABAddressProperty && !countryCode.isEmpty());
    const QByteArray group = grouped ? "item" + QByteArray::number(++*nextGroup) : QByteArray();
    QByteArray out = renderLine(group, QByteArray(multiValueName(property - kABPhoneProperty)) + params, value);
    if (custom)
        out += renderLine(group, "X-ABLabel", escapeVCardText(label));
    if (property == kABAddressProperty && !countryCode.isEmpty())
        out += renderLine(group, "X-ABADR", escapeVCardText(countryCode));
    return out;
}

QByteArray ABPerson::vcardData() const
{
    int nextGroup = m_highestGroup;
    auto multiBlock = [&](int m) {
        QByteArray block;
        const ABMultiValue& mv = m_multi[m];
        for (int e = 0; e < mv.count(); ++e)
            block += entryLines(ABProperty(kABPhoneProperty + m), mv.entryAtIndex(e), &nextGroup);
        return block;
    };
    auto textLine = [&](const TextProperty& t) {
        const int line = m_singleLine[t.property];
        const QString& v = m_single[t.property];
        if (v.isEmpty())
            return QByteArray();
        if (line >= 0)
            return rewriteLine(line, t.name, escapeVCardText(v));
        return renderLine({}, t.name, escapeVCardText(v));
    };

    if (m_new) {
        // East Asian names are shown family name first, as they are written.
        const bool eastAsian = std::any_of(m_single.begin(), m_single.begin() + kABSuffixProperty + 1,
                                           [](const QString& part) { return isEastAsianText(part); });
        QStringList nameWords;
        const ABProperty westernOrder[] = {kABTitleProperty, kABFirstNameProperty, kABMiddleNameProperty, kABLastNameProperty,
                                           kABSuffixProperty};
        const ABProperty familyFirst[] = {kABTitleProperty, kABLastNameProperty, kABMiddleNameProperty, kABFirstNameProperty,
                                          kABSuffixProperty};
        for (ABProperty p : eastAsian ? familyFirst : westernOrder) {
            if (!m_single[p].isEmpty())
                nameWords.append(m_single[p]);
        }
        const QString formatted = nameWords.isEmpty() ? m_single[kABOrganizationProperty] : nameWords.join(QLatin1Char(' '));
        QByteArray out = "BEGIN:VCARD" + m_lineEnd + "VERSION:3.0" + m_lineEnd;
        out += renderLine({}, "UID", escapeVCardText(m_uid));
        out += renderLine({}, "FN", escapeVCardText(formatted));
        out += nameLine();
        for (const TextProperty& t : kTextProperties) {
            if (t.property == kABJobTitleProperty)
                out += organizationLine();
            if (t.property != kABNoteProperty)
                out += textLine(t);
        }
        for (int m = 0; m < kABMultiValueCount; ++m)
            out += multiBlock(m);
        for (const TextProperty& t : kTextProperties) {
            if (t.property == kABNoteProperty)
                out += textLine(t);
        }
        return out + "END:VCARD" + m_lineEnd;
    }

    // The line each changed property goes to, and the lines it replaces.
    QHash<int, QByteArray> replacement;
    QSet<int> dropped;
    QByteArray beforeEnd;
    bool nameChanged = false;
    for (ABProperty p : kNameParts)
        nameChanged = nameChanged || m_singleChanged[p];
    if (nameChanged) {
        const int line = m_singleLine[kABLastNameProperty];
        (line >= 0 ? replacement[line] : beforeEnd) += nameLine();
    }
    if (m_singleChanged[kABOrganizationProperty] || m_singleChanged[kABDepartmentProperty]) {
        const int line = m_singleLine[kABOrganizationProperty];
        (line >= 0 ? replacement[line] : beforeEnd) += organizationLine();
    }
    for (const TextProperty& t : kTextProperties) {
        if (!m_singleChanged[t.property])
            continue;
        const int line = m_singleLine[t.property];
        (line >= 0 ? replacement[line] : beforeEnd) += textLine(t);
    }
    for (int m = 0; m < kABMultiValueCount; ++m) {
        if (!m_multiChanged[m])
            continue;
        const QList<int>& lines = m_multiLines[m];
        if (lines.isEmpty()) {
            beforeEnd += multiBlock(m);
            continue;
        }
        replacement[lines.first()] += multiBlock(m);
        for (int i = 1; i < lines.size(); ++i)
            dropped.insert(lines[i]);
    }

    // New lines go before the END:VCARD that closes the vCard, not before any other END line.
    int end = int(m_lines.size()) - 1;
    while (end > 0
           && !(m_lines[end].name == "END" && m_lines[end].value.trimmed().compare(QLatin1String("VCARD"), Qt::CaseInsensitive) == 0))
        --end;
    QByteArray out;
    for (int i = 0; i < m_lines.size(); ++i) {
        const VCardContentLine& line = m_lines[i];
        if (i == end)
            out += beforeEnd;
        if (const auto it = replacement.constFind(i); it != replacement.cend())
            out += *it;
        else if (!dropped.contains(i))
            out += line.raw;
    }
    return out;
}
