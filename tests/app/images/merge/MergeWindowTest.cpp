// The merge window offscreen: paging, previews by menu, the merge and undo commands, zoom, and
// closing with the question in mode 1.
#include "MergeTestSupport.h"

#include "tests/support/appkit/AccessibleNames.h"

#include "app/images/merge/PLCardMergerWindowController.h"
#include "app/images/merge/PLMergeCardImageView.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QSlider>
#include <QTest>

using mergefixture::Database;

namespace {

template <typename T>
T* child(QWidget& window, const char* name)
{
    T* found = window.findChild<T*>(QString::fromLatin1(name));
    EXPECT_TRUE(found) << name;
    return found;
}

// Runs the event loop until `done`; the minute is a safety net against a hang only.
bool waitFor(const std::function<bool()>& done)
{
    QElapsedTimer timer;
    timer.start();
    while (!done() && timer.elapsed() < 60000)
        QTest::qWait(10);
    return done();
}

QAction* menuAction(QMenu* menu, int index)
{
    return menu ? menu->actions().value(index) : nullptr;
}

} // namespace

class MergeWindow : public MergeTest {
protected:
    void open(int mode, const ManagedObjectList& cards = {})
    {
        m_window = std::make_unique<PLCardMergerWindowController>();
        m_window->setMainWinController(m_host.get());
        ASSERT_TRUE(m_window->prepareWindow(mode, cards));
        m_window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(m_window.get(), 60000)); // the minute only guards against a hang
    }
    QString label() { return child<QLabel>(*m_window, "_pageInfoTextField")->text(); }
    bool enabled(const char* name) { return child<QWidget>(*m_window, name)->isEnabled(); }
    PLMergeCardImageView* thumbnail(int i) { return m_window->getImageViewWith(i); }

    std::unique_ptr<PLCardMergerWindowController> m_window;
};

TEST_F(MergeWindow, EveryControlHasAName)
{
    addCards(3);
    m_host->select(m_db->card(Database::cardID(1)));
    open(PLMergeModel::kModeSearch);
    EXPECT_EQ(controlsWithoutName(m_window.get()), QStringList());
    EXPECT_NE(child<QWidget>(*m_window, "_faceImageView")->accessibleName(), child<QWidget>(*m_window, "_backImageView")->accessibleName());
    EXPECT_NE(thumbnail(0)->accessibleName(), thumbnail(1)->accessibleName());
}

