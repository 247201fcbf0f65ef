// Merges and their undo on a fixture database: the back page file, the card fields, the trash
// move, and what reaches the store file.
#include "MergeTestSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

using mergefixture::CardOptions;
using mergefixture::Database;

namespace {

QString id(int n)
{
    return Database::cardID(n);
}

} // namespace

class MergeRecords : public MergeTest {
protected:
    void SetUp() override
    {
        MergeTest::SetUp();
        addCards(6);
        m_model = std::make_unique<PLMergeModel>(m_host.get());
        ManagedObjectList cards;
        for (int i = 1; i <= 6; ++i)
            cards.append(m_db->card(id(i)));
        ASSERT_EQ(m_model->prepareCandidates(PLMergeModel::kModeNewCards, cards), 0);
        m_model->initPage();
    }
    PLMergeInfoPtr candidate(int n) const
    {
        for (const PLMergeInfoPtr& c : m_model->allCandidates())
            if (c->cardId() == id(n))
                return c;
        return nullptr;
    }
    void preview(int face, int back)
    {
        m_model->doDrop(candidate(face), PLMergeModel::loadImageRepWith(candidate(face)->pdfFilePath()), 1);
        m_model->doDrop(candidate(back), PLMergeModel::loadImageRepWith(candidate(back)->pdfFilePath()), 2);
    }
    QString backFile(int n) const { return m_db->imagesFolder() + "/" + id(n) + "_N2.pdf"; }
    // The card as the store file holds it.
    ManagedObjectPtr stored(int n)
    {
        m_reopened = m_db->reopen();
        const ManagedObjectList found = m_reopened->executeFetchRequest(
            FetchRequest{"Card", keyEquals("cardID", id(n)), {}});
        return found.size() == 1 ? found.first() : nullptr;
    }

    std::unique_ptr<PLMergeModel> m_model;
    std::unique_ptr<ManagedObjectContext> m_reopened;
};

TEST_F(MergeRecords, MergeWithTrashMoveIsSavedAndUndoneCompletely)
{
    preview(2, 5);
    ASSERT_TRUE(m_model->merge());

    ManagedObjectPtr face = stored(2);
    EXPECT_EQ(face->stringValue("back_Image_File"), id(2) + "_N2.pdf");
    EXPECT_EQ(face->value("back_Image_page").toInt(), 1);
    EXPECT_TRUE(QFileInfo(backFile(2)).isFile());
    ManagedObjectPtr back = stored(5);
    EXPECT_EQ(back->value("deletedFlag").toInt(), 1);
    m_reopened.reset();
    ManagedObjectPtr belong = m_db->cardBelong(id(5));
    EXPECT_EQ(belong->stringValue("folder1_Name"), "All data");
    EXPECT_EQ(belong->stringValue("folder2_Name"), "Inbox");
    EXPECT_EQ(belong->stringValue("folder3_Name"), "");
    // Both cards leave the list and the previews; an undo record stands ready.
    EXPECT_EQ(m_model->arrangedCandidates().size(), 4);
    EXPECT_EQ(m_model->pageInfo().maxRecords, 4);
    EXPECT_FALSE(m_model->previewCandidate(1));
    EXPECT_EQ(m_model->undoRecords().size(), 1);

    ASSERT_TRUE(m_model->doCheckBeforeCancel());
    ASSERT_TRUE(m_model->cancelMerge());
    EXPECT_FALSE(QFileInfo::exists(backFile(2)));
    face = stored(2);
    EXPECT_EQ(face->stringValue("back_Image_File"), "");
    EXPECT_EQ(face->value("back_Image_page").toInt(), 0);
    EXPECT_EQ(stored(5)->value("deletedFlag").toInt(), 0);
    EXPECT_EQ(m_model->arrangedCandidates().size(), 6);
    EXPECT_EQ(m_model->previewCandidate(1), candidate(2));
    EXPECT_EQ(m_model->previewCandidate(2), candidate(5));
    EXPECT_EQ(m_model->pageInfo().selectedIndex, 1);
    EXPECT_TRUE(m_model->undoRecords().isEmpty());
    EXPECT_TRUE(shown().isEmpty());
}

