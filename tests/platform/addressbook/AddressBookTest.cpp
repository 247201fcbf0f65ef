// The collection: which files are persons, rewriting that keeps what it does not manage, atomic
// writes that never replace another program's newer file, and bad folders and files.
#include "platform/addressbook/AddressBook.h"
#include "platform/foundation/FileAttributes.h"
#include "tests/support/filemodes/FileModeCases.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

QByteArray readFile(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeFile(const QString& path, const QByteArray& data)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(data);
}

ino_t inodeOf(const QString& path)
{
    struct stat st;
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? st.st_ino : 0;
}

ABPerson* personNamed(AddressBook& book, const QString& fileName)
{
    for (const auto& p : book.people()) {
        if (p->fileName() == fileName)
            return p.get();
    }
    return nullptr;
}

QStringList temporaryFiles(const QString& folder)
{
    return QDir(folder).entryList({QStringLiteral("*.tmp")}, QDir::Files | QDir::Hidden);
}

class AddressBookTest : public ::testing::Test {
protected:
    QTemporaryDir tmp;
    QString folder() const { return tmp.path() + QLatin1String("/contacts"); }
    QString file(const char* name) const { return folder() + QLatin1Char('/') + QLatin1String(name); }
    void SetUp() override { ASSERT_TRUE(QDir().mkpath(folder())); }
};

// Another program's vCard 4.0 file with LF line ends, a folded photo, a custom grouped label and
// properties this system does not manage.
const QByteArray kForeign = "BEGIN:VCARD\n"
                            "VERSION:4.0\n"
                            "PRODID:-//Other tool//EN\n"
                            "UID:abc-123\n"
                            "FN:Ann Lee\n"
                            "N:Lee;Ann;;;\n"
                            "PHOTO:data:image/png;base64,iVBORw0KGgoAAAANSUhEUgAAAAEAAAABCAYAAAAfFcSJAAAADUlEQV\n"
                            " R42mNkYPhfDwAChwGA60e6kgAAAABJRU5ErkJggg==\n"
                            "TEL;TYPE=home:111\n"
                            "CATEGORIES:friends,work\n"
                            "item5.TEL:222\n"
                            "item5.X-ABLabel:Pager\n"
                            "X-CUSTOM;X-PARAM=\"a:b\":keep me\\, exactly\n"
                            "TITLE:Engineer\n"
                            "END:VCARD\n";

TEST_F(AddressBookTest, RewriteChangesOnlyWhatWasSetAndKeepsEveryOtherLineByteForByte)
{
    writeFile(file("abc-123.vcf"), kForeign);
    auto book = AddressBook::open(folder());
    ASSERT_TRUE(book);
    ABPerson* p = personNamed(*book, QStringLiteral("abc-123.vcf"));
    ASSERT_TRUE(p);

    p->setValue(QStringLiteral("Lead, R&D"), kABJobTitleProperty);
    p->setValue(QStringLiteral("Acme"), kABOrganizationProperty);
    ABMultiValue phones = p->multiValueForProperty(kABPhoneProperty);
    phones.insertEntry({kABPhoneWorkLabel, QStringLiteral("333"), {}, nullptr}, 0);
    p->setMultiValue(phones, kABPhoneProperty);
    ABMultiValue addresses;
    addresses.addAddress({{kABAddressCityKey, QStringLiteral("Oslo")}, {kABAddressCountryCodeKey, QStringLiteral("us")}},
                         kABAddressWorkLabel);
    p->setMultiValue(addresses, kABAddressProperty);
    ABMultiValue mails;
    mails.addValue(QStringLiteral("ann@acme.example"), kABEmailWorkLabel);
    p->setMultiValue(mails, kABEmailProperty);
    ASSERT_TRUE(book->save());

    const QByteArray expected = "BEGIN:VCARD\n"
                                "VERSION:4.0\n"
                                "PRODID:-//Other tool//EN\n"
                                "UID:abc-123\n"
                                "FN:Ann Lee\n"
                                "N:Lee;Ann;;;\n"
                                "PHOTO:data:image/png;base64,iVBORw0KGgoAAAANSUhEUgAAAAEAAAABCAYAAAAfFcSJAAAADUlEQV\n"
                                " R42mNkYPhfDwAChwGA60e6kgAAAABJRU5ErkJggg==\n"
                                "TEL;TYPE=WORK,VOICE:333\n"
                                "TEL;TYPE=home:111\n"
                                "item5.TEL:222\n"
                                "item5.X-ABLabel:Pager\n"
                                "CATEGORIES:friends,work\n"
                                "X-CUSTOM;X-PARAM=\"a:b\":keep me\\, exactly\n"
                                "TITLE:Lead\\, R&D\n"
                                "ORG:Acme\n"
                                "EMAIL;TYPE=WORK:ann@acme.example\n"
                                "item6.ADR;TYPE=WORK:;;;Oslo;;;\n"
                                "item6.X-ABADR:us\n"
                                "END:VCARD\n";
    EXPECT_EQ(readFile(file("abc-123.vcf")), expected);
    EXPECT_TRUE(temporaryFiles(folder()).isEmpty());

    // Read back, the file gives what was set; nothing is left to write.
    auto again = AddressBook::open(folder());
    ABPerson* q = personNamed(*again, QStringLiteral("abc-123.vcf"));
    EXPECT_EQ(q->valueForProperty(kABJobTitleProperty), "Lead, R&D");
    EXPECT_EQ(q->multiValueForProperty(kABPhoneProperty).count(), 3);
    EXPECT_EQ(q->multiValueForProperty(kABAddressProperty).addressAtIndex(0).value(kABAddressCountryCodeKey), "us");
    EXPECT_FALSE(again->hasUnsavedChanges());
}

