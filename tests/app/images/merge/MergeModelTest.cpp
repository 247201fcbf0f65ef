// The merge window's state without widgets: candidates, pages and their label, the grid, focus
// moves, zoom states, previews, preferences and the rule that opens the window after an import.
#include "MergeTestSupport.h"

#include "app/images/merge/PLMergeAfterImport.h"
#include "app/images/merge/PLMergeCardImageView.h"
#include "tests/support/pdf/TestPdf.h"

#include <QDir>
#include <QFile>

#include <cmath>

using mergefixture::CardOptions;
using mergefixture::Database;

namespace {

struct PageCase {
    int candidates;
    int selected;
    int pages;
    int page;
    int focus;
    int pageSize;
    const char* label;
};

} // namespace

TEST_F(MergeTest, PagesLabelsAndSelectionFollowTheCandidates)
{
    addCards(25);
    PLMergeModel model(m_host.get());
    ManagedObjectList cards;
    for (int i = 25; i >= 1; --i) // given newest first: the model orders them by acceptance
        cards.append(m_db->card(Database::cardID(i)));
    model.initCandidateCards(cards);
    ASSERT_EQ(model.arrangedCandidates().size(), 25);
    EXPECT_EQ(model.arrangedCandidates().first()->cardId(), Database::cardID(1));
    EXPECT_EQ(model.pageInfo().selectedIndex, 0);

    const PageCase cases[] = {
        {25, 0, 3, 1, 0, 12, " 1 - 12 / 25 cards "},
        {25, 13, 3, 2, 1, 12, " 13 - 24 / 25 cards "},
        {25, 24, 3, 3, 0, 1, " 25 - 25 / 25 cards "},
    };
    for (const PageCase& c : cases) {
        model.pageInfo().selectedIndex = c.selected;
        model.initPage();
        EXPECT_EQ(model.pageInfo().pageCount, c.pages) << c.selected;
        EXPECT_EQ(model.pageInfo().pageIndex, c.page) << c.selected;
        EXPECT_EQ(model.pageInfo().focusCellIndex, c.focus) << c.selected;
        EXPECT_EQ(model.pageInfo().pageSize, c.pageSize) << c.selected;
        EXPECT_EQ(model.pageLabel(QStringLiteral("cards")), QString::fromLatin1(c.label));
    }

    model.firstPage();
    model.prevPage();
    EXPECT_EQ(model.pageInfo().pageIndex, 1);
    model.lastPage();
    model.nextPage();
    EXPECT_EQ(model.pageInfo().pageIndex, 3);
    EXPECT_EQ(model.candidateAtCell(0)->cardId(), Database::cardID(25));
    EXPECT_EQ(model.candidateAtCell(1), nullptr);
}

TEST_F(MergeTest, MergedCandidatesLeaveTheListAndThePageFollows)
{
    addCards(13);
    PLMergeModel model(m_host.get());
    ManagedObjectList cards;
    for (int i = 1; i <= 13; ++i)
        cards.append(m_db->card(Database::cardID(i)));
    model.initCandidateCards(cards);
    model.initPage();
    model.lastPage();
    ASSERT_EQ(model.pageInfo().pageIndex, 2);
    model.allCandidates().at(0)->setIsMerged(true);
    model.updateCandidateCardsDisplay(nullptr);
    EXPECT_EQ(model.pageInfo().maxRecords, 12);
    EXPECT_EQ(model.pageInfo().pageCount, 1);
    EXPECT_EQ(model.pageInfo().pageIndex, 1);
    EXPECT_EQ(model.pageLabel(QString()), QStringLiteral(" 1 - 12 / 12  "));
}

TEST_F(MergeTest, EmptyListGivesAZeroLabel)
{
    PLMergeModel model(m_host.get());
    model.initPage();
    EXPECT_EQ(model.pageInfo().pageCount, 0);
    EXPECT_EQ(model.getCurrentDisplayCardNum(), 0);
    model.updatePageInfo();
    EXPECT_EQ(model.pageLabel(QString()), QStringLiteral(" 0 - 0 / 0  "));
}

