#include "platform/foundation/PlistFile.h"
#include "platform/foundation/ServicesStatus.h"
#include "tools/services/ServicesStatusMerge.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

const QString kOurKey = QStringLiteral("com.orvane.zor.Pelmora - Search - searchFromTextService");
const QString kOtherKey = QStringLiteral("org.example.Editor - Make Note - makeNote");

PlistValue entry(bool enabled)
{
    return PlistValue::Dictionary{{kServicesMenuEnabledKey, enabled}};
}

PlistValue statusRoot(const PlistValue::Dictionary& status)
{
    return PlistValue::Dictionary{{kServicesStatusKey, status}};
}

QByteArray fileBytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool writeBytes(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

class ServicesStatusMergeTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        m_toolPath = m_dir.filePath("tool/pbs.plist");
        m_userPath = m_dir.filePath("config/com.orvane.zor/pbs.plist");
        ASSERT_TRUE(QDir().mkpath(m_dir.filePath("tool")));
        ASSERT_TRUE(writePlistFile(m_toolPath, statusRoot({{kOurKey, entry(true)}})));
    }

    void writeUser(const PlistValue& root, PlistFormat format)
    {
        ASSERT_TRUE(QDir().mkpath(m_dir.filePath("config/com.orvane.zor")));
        ASSERT_TRUE(writePlistFile(m_userPath, root, format));
    }

    PlistValue readUser(PlistFormat* format = nullptr)
    {
        PlistValue root;
        EXPECT_TRUE(readPlistFile(m_userPath, root, format));
        return root;
    }

    QTemporaryDir m_dir;
    QString m_toolPath;
    QString m_userPath;
};

} // namespace

TEST_F(ServicesStatusMergeTest, EntryIsAddedAndTheFileKeepsItsFormatAndOtherKeys)
{
    for (PlistFormat format : {PlistFormat::Xml, PlistFormat::Binary}) {
        const PlistValue before(PlistValue::Dictionary{
            {"NSUserKeyEquivalents", PlistValue::Dictionary{{"Make Note", "@~n"}}},
            {kServicesStatusKey, PlistValue::Dictionary{{kOtherKey, entry(false)}}}});
        writeUser(before, format);

        EXPECT_EQ(mergeServicesStatus(m_toolPath, m_userPath), MergeOutcome::Merged);

        PlistFormat found{};
        const PlistValue after = readUser(&found);
        EXPECT_EQ(found, format);
        EXPECT_EQ(after.value("NSUserKeyEquivalents"), before.value("NSUserKeyEquivalents"));
        EXPECT_EQ(after.value(kServicesStatusKey),
                  PlistValue(PlistValue::Dictionary{{kOtherKey, entry(false)}, {kOurKey, entry(true)}}));
    }
}

TEST_F(ServicesStatusMergeTest, AnEntryTheUserHasIsNeverRewritten)
{
    writeUser(statusRoot({{kOurKey, entry(false)}}), PlistFormat::Xml);
    const QByteArray before = fileBytes(m_userPath);

    EXPECT_EQ(mergeServicesStatus(m_toolPath, m_userPath), MergeOutcome::AlreadyPresent);
    EXPECT_EQ(fileBytes(m_userPath), before);
}

TEST_F(ServicesStatusMergeTest, AFileWithoutStatusGetsTheWholeDictionary)
{
    const PlistValue::Dictionary toolStatus{{kOurKey, entry(true)}, {kOtherKey, entry(true)}};
    ASSERT_TRUE(writePlistFile(m_toolPath, statusRoot(toolStatus)));
    // A status that is not a dictionary counts as none.
    for (const PlistValue& userStatus : {PlistValue(), PlistValue("broken")}) {
        PlistValue root(PlistValue::Dictionary{{"Keep", 7}});
        if (!userStatus.isNull())
            root.insert(kServicesStatusKey, userStatus);
        writeUser(root, PlistFormat::Binary);

        EXPECT_EQ(mergeServicesStatus(m_toolPath, m_userPath), MergeOutcome::Merged);
        const PlistValue after = readUser();
        EXPECT_EQ(after.value(kServicesStatusKey), PlistValue(toolStatus));
        EXPECT_EQ(after.value("Keep"), PlistValue(7));
    }
}

TEST_F(ServicesStatusMergeTest, AMissingOrEmptyUserFileBecomesTheToolsFile)
{
    EXPECT_EQ(mergeServicesStatus(m_toolPath, m_userPath), MergeOutcome::Merged);
    EXPECT_EQ(fileBytes(m_userPath), fileBytes(m_toolPath)) << "folder created, bytes copied unchanged";

    ASSERT_TRUE(writeBytes(m_userPath, QByteArray()));
    EXPECT_EQ(mergeServicesStatus(m_toolPath, m_userPath), MergeOutcome::Merged);
    EXPECT_EQ(fileBytes(m_userPath), fileBytes(m_toolPath));
}

TEST_F(ServicesStatusMergeTest, AUserFileThatDoesNotParseIsLeftUntouched)
{
    ASSERT_TRUE(QDir().mkpath(m_dir.filePath("config/com.orvane.zor")));
    const QByteArray cases[] = {
        QByteArray("<?xml version=\"1.0\"?><plist><dict><key>Keep</key><string>mine"),
        QByteArray("bplist00\x01\x02\x03", 11),
        serializePlist(PlistValue(PlistValue::Array{1, 2}), PlistFormat::Xml),  // not a dictionary
    };
    for (const QByteArray& bytes : cases) {
        ASSERT_TRUE(writeBytes(m_userPath, bytes));
        EXPECT_EQ(mergeServicesStatus(m_toolPath, m_userPath), MergeOutcome::UserFileKept);
        EXPECT_EQ(fileBytes(m_userPath), bytes);
    }
}

TEST_F(ServicesStatusMergeTest, AnUnusableToolFileMergesNothing)
{
    const QByteArray cases[] = {
        QByteArray(),
        QByteArray("garbage"),
        serializePlist(PlistValue(PlistValue::Dictionary{{"Other", 1}})),
        serializePlist(statusRoot({})),
        serializePlist(PlistValue(PlistValue::Dictionary{{kServicesStatusKey, "text"}})),
    };
    for (const QByteArray& bytes : cases) {
        ASSERT_TRUE(writeBytes(m_toolPath, bytes));
        EXPECT_EQ(mergeServicesStatus(m_toolPath, m_userPath), MergeOutcome::NothingToMerge);
        EXPECT_FALSE(QFile::exists(m_userPath));
    }
    EXPECT_EQ(mergeServicesStatus(m_dir.filePath("missing.plist"), m_userPath), MergeOutcome::NothingToMerge);
    EXPECT_FALSE(QFile::exists(m_userPath));
}
