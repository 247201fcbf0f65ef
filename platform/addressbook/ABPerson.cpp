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

bool isAscii(const QString& text)
{
    return std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() < 0x80; });
}

// The whole name as a new person's FN has it: the parts as the name is said (family name first
// in East Asian script), or the organisation when there is no name.
QString formattedNameOf(const std::array<QString, kABSingleValueCount>& single)
{
    const bool eastAsian =
        std::any_of(single.begin(), single.begin() + kABSuffixProperty + 1, [](const QString& part) { return isEastAsianText(part); });
    const ABProperty westernOrder[] = {kABTitleProperty, kABFirstNameProperty, kABMiddleNameProperty, kABLastNameProperty,
                                       kABSuffixProperty};
    const ABProperty familyFirst[] = {kABTitleProperty, kABLastNameProperty, kABMiddleNameProperty, kABFirstNameProperty,
                                      kABSuffixProperty};
    QStringList words;
    for (ABProperty p : eastAsian ? familyFirst : westernOrder) {
        if (!single[p].isEmpty())
            words.append(single[p]);
    }
    return words.isEmpty() ? single[kABOrganizationProperty] : words.join(QLatin1Char(' '));
}

// TYPE values that say nothing of what a value is or whose.
bool saysNothing(const QString& type)
{
    return type.compare(QLatin1String("PREF"), Qt::CaseInsensitive) == 0 || type.compare(QLatin1String("VOICE"), Qt::CaseInsensitive) == 0
        || type.compare(QLatin1String("INTERNET"), Qt::CaseInsensitive) == 0;
}

bool isUntypedLine(const VCardContentLine& line)
{
    for (const VCardParameter& p : line.parameters) {
        if (p.name != "TYPE")
            continue;
        for (const QString& v : p.values) {
            if (!v.trimmed().isEmpty() && !saysNothing(v.trimmed()))
                return false;
        }
    }
    return true;
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

std::unique_ptr<ABPerson> ABPerson::newPerson(const QString& uid, const QString& fileName)
{
    std::unique_ptr<ABPerson> person(new ABPerson);
    person->m_new = true;
    person->m_version = QStringLiteral("3.0");
    person->m_uid = uid.isEmpty() ? QUuid::createUuid().toString(QUuid::WithoutBraces).toUpper() : uid;
    person->m_fileName = fileName;
    person->m_singleLine.fill(-1);
    return person;
}

void ABPerson::readLines()
{
    m_singleLine.fill(-1);
    m_version = QStringLiteral("3.0");
    QHash<QByteArray, QList<int>> companions;
    bool utf8 = false;
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
        if (line.charset.isEmpty())
            continue;
        if (sameCharset(line.charset, "UTF-8")) {
            utf8 = true;
        } else if (m_charset.isEmpty()) {
            m_charset = line.charset;
            m_charsetDeclared = !line.parameter("CHARSET").isEmpty();
        } else if (!sameCharset(line.charset, m_charset)) {
            m_mixedCharsets = true;
        }
    }
    m_mixedCharsets = m_mixedCharsets || (utf8 && !m_charset.isEmpty());

    for (int i = 0; i < m_lines.size(); ++i) {
        const VCardContentLine& line = m_lines[i];
        if (line.name == "VERSION") {
            m_version = line.value.trimmed();
        } else if (line.name == "FN" && m_formattedName.isNull()) {
            m_formattedName = unescapeVCardText(line.value.trimmed());
            m_formattedNameLine = i;
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
            origin->lines.append(line);
            m_multiLines[m].append(i);
            entry.label = labelOfLine(property, line);
            bool labelled = false;
            for (int c : companions.value(line.group)) {
                const VCardContentLine& companion = m_lines[c];
                origin->lines.append(companion);
                m_multiLines[m].append(c);
                if (companion.name == "X-ABLABEL") {
                    entry.label = unescapeVCardText(companion.value);
                    labelled = true;
                } else if (property == kABAddressProperty) {
                    entry.address.insert(kABAddressCountryCodeKey, unescapeVCardText(companion.value));
                }
            }
            entry.untyped = !labelled && entry.label == kABOtherLabel && isUntypedLine(line);
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
    m_readSingle = m_single;
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

QByteArray ABPerson::renderLine(Output* out, const QByteArray& group, const QByteArray& name, const QByteArray& params,
                                const QString& value) const
{
    QByteArray line;
    if (!group.isEmpty())
        line = group + '.';
    line += name + params;
    if (out->declare && !isAscii(value))
        line += ";CHARSET=" + (out->charset.isEmpty() ? QByteArray("UTF-8") : out->charset);
    QByteArray bytes;
    if (!encodeVCardText(value, out->charset, &bytes)) {
        out->unencodable = true;
        bytes = value.toUtf8();
    }
    line += ':' + bytes;
    // Folding keeps UTF-8 sequences whole; a line in another charset is left long, as readers
    // take it, rather than cut inside a character.
    return out->charset.isEmpty() ? foldVCardLine(line, m_lineEnd) : line + m_lineEnd;
}

QByteArray ABPerson::rewriteLine(Output* out, int index, const QByteArray& name, const QString& value) const
{
    const VCardContentLine& line = m_lines[index];
    return renderLine(out, line.group, name, paramsForRewrittenLine(line.paramText), value);
}

QByteArray ABPerson::originalLine(Output* out, const VCardContentLine& line) const
{
    if (out->allUtf8 && !line.charset.isEmpty() && !sameCharset(line.charset, "UTF-8"))
        return renderLine(out, line.group, line.name, paramsForRewrittenLine(line.paramText), line.value);
    // After a blank line a line may start with blanks; next to any other line they would make
    // it part of that line (an indented END:VCARD would end nothing).
    return out->rewriting ? movableLine(line.raw) : line.raw;
}

QByteArray ABPerson::nameLine(Output* out) const
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
        return rewriteLine(out, line, "N", parts.join(QLatin1Char(';')));
    return renderLine(out, {}, "N", {}, parts.join(QLatin1Char(';')));
}

QByteArray ABPerson::organizationLine(Output* out) const
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
        return rewriteLine(out, line, "ORG", parts.join(QLatin1Char(';')));
    return renderLine(out, {}, "ORG", {}, parts.join(QLatin1Char(';')));
}

QByteArray ABPerson::entryLines(Output* out, ABProperty property, const ABMultiValueEntry& entry, int* nextGroup) const
{
    const ABMultiValueEntry::Origin* origin = entry.origin.get();
    auto originalLines = [&](qsizetype from) {
        QByteArray lines;
        for (qsizetype i = from; i < origin->lines.size(); ++i)
            lines += originalLine(out, origin->lines[i]);
        return lines;
    };
    auto textValue = [&](const QString& value) {
        // A URL is not text: its commas and semicolons stay as they are.
        return property == kABURLsProperty ? vcardTextAsWritten(value).remove(QLatin1Char('\n')) : escapeVCardText(value);
    };
    if (origin && entry.sameContent({origin->label, origin->value, origin->address, nullptr}))
        return originalLines(0);
    // A value changed under the same label goes back into its own line, with the parameters
    // and companions it had.
    if (origin && property != kABAddressProperty && entry.label == origin->label) {
        const VCardContentLine& line = origin->lines.first();
        const bool uri = property == kABPhoneProperty && line.parameter("VALUE").compare(QLatin1String("uri"), Qt::CaseInsensitive) == 0;
        return renderLine(out, line.group, line.name, paramsForRewrittenLine(line.paramText),
                          (uri ? QStringLiteral("tel:") : QString()) + textValue(entry.value))
            + originalLines(1);
    }

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
    } else {
        value = textValue(entry.value);
    }

    const QString countryCode = entry.address.value(kABAddressCountryCodeKey);
    const bool grouped = custom || (property == kABAddressProperty && !countryCode.isEmpty());
    const QByteArray group = grouped ? "item" + QByteArray::number(++*nextGroup) : QByteArray();
    QByteArray lines = renderLine(out, group, multiValueName(property - kABPhoneProperty), params, value);
    if (custom)
        lines += renderLine(out, group, "X-ABLabel", {}, escapeVCardText(label));
    if (property == kABAddressProperty && !countryCode.isEmpty())
        lines += renderLine(out, group, "X-ABADR", {}, escapeVCardText(countryCode));
    return lines;
}