TEST_F(MergeTest, CandidateRuleNeedsAOnePageCardFrontAndNoBack)
{
    addCards(1);
    ASSERT_TRUE(m_db->addCard(2, CardOptions{.hasBack = true}));
    ASSERT_TRUE(m_db->addCard(3, CardOptions{.writeFront = false}));
    ManagedObjectPtr twoPages = m_db->addCard(4);
    ManagedObjectPtr folderName = m_db->addCard(5);
    ManagedObjectPtr outside = m_db->addCard(6);
    testpdf::writePdf(m_db->imagesFolder() + "/CARD-0004_N1.pdf", testpdf::scannerDocument(2));
    folderName->setValue("face_Image_File", QStringLiteral("../Cards.cxdb"));
    outside->setValue("face_Image_File", QStringLiteral("../../CARD-0001_N1.pdf"));
    const QString images = m_db->imagesFolder();
    EXPECT_TRUE(PLMergeModel::isCandidateCard(*m_db->card(Database::cardID(1)), images));
    for (int i = 2; i <= 6; ++i)
        EXPECT_FALSE(PLMergeModel::isCandidateCard(*m_db->card(Database::cardID(i)), images)) << i;
}

TEST_F(MergeTest, OpeningInEachModeShowsTheRightMessage)
{
    addCards(3);
    ASSERT_TRUE(m_db->addCard(4, CardOptions{.deleted = true}));
    ASSERT_TRUE(m_db->addCard(5, CardOptions{.hasBack = true}));
    ASSERT_EQ(m_db->save(), 0);

    {   // nothing selected, then two selected
        PLMergeModel model(m_host.get());
        EXPECT_EQ(model.prepareCandidates(PLMergeModel::kModeSearch, {}), 103);
        m_host->selected = {m_db->card(Database::cardID(1))->dictionary(), m_db->card(Database::cardID(2))->dictionary()};
        PLMergeModel second(m_host.get());
        EXPECT_EQ(second.prepareCandidates(PLMergeModel::kModeSearch, {}), 103);
        EXPECT_EQ(shown(), QStringList({message(103), message(103)}));
    }
    m_presenter.clear();
    {   // the whole database: cards 1 to 3; the selected one is found and the folder filter applies
        m_host->select(m_db->card(Database::cardID(3)));
        PLMergeModel model(m_host.get());
        EXPECT_EQ(model.prepareCandidates(PLMergeModel::kModeSearch, {}), 0);
        EXPECT_EQ(model.arrangedCandidates().size(), 3);
        EXPECT_EQ(model.pageInfo().selectedIndex, 2);
        EXPECT_EQ(model.selectedCardId(), Database::cardID(3));
        EXPECT_FALSE(model.isFromScanData());
        EXPECT_TRUE(shown().isEmpty());
    }
    {   // a folder with one candidate: 102; no folder selected counts as a folder with none
        ASSERT_TRUE(m_db->addCard(6, CardOptions{.folderID = mergefixture::kUserFolderID}));
        ASSERT_EQ(m_db->save(), 0);
        m_host->folderRow = 2;
        m_host->folderID = mergefixture::kUserFolderID;
        PLMergeModel model(m_host.get());
        EXPECT_EQ(model.prepareCandidates(PLMergeModel::kModeSearch, {}), 102);
        m_host->folderRow = -1;
        m_host->folderID = QString();
        PLMergeModel none(m_host.get());
        EXPECT_EQ(none.prepareCandidates(PLMergeModel::kModeSearch, {}), 102);
        EXPECT_EQ(shown(), QStringList({message(102), message(102)}));
    }
    m_presenter.clear();
    {   // mode 1 with one candidate shows nothing; with two the first is selected
        PLMergeModel model(m_host.get());
        EXPECT_EQ(model.prepareCandidates(PLMergeModel::kModeNewCards, {m_db->card(Database::cardID(1)),
                                                                         m_db->card(Database::cardID(5))}),
                  PLMergeModel::kNothingShown);
        PLMergeModel two(m_host.get());
        EXPECT_EQ(two.prepareCandidates(PLMergeModel::kModeNewCards, {m_db->card(Database::cardID(2)),
                                                                       m_db->card(Database::cardID(1))}),
                  0);
        EXPECT_TRUE(two.isFromScanData());
        EXPECT_EQ(two.pageInfo().selectedIndex, 0);
        EXPECT_EQ(two.arrangedCandidates().first()->cardId(), Database::cardID(1));
        EXPECT_TRUE(shown().isEmpty());
    }
}