TEST_F(AddressBookTest, NewPersonIsVersion3InItsUidFileAndOnlyChangedFilesAreWritten)
{
    writeFile(file("a.vcf"), kForeign);
    auto book = AddressBook::open(folder());
    ABPerson* p = book->newPerson();
    p->setValue(QStringLiteral("Taro"), kABFirstNameProperty);
    p->setValue(QStringLiteral("Yamada"), kABLastNameProperty);
    p->setValue(QStringLiteral("Orvane; Ltd"), kABOrganizationProperty);
    p->setValue(QString(50, QChar(0x3042)), kABNoteProperty);
    ABMultiValue mails;
    mails.addValue(QStringLiteral("taro@orvane.example"), kABEmailWorkLabel);
    p->setMultiValue(mails, kABEmailProperty);
    const ino_t untouched = inodeOf(file("a.vcf"));
    ASSERT_TRUE(book->save());

    const QString name = p->uid() + QLatin1String(".vcf");
    EXPECT_EQ(p->fileName(), name);
    const QByteArray data = readFile(folder() + QLatin1Char('/') + name);
    EXPECT_TRUE(data.startsWith("BEGIN:VCARD\r\nVERSION:3.0\r\nUID:" + p->uid().toUtf8() + "\r\nFN:Taro Yamada\r\n"
                                "N:Yamada;Taro;;;\r\nORG:Orvane\\; Ltd\r\n"
                                "EMAIL;TYPE=INTERNET,WORK:taro@orvane.example\r\nNOTE:"))
        << data.toStdString();
    EXPECT_TRUE(data.endsWith("\r\nEND:VCARD\r\n"));
    EXPECT_EQ(inodeOf(file("a.vcf")), untouched);

    // A second save of the same book, and a fresh book's save, write nothing.
    const ino_t written = inodeOf(folder() + QLatin1Char('/') + name);
    EXPECT_TRUE(book->save());
    auto again = AddressBook::open(folder());
    ABPerson* q = personNamed(*again, name);
    ASSERT_TRUE(q);
    EXPECT_EQ(q->valueForProperty(kABNoteProperty), QString(50, QChar(0x3042)));
    q->setValue(QStringLiteral("Taro"), kABFirstNameProperty);
    EXPECT_FALSE(again->hasUnsavedChanges());
    EXPECT_TRUE(again->save());
    EXPECT_EQ(inodeOf(folder() + QLatin1Char('/') + name), written);
}

