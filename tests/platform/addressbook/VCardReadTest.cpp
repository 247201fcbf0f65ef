// Reading persons from vCard 3.0 and 4.0 files as other tools write them.
#include "platform/addressbook/ABPerson.h"

#include <gtest/gtest.h>

namespace {

std::unique_ptr<ABPerson> read(const QByteArray& data)
{
    QString why;
    auto person = ABPerson::fromData(QStringLiteral("x.vcf"), data, &why);
    EXPECT_TRUE(person) << why.toStdString();
    return person;
}

QString entry(const ABMultiValue& mv, int i)
{
    return mv.labelAtIndex(i) + QLatin1Char('=') + mv.valueAtIndex(i);
}

TEST(VCardRead, Version3WithFoldingEscapesGroupsAndTypeForms)
{
    const QByteArray data = "BEGIN:VCARD\r\n"
                            "VERSION:3.0\r\n"
                            "N:Nakamura;Ken,Kenny;Jo;Dr.;Jr.\r\n"
                            "FN:Dr. Ken Nakamura\r\n"
                            "X-PHONETIC-LAST-NAME:\xe3\x81\xaa\xe3\x81\x8b\r\n"
                            "ORG:Acme\\, Inc.;Sales\\;East;Floor 2\r\n"
                            "TITLE:Head of \r\n"
                            " Sales\r\n"
                            "NOTE:line one\\nline two\\, \\\\ back\r\n"
                            "TEL;TYPE=WORK,VOICE:+81 3 1111\r\n"
                            "TEL;type=work;type=fax:+81 3 2222\r\n"
                            "TEL;TYPE=\"cell,voice\":090 3333\r\n"
                            "TEL;HOME:045 4444\r\n"
                            "item1.TEL:050 5555\r\n"
                            "item1.X-ABLabel:Assistant\r\n"
                            "EMAIL;TYPE=INTERNET;TYPE=WORK:ken@acme.example\r\n"
                            "EMAIL;TYPE=INTERNET:ken@home.example\r\n"
                            "URL;TYPE=WORK:http://acme.example/a%20b\r\n"
                            "item2.ADR;TYPE=WORK:;;1-2 Chiyoda\\, Bldg;Tokyo;Tokyo-to;100-0001;Japan\r\n"
                            "item2.X-ABADR:jp\r\n"
                            "END:VCARD\r\n";
    auto p = read(data);
    ASSERT_TRUE(p);
    EXPECT_EQ(p->valueForProperty(kABLastNameProperty), "Nakamura");
    EXPECT_EQ(p->valueForProperty(kABFirstNameProperty), "Ken"); // a list gives its first value
    EXPECT_EQ(p->valueForProperty(kABMiddleNameProperty), "Jo");
    EXPECT_EQ(p->valueForProperty(kABTitleProperty), "Dr.");
    EXPECT_EQ(p->valueForProperty(kABSuffixProperty), "Jr.");
    EXPECT_EQ(p->valueForProperty(kABLastNamePhoneticProperty), QString::fromUtf8("\xe3\x81\xaa\xe3\x81\x8b"));
    EXPECT_TRUE(p->valueForProperty(kABFirstNamePhoneticProperty).isNull());
    EXPECT_EQ(p->valueForProperty(kABOrganizationProperty), "Acme, Inc.");
    EXPECT_EQ(p->valueForProperty(kABDepartmentProperty), "Sales;East");
    EXPECT_EQ(p->valueForProperty(kABJobTitleProperty), "Head of Sales");
    EXPECT_EQ(p->valueForProperty(kABNoteProperty), "line one\nline two, \\ back");

    const ABMultiValue phones = p->multiValueForProperty(kABPhoneProperty);
    ASSERT_EQ(phones.count(), 5);
    EXPECT_EQ(entry(phones, 0), "work=+81 3 1111");
    EXPECT_EQ(entry(phones, 1), "work fax=+81 3 2222");
    EXPECT_EQ(entry(phones, 2), "mobile=090 3333");
    EXPECT_EQ(entry(phones, 3), "home=045 4444");
    EXPECT_EQ(entry(phones, 4), "Assistant=050 5555");

    const ABMultiValue mails = p->multiValueForProperty(kABEmailProperty);
    ASSERT_EQ(mails.count(), 2);
    EXPECT_EQ(entry(mails, 0), "work=ken@acme.example");
    EXPECT_EQ(entry(mails, 1), "other=ken@home.example");
    EXPECT_EQ(entry(p->multiValueForProperty(kABURLsProperty), 0), "work=http://acme.example/a%20b");

    const ABMultiValue addresses = p->multiValueForProperty(kABAddressProperty);
    ASSERT_EQ(addresses.count(), 1);
    EXPECT_EQ(addresses.labelAtIndex(0), kABAddressWorkLabel);
    const ABAddress a = addresses.addressAtIndex(0);
    EXPECT_EQ(a.value(kABAddressStreetKey), "1-2 Chiyoda, Bldg");
    EXPECT_EQ(a.value(kABAddressCityKey), "Tokyo");
    EXPECT_EQ(a.value(kABAddressStateKey), "Tokyo-to");
    EXPECT_EQ(a.value(kABAddressZIPKey), "100-0001");
    EXPECT_EQ(a.value(kABAddressCountryKey), "Japan");
    EXPECT_EQ(a.value(kABAddressCountryCodeKey), "jp");
}

TEST(VCardRead, Version4WithUriPhonesAndLowerCaseTypes)
{
    const QByteArray data = "BEGIN:VCARD\n"
                            "VERSION:4.0\n"
                            "UID:urn:uuid:4fbe8971-0bc3-424c-9c26-36c3e1eff6b1\n"
                            "FN:Jane Roe\n"
                            "N:Roe;Jane;;;\n"
                            "TEL;VALUE=uri;TYPE=\"work,voice\";PREF=1:tel:+1-555-555-5555;ext=5555\n"
                            "TEL;VALUE=uri;TYPE=cell:tel:+1-555-555-4444\n"
                            "TEL;TYPE=work,fax:+1-555-555-3333\n"
                            "EMAIL;TYPE=work:jane@example.com\n"
                            "ADR;TYPE=work;LABEL=\"100 Main St\\nSpringfield\":;;100 Main St;Springfield;IL;62701;USA\n"
                            "END:VCARD\n";
    auto p = read(data);
    ASSERT_TRUE(p);
    EXPECT_EQ(p->version(), "4.0");
    EXPECT_EQ(p->uid(), "urn:uuid:4fbe8971-0bc3-424c-9c26-36c3e1eff6b1");
    EXPECT_EQ(p->valueForProperty(kABFirstNameProperty), "Jane");
    EXPECT_TRUE(p->valueForProperty(kABMiddleNameProperty).isNull());
    const ABMultiValue phones = p->multiValueForProperty(kABPhoneProperty);
    ASSERT_EQ(phones.count(), 3);
    EXPECT_EQ(entry(phones, 0), "work=+1-555-555-5555;ext=5555");
    EXPECT_EQ(entry(phones, 1), "mobile=+1-555-555-4444");
    EXPECT_EQ(entry(phones, 2), "work fax=+1-555-555-3333");
    EXPECT_EQ(entry(p->multiValueForProperty(kABEmailProperty), 0), "work=jane@example.com");
    const ABAddress a = p->multiValueForProperty(kABAddressProperty).addressAtIndex(0);
    EXPECT_EQ(a.value(kABAddressStreetKey), "100 Main St");
    EXPECT_EQ(a.value(kABAddressStateKey), "IL");
    EXPECT_FALSE(a.contains(kABAddressCountryCodeKey));
}

TEST(VCardRead, WhatIsNotOneVCardIsRefused)
{
    const struct {
        const char* name;
        QByteArray data;
    } cases[] = {
        {"empty", ""},
        {"binary", QByteArray("BEGIN:VCARD\r\nVERSION:3.0\r\nN:") + '\0' + QByteArray("a;;;;\r\nEND:VCARD\r\n")},
        {"no end", "BEGIN:VCARD\r\nVERSION:3.0\r\nN:A;;;;\r\n"},
        {"no begin", "VERSION:3.0\r\nN:A;;;;\r\nEND:VCARD\r\n"},
        {"two cards", "BEGIN:VCARD\r\nN:A;;;;\r\nEND:VCARD\r\nBEGIN:VCARD\r\nN:B;;;;\r\nEND:VCARD\r\n"},
        {"line without colon", "BEGIN:VCARD\r\nVERSION:3.0\r\nN;A\r\nEND:VCARD\r\n"},
    };
    for (const auto& c : cases) {
        QString why;
        EXPECT_FALSE(ABPerson::fromData(QStringLiteral("x.vcf"), c.data, &why)) << c.name;
        EXPECT_FALSE(why.isEmpty()) << c.name;
    }
}

// What older phones, mail programs and exports write: vCard 2.1 quoted-printable with soft line
// breaks and charsets, files in Windows-1252 without a word about it, and 4.0 without N.
TEST(VCardRead, CharsetsQuotedPrintableAndFormattedNames)
{
    const struct {
        const char* name;
        QByteArray lines;
        QString family, first, note, formatted;
    } cases[] = {
        {"2.1 quoted-printable UTF-8, soft line break",
         "VERSION:2.1\r\nN;CHARSET=UTF-8;ENCODING=QUOTED-PRINTABLE:=E4=BD=90=E8=97=A4;=E8=8A=B1=\r\n=E5=AD=90;;;\r\n"
         "NOTE;ENCODING=QUOTED-PRINTABLE:first=0D=0Asecond =3D ok=\r\n and on\r\n",
         QStringLiteral("佐藤"), QStringLiteral("花子"), QStringLiteral("first\r\nsecond = ok and on"), QString()},
        {"2.1 bare QUOTED-PRINTABLE in Shift_JIS", "VERSION:2.1\r\nN;QUOTED-PRINTABLE;CHARSET=SHIFT_JIS:=8E=52=8C=FB;=E3=C4=91=BE;;;\r\n",
         QStringLiteral("山口"), QStringLiteral("翔太"), QString(), QString()},
        {"raw Shift_JIS named by CHARSET", "VERSION:2.1\r\nN;CHARSET=Shift_JIS:\x8e\x52\x8c\xfb;\xe3\xc4\x91\xbe;;;\r\n",
         QStringLiteral("山口"), QStringLiteral("翔太"), QString(), QString()},
        {"Windows-1252 without a charset", "VERSION:3.0\r\nN:M\xfcller;J\xfcrgen;;;\r\nNOTE:\x80 5 \x96 Caf\xe9\r\n",
         QStringLiteral("Müller"), QStringLiteral("Jürgen"), QStringLiteral("€ 5 – Café"), QString()},
        {"a charset that does not fit the bytes", "VERSION:3.0\r\nN;CHARSET=UTF-8:M\xfcller;;;;\r\n", QStringLiteral("Müller"), QString(),
         QString(), QString()},
        {"4.0 with FN only", "VERSION:4.0\nFN:Jane Q. Public\n", QString(), QString(), QString(), QStringLiteral("Jane Q. Public")},
    };
    for (const auto& c : cases) {
        auto p = read("BEGIN:VCARD\r\n" + c.lines + "END:VCARD\r\n");
        ASSERT_TRUE(p) << c.name;
        EXPECT_EQ(p->valueForProperty(kABLastNameProperty), c.family) << c.name;
        EXPECT_EQ(p->valueForProperty(kABFirstNameProperty), c.first) << c.name;
        EXPECT_EQ(p->valueForProperty(kABNoteProperty), c.note) << c.name;
        EXPECT_EQ(p->formattedName(), c.formatted) << c.name;
    }
}

// A line that is rewritten loses the encoding it was read with; in a file of two charsets every
// line goes over to UTF-8, which a 2.1 file names.
TEST(VCardRead, RewrittenLineLeavesItsEncodingBehind)
{
    const QByteArray data = "BEGIN:VCARD\r\nVERSION:2.1\r\n"
                            "N;CHARSET=SHIFT_JIS;ENCODING=QUOTED-PRINTABLE:=8E=52=8C=FB;=E3=C4=91=BE;;;\r\n"
                            "NOTE;CHARSET=windows-1252:Caf\xe9\r\n"
                            "END:VCARD\r\n";
    auto p = read(data);
    ASSERT_TRUE(p);
    p->setValue(QStringLiteral("博士"), kABTitleProperty);
    const QByteArray written = p->vcardData();
    EXPECT_EQ(written,
              "BEGIN:VCARD\r\nVERSION:2.1\r\nN;CHARSET=UTF-8:" + QStringLiteral("山口;翔太;;博士;").toUtf8()
                  + "\r\nNOTE;CHARSET=UTF-8:Caf\xc3\xa9\r\nEND:VCARD\r\n");
    auto again = read(written);
    ASSERT_TRUE(again);
    EXPECT_EQ(again->valueForProperty(kABTitleProperty), QStringLiteral("博士"));
    EXPECT_EQ(again->valueForProperty(kABNoteProperty), QStringLiteral("Café"));
}

TEST(VCardText, EscapesRoundTripAndFoldingKeepsUtf8Whole)
{
    const QString text = QStringLiteral("C:\\new, a;b\r\nnext\rlast\n");
    EXPECT_EQ(escapeVCardText(text), "C:\\\\new\\, a\\;b\\nnext\\nlast\\n");
    EXPECT_EQ(unescapeVCardText(escapeVCardText(text)), "C:\\new, a;b\nnext\nlast\n");
    // Needless escapes (as in "URL:http\://") read as the character; before a letter or a digit
    // the backslash is the text's own.
    EXPECT_EQ(unescapeVCardText(QStringLiteral("http\\://x.example/\\~a\\ b C:\\Users\\1")), "http://x.example/~a b C:\\Users\\1");
    // Control characters would make the file unreadable (NUL) or end the line for other readers.
    const QString controls =
        QStringLiteral("a") + QChar(0) + QChar(1) + QStringLiteral("b\vc\fd") + QChar(0x2028) + QStringLiteral("e\tf") + QChar(0x7F);
    EXPECT_EQ(escapeVCardText(controls), "ab\\nc\\nd\\ne\tf");

    const QByteArray line = "NOTE:" + QString(40, QChar(0x3042)).toUtf8(); // 125 octets
    const QByteArray folded = foldVCardLine(line, "\r\n");
    QByteArray unfolded;
    for (const QByteArray& physical : folded.split('\n')) {
        if (physical.isEmpty())
            continue;
        EXPECT_LE(physical.size() - 1, 75);
        QByteArray content = physical.chopped(1);
        unfolded += unfolded.isEmpty() ? content : content.mid(1);
        EXPECT_FALSE(QString::fromUtf8(content).contains(QChar::ReplacementCharacter));
    }
    EXPECT_EQ(unfolded, line);
}

} // namespace