TEST_F(MergeTest, CardsOfAUserFolderAreFoundAfterTheStoreIsReopened)
{
    ASSERT_TRUE(m_db->addCard(1, CardOptions{.folderID = mergefixture::kUserFolderID}));
    ASSERT_TRUE(m_db->addCard(2));
    ASSERT_TRUE(m_db->addCard(3, CardOptions{.folderID = mergefixture::kUserFolderID}));
    ASSERT_EQ(m_db->save(), 0);
    // The folder is read back from the store, not from the objects that wrote it.
    const auto reopened = Database::open(m_db->path());
    ASSERT_TRUE(reopened);
    mergefixture::Host host(*reopened);
    host.select(reopened->card(Database::cardID(3)));
    host.folderRow = 2;
    host.folderID = mergefixture::kUserFolderID;
    PLMergeModel model(&host);
    EXPECT_EQ(model.prepareCandidates(PLMergeModel::kModeSearch, {}), 0);
    ASSERT_EQ(model.arrangedCandidates().size(), 2);
    EXPECT_EQ(model.arrangedCandidates()[0]->cardId(), Database::cardID(1));
    EXPECT_EQ(model.arrangedCandidates()[1]->cardId(), Database::cardID(3));
    EXPECT_TRUE(shown().isEmpty());
}

TEST_F(MergeTest, SelectedFrontThatIsAFolderGives103)
{
    addCards(2);
    ManagedObjectPtr card = m_db->card(Database::cardID(1));
    QFile::remove(m_db->imagesFolder() + "/CARD-0001_N1.pdf");
    QDir().mkpath(m_db->imagesFolder() + "/CARD-0001_N1.pdf");
    m_host->select(card);
    PLMergeModel model(m_host.get());
    EXPECT_EQ(model.prepareCandidates(PLMergeModel::kModeSearch, {}), 103);
}

TEST_F(MergeTest, MissingImagesFolderOrFullDiskGives11)
{
    QTemporaryDir other;
    auto bare = Database::create(other.path(), false);
    ASSERT_TRUE(bare);
    mergefixture::Host host(*bare);
    PLMergeModel model(&host);
    EXPECT_EQ(model.prepareCandidates(PLMergeModel::kModeNewCards, {}), 11);

    addCards(2);
    PLMergeModel full(m_host.get());
    full.services().checkDiskSize = [](const QString&, uint64_t) { return 1; };
    EXPECT_EQ(full.prepareCandidates(PLMergeModel::kModeSearch, {}), 11);
    EXPECT_EQ(shown(), QStringList({message(11), message(11)}));
}

