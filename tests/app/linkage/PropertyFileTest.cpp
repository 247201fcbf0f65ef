// Property-list files of the linkage: the statuses of reading and writing, and the rules of
// "ExportResult.plist".
#include "app/linkage/LinkageStatus.h"
#include "app/linkage/PLExtAppExportFileInfo.h"
#include "platform/foundation/PlistFile.h"
#include "tests/support/dbtools/FakeFileAttributes.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

class PropertyFile : public ::testing::Test {
protected:
    QTemporaryDir temp;
    QString path(const QString& name) const { return temp.filePath(name); }
    void write(const QString& name, const QByteArray& bytes)
    {
        QFile file(path(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
};

TEST_F(PropertyFile, ReadingStatuses)
{
    write("array.plist", serializePlist(PlistValue(PlistValue::Array{PlistValue(1)})));
    write("corrupt.plist", "<?xml version=\"1.0\"?><plist><dict><key>a</key>");
    write("binary.plist", serializePlist(PlistValue(PlistValue::Dictionary{{"Key", PlistValue("value")}}), PlistFormat::Binary));
    QDir().mkdir(path("folder.plist"));
    const struct {
        QString file;
        int status;
    } cases[] = {
        {QString(), linkage::kNoPath}, {path("missing.plist"), linkage::kMissing}, {path("folder.plist"), linkage::kMissing},
        {path("corrupt.plist"), linkage::kParseFailed}, {path("array.plist"), linkage::kWrongType}, {path("binary.plist"), 0},
    };
    for (const auto& c : cases) {
        PLPropertyFile file(c.file);
        file.setValue(PlistValue("kept"), QStringLiteral("Before"));
        EXPECT_EQ(file.open(), c.status) << c.file.toStdString();
        // A failed read leaves the object as it was.
        EXPECT_EQ(file.valueForKey(QStringLiteral("Before")).isNull(), c.status == 0) << c.file.toStdString();
    }
    PLPropertyFile binary(path("binary.plist"));
    ASSERT_EQ(binary.open(), 0);
    EXPECT_EQ(binary.valueForKey(QStringLiteral("Key")).toString(), QStringLiteral("value"));
}

TEST_F(PropertyFile, WritingStatuses)
{
    PLPropertyFile file;
    file.setValue(PlistValue(3), QStringLiteral("Number"));
    EXPECT_EQ(file.saveToFile(QString()), linkage::kArgument);
    EXPECT_EQ(file.saveToFile(path("nowhere/file.plist")), linkage::kMissing);
    EXPECT_FALSE(QFileInfo::exists(path("nowhere")));
    {
        FakeFileAttributes attributes;
        attributes.set(temp.path(), FakeFileAttributes::ReadOnly);
        EXPECT_EQ(file.saveToFile(path("ro.plist")), linkage::kNotWritable);
    }
    ASSERT_EQ(file.saveToFile(path("saved.plist")), 0);
    PLPropertyFile read(path("saved.plist"));
    ASSERT_EQ(read.open(), 0);
    EXPECT_EQ(read.valueForKey(QStringLiteral("Number")).toInteger(), 3);
    PLPropertyFile noRoot;
    noRoot.setContents(std::nullopt);
    EXPECT_EQ(noRoot.saveToFile(path("none.plist")), linkage::kArgument);
}

TEST_F(PropertyFile, ExportResultListsExistingFiles)
{
    const PlistValue::Dictionary defaults = PLExtAppExportFileInfo::newInfoGroupDic(QString(), QStringLiteral(" "), QString());
    EXPECT_EQ(defaults.value("FileDesc").toString(), QStringLiteral("ZORFILELISTFORMAT"));
    EXPECT_EQ(defaults.value("Version").toString(), QStringLiteral("1.0"));
    EXPECT_EQ(defaults.value("Application").toString(), QStringLiteral("Pelmora"));

    write("DataFile1.vcf", "BEGIN:VCARD\r\n");
    PLExtAppExportFileInfo result(path(kExportResultFileName));
    result.setInfoGroupDic(defaults);
    result.setFilesGroupArr(PlistValue::Array{});
    EXPECT_EQ(result.save(), 0) << "an empty list is valid";
    result.setFilesGroupArr(PLExtAppExportFileInfo::filesGroup({path("DataFile1.vcf")}));
    ASSERT_EQ(result.save(), 0);

    PLExtAppExportFileInfo read(path(kExportResultFileName));
    EXPECT_EQ(read.parse(), 0);
    EXPECT_EQ(read.filesGroupArr()->value(0).toString(), path("DataFile1.vcf"));
    EXPECT_EQ(read.infoGroupDic()->value("Application").toString(), QStringLiteral("Pelmora"));

    const struct {
        const char* name;
        PlistValue::Dictionary info;
        PlistValue::Array files;
        int status;
    } cases[] = {
        {"a deleted file", defaults, {PlistValue(path("gone.vcf"))}, linkage::kPathTooLong},
        {"a folder", defaults, {PlistValue(temp.path())}, linkage::kPathTooLong},
        {"not a string", defaults, {PlistValue(7)}, linkage::kWrongType},
        {"a blank path", defaults, {PlistValue(" ")}, linkage::kBlank},
        {"no version", {{"FileDesc", PlistValue("x")}, {"Application", PlistValue("y")}}, {}, linkage::kWrongType},
        {"a blank application", {{"FileDesc", PlistValue("x")}, {"Version", PlistValue("1")}, {"Application", PlistValue("")}}, {}, linkage::kBlank},
    };
    for (const auto& c : cases) {
        PLExtAppExportFileInfo bad(path("bad.plist"));
        bad.setInfoGroupDic(c.info);
        bad.setFilesGroupArr(c.files);
        EXPECT_EQ(bad.save(), c.status) << c.name;
        EXPECT_FALSE(QFileInfo::exists(path("bad.plist"))) << c.name;
    }
}

} // namespace