TEST_F(AddressBookTest, FileChangedByAnotherProgramIsNotReplacedAndTheOthersAreStillWritten)
{
    writeFile(file("a.vcf"), "BEGIN:VCARD\r\nVERSION:3.0\r\nN:A;;;;\r\nEND:VCARD\r\n");
    writeFile(file("b.vcf"), "BEGIN:VCARD\r\nVERSION:3.0\r\nN:B;;;;\r\nEND:VCARD\r\n");
    auto book = AddressBook::open(folder());
    ASSERT_EQ(book->people().size(), 2u);
    book->people()[0]->setValue(QStringLiteral("mine"), kABNoteProperty);
    book->people()[1]->setValue(QStringLiteral("mine"), kABNoteProperty);

    // Another program replaces a.vcf the vdir way, keeping its size.
    const QByteArray theirs = "BEGIN:VCARD\r\nVERSION:3.0\r\nN:Z;;;;\r\nEND:VCARD\r\n";
    writeFile(file("a.vcf.x.tmp"), theirs);
    ASSERT_TRUE(QFile::remove(file("a.vcf")));
    ASSERT_TRUE(QFile::rename(file("a.vcf.x.tmp"), file("a.vcf")));

    QString why;
    EXPECT_FALSE(book->save(&why));
    EXPECT_TRUE(why.contains(QLatin1String("a.vcf"))) << why.toStdString();
    EXPECT_EQ(readFile(file("a.vcf")), theirs);
    EXPECT_TRUE(readFile(file("b.vcf")).contains("NOTE:mine"));
    EXPECT_TRUE(temporaryFiles(folder()).isEmpty());
    EXPECT_EQ(book->changedElsewhere(), QStringList{"a.vcf"});
}

// A file of several contacts (an export of a whole address book): each is a person; a contact
// that does not read is reported and kept; writing one back leaves the others byte for byte.
TEST_F(AddressBookTest, SeveralContactsInOneFileAreEachAPersonAndWritingOneKeepsTheOthers)
{
    const QByteArray anna = "BEGIN:VCARD\r\nVERSION:3.0\r\nN:Berg;Anna;;;\r\nX-OTHER:kept\r\nEND:VCARD\r\n\r\n";
    const QByteArray broken = "BEGIN:VCARD\r\nVERSION:3.0\r\nN;no colon here\r\nEND:VCARD\r\n";
    const QByteArray carl = "begin:vcard\nversion:2.1\nN:Dahl;Carl;;;\nTITLE:Pilot\nend:vcard\n";
    writeFile(file("all.vcf"), anna + broken + carl);
    auto book = AddressBook::open(folder());
    ASSERT_TRUE(book);
    ASSERT_EQ(book->people().size(), 2u);
    EXPECT_EQ(book->people()[0]->valueForProperty(kABFirstNameProperty), "Anna");
    EXPECT_EQ(book->people()[1]->valueForProperty(kABFirstNameProperty), "Carl");
    ASSERT_EQ(book->skippedFiles().size(), 1);
    EXPECT_TRUE(book->skippedFiles().first().startsWith(QLatin1String("all.vcf: contact 2 of 3")))
        << book->skippedFiles().first().toStdString();

    book->people()[1]->setValue(QStringLiteral("Captain"), kABJobTitleProperty);
    ASSERT_TRUE(book->save());
    const QByteArray carlAfter = "begin:vcard\nversion:2.1\nN:Dahl;Carl;;;\nTITLE:Captain\nend:vcard\n";
    EXPECT_EQ(readFile(file("all.vcf")), anna + broken + carlAfter);
    // The written file is what the persons are read from now: a second change builds on it.
    book->people()[0]->setValue(QStringLiteral("Dr."), kABTitleProperty);
    ASSERT_TRUE(book->save());
    EXPECT_EQ(readFile(file("all.vcf")), QByteArray(anna).replace("Berg;Anna;;;", "Berg;Anna;;Dr.;") + broken + carlAfter);
}