TEST(MergeLayout, GridFitsFourByThreeAndKeepsTwoColumns)
{
    // 4 + 4 margins: W = 400, base side min(400/4 - 6, (304 - 4)/3 - 2) = 94.
    PLMergeModel::Layout fit = PLMergeModel::layout(408, 304, 15, 1.0f, 12);
    EXPECT_FLOAT_EQ(fit.attrs.cellWidth, 94);
    EXPECT_EQ(fit.attrs.colCount, 4);
    EXPECT_EQ(fit.attrs.rowCount, 3);
    EXPECT_FLOAT_EQ(fit.attrs.tableHeight, 304);
    EXPECT_FLOAT_EQ(fit.attrs.colSpacing, 6);
    ASSERT_EQ(fit.frames.size(), 12);
    EXPECT_EQ(fit.frames.at(0), QRect(7, 3, 94, 94));
    EXPECT_EQ(fit.frames.at(4).top(), fit.frames.at(0).top() + 96);
    EXPECT_EQ(fit.frames.at(1).left(), fit.frames.at(0).left() + 100);

    // Doubled: two columns, six rows that no longer fit; the scroller takes its width.
    PLMergeModel::Layout zoomed = PLMergeModel::layout(408, 304, 15, 2.0f, 12);
    EXPECT_EQ(zoomed.attrs.colCount, 2);
    EXPECT_EQ(zoomed.attrs.rowCount, 6);
    EXPECT_FLOAT_EQ(zoomed.attrs.tableWidth, 408 - 15);
    EXPECT_GT(zoomed.attrs.tableHeight, 304);
    EXPECT_EQ(zoomed.documentSize.height(), int(std::ceil(zoomed.attrs.tableHeight)));

    PLMergeModel::Layout tiny = PLMergeModel::layout(20, 20, 15, 1.0f, 5);
    EXPECT_EQ(tiny.attrs.colCount, 2);
    EXPECT_EQ(tiny.attrs.rowCount, 3);
}

TEST_F(MergeTest, ArrowsMoveTheFocusWithinThePage)
{
    PLMergeModel model(m_host.get());
    TableAttrs attrs;
    attrs.colCount = 4;
    model.setTableAttrs(attrs);
    const auto shownUpTo = [](int last) { return [last](int cell) { return cell <= last; }; };
    using A = PLMergeModel::Arrow;
    struct Case { int focus; A arrow; int last; int target; } cases[] = {
        {0, A::Right, 11, 1}, {0, A::Left, 11, -1}, {0, A::Up, 11, -1}, {1, A::Down, 11, 5},
        {11, A::Right, 11, -1}, {9, A::Down, 11, -1}, {3, A::Down, 6, -1}, {6, A::Up, 6, 2},
    };
    for (const Case& c : cases) {
        model.pageInfo().focusCellIndex = c.focus;
        EXPECT_EQ(model.arrowTarget(c.arrow, shownUpTo(c.last)), c.target) << c.focus;
    }
}

TEST_F(MergeTest, ZoomRunsItsFourStatesInOrder)
{
    PLMergeModel model(m_host.get());
    EXPECT_EQ(model.startZoom(), PLMergeModel::kZoomingIn);
    EXPECT_EQ(model.startZoom(), PLMergeModel::kDisplayNormal); // ignored while moving
    model.zoomAnimationEnded();
    EXPECT_EQ(model.displayStatus(), PLMergeModel::kZoomed);
    EXPECT_EQ(model.startZoom(), PLMergeModel::kZoomingOut);
    model.zoomAnimationEnded();
    EXPECT_EQ(model.displayStatus(), PLMergeModel::kDisplayNormal);
}

TEST_F(MergeTest, PreviewsMoveAndExchangeCards)
{
    PLMergeModel model(m_host.get());
    auto a = std::make_shared<PLMergeInfo>("A", "/a"), b = std::make_shared<PLMergeInfo>("B", "/b");
    QImage bitmap(4, 2, QImage::Format_RGB32);
    model.doDrop(b, bitmap, 2);
    model.swapPreviews(2, 1); // onto an empty front: moves
    EXPECT_EQ(model.previewCandidate(1), b);
    EXPECT_EQ(model.previewCandidate(2), nullptr);
    EXPECT_EQ(b->previewFlag(), 1u);
    model.doDrop(a, bitmap, 2);
    model.swapPreviews(2, 1); // both filled: exchange
    EXPECT_EQ(model.previewCandidate(1), a);
    EXPECT_EQ(model.previewCandidate(2), b);
    EXPECT_EQ(a->previewFlag(), 1u);
    EXPECT_EQ(b->previewFlag(), 2u);
    model.doDrop(b, bitmap, 1); // the same card dropped on the other preview leaves its old one
    EXPECT_EQ(model.previewCandidate(2), nullptr);
    EXPECT_EQ(a->previewFlag(), 0u);
    EXPECT_FALSE(model.canMerge());
}

