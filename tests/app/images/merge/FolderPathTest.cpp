// The folder path written beside a card that goes to the trash, and the merge window run by an import.
#include "MergeTestSupport.h"

#include "app/images/merge/PLCardMergerWindowController.h"
#include "app/images/merge/PLMergeAfterImport.h"
#include "app/ui/CardFolderPath.h"
#include "platform/store/CardStoreModel.h"

#include <QApplication>
#include <QTimer>

using mergefixture::CardOptions;
using mergefixture::Database;

TEST_F(MergeTest, FolderPathRunsFromTheTopAndIsPaddedToFour)
{
    ManagedObjectPtr deep = m_db->context().insertNewObject(CardStore::kEntityFolder);
    deep->setValue("folder_ID", QStringLiteral("FOLDER-DEEP"));
    deep->setValue("folder_Name", QStringLiteral("Partners"));
    deep->setValue("folder_Parent", QString::fromLatin1(mergefixture::kUserFolderID));
    ASSERT_TRUE(m_db->addCard(1, CardOptions{.folderID = "FOLDER-DEEP"}));
    ASSERT_TRUE(m_db->addCard(2, CardOptions{.folderID = "FOLDER-GONE"}));
    ASSERT_EQ(m_db->save(), 0);

    EXPECT_EQ(setFolderNameWhenRemoving(&m_db->context(), Database::cardID(1)), 0);
    ManagedObjectPtr belong = m_db->cardBelong(Database::cardID(1));
    EXPECT_EQ(belong->stringValue("folder1_Name"), "All data");
    EXPECT_EQ(belong->stringValue("folder2_Name"), "Clients");
    EXPECT_EQ(belong->stringValue("folder3_Name"), "Partners");
    EXPECT_EQ(belong->stringValue("folder4_Name"), "");

    belong = m_db->cardBelong(Database::cardID(2));
    belong->setValue("folder1_Name", QStringLiteral("Old"));
    EXPECT_EQ(setFolderNameWhenRemoving(&m_db->context(), Database::cardID(2)), kFolderNameNotSet);
    EXPECT_EQ(belong->stringValue("folder1_Name"), "");
    EXPECT_EQ(setFolderNameWhenRemoving(&m_db->context(), QStringLiteral("NO-SUCH-CARD")), kFolderNameNotSet);
    EXPECT_EQ(setFolderNameWhenRemoving(&m_db->context(), QString()), 0);

    // A parent chain that loops ends instead of running for ever.
    deep->setValue("folder_Parent", QStringLiteral("FOLDER-DEEP"));
    EXPECT_EQ(folderPathNames(m_db->context(), QStringLiteral("FOLDER-DEEP")), QStringList({"Partners"}));
}

TEST_F(MergeTest, ImportRunsTheWindowOverTheNewCards)
{
    addCards(3);
    const ManagedObjectList cards = {m_db->card(Database::cardID(1)), m_db->card(Database::cardID(2)),
                                     m_db->card(Database::cardID(3))};
    qsizetype candidates = 0;
    // Once the window runs: note what it shows, then close it, answering Yes to the question.
    QTimer::singleShot(0, [&] {
        auto* window = qobject_cast<PLCardMergerWindowController*>(QApplication::activeModalWidget());
        ASSERT_TRUE(window);
        candidates = window->model().arrangedCandidates().size();
        m_presenter.queueAnswer(kAlertFirstButtonReturn);
        window->cancel();
        m_presenter.answerSheets();
    });
    const MergeAfterImportResult result = runMergeAfterImport(*m_host, cards, [](const QString&) { return 0; });
    EXPECT_TRUE(result.ran);
    EXPECT_FALSE(result.selectedCardChanged);
    EXPECT_EQ(candidates, 3);
    EXPECT_EQ(m_presenter.shown().size(), 1); // the closing question

    EXPECT_FALSE(runMergeAfterImport(*m_host, cards, [](const QString&) { return 2; }).ran);
    EXPECT_FALSE(runMergeAfterImport(*m_host, {cards.first()}, [](const QString&) { return 0; }).ran);
}
