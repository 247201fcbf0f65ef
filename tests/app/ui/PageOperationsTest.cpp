// Page operations from the toolbar on fixture cards: turning a page, swapping front and back,
// removing the back and opening the merge window, with the files and the store read back.
#include "app/images/merge/PLCardMergerWindowController.h"
#include "app/ui/logic/ToolbarItems.h"
#include "platform/appkit/MessagePresenter.h"
#include "platform/pdf/PdfPageRenderer.h"
#include "tests/app/ui/ImagePaneFixture.h"
#include "tests/support/appkit/ModalWatch.h"

#include <QAction>
#include <QMenu>
#include <QToolButton>

namespace {

class PageOperations : public ImagePaneFixture {
protected:
    QAction* rotate() { return window->toolbarItem(QString::fromLatin1(ToolbarItems::kRotate)); }
    QAction* imageEdit(const char* name)
    {
        return window->ui()._imageEditPopButton->menu()->findChild<QAction*>(QString::fromLatin1(name));
    }
    ManagedObjectPtr card(const QString& cardID)
    {
        return window->managedObjectContext()
            ->executeFetchRequest({QStringLiteral("Card"), keyEquals(QStringLiteral("cardID"), cardID), {}})
            .value(0);
    }
    static QSizeF pageSize(const QString& path, int page = 0)
    {
        const auto document = PdfPageRenderer::openFile(path);
        return document && page < document->pageCount() ? document->pagePointSize(page) : QSizeF();
    }
    static QByteArray bytes(const QString& path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    // A front and a back file of different page sizes, so a swap shows in the files.
    void addTwoSidedCard(const QString& cardID)
    {
        testpdf::Document front = testpdf::scannerDocument(1);
        testpdf::Document back = testpdf::scannerDocument(1);
        back.pages[0].width = 200;
        ASSERT_TRUE(testpdf::writePdf(imagePath(cardID + "_N1.pdf"), front));
        ASSERT_TRUE(testpdf::writePdf(imagePath(cardID + "_N2.pdf"), back));
        addCard(cardID, {{QStringLiteral("face_Image_File"), cardID + "_N1.pdf"},
                         {QStringLiteral("back_Image_File"), cardID + "_N2.pdf"},
                         {QStringLiteral("back_Image_page"), 1},
                         {QStringLiteral("e_Mail_XY"), QStringLiteral("10/20/30/40")},
                         {QStringLiteral("company_XY"), QStringLiteral("1/2/3/4")}});
    }
};

TEST_F(PageOperations, RotateTurnsTheShownPageAndClearsTheFieldBoxes)
{
    addTwoSidedCard(QStringLiteral("R"));
    const QSizeF before = pageSize(imagePath(QStringLiteral("R_N1.pdf")));
    select({QStringLiteral("R")});
    ASSERT_TRUE(rotate()->isEnabled());
    rotate()->trigger();
    EXPECT_EQ(pageSize(imagePath(QStringLiteral("R_N1.pdf"))), before.transposed());
    EXPECT_EQ(card(QStringLiteral("R"))->stringValue(QStringLiteral("e_Mail_XY")), QString());
    EXPECT_EQ(card(QStringLiteral("R"))->stringValue(QStringLiteral("company_XY")), QString());
    EXPECT_FALSE(window->managedObjectContext()->hasChanges());
    EXPECT_TRUE(presenter.texts().isEmpty());
}

TEST_F(PageOperations, SwapExchangesTheFilesContents)
{
    addTwoSidedCard(QStringLiteral("S"));
    const QByteArray front = bytes(imagePath(QStringLiteral("S_N1.pdf")));
    const QByteArray back = bytes(imagePath(QStringLiteral("S_N2.pdf")));
    select({QStringLiteral("S")});
    QAction* swap = imageEdit("onSwapBar");
    ASSERT_TRUE(swap);
    window->validateToolbarItems();
    ASSERT_TRUE(swap->isEnabled());
    swap->trigger();
    EXPECT_EQ(bytes(imagePath(QStringLiteral("S_N1.pdf"))), back);
    EXPECT_EQ(bytes(imagePath(QStringLiteral("S_N2.pdf"))), front);
    EXPECT_EQ(card(QStringLiteral("S"))->stringValue(QStringLiteral("e_Mail_XY")), QString());
}

TEST_F(PageOperations, RemoveBackAsksFirstAndTakesTheBackAway)
{
    addTwoSidedCard(QStringLiteral("B"));
    select({QStringLiteral("B")});
    QAction* remove = imageEdit("onRemoveBar");
    ASSERT_TRUE(remove);
    window->validateToolbarItems();
    ASSERT_TRUE(remove->isEnabled());

    presenter.queueAnswer(kAlertSecondButtonReturn);
    remove->trigger();
    EXPECT_EQ(card(QStringLiteral("B"))->stringValue(QStringLiteral("back_Image_File")), QStringLiteral("B_N2.pdf"));
    EXPECT_TRUE(QFileInfo::exists(imagePath(QStringLiteral("B_N2.pdf"))));

    presenter.queueAnswer(kAlertFirstButtonReturn);
    remove->trigger();
    EXPECT_EQ(card(QStringLiteral("B"))->stringValue(QStringLiteral("back_Image_File")), QString());
    EXPECT_FALSE(window->managedObjectContext()->hasChanges());
    EXPECT_EQ(presenter.shown().size(), 2); // the two questions, no error
}

TEST_F(PageOperations, ItemsFollowTheSelectionAndStaleTriggersDoNothing)
{
    addTwoSidedCard(QStringLiteral("A"));
    addTwoSidedCard(QStringLiteral("C"));
    select({});
    window->validateToolbarItems();
    EXPECT_FALSE(rotate()->isEnabled());
    EXPECT_FALSE(imageEdit("onSwapBar")->isEnabled());
    EXPECT_FALSE(imageEdit("onRemoveBar")->isEnabled());
    const QByteArray front = bytes(imagePath(QStringLiteral("A_N1.pdf")));
    // Triggered anyway (a shortcut with a stale item): nothing happens.
    rotate()->trigger();
    imageEdit("onSwapBar")->trigger();
    imageEdit("onRemoveBar")->trigger();
    EXPECT_EQ(bytes(imagePath(QStringLiteral("A_N1.pdf"))), front);
    EXPECT_TRUE(presenter.shown().isEmpty());
}

TEST_F(PageOperations, AddingABackOpensTheMergeWindow)
{
    for (const QString& id : {QStringLiteral("F"), QStringLiteral("G")}) {
        writeScanner(id + "_N1.pdf", 1);
        addCard(id, {{QStringLiteral("face_Image_File"), id + "_N1.pdf"}});
    }
    select({QStringLiteral("F")});
    window->validateToolbarItems();
    QAction* add = imageEdit("onMergeBar");
    ASSERT_TRUE(add);
    ASSERT_TRUE(add->isEnabled());
    ModalWatch<PLCardMergerWindowController> watch([&](PLCardMergerWindowController* mergeWindow) {
        presenter.queueAnswer(kAlertFirstButtonReturn);
        mergeWindow->cancel();
        presenter.answerSheets();
    });
    add->trigger();
    EXPECT_TRUE(watch.ran()) << presenter.texts().join(QLatin1Char('|')).toStdString();
}

TEST_F(PageOperations, CardsOutsideTheTrashAreMergeCandidatesAnImportWithoutADeletedFlagToo)
{
    // An import that wrote no deleted flag left the card outside the trash.
    const QVariantMap flags[] = {{{QStringLiteral("deletedFlag"), 0}}, {{QStringLiteral("deletedFlag"), QVariant()}}, {{QStringLiteral("deletedFlag"), 1}}};
    const QStringList ids = {QStringLiteral("Kept"), QStringLiteral("NoFlag"), QStringLiteral("Trashed")};
    for (int i = 0; i < ids.size(); ++i) {
        writeScanner(ids[i] + "_N1.pdf", 1);
        QVariantMap values = flags[i];
        values.insert(QStringLiteral("face_Image_File"), ids[i] + "_N1.pdf");
        addCard(ids[i], values);
    }
    select({QStringLiteral("Kept")});
    window->validateToolbarItems();
    QAction* add = imageEdit("onMergeBar");
    ASSERT_TRUE(add && add->isEnabled());
    QStringList candidates;
    ModalWatch<PLCardMergerWindowController> watch([&](PLCardMergerWindowController* mergeWindow) {
        for (const PLMergeInfoPtr& candidate : mergeWindow->model().allCandidates())
            candidates.append(candidate->cardId());
        presenter.queueAnswer(kAlertFirstButtonReturn);
        mergeWindow->cancel();
        presenter.answerSheets();
    });
    add->trigger();
    ASSERT_TRUE(watch.ran()) << presenter.texts().join(QLatin1Char('|')).toStdString();
    candidates.sort();
    EXPECT_EQ(candidates, (QStringList{QStringLiteral("Kept"), QStringLiteral("NoFlag")}));
}

} // namespace