TEST(MergeView, FittedRectangleIsCentredAndRoundedOutward)
{
    struct Case { QRectF rect; QSizeF image; QRect expected; } cases[] = {
        {{0, 0, 100, 100}, {300, 200}, {0, 16, 100, 68}},
        {{0, 0, 100, 100}, {0, 50}, {49, 0, 2, 100}},    // zero width counts as 1: 1 x 50 becomes 2 x 100
        {{10, 10, 50, 20}, {10, 10}, {25, 10, 20, 20}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(PLMergeCardImageView::computeDrawImageRect(c.rect, c.image), c.expected) << c.image.width();
}

TEST_F(MergeTest, PreferencesReadWithDefaultsAndWriteBack)
{
    PreferenceDomain& prefs = PreferenceDomain::standard();
    PLMergeModel model(m_host.get());
    model.readPreferences(1.0f, 3.0f);
    EXPECT_TRUE(model.isDeleteBackImage());
    EXPECT_FLOAT_EQ(model.scaleFactor(), 1.0f);
    prefs.setValue(mergepref::kDeleteBackImage, false);
    prefs.setValue(mergepref::kScaleFactor, 2.5);
    model.readPreferences(1.0f, 3.0f);
    EXPECT_FALSE(model.isDeleteBackImage());
    EXPECT_FLOAT_EQ(model.scaleFactor(), 2.5f);
    prefs.setValue(mergepref::kDeleteBackImage, QStringLiteral("NO"));
    prefs.setValue(mergepref::kScaleFactor, 7);
    model.readPreferences(1.0f, 3.0f);
    EXPECT_TRUE(model.isDeleteBackImage());
    EXPECT_FLOAT_EQ(model.scaleFactor(), 1.0f);

    // The automatic merge is switched off only from mode 1.
    model.setScaleFactor(1.5f);
    EXPECT_TRUE(model.savePreferences(true));
    EXPECT_FALSE(prefs.contains(mergepref::kAutoRunMerge));
    EXPECT_DOUBLE_EQ(prefs.value(mergepref::kScaleFactor).toReal(), 1.5);
    addCards(2);
    PLMergeModel fromImport(m_host.get());
    fromImport.prepareCandidates(PLMergeModel::kModeNewCards, {m_db->card(Database::cardID(1)), m_db->card(Database::cardID(2))});
    EXPECT_TRUE(fromImport.savePreferences(true));
    EXPECT_TRUE(prefs.value(mergepref::kAutoRunMerge).isBool());
    EXPECT_FALSE(prefs.value(mergepref::kAutoRunMerge).toBool());
}

TEST_F(MergeTest, AutomaticMergeAfterImportFollowsItsSwitches)
{
    PreferenceDomain& prefs = PreferenceDomain::standard();
    EXPECT_TRUE(isAutoRunMergeCardFunc());
    prefs.setValue(mergepref::kGeneralDisplay, false);
    EXPECT_FALSE(isAutoRunMergeCardFunc());
    prefs.setValue(mergepref::kAutoRunMerge, QStringLiteral("YES")); // not a number: the general switch decides
    EXPECT_FALSE(isAutoRunMergeCardFunc());
    prefs.setValue(mergepref::kAutoRunMerge, 1);
    EXPECT_TRUE(isAutoRunMergeCardFunc());

    struct Case { bool visible; int cards; bool autoRun; int attributes; bool runs; } cases[] = {
        {true, 2, true, 0, true}, {false, 2, true, 0, false}, {true, 1, true, 0, false},
        {true, 5, false, 0, false}, {true, 5, true, 3, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(shouldRunMergeAfterImport(c.visible, c.cards, c.autoRun, c.attributes), c.runs) << c.cards;

    addCards(2);
    m_host->visible = false;
    EXPECT_FALSE(runMergeAfterImport(*m_host, {m_db->card(Database::cardID(1)), m_db->card(Database::cardID(2))}).ran);
}
