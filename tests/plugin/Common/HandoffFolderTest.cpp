// Which folder the plug-in may remove after a run: only the host's image folder beside the card file.
#include "plugin/Common/HandoffFolder.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

class HandoffFolderTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        temp = QDir(root.path()).canonicalPath();
        cardFile = temp + "/20261209120000000.xml";
        images = temp + "/5C1F-handoff";
        QDir().mkpath(images);
        touch(cardFile);
        touch(images + "/a.pdf");
        touch(images + "/b.pdf");
    }

    static void touch(const QString& path)
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }

    HandoffFolder::CardList cards(const QStringList& paths)
    {
        HandoffFolder::CardList list;
        for (const QString& path : paths) {
            auto card = std::make_shared<CardInfo>();
            card->ImageFilePathN1 = path;
            list.push_back(card);
        }
        return list;
    }

    QTemporaryDir root;
    QString temp;
    QString cardFile;
    QString images;
};

TEST_F(HandoffFolderTest, TheHostsImageFolderIsRemoved)
{
    EXPECT_EQ(HandoffFolder::folderToDelete(cardFile, cards({images + "/a.pdf", images + "/b.pdf"})), images);
    EXPECT_EQ(HandoffFolder::folderToDelete(cardFile, cards({images + "/a.pdf", QString(), images + "/b.pdf"})), images);
    EXPECT_EQ(HandoffFolder::folderToDelete(cardFile, cards({})), QString());
}

TEST_F(HandoffFolderTest, AnyOtherFolderIsLeftAlone)
{
    const QString home = temp + "/home";
    QDir().mkpath(home + "/deep");
    touch(home + "/a.pdf");
    touch(home + "/deep/x.pdf");
    QFile::link(home, temp + "/link-to-home");

    const QStringList cases[] = {
        {images + "/a.pdf"},                                  // b.pdf in the folder is not the card file's
        {home + "/deep/x.pdf"},                               // not beside the card file
        {temp + "/link-to-home/a.pdf"},                       // a link to another folder
        {images + "/../home/a.pdf"},                          // ".." in the path
        {"a.pdf", "b.pdf"},                                   // relative paths
        {cardFile},                                           // the card file's own folder
        {images + "/a.pdf", images + "/b.pdf", home + "/a.pdf"},  // images in several folders
    };
    for (const QStringList& paths : cases)
        EXPECT_EQ(HandoffFolder::folderToDelete(cardFile, cards(paths)), QString()) << paths.join(',').toStdString();

    QDir().mkpath(images + "/sub");
    EXPECT_EQ(HandoffFolder::folderToDelete(cardFile, cards({images + "/a.pdf", images + "/b.pdf"})), QString());
}

}
