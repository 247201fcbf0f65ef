// Starts the staged Pelmora as a user would: a first instance on a fresh home folder, then a
// second launch with card files, which hands them over and exits.
#include "platform/foundation/PlistFile.h"
#include "platform/store/RawSqlite.h"
#include "tests/support/pdf/TestPdf.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

namespace {

// Waits for the programs started here are safety nets against a hang only: a busy machine starts
// them as slowly as it likes.
constexpr int kHangMs = 180000;

QString stagedPelmora()
{
    return QString::fromLocal8Bit(qgetenv("PELMORA_STAGE_DIR")) + QStringLiteral("/Pelmora");
}

class Startup : public ::testing::Test {
protected:
    QTemporaryDir home;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    QProcess first;

    void SetUp() override
    {
        QDir(home.path()).mkpath(QStringLiteral(".config"));
        QDir(home.path()).mkpath(QStringLiteral("run"));
        QFile::setPermissions(home.filePath(QStringLiteral("run")), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        env.insert(QStringLiteral("HOME"), home.path());
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), home.filePath(QStringLiteral(".config")));
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), home.filePath(QStringLiteral("run")));
        env.insert(QStringLiteral("XDG_DOCUMENTS_DIR"), home.filePath(QStringLiteral("Documents")));
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        // Three new cards would open the merge window, which waits for the user.
        writePlistFile(home.filePath(QStringLiteral(".config/com.orvane.zor.Pelmora.plist")),
                       PlistValue::Dictionary{{"Auto run merge card function items", 0}});
        first.setProcessEnvironment(env);
        first.setProcessChannelMode(QProcess::ForwardedChannels);
    }
    void TearDown() override
    {
        if (first.state() != QProcess::NotRunning) {
            first.terminate();
            if (!first.waitForFinished(5000))
                first.kill();
            first.waitForFinished(5000);
        }
    }

    QString database() const { return home.filePath(QStringLiteral("Documents/Pelmora/Pelmora DB.cxdb")); }

    template <typename Pred>
    static bool waitFor(Pred done, int ms)
    {
        QDeadlineTimer deadline(ms);
        while (!done()) {
            if (deadline.hasExpired())
                return false;
            QThread::msleep(100);
        }
        return true;
    }
};

} // namespace

TEST_F(Startup, SecondLaunchHandsItsCardsToTheRunningInstance)
{
    first.start(stagedPelmora(), {});
    ASSERT_TRUE(first.waitForStarted(kHangMs));
    const QString store = database() + QStringLiteral("/Pelmora1.sqldb");
    ASSERT_TRUE(waitFor([&] { return QFile::exists(store) && QFile::exists(home.filePath(QStringLiteral("run/com.orvane.zor.Pelmora.sock"))); }, kHangMs));

    QDir(home.path()).mkpath(QStringLiteral("cards"));
    const QString a = home.filePath(QStringLiteral("cards/a.pdf"));
    const QString b = home.filePath(QStringLiteral("cards/b.pdf"));
    const QString c = home.filePath(QStringLiteral("cards/c.jpg"));
    ASSERT_TRUE(testpdf::writePdf(a, testpdf::scannerDocument(1)));
    ASSERT_TRUE(testpdf::writePdf(b, testpdf::scannerDocument(1)));
    testpdf::JpegOptions jpeg;
    jpeg.comment = QByteArray("Brevix Scan");
    ASSERT_TRUE(testpdf::writeBytes(c, testpdf::makeJpeg(1075, 650, jpeg)));
    // A relative name that starts like an option, given after "--".
    ASSERT_TRUE(testpdf::writePdf(home.filePath(QStringLiteral("cards/-d.pdf")), testpdf::scannerDocument(1)));

    QProcess second;
    second.setProcessEnvironment(env);
    second.setProcessChannelMode(QProcess::ForwardedChannels);
    second.setWorkingDirectory(home.filePath(QStringLiteral("cards")));
    second.start(stagedPelmora(), {a, b, c, QStringLiteral("--"), QStringLiteral("-d.pdf")});
    ASSERT_TRUE(second.waitForFinished(kHangMs));
    EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second.exitCode(), 0);

    RawRows rows;
    ASSERT_TRUE(waitFor(
        [&] {
            int code = 0;
            SqliteConnection connection;
            if (connection.open(store, false) != 0)
                return false;
            const std::optional<RawRows> found = rawQuery(connection,
                QStringLiteral("select ZCARDID, ZFACE_IMAGE_FILE, ZINPUT_TYPE, ZFLAG1, ZSCANNOW from ZCARD;"), &code);
            if (found && found->size() >= 4)
                rows = *found;
            return rows.size() >= 4;
        },
        kHangMs));
    ASSERT_EQ(rows.size(), 4);
    for (const auto& row : rows) {
        const QString cardID = row.value(QStringLiteral("ZCARDID"));
        EXPECT_EQ(row.value(QStringLiteral("ZFACE_IMAGE_FILE")), cardID + QStringLiteral("_N1.pdf"));
        EXPECT_TRUE(QFile::exists(database() + QStringLiteral("/Images/") + cardID + QStringLiteral("_N1.pdf")));
        EXPECT_EQ(row.value(QStringLiteral("ZINPUT_TYPE")), QStringLiteral("99"));
        EXPECT_EQ(row.value(QStringLiteral("ZFLAG1")), QStringLiteral("1"));
        EXPECT_EQ(row.value(QStringLiteral("ZSCANNOW")), QStringLiteral("1"));
    }
    EXPECT_TRUE(QFile::exists(a) && QFile::exists(c)) << "files from other programs are copied, not moved";
}