TEST_F(MergeWindow, PagesThroughAndMergesByTheMenuCommand)
{
    addCards(14);
    m_host->select(m_db->card(Database::cardID(1)));
    open(PLMergeModel::kModeSearch);

    EXPECT_EQ(label(), QStringLiteral(" 1 - 12 / 14 cards "));
    EXPECT_FALSE(enabled("_firstPageButton"));
    EXPECT_FALSE(enabled("_previousPageButton"));
    EXPECT_TRUE(enabled("_nextPageButton"));
    EXPECT_TRUE(enabled("_lastPageButton"));
    EXPECT_TRUE(child<QCheckBox>(*m_window, "_willOpenNextTimeCheckBox")->isHidden());
    for (int i = 0; i < 12; ++i)
        EXPECT_TRUE(thumbnail(i)->isVisible() && !thumbnail(i)->imageRep().isNull()) << i;
    // Mode 0 shows the main window's selected card in the front preview.
    PLMergeCardImageView* face = m_window->previewImageView(1);
    ASSERT_TRUE(face->mergeInfo());
    EXPECT_EQ(face->mergeInfo()->cardId(), Database::cardID(1));
    EXPECT_FALSE(face->imageRep().isNull());
    EXPECT_FALSE(enabled("_mergeButton"));

    // The largest thumbnails leave two columns, and the size is kept for the next opening.
    EXPECT_EQ(m_window->model().tableAttrs().colCount, 4);
    child<QSlider>(*m_window, "_zoomSlider")->setValue(child<QSlider>(*m_window, "_zoomSlider")->maximum());
    EXPECT_EQ(m_window->model().tableAttrs().colCount, 2);
    EXPECT_FLOAT_EQ(m_window->model().scaleFactor(), PLCardMergerWindowController::kSliderMaximum);

    QTest::mouseClick(child<QPushButton>(*m_window, "_nextPageButton"), Qt::LeftButton);
    EXPECT_EQ(label(), QStringLiteral(" 13 - 14 / 14 cards "));
    EXPECT_FALSE(enabled("_nextPageButton"));
    EXPECT_TRUE(thumbnail(1)->isVisible());
    EXPECT_FALSE(thumbnail(2)->isVisible());
    EXPECT_EQ(m_window->model().pageInfo().focusCellIndex, 0);

    // The second card of this page goes to the back preview through the thumbnail menu.
    EXPECT_FALSE(m_window->moveArrowKey(Qt::Key_Up));
    ASSERT_TRUE(m_window->moveArrowKey(Qt::Key_Right));
    EXPECT_FALSE(m_window->moveArrowKey(Qt::Key_Right));
    QMenu* menu = m_window->menuOfThumbnail();
    QAction* setFace = menuAction(menu, 0);
    QAction* setBack = menuAction(menu, 1);
    ASSERT_TRUE(setFace && setBack);
    EXPECT_TRUE(m_window->validateMenuItem(setBack));
    setBack->trigger();
    EXPECT_EQ(m_window->previewImageView(2)->mergeInfo()->cardId(), Database::cardID(14));
    EXPECT_FALSE(m_window->validateMenuItem(setBack)); // already the back
    EXPECT_TRUE(enabled("_mergeButton"));

    m_window->mergeAction()->trigger();
    EXPECT_TRUE(shown().isEmpty()) << shown().join("|").toStdString();
    ManagedObjectPtr front = m_db->reopen()->executeFetchRequest(
        FetchRequest{"Card", keyEquals("cardID", Database::cardID(1)), {}}).value(0);
    ASSERT_TRUE(front);
    EXPECT_EQ(front->stringValue("back_Image_File"), Database::cardID(1) + "_N2.pdf");
    EXPECT_TRUE(QFileInfo(m_db->imagesFolder() + "/" + Database::cardID(1) + "_N2.pdf").isFile());
    EXPECT_EQ(label(), QStringLiteral(" 1 - 12 / 12 cards "));
    EXPECT_FALSE(face->mergeInfo());
    EXPECT_TRUE(enabled("_cancelButton"));
    EXPECT_TRUE(m_window->isSelectedCardBeChanged());

    // Undo through the window's Undo command brings both cards back into the previews.
    m_window->undoAction()->trigger();
    EXPECT_FALSE(QFileInfo::exists(m_db->imagesFolder() + "/" + Database::cardID(1) + "_N2.pdf"));
    EXPECT_EQ(label(), QStringLiteral(" 1 - 12 / 14 cards "));
    EXPECT_EQ(face->mergeInfo()->cardId(), Database::cardID(1));
    EXPECT_EQ(m_window->previewImageView(2)->mergeInfo()->cardId(), Database::cardID(14));
    EXPECT_FALSE(enabled("_cancelButton"));
    EXPECT_FALSE(m_window->windowWillReturnUndoManager().canUndo());
}

TEST_F(MergeWindow, UndoRefusedByItsChecksStaysOnTheStack)
{
    addCards(3);
    m_host->select(m_db->card(Database::cardID(1)));
    open(PLMergeModel::kModeSearch);
    m_window->doSelected(thumbnail(2));
    m_window->setPreviewBack();
    m_window->merge();
    ASSERT_TRUE(m_window->windowWillReturnUndoManager().canUndo());
    m_window->model().services().checkDiskSize = [](const QString&, uint64_t) { return 1; };
    m_window->undo();
    EXPECT_EQ(shown(), QStringList({message(11)}));
    EXPECT_TRUE(m_window->windowWillReturnUndoManager().canUndo());
    EXPECT_EQ(m_window->model().undoRecords().size(), 1);
    m_window->model().services().checkDiskSize = [](const QString&, uint64_t) { return 0; };
    m_window->undo();
    EXPECT_FALSE(m_window->windowWillReturnUndoManager().canUndo());
}