TEST_F(MergeRecords, WithoutTrashMoveTheBackCardIsUntouched)
{
    m_model->setDeleteBackImage(false);
    preview(1, 3);
    const QString backFront = candidate(3)->pdfFilePath();
    ASSERT_TRUE(m_model->merge());
    EXPECT_EQ(stored(1)->stringValue("back_Image_File"), id(1) + "_N2.pdf"); // saved all the same
    EXPECT_EQ(stored(3)->value("deletedFlag").toInt(), 0);
    EXPECT_TRUE(QFileInfo(backFront).isFile());
    ASSERT_TRUE(m_model->cancelMerge());
    EXPECT_EQ(stored(1)->stringValue("back_Image_File"), "");
    EXPECT_EQ(stored(3)->value("deletedFlag").toInt(), 0);
    EXPECT_TRUE(QFileInfo(backFront).isFile());
}

TEST_F(MergeRecords, BackCardAlreadyInTheTrashGives114AndChangesNothing)
{
    m_db->card(id(4))->setValue("deletedFlag", 1);
    ASSERT_EQ(m_db->save(), 0);
    preview(1, 4);
    EXPECT_FALSE(m_model->merge());
    EXPECT_EQ(shown(), QStringList({message(114)}));
    EXPECT_FALSE(QFileInfo::exists(backFile(1)));
    EXPECT_EQ(stored(1)->stringValue("back_Image_File"), "");
    EXPECT_TRUE(m_model->undoRecords().isEmpty());
    EXPECT_EQ(m_model->previewCandidate(1), candidate(1)); // the previews keep their cards
    EXPECT_EQ(m_model->previewCandidate(2), candidate(4));
}

TEST_F(MergeRecords, FailedChecksRefuseTheMerge)
{
    preview(1, 2);
    m_model->services().checkDBAttributes = [](const QString&) { return 3; };
    EXPECT_FALSE(m_model->merge());
    m_model->services().checkDBAttributes = [](const QString&) { return 0; };
    uint64_t asked = 0;
    m_model->services().checkDiskSize = [&](const QString&, uint64_t needed) { asked = needed; return 1; };
    EXPECT_FALSE(m_model->merge());
    EXPECT_EQ(asked, uint64_t(QFileInfo(candidate(2)->pdfFilePath()).size()) + g_lDiskSize);
    EXPECT_EQ(shown(), QStringList({message(48), message(11)}));
    EXPECT_FALSE(QFileInfo::exists(backFile(1)));

    // The same card in both previews is no merge at all.
    m_model->services().checkDiskSize = [](const QString&, uint64_t) { return 0; };
    auto twin = std::make_shared<PLMergeInfo>(id(1), candidate(1)->pdfFilePath());
    m_model->doDrop(twin, QImage(), 2);
    EXPECT_FALSE(m_model->merge());
    EXPECT_EQ(shown().size(), 2);
}

TEST_F(MergeRecords, TwoMergesAreUndoneNewestFirst)
{
    preview(1, 2);
    ASSERT_TRUE(m_model->merge());
    const PageInfo afterFirst = m_model->pageInfo();
    preview(3, 4);
    ASSERT_TRUE(m_model->merge());
    EXPECT_EQ(m_model->arrangedCandidates().size(), 2);

    ASSERT_TRUE(m_model->cancelMerge());
    EXPECT_FALSE(QFileInfo::exists(backFile(3)));
    EXPECT_TRUE(QFileInfo::exists(backFile(1)));
    EXPECT_EQ(stored(4)->value("deletedFlag").toInt(), 0);
    EXPECT_EQ(stored(2)->value("deletedFlag").toInt(), 1);
    EXPECT_EQ(m_model->previewCandidate(1), candidate(3));
    EXPECT_EQ(m_model->pageInfo().maxRecords, afterFirst.maxRecords); // the first pair is still merged
    EXPECT_EQ(m_model->pageInfo().selectedIndex, 0);

    ASSERT_TRUE(m_model->cancelMerge());
    EXPECT_FALSE(QFileInfo::exists(backFile(1)));
    EXPECT_EQ(stored(2)->value("deletedFlag").toInt(), 0);
    EXPECT_EQ(m_model->previewCandidate(1), candidate(1));
    EXPECT_EQ(m_model->previewCandidate(2), candidate(2));
    EXPECT_EQ(candidate(3)->previewFlag(), 0u);
    EXPECT_EQ(m_model->arrangedCandidates().size(), 6);
    EXPECT_FALSE(m_model->cancelMerge());
}

TEST_F(MergeRecords, UndoRefusedByTheFreeSpaceCheckKeepsTheMergeAndItsRecord)
{
    preview(1, 2);
    ASSERT_TRUE(m_model->merge());
    m_model->services().checkDiskSize = [](const QString&, uint64_t) { return 1; };
    EXPECT_FALSE(m_model->doCheckBeforeCancel());
    EXPECT_EQ(shown(), QStringList({message(11)}));
    EXPECT_EQ(m_model->undoRecords().size(), 1);
    EXPECT_TRUE(QFileInfo::exists(backFile(1)));
    m_model->services().checkDiskSize = [](const QString&, uint64_t) { return 0; };
    EXPECT_TRUE(m_model->doCheckBeforeCancel());
    EXPECT_TRUE(m_model->cancelMerge());
}