// A file is written in one charset, its own: a value its charset has bytes for is written in
// it, and the other lines stay byte for byte; a value it has none for turns the whole file into
// UTF-8, each line of another charset written again without its CHARSET (else readers that take
// one charset for the file garble half of it). A file of several contacts goes over whole.
TEST_F(AddressBookTest, AFileIsWrittenInOneCharsetItsOwnOrWhollyUtf8)
{
    const QByteArray cp1252 = "BEGIN:VCARD\r\nVERSION:3.0\r\nN:M\xfcller;J\xfcrgen;;;\r\nORG:Caf\xe9 \x80\r\nEND:VCARD\r\n";
    const QByteArray latin1v21 = "BEGIN:VCARD\r\nVERSION:2.1\r\nN;CHARSET=ISO-8859-1:M\xfcller;;;;\r\nEND:VCARD\r\n";
    const QByteArray mixed = "BEGIN:VCARD\r\nVERSION:2.1\r\nN;CHARSET=SHIFT_JIS:\x8e\x52\x8c\xfb;;;;\r\n"
                             "NOTE;CHARSET=windows-1252:Caf\xe9\r\nEND:VCARD\r\n";
    const QByteArray other = "BEGIN:VCARD\r\nVERSION:3.0\r\nN:Sch\xf6n;;;;\r\nEND:VCARD\r\n";
    const struct {
        const char* name;
        QByteArray before;
        int person; // the person whose job title is set
        QString title;
        QByteArray after;
    } cases[] = {
        {"Windows-1252 file, title it has bytes for", cp1252, 0, QStringLiteral("Bäcker"),
         QByteArray(cp1252).replace("END:VCARD",
                                    "TITLE:B\xe4"
                                    "cker\r\nEND:VCARD")},
        {"Windows-1252 file, title it has no bytes for", cp1252, 0, QStringLiteral("店長"),
         "BEGIN:VCARD\r\nVERSION:3.0\r\nN:M\xc3\xbcller;J\xc3\xbcrgen;;;\r\nORG:Caf\xc3\xa9 \xe2\x82\xac\r\nTITLE:"
             + QStringLiteral("店長").toUtf8() + "\r\nEND:VCARD\r\n"},
        {"2.1 file naming its charset", latin1v21, 0, QStringLiteral("Bäcker"),
         QByteArray(latin1v21).replace("END:VCARD",
                                       "TITLE;CHARSET=ISO-8859-1:B\xe4"
                                       "cker\r\nEND:VCARD")},
        {"lines in two charsets", mixed, 0, QStringLiteral("Dr."),
         "BEGIN:VCARD\r\nVERSION:2.1\r\nN;CHARSET=UTF-8:" + QStringLiteral("山口").toUtf8()
             + ";;;;\r\nNOTE;CHARSET=UTF-8:Caf\xc3\xa9\r\nTITLE:Dr.\r\nEND:VCARD\r\n"},
        {"file of two contacts, one needing UTF-8", cp1252 + other, 1, QStringLiteral("店長"),
         "BEGIN:VCARD\r\nVERSION:3.0\r\nN:M\xc3\xbcller;J\xc3\xbcrgen;;;\r\nORG:Caf\xc3\xa9 \xe2\x82\xac\r\nEND:VCARD\r\n"
         "BEGIN:VCARD\r\nVERSION:3.0\r\nN:Sch\xc3\xb6n;;;;\r\nTITLE:"
             + QStringLiteral("店長").toUtf8() + "\r\nEND:VCARD\r\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        writeFile(file("m.vcf"), c.before);
        auto book = AddressBook::open(folder());
        ASSERT_GT(book->people().size(), size_t(c.person));
        QList<QMap<int, QString>> values;
        for (const auto& p : book->people()) {
            QMap<int, QString> v;
            for (int property = 0; property < kABSingleValueCount; ++property)
                v.insert(property, p->valueForProperty(ABProperty(property)));
            values.append(v);
        }
        book->people()[size_t(c.person)]->setValue(c.title, kABJobTitleProperty);
        values[c.person][kABJobTitleProperty] = c.title;
        ASSERT_TRUE(book->save());
        EXPECT_EQ(readFile(file("m.vcf")), c.after);
        auto again = AddressBook::open(folder());
        for (size_t i = 0; i < again->people().size(); ++i) {
            for (int property = 0; property < kABSingleValueCount; ++property)
                EXPECT_EQ(again->people()[i]->valueForProperty(ABProperty(property)), values[int(i)][property]) << property;
        }
    }
}

// What would be written is read back first: a value that would not come back as it was set
// leaves the file as it was and fails the save, naming the file.
TEST_F(AddressBookTest, AFileThatWouldNotReadBackIsNotReplaced)
{
    const QByteArray before = "BEGIN:VCARD\r\nVERSION:3.0\r\nN:Lee;;;;\r\nEND:VCARD\r\n";
    writeFile(file("lee.vcf"), before);
    auto book = AddressBook::open(folder());
    // Half of a surrogate pair has no UTF-8: it would be written as a replacement character.
    book->people()[0]->setValue(QStringLiteral("Caf") + QChar(0xD800), kABJobTitleProperty);
    QString why;
    EXPECT_FALSE(book->save(&why));
    EXPECT_TRUE(why.startsWith(QLatin1String("lee.vcf: what would be written does not read back"))) << why.toStdString();
    EXPECT_EQ(readFile(file("lee.vcf")), before);
    EXPECT_TRUE(temporaryFiles(folder()).isEmpty());
}

// A contact that ends in an indented END:VCARD after a blank line (vobject reads it) is written
// with the END unindented: next to a new line, the indent would fold the END into it.
TEST_F(AddressBookTest, IndentedEndAfterABlankLineIsWrittenUnindented)
{
    for (const QByteArray& indent : {QByteArray(" "), QByteArray("\t")}) {
        const QByteArray before = "BEGIN:VCARD\nVERSION:3.0\nN:Lee;Ann;;;\n\n" + indent + "END:VCARD\n";
        writeFile(file("lee.vcf"), before);
        auto book = AddressBook::open(folder());
        ASSERT_EQ(book->people().size(), 1u);
        book->people()[0]->setValue(QStringLiteral("Engineer"), kABJobTitleProperty);
        ASSERT_TRUE(book->save());
        EXPECT_EQ(readFile(file("lee.vcf")), "BEGIN:VCARD\nVERSION:3.0\nN:Lee;Ann;;;\n\nTITLE:Engineer\nEND:VCARD\n");
    }
}

// A run holds the folder: a second run is refused while it lasts, a reader that does not run is
// not; under the lock, what a killed run left half-written goes, and only that.
TEST_F(AddressBookTest, ARunLocksTheFolderAndClearsItsOwnLeftovers)
{
    writeFile(file("a.vcf"), "BEGIN:VCARD\r\nVERSION:3.0\r\nN:A;;;;\r\nEND:VCARD\r\n");
    writeFile(file("a.vcf.k3j9.tmp"), "BEGIN:VCARD\r\nVERSION:3.0\r\nN:A;;;;\r\nNOTE:half");
    writeFile(file("other.tmp"), "someone else's");
    bool busy = false;
    auto first = AddressBook::open(folder(), nullptr, AddressBook::Lock::None);
    ASSERT_TRUE(first);
    EXPECT_EQ(temporaryFiles(folder()).size(), 2) << "a reader removes nothing";
    auto run = AddressBook::open(folder(), nullptr, AddressBook::Lock::ForRun, &busy);
    ASSERT_TRUE(run);
    EXPECT_EQ(temporaryFiles(folder()), QStringList{"other.tmp"});
    QString why;
    EXPECT_FALSE(AddressBook::open(folder(), &why, AddressBook::Lock::ForRun, &busy));
    EXPECT_TRUE(busy);
    EXPECT_TRUE(why.contains(QLatin1String("another program"))) << why.toStdString();
    EXPECT_TRUE(AddressBook::open(folder()));
    run.reset();
    EXPECT_TRUE(AddressBook::open(folder(), nullptr, AddressBook::Lock::ForRun));
}

// A file far larger than any contact is not read at all.
TEST_F(AddressBookTest, FileAboveTheSizeBoundIsSkippedUnread)
{
    writeFile(file("huge.vcf"), "BEGIN:VCARD\r\nVERSION:3.0\r\nN:Huge;;;;\r\nNOTE:");
    ASSERT_TRUE(QFile::resize(file("huge.vcf"), AddressBook::kMaxFileBytes + 1));
    writeFile(file("small.vcf"), "BEGIN:VCARD\r\nVERSION:3.0\r\nN:Small;;;;\r\nEND:VCARD\r\n");
    auto book = AddressBook::open(folder());
    ASSERT_EQ(book->people().size(), 1u);
    ASSERT_EQ(book->skippedFiles().size(), 1);
    EXPECT_TRUE(book->skippedFiles().first().startsWith(QLatin1String("huge.vcf: larger than")))
        << book->skippedFiles().first().toStdString();
}

// What one book reads is bounded in all, not only per file: a file that would take it above
// kMaxReadBytes is left unread and named, and a smaller one after it is still read.
TEST_F(AddressBookTest, WhatABookReadsIsBoundedInAll)
{
    const qint64 size = 30 * 1024 * 1024;
    const int fitting = int(AddressBook::kMaxReadBytes / size);
    for (int i = 0; i <= fitting; ++i) {
        const QString name = file("big") + QString::number(i) + QLatin1String(".vcf");
        writeFile(name, "BEGIN:VCARD\r\nVERSION:3.0\r\nN:Big;;;;\r\nNOTE:");
        ASSERT_TRUE(QFile::resize(name, size)); // the rest reads as NUL bytes: no contact
    }
    writeFile(file("small.vcf"), "BEGIN:VCARD\r\nVERSION:3.0\r\nN:Small;;;;\r\nEND:VCARD\r\n");
    auto book = AddressBook::open(folder());
    ASSERT_EQ(book->people().size(), 1u);
    EXPECT_EQ(book->people()[0]->valueForProperty(kABLastNameProperty), "Small");
    const QStringList skipped = book->skippedFiles();
    ASSERT_EQ(skipped.size(), fitting + 1);
    EXPECT_EQ(skipped.filter(QLatin1String(": binary data")).size(), fitting) << skipped.join(u'|').toStdString();
    EXPECT_TRUE(skipped.last().startsWith(QStringLiteral("big%1.vcf: not read: the address book's files take more than").arg(fitting)))
        << skipped.last().toStdString();
}

struct ReadOnlyAttributes : FileAttributeReader {
    bool read(const QString& path, FileAttributes* out) const override
    {
        const bool ok = FileAttributeReader::read(path, out);
        out->writable = false;
        return ok;
    }
};

TEST_F(AddressBookTest, BadFilesAreSkippedAndNeverWritten)
{
    const QByteArray binary = QByteArray("\x89PNG\r\n\x1a\n") + QByteArray(64, '\0');
    writeFile(file("binary.vcf"), binary);
    writeFile(file("empty.vcf"), QByteArray());
    writeFile(file("notes.txt"), "BEGIN:VCARD\r\nN:T;;;;\r\nEND:VCARD\r\n");
    writeFile(file("pending.vcf.tmp"), "BEGIN:VCARD\r\nN:T;;;;\r\nEND:VCARD\r\n");
    writeFile(file("nouid.vcf"), "BEGIN:VCARD\r\nVERSION:3.0\r\nORG:Only a company\r\nEND:VCARD\r\n");
    writeFile(file("dup1.vcf"), "BEGIN:VCARD\r\nVERSION:3.0\r\nUID:same\r\nN:One;;;;\r\nEND:VCARD\r\n");
    writeFile(file("dup2.vcf"), "BEGIN:VCARD\r\nVERSION:3.0\r\nUID:same\r\nN:Two;;;;\r\nEND:VCARD\r\n");
    // A 10 MB photo: read, and kept whole when the person is rewritten.
    QByteArray big = "BEGIN:VCARD\r\nVERSION:3.0\r\nN:Big;;;;\r\nPHOTO;ENCODING=b;TYPE=JPEG:";
    for (int i = 0; i < 140000; ++i)
        big += QByteArray(74, 'A') + "\r\n ";
    big += "A\r\nEND:VCARD\r\n";
    writeFile(file("big.vcf"), big);

    auto book = AddressBook::open(folder());
    ASSERT_TRUE(book);
    QStringList names;
    for (const auto& p : book->people())
        names.append(p->fileName());
    EXPECT_EQ(names, QStringList({"big.vcf", "dup1.vcf", "dup2.vcf", "nouid.vcf"}));
    EXPECT_EQ(book->skippedFiles().size(), 2);
    EXPECT_TRUE(book->skippedFiles().join(QLatin1Char('|')).contains(QLatin1String("binary.vcf")));

    EXPECT_EQ(book->people()[3]->valueForProperty(kABOrganizationProperty), "Only a company");
    EXPECT_TRUE(book->people()[3]->uid().isNull());
    book->people()[0]->setValue(QStringLiteral("Mr."), kABTitleProperty);
    book->people()[1]->setValue(QStringLiteral("x"), kABNoteProperty);
    ASSERT_TRUE(book->save());
    QByteArray expectedBig = big;
    expectedBig.replace("N:Big;;;;", "N:Big;;;Mr.;");
    EXPECT_EQ(readFile(file("big.vcf")), expectedBig);
    EXPECT_TRUE(readFile(file("dup2.vcf")).contains("N:Two"));
    EXPECT_EQ(readFile(file("binary.vcf")), binary);
    EXPECT_EQ(readFile(file("empty.vcf")), QByteArray());
}

TEST_F(AddressBookTest, ReadOnlyFolderFailsTheSaveAndWritesNothing)
{
    writeFile(file("a.vcf"), kForeign);
    auto book = AddressBook::open(folder());
    book->people()[0]->setValue(QStringLiteral("x"), kABNoteProperty);
    book->newPerson()->setValue(QStringLiteral("New"), kABLastNameProperty);
    ReadOnlyAttributes readOnly;
    FileAttributeReader::setCurrent(&readOnly);
    QString why;
    const bool saved = book->save(&why);
    FileAttributeReader::setCurrent(nullptr);
    EXPECT_FALSE(saved);
    EXPECT_FALSE(why.isEmpty());
    EXPECT_EQ(QDir(folder()).entryList(QDir::Files), QStringList({"a.vcf"}));
    EXPECT_EQ(readFile(file("a.vcf")), kForeign);
}

TEST_F(AddressBookTest, MissingFolderIsMadePrivateAndAPathThroughAFileIsRefused)
{
    const QString missing = tmp.path() + QLatin1String("/data/pelmora/addressbook/default/");
    auto book = AddressBook::open(missing);
    ASSERT_TRUE(book);
    EXPECT_TRUE(book->people().empty());
    struct stat st;
    ASSERT_EQ(::stat(QFile::encodeName(missing).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u);

    writeFile(tmp.path() + QLatin1String("/plain"), "x");
    QString why;
    EXPECT_FALSE(AddressBook::open(tmp.path() + QLatin1String("/plain/contacts"), &why));
    EXPECT_FALSE(why.isEmpty());
}

} // namespace

// A contact rewritten keeps its file's mode; a new contact's file gets what the umask leaves of 0666.
TEST_F(AddressBookTest, ContactFilesKeepTheModeOfTheFileTheyReplace)
{
    for (const FileModeCase& c : kFileModeCases) {
        SCOPED_TRACE(c.name);
        QDir(folder()).removeRecursively();
        ASSERT_TRUE(QDir().mkpath(folder()));
        ASSERT_TRUE(prepareFileModeCase(c, file("a.vcf"), kForeign));
        auto book = AddressBook::open(folder());
        ASSERT_TRUE(book);
        ABPerson* person = c.existing ? personNamed(*book, QStringLiteral("a.vcf")) : book->newPerson();
        ASSERT_TRUE(person);
        person->setValue(QStringLiteral("Manager"), kABJobTitleProperty);
        {
            const UmaskScope umask(c.umask);
            ASSERT_TRUE(book->save());
        }
        EXPECT_EQ(fileModeOf(folder() + QLatin1Char('/') + person->fileName()), int(c.expected));
    }
}