TEST_F(MergeWindow, DoubleClickZoomsAndAClickZoomsBack)
{
    addCards(4);
    m_host->select(m_db->card(Database::cardID(1)));
    open(PLMergeModel::kModeSearch);
    PLMergeCardImageView* first = thumbnail(0);
    const QPoint centre = first->rect().center();
    QTest::mouseDClick(first, Qt::LeftButton, {}, centre);
    EXPECT_EQ(m_window->displayStatus(), PLMergeModel::kZoomingIn);
    EXPECT_FALSE(enabled("_nextPageButton"));
    EXPECT_FALSE(child<QSlider>(*m_window, "_zoomSlider")->isEnabled());
    ASSERT_TRUE(waitFor([&] { return m_window->displayStatus() == PLMergeModel::kZoomed; }));
    PLMergeCardImageView* zoom = m_window->animationImageView();
    EXPECT_TRUE(zoom->isVisible());
    EXPECT_GT(zoom->width(), first->width());
    QTest::mouseClick(zoom, Qt::LeftButton, {}, zoom->rect().center());
    ASSERT_TRUE(waitFor([&] { return m_window->displayStatus() == PLMergeModel::kDisplayNormal; }));
    EXPECT_FALSE(zoom->isVisible());
    EXPECT_TRUE(child<QSlider>(*m_window, "_zoomSlider")->isEnabled());
}

TEST_F(MergeWindow, ClosingAfterAnImportAsksFirst)
{
    addCards(3);
    open(PLMergeModel::kModeNewCards, {m_db->card(Database::cardID(1)), m_db->card(Database::cardID(2)),
                                       m_db->card(Database::cardID(3))});
    EXPECT_FALSE(child<QCheckBox>(*m_window, "_willOpenNextTimeCheckBox")->isHidden());
    EXPECT_FALSE(m_window->previewImageView(1)->mergeInfo()); // no preview filled in mode 1
    child<QCheckBox>(*m_window, "_willOpenNextTimeCheckBox")->setChecked(true);
    m_presenter.queueAnswer(kAlertSecondButtonReturn); // No
    m_window->cancel();
    EXPECT_EQ(m_presenter.pendingSheets(), 1);
    EXPECT_TRUE(m_window->isVisible());
    m_presenter.answerSheets();
    EXPECT_TRUE(m_window->isVisible());
    m_presenter.queueAnswer(kAlertFirstButtonReturn); // Yes
    m_window->cancel();
    m_presenter.answerSheets();
    EXPECT_FALSE(m_window->isVisible());
    EXPECT_FALSE(PreferenceDomain::standard().value(mergepref::kAutoRunMerge).toBool(true));
}

TEST_F(MergeWindow, DropsAndDragsBetweenPreviewsGoThroughTheController)
{
    addCards(3);
    open(PLMergeModel::kModeNewCards, {m_db->card(Database::cardID(1)), m_db->card(Database::cardID(2)),
                                       m_db->card(Database::cardID(3))});
    PLMergeCardImageView* face = m_window->previewImageView(1);
    PLMergeCardImageView* back = m_window->previewImageView(2);
    m_window->doDrop(thumbnail(1), back);
    m_window->swapImageViewContents(back, face); // onto the empty front: moves
    EXPECT_EQ(face->mergeInfo()->cardId(), Database::cardID(2));
    EXPECT_FALSE(back->mergeInfo());
    EXPECT_EQ(face->mergeInfo()->previewFlag(), 1u);
    m_window->doDrop(thumbnail(2), back);
    m_window->swapImageViewContents(back, face); // both filled: exchanged
    EXPECT_EQ(face->mergeInfo()->cardId(), Database::cardID(3));
    EXPECT_EQ(back->mergeInfo()->cardId(), Database::cardID(2));
    m_window->previewDraggedOut(face);
    EXPECT_FALSE(face->mergeInfo());
    EXPECT_EQ(thumbnail(2)->mergeInfo()->previewFlag(), 0u);
    EXPECT_FALSE(m_window->validateMenuItem(menuAction(m_window->findChildren<QMenu*>().value(0), 0)));
}
