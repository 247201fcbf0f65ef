// The staged plug-in loaded as the host loads it (dlopen of the bundle's module, the C entry),
// with the alerts it shows closed and the login cancelled as a user would.
#include "plugin/Entry/QuendrelEntry.h"
#include "tests/support/cardfile/CardFiles.h"
#include "tests/support/pluginwindows/WindowDriver.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QUrl>

#include <gtest/gtest.h>

#include <dlfcn.h>

namespace {

// The user closes every alert and cancels the login and the account settings windows.
class Canceller : public WindowDriver {
public:
    Canceller()
    {
        always("_loginView", [](QWidget* window) { press(window, "_cancelButton"); });
        always("_accountSettingView", [](QWidget* window) { press(window, "_cancelButton"); });
    }
    // The alerts about the card file; with no keyring here, the stored login is never readable.
    QStringList texts() const { return alerts().filter("card file"); }
};

class EntryTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        const QString module = qEnvironmentVariable("PELMORA_STAGE_DIR") + "/Bundles/Quendrel.bundle/Contents/Linux/libQuendrel.so";
        m_handle = dlopen(QFile::encodeName(module).constData(), RTLD_NOW | RTLD_LOCAL);
        ASSERT_TRUE(m_handle) << dlerror();
        entry = reinterpret_cast<QuendrelStartQDLFunction>(dlsym(m_handle, QUENDREL_ENTRY_SYMBOL));
        ASSERT_TRUE(entry);
        temp = QDir(root.path()).canonicalPath();
    }
    void TearDown() override
    {
        if (m_handle)
            dlclose(m_handle);
    }

    int upload(const QString& cardFile) { return entry(0, QFile::encodeName(cardFile).constData(), nullptr, 0); }

    // A card file and its image folder as the host hands them over.
    QString handOff(const QStringList& imagePaths)
    {
        QStringList items;
        int n = 0;
        for (const QString& image : imagePaths) {
            ++n;
            items.append(cardItem({QString::number(n), QStringLiteral("Card %1").arg(n), "", "", "", "", "",
                QUrl::fromLocalFile(image).toString()}));
        }
        const QString cardFile = temp + "/20261209120000123.xml";
        EXPECT_TRUE(writeUtf16(cardFile, cardDocument(items)));
        return cardFile;
    }

    static void touch(const QString& path)
    {
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("%PDF-1.4\n");
    }

    QuendrelStartQDLFunction entry = nullptr;
    QTemporaryDir root;
    QString temp;
    Canceller alerts;

private:
    void* m_handle = nullptr;
};

TEST_F(EntryTest, AMissingCardFileIsReportedByItsCodeAndOneAlert)
{
    EXPECT_EQ(entry(0, nullptr, nullptr, 0), 1000001);
    EXPECT_EQ(upload(QString()), 1000001);
    EXPECT_EQ(upload(temp + "/none.xml"), 1000002);
    EXPECT_EQ(alerts.texts(), (QStringList{"No card file was handed over.", "No card file was handed over.",
                                  "The card file handed over could not be found."}));
}

TEST_F(EntryTest, SettingsOnlyNeverLooksAtThePath)
{
    EXPECT_EQ(entry(1, "/no/such/file.xml", nullptr, 0), 0);
    EXPECT_TRUE(alerts.texts().isEmpty());
}

TEST_F(EntryTest, AfterAnUploadTheHostsImageFolderGoes)
{
    const QString images = temp + "/8D4A1C2E-handoff";
    touch(images + "/a.pdf");
    touch(images + "/b with blank.pdf");
    const QString cardFile = handOff({images + "/a.pdf", images + "/b with blank.pdf"});
    EXPECT_EQ(upload(cardFile), 10001);
    EXPECT_FALSE(QFileInfo::exists(images));
    EXPECT_TRUE(alerts.texts().isEmpty());
}

TEST_F(EntryTest, ACardFileNeverChoosesAFolderToDelete)
{
    const QString home = temp + "/home";
    touch(home + "/Documents/precious.pdf");
    touch(home + "/card.pdf");
    const QString images = temp + "/8D4A1C2E-handoff";
    touch(images + "/a.pdf");
    const QStringList cases[] = {
        {home + "/card.pdf"},
        {home + "/Documents/precious.pdf"},
        {images + "/../home/card.pdf"},
        {images + "/a.pdf", home + "/card.pdf"},
    };
    for (const QStringList& paths : cases) {
        EXPECT_EQ(upload(handOff(paths)), 10001);
        EXPECT_TRUE(QFileInfo::exists(home + "/Documents/precious.pdf")) << paths.join(',').toStdString();
        EXPECT_TRUE(QFileInfo::exists(home + "/card.pdf"));
        EXPECT_TRUE(QFileInfo::exists(images + "/a.pdf"));
    }
}

TEST_F(EntryTest, AMalformedCardFileRunsTheFlowWithNoCardsAndDeletesNothing)
{
    const QString images = temp + "/8D4A1C2E-handoff";
    touch(images + "/a.pdf");
    const QString cardFile = handOff({images + "/a.pdf"});
    QFile file(cardFile);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    file.resize(file.size() / 2);
    file.close();
    EXPECT_EQ(upload(cardFile), 10001);
    EXPECT_TRUE(QFileInfo::exists(images + "/a.pdf"));
    EXPECT_TRUE(alerts.texts().isEmpty());
}

}