QByteArray ABPerson::vcardData(bool toUtf8, bool* inUtf8) const
{
    Output out;
    out.rewriting = hasChanges();
    if (!toUtf8 && !out.rewriting) {
        // Nothing to write anew: the file as it was read.
        if (inUtf8)
            *inUtf8 = isUtf8();
        return writeData(&out);
    }
    if (!toUtf8 && !m_mixedCharsets && !m_charset.isEmpty()) {
        out.charset = m_charset;
        out.declare = m_charsetDeclared || m_version == QLatin1String("2.1");
        const QByteArray data = writeData(&out);
        if (!out.unencodable) {
            if (inUtf8)
                *inUtf8 = false;
            return data;
        }
    }
    // UTF-8: wholly, when the lines are in more than one charset or a value has no bytes in the
    // file's own.
    out = Output();
    out.allUtf8 = !isUtf8();
    out.rewriting = hasChanges() || out.allUtf8;
    out.declare = m_version == QLatin1String("2.1");
    if (inUtf8)
        *inUtf8 = true;
    return writeData(&out);
}

QByteArray ABPerson::writeData(Output* out) const
{
    int nextGroup = m_highestGroup;
    auto multiBlock = [&](int m) {
        QByteArray block;
        const ABMultiValue& mv = m_multi[m];
        for (int e = 0; e < mv.count(); ++e)
            block += entryLines(out, ABProperty(kABPhoneProperty + m), mv.entryAtIndex(e), &nextGroup);
        return block;
    };
    auto textLine = [&](const TextProperty& t) {
        const int line = m_singleLine[t.property];
        const QString& v = m_single[t.property];
        if (v.isEmpty())
            return QByteArray();
        if (line >= 0)
            return rewriteLine(out, line, t.name, escapeVCardText(v));
        return renderLine(out, {}, t.name, {}, escapeVCardText(v));
    };

    if (m_new) {
        QByteArray data = "BEGIN:VCARD" + m_lineEnd + "VERSION:3.0" + m_lineEnd;
        data += renderLine(out, {}, "UID", {}, escapeVCardText(m_uid));
        data += renderLine(out, {}, "FN", {}, escapeVCardText(formattedNameOf(m_single)));
        data += nameLine(out);
        for (const TextProperty& t : kTextProperties) {
            if (t.property == kABJobTitleProperty)
                data += organizationLine(out);
            if (t.property != kABNoteProperty)
                data += textLine(t);
        }
        for (int m = 0; m < kABMultiValueCount; ++m)
            data += multiBlock(m);
        for (const TextProperty& t : kTextProperties) {
            if (t.property == kABNoteProperty)
                data += textLine(t);
        }
        return data + "END:VCARD" + m_lineEnd;
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
        (line >= 0 ? replacement[line] : beforeEnd) += nameLine(out);
    }
    const bool organizationChanged = m_singleChanged[kABOrganizationProperty] || m_singleChanged[kABDepartmentProperty];
    if (organizationChanged) {
        const int line = m_singleLine[kABOrganizationProperty];
        (line >= 0 ? replacement[line] : beforeEnd) += organizationLine(out);
    }
    // An FN that was made of the name (or of the organisation, for a person without one) follows
    // it; one the user wrote otherwise stays.
    if ((nameChanged || organizationChanged) && m_formattedNameLine >= 0) {
        const QString before = formattedNameOf(m_readSingle);
        const QString after = formattedNameOf(m_single);
        if (!after.isEmpty() && after != before && m_formattedName.simplified() == before.simplified())
            replacement[m_formattedNameLine] = rewriteLine(out, m_formattedNameLine, "FN", escapeVCardText(after));
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
    QByteArray data;
    for (int i = 0; i < m_lines.size(); ++i) {
        if (i == end)
            data += beforeEnd;
        if (const auto it = replacement.constFind(i); it != replacement.cend())
            data += *it;
        else if (!dropped.contains(i))
            data += originalLine(out, m_lines[i]);
    }
    return data;
}

std::unique_ptr<ABPerson> ABPerson::readBack(const QByteArray& data, QString* why) const
{
    auto differs = [why](const QString& what) {
        if (why)
            *why = QStringLiteral("what would be written does not read back (%1)").arg(what);
        return nullptr;
    };
    if (splitVCardFile(data).size() != 1)
        return differs(QStringLiteral("not one vCard"));
    QString error;
    std::unique_ptr<ABPerson> again = fromData(m_fileName, data, &error);
    if (!again)
        return differs(error);
    if (again->m_uid != m_uid)
        return differs(QStringLiteral("UID"));
    // A value set is read back as written (line breaks as line feeds, no control characters); one
    // left as read is read back as it was.
    for (int p = 0; p < kABSingleValueCount; ++p) {
        const bool set = m_new || m_singleChanged[p];
        if ((set ? vcardTextAsWritten(m_single[p]) : m_single[p]) != again->m_single[p])
            return differs(QStringLiteral("property %1").arg(p));
    }
    for (int m = 0; m < kABMultiValueCount; ++m) {
        const ABMultiValue& mine = m_multi[m];
        const ABMultiValue& theirs = again->m_multi[m];
        if (mine.count() != theirs.count())
            return differs(QStringLiteral("%1 entries").arg(QLatin1String(multiValueName(m))));
        for (int e = 0; e < mine.count(); ++e) {
            const ABMultiValueEntry& entry = mine.entryAtIndex(e);
            const ABMultiValueEntry& read = theirs.entryAtIndex(e);
            const bool set =
                !entry.origin || !entry.sameContent({entry.origin->label, entry.origin->value, entry.origin->address, nullptr});
            if (!set) {
                if (!read.sameContent(entry))
                    return differs(QStringLiteral("%1 entry %2").arg(QLatin1String(multiValueName(m))).arg(e + 1));
                continue;
            }
            QString value = vcardTextAsWritten(entry.value);
            if (m + kABPhoneProperty == kABURLsProperty)
                value = unescapeVCardText(value.remove(QLatin1Char('\n')));
            // Parts written empty are read as none.
            auto written = [](const ABAddress& address, bool convert) {
                ABAddress parts;
                for (auto it = address.begin(); it != address.end(); ++it) {
                    const QString part = convert ? vcardTextAsWritten(it.value()) : it.value();
                    if (!part.isEmpty())
                        parts.insert(it.key(), part);
                }
                return parts;
            };
            const bool address = m + kABPhoneProperty == kABAddressProperty;
            if (read.label != vcardTextAsWritten(entry.label)
                || (address ? written(read.address, false) != written(entry.address, true) : read.value != value))
                return differs(QStringLiteral("%1 entry %2").arg(QLatin1String(multiValueName(m))).arg(e + 1));
        }
    }
    return again;
}