TEST_F(MergeRecords, FailedUndoKeepsItsRecordAndCanBeTriedAgain)
{
    preview(1, 2);
    ASSERT_TRUE(m_model->merge());
    // The back card vanished from the store: its page is removed, the record stays.
    ManagedObjectPtr back = m_db->card(id(2));
    m_db->context().deleteObject(back);
    ASSERT_EQ(m_db->save(), 0);
    EXPECT_FALSE(m_model->cancelMerge());
    EXPECT_EQ(shown(), QStringList({message(112)}));
    EXPECT_EQ(m_model->undoRecords().size(), 1);
    EXPECT_FALSE(QFileInfo::exists(backFile(1)));
    EXPECT_EQ(stored(1)->stringValue("back_Image_File"), "");

    // A back page that cannot be removed keeps the record too.
    QTemporaryDir other;
    auto db = Database::create(other.path());
    ASSERT_TRUE(db->addCard(1) && db->addCard(2));
    ASSERT_EQ(db->save(), 0);
    mergefixture::Host host(*db);
    PLMergeModel model(&host);
    ASSERT_EQ(model.prepareCandidates(PLMergeModel::kModeNewCards, {db->card(id(1)), db->card(id(2))}), 0);
    model.doDrop(model.allCandidates().at(0), QImage(), 1);
    model.doDrop(model.allCandidates().at(1), QImage(), 2);
    ASSERT_TRUE(model.merge());
    const QString page = db->imagesFolder() + "/" + id(1) + "_N2.pdf";
    ASSERT_TRUE(QFile::remove(page) && QDir().mkpath(page + "/x"));
    EXPECT_FALSE(model.cancelMerge());
    EXPECT_EQ(model.undoRecords().size(), 1);
    EXPECT_EQ(db->card(id(2))->value("deletedFlag").toInt(), 1);
    ASSERT_TRUE(QDir(page).removeRecursively());
    EXPECT_TRUE(model.cancelMerge());
    EXPECT_EQ(db->card(id(2))->value("deletedFlag").toInt(), 0);
    EXPECT_TRUE(model.undoRecords().isEmpty());
}

TEST_F(MergeRecords, StaleBackPageFromAnUnsavedMergeIsReplaced)
{
    ASSERT_TRUE(mergefixture::writeCardPdf(backFile(1), 999));
    const qint64 staleSize = QFileInfo(backFile(1)).size();
    preview(1, 2);
    ASSERT_TRUE(m_model->merge());
    EXPECT_EQ(stored(1)->stringValue("back_Image_File"), id(1) + "_N2.pdf");
    EXPECT_EQ(QFileInfo(backFile(1)).size(), QFileInfo(candidate(2)->pdfFilePath()).size());
    EXPECT_NE(QFileInfo(backFile(1)).size(), staleSize);
}

TEST_F(MergeRecords, RecoverFromTrashNeedsExactlyOneCard)
{
    EXPECT_EQ(m_model->recoverFromTrash(nullptr), 0);
    EXPECT_EQ(m_model->recoverFromTrash(std::make_shared<PLMergeInfo>("NO-SUCH-CARD", "")), 112);
    const int updates = m_host->updates;
    EXPECT_EQ(m_model->recoverFromTrash(candidate(1)), 0); // not in the trash: left alone
    EXPECT_EQ(m_host->updates, updates);
}

TEST_F(MergeRecords, TurningAFrontClearsItsFieldRectangles)
{
    m_host->select(m_db->card(id(3)));
    PLMergeModel model(m_host.get());
    ASSERT_EQ(model.prepareCandidates(PLMergeModel::kModeSearch, {}), 0);
    const PLMergeInfoPtr third = model.arrangedCandidates().at(2);
    const QImage before = PLMergeModel::loadImageRepWith(third->pdfFilePath());
    EXPECT_EQ(model.rotate(third), 0);
    const QImage after = PLMergeModel::loadImageRepWith(third->pdfFilePath());
    EXPECT_EQ(after.size(), before.size().transposed());
    EXPECT_EQ(stored(3)->stringValue("full_Name_XY"), "");
    EXPECT_TRUE(model.isSelectedCardBeChanged());
}
