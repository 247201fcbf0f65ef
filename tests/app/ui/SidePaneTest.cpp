// The side pane beside the card image as a user meets it: the attachments of the shown card
// listed below the detail editor and shown or hidden with the bar's button (kept to the next
// start), the pane closed and opened again at its width, renaming an attachment in the list, and
// the View menu's front, back and attachments items with their enabling.
#include "app/core/BundleImage.h"
#include "app/core/PLMessage.h"
#include "app/ui/PLAttachmentController.h"
#include "app/ui/views/PLDatePicker.h"
#include "app/ui/views/PLSplitView.h"
#include "platform/foundation/NotificationCenter.h"
#include "tests/app/ui/ImagePaneFixture.h"

#include <QAbstractItemModel>
#include <QDialog>
#include <QFont>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMenu>
#include <QScopeGuard>
#include <QSplitter>
#include <QTableView>
#include <QTest>
#include <QToolButton>

namespace {

class SidePane : public ImagePaneFixture {
protected:
    const MainWindowUi& ui() const { return window->ui(); }
    QToolButton* attachSwitch() const { return ui()._detailSideView->findChild<QToolButton*>(QStringLiteral("_switchBtn")); }
    QWidget* attachBar() const { return ui()._detailSideView->findChild<QWidget*>(QStringLiteral("_barView")); }
    QAction* viewItem(const char* action) const { return window->window()->findChild<QAction*>(QString::fromLatin1(action)); }

    // Attachment files of a card, made as the attach command leaves them.
    void attach(const QString& cardID, const QStringList& names)
    {
        const QString folder = database + QStringLiteral("/Files/") + cardID;
        ASSERT_TRUE(QDir().mkpath(folder));
        for (const QString& name : names) {
            QFile file(folder + QLatin1Char('/') + name);
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            file.write("attached");
        }
    }
    QStringList listedNames() const
    {
        QStringList names;
        const QAbstractItemModel* model = ui()._attachTableView->model();
        for (int row = 0; row < model->rowCount(); ++row)
            names.append(model->index(row, PLTableView::kNameColumn).data().toString());
        return names;
    }
    // The shipped drawings of the bar's button, put into the test's bundle.
    void deliverSwitchImages()
    {
        for (const char* image : {"Up.svg", "Down.svg"}) {
            QFile drawing(qEnvironmentVariable("PELMORA_SOURCE_DIR") + QStringLiteral("/resources/Pelmora/") + QString::fromLatin1(image));
            ASSERT_TRUE(drawing.open(QIODevice::ReadOnly));
            bundle.writeRaw(QString::fromLatin1(image), drawing.readAll());
        }
    }
    bool attachSwitchShows(const char* name) const
    {
        const QImage expected = bundleImage(QString::fromLatin1(name)).pixmap(16, 16).toImage();
        return !expected.isNull() && attachSwitch()->icon().pixmap(16, 16).toImage() == expected;
    }
    // The View menu refreshes its items as it opens.
    void openViewMenu() const { emit pane->viewMenu()->aboutToShow(); }
};

} // namespace

TEST_F(SidePane, AttachmentsOfTheShownCardAreListed)
{
    attach(QStringLiteral("A"), {QStringLiteral("b notes.txt"), QStringLiteral("a plan é.pdf")});
    addCard(QStringLiteral("A"), {});
    addCard(QStringLiteral("B"), {});
    // An identifier that is not one plain name never lists another folder.
    addCard(QStringLiteral(".."), {});
    attach(QStringLiteral("../Images"), {QStringLiteral("stray.pdf")});

    struct Case {
        QStringList selected;
        QStringList listed;
    };
    const Case cases[] = {
        {{QStringLiteral("A")}, {QStringLiteral("a plan é.pdf"), QStringLiteral("b notes.txt")}},
        {{QStringLiteral("B")}, {}},
        {{QStringLiteral("A"), QStringLiteral("B")}, {}},
        {{QStringLiteral("..")}, {}},
        {{QStringLiteral("A")}, {QStringLiteral("a plan é.pdf"), QStringLiteral("b notes.txt")}},
        {{}, {}},
    };
    for (const Case& c : cases) {
        select(c.selected);
        EXPECT_EQ(listedNames(), c.listed) << c.selected.join(QLatin1Char(',')).toStdString();
        EXPECT_EQ(ui()._iconView->isVisibleTo(window->window()), !c.listed.isEmpty()) << "the attachment badge";
    }
}

TEST_F(SidePane, AttachmentsAreShownBelowTheEditorAndKeptToTheNextStart)
{
    deliverSwitchImages();
    QTableView* list = ui()._attachTableView;
    EXPECT_FALSE(list->isVisible()) << "hidden at the first start";
    EXPECT_EQ(attachBar()->geometry().bottom(), ui()._detailSideView->rect().bottom()) << "the bar at the pane's foot";

    QTest::mouseClick(attachSwitch(), Qt::LeftButton);
    QApplication::processEvents();
    EXPECT_TRUE(list->isVisible());
    EXPECT_TRUE(attachSwitchShows("Down.png"));
    EXPECT_LT(ui()._detailCardView->geometry().bottom(), attachBar()->geometry().top());
    EXPECT_LT(attachBar()->geometry().bottom(), list->geometry().top());
    EXPECT_EQ(PreferenceDomain::standard().value(QString::fromLatin1(kShowAttach)).toInteger(), 1);

    // The next start shows them again.
    window->window()->close();
    openDatabase.choose(database);
    window = std::make_unique<PLMainWindowController>(openDatabase);
    window->setTerminate([] {});
    window->showActiveWindow();
    pane = window->imageController();
    EXPECT_TRUE(ui()._attachTableView->isVisible());

    QTest::mouseClick(attachSwitch(), Qt::LeftButton);
    EXPECT_FALSE(ui()._attachTableView->isVisible());
    EXPECT_TRUE(attachSwitchShows("Up.png"));
    EXPECT_EQ(PreferenceDomain::standard().value(QString::fromLatin1(kShowAttach)).toInteger(), 0);
}

// With the attachments shown in the smallest window, every row of the editor keeps its height
// and none covers another, the memo included: the editor scrolls instead. The desktop's text is
// larger than the built form allows for.
TEST_F(SidePane, AttachmentsInTheSmallestWindowLeaveTheEditorsRowsWhole)
{
    const QFont built = QApplication::font();
    const auto restoreFont = qScopeGuard([&built] { QApplication::setFont(built); });
    QFont large = built;
    if (large.pointSizeF() > 0)
        large.setPointSizeF(large.pointSizeF() * 1.5);
    else
        large.setPixelSize(large.pixelSize() * 3 / 2);
    QApplication::setFont(large);
    window.reset();
    startWindow();
    QTest::mouseClick(attachSwitch(), Qt::LeftButton);
    ASSERT_TRUE(ui()._attachTableView->isVisible());
    window->window()->resize(1, 1);
    QApplication::processEvents();
    QRect above;
    QWidget* memo = nullptr;
    for (const DetailEditorUi::Row& row : ui()._detailEditor.rows) {
        const QRect field = row.fieldWidget()->geometry();
        EXPECT_GE(field.height(), std::min(row.fieldWidget()->sizeHint().height(), row.fieldWidget()->maximumHeight())) << row.attribute;
        EXPECT_GT(field.top(), above.bottom()) << row.attribute;
        above = field;
        if (QLatin1String(row.attribute) == QLatin1String("memo"))
            memo = row.fieldWidget();
    }
    ASSERT_NE(memo, nullptr);
    EXPECT_EQ(memo->height(), 64);
    EXPECT_LT(memo->geometry().bottom(), ui()._detailEditor._datePicker->geometry().top());
    EXPECT_LT(ui()._detailCardView->geometry().bottom(), attachBar()->geometry().top());
}

TEST_F(SidePane, AddingAttachmentsOpensThePaneAndTheList)
{
    QTest::mouseClick(ui()._dataEditBarSegControl, Qt::LeftButton);
    ASSERT_FALSE(ui()._detailSideView->isVisible());
    NotificationCenter::defaultCenter().post(QString::fromLatin1(kShowAttachmentsNotification), window->attachmentController());
    EXPECT_TRUE(ui()._detailSideView->isVisible());
    EXPECT_TRUE(ui()._dataEditBarSegControl->isChecked()) << "the pane's control follows";
    EXPECT_TRUE(ui()._attachTableView->isVisible());
    // Said again with everything shown, nothing changes.
    NotificationCenter::defaultCenter().post(QString::fromLatin1(kShowAttachmentsNotification), window->attachmentController());
    EXPECT_TRUE(ui()._attachTableView->isVisible());
}

TEST_F(SidePane, ClosedPaneOpensAtItsWidthLeavingTheImagesTheirRoom)
{
    QSplitter* split = ui()._hSplitView;
    split->setSizes({split->width() - 420 - 1, 420});
    emit split->splitterMoved(split->width() - 420, 1);
    ui()._detailCardView->findChild<QLineEdit*>(QStringLiteral("_nameText"))->setFocus();

    QTest::mouseClick(ui()._dataEditBarSegControl, Qt::LeftButton);
    EXPECT_FALSE(ui()._detailSideView->isVisible());
    QApplication::processEvents();
    EXPECT_FALSE(ui()._detailSideView->isAncestorOf(window->window()->focusWidget())) << "the focus left the closed pane";
    QTest::mouseClick(ui()._dataEditBarSegControl, Qt::LeftButton);
    EXPECT_EQ(ui()._detailSideView->width(), 420);

    // In a narrow window the images keep 352 points: the pane opens narrower and keeps that width.
    QTest::mouseClick(ui()._dataEditBarSegControl, Qt::LeftButton);
    window->window()->resize(720, 800);
    QApplication::processEvents();
    QTest::mouseClick(ui()._dataEditBarSegControl, Qt::LeftButton);
    EXPECT_EQ(ui()._detailSideView->width(), 720 - 352);
    EXPECT_GE(ui()._vSplitView->width(), 350);
    window->window()->close();
    EXPECT_EQ(PreferenceDomain::standard().value(QStringLiteral("Detail View Width")).toInteger(), 720 - 352);
}

TEST_F(SidePane, AttachmentRenamedInTheList)
{
    attach(QStringLiteral("A"), {QStringLiteral("old.txt"), QStringLiteral("other.txt")});
    attach(QStringLiteral("B"), {QStringLiteral("new name.txt")});
    addCard(QStringLiteral("A"), {});
    select({QStringLiteral("A")});
    QTest::mouseClick(attachSwitch(), Qt::LeftButton);
    QTableView* list = ui()._attachTableView;
    const QString folder = database + QStringLiteral("/Files/A/");

    // Typed in place and ended with Return: the file is renamed, the list stays on its row.
    auto rename = [&](int row, const QString& name) {
        const QModelIndex index = list->model()->index(row, PLTableView::kNameColumn);
        list->setCurrentIndex(index);
        list->edit(index);
        // The editor of an earlier rename is gone first.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        auto* editor = list->viewport()->findChild<QLineEdit*>();
        ASSERT_NE(editor, nullptr);
        editor->selectAll();
        QTest::keyClicks(editor, name);
        QTest::keyClick(editor, Qt::Key_Return);
        QApplication::processEvents();
    };
    rename(0, QStringLiteral("new name.txt"));
    EXPECT_TRUE(QFile::exists(folder + QStringLiteral("new name.txt")));
    EXPECT_FALSE(QFile::exists(folder + QStringLiteral("old.txt")));
    EXPECT_EQ(listedNames(), (QStringList{QStringLiteral("new name.txt"), QStringLiteral("other.txt")}));
    EXPECT_EQ(list->currentIndex().row(), 0) << "Return does not move on to the next row";
    EXPECT_EQ(window->window()->focusWidget(), list);
    EXPECT_TRUE(presenter.texts().isEmpty()) << "the same name on another card is allowed";

    struct Case {
        QString name;
        int message; // 0: none
    };
    const Case refused[] = {
        {QStringLiteral("new name.txt"), 0},
        {QStringLiteral("other.txt"), 60},
        {QStringLiteral(".hidden"), 64},
        {QStringLiteral("a:b"), 64},
        {QStringLiteral("a/b"), 64},
        {QString(256, QLatin1Char('x')), 40},
    };
    for (const Case& c : refused) {
        presenter.clear();
        list->setCurrentIndex(list->model()->index(0, PLTableView::kNameColumn));
        window->attachmentController()->renameFileName(c.name);
        EXPECT_EQ(presenter.texts(), c.message ? QStringList{PLMessage::errorText(c.message)} : QStringList()) << c.name.left(20).toStdString();
        EXPECT_TRUE(QFile::exists(folder + QStringLiteral("new name.txt")));
        EXPECT_TRUE(QFile::exists(folder + QStringLiteral("other.txt")));
    }
    // The field takes no more than 255 characters.
    rename(1, QString(300, QLatin1Char('y')));
    EXPECT_TRUE(QFile::exists(folder + QString(255, QLatin1Char('y'))));

    // A file gone behind the list's back is told as missing.
    QFile::remove(folder + QStringLiteral("new name.txt"));
    presenter.clear();
    list->setCurrentIndex(list->model()->index(0, PLTableView::kNameColumn));
    window->attachmentController()->renameFileName(QStringLiteral("again.txt"));
    EXPECT_EQ(presenter.texts(), QStringList{PLMessage::errorText(30)});
}

TEST_F(SidePane, ViewMenuItemsFollowTheShownSide)
{
    writeScanner(QStringLiteral("one_N1.pdf"), 1);
    writeScanner(QStringLiteral("two_N1.pdf"), 1);
    writeScanner(QStringLiteral("two_N2.pdf"), 1);
    addCard(QStringLiteral("one"), {{QStringLiteral("face_Image_File"), QStringLiteral("one_N1.pdf")}});
    addCard(QStringLiteral("two"), {{QStringLiteral("face_Image_File"), QStringLiteral("two_N1.pdf")},
                                    {QStringLiteral("back_Image_File"), QStringLiteral("two_N2.pdf")}});
    QAction* front = viewItem("faceButtonAction");
    QAction* backItem = viewItem("backButtonAction");
    QAction* attachments = viewItem("showAttachOrDetailView");
    ASSERT_TRUE(front && backItem && attachments);

    struct Expect {
        bool front, back, attachments, attachmentsChecked;
    };
    auto expectItems = [&](const Expect& e, const char* when) {
        openViewMenu();
        EXPECT_EQ(front->isEnabled(), e.front) << when;
        EXPECT_EQ(backItem->isEnabled(), e.back) << when;
        EXPECT_EQ(attachments->isEnabled(), e.attachments) << when;
        EXPECT_EQ(attachments->isChecked(), e.attachmentsChecked) << when;
    };
    select({QStringLiteral("one")});
    expectItems({false, false, true, false}, "a front-only card");
    select({QStringLiteral("two")});
    expectItems({false, true, true, false}, "a two-sided card, front shown");
    backItem->trigger();
    EXPECT_EQ(pane->getCurrentDisplayPage(), 2);
    expectItems({true, false, true, false}, "the back shown");
    // A shortcut of an item that does not apply does nothing.
    backItem->trigger();
    EXPECT_EQ(pane->getCurrentDisplayPage(), 2);
    front->trigger();
    EXPECT_EQ(pane->getCurrentDisplayPage(), 1);

    attachments->trigger();
    expectItems({false, true, true, true}, "the attachments shown");
    QTest::mouseClick(ui()._dataEditBarSegControl, Qt::LeftButton);
    expectItems({false, true, false, true}, "the side pane closed");
    attachments->trigger();
    EXPECT_TRUE(ui()._attachTableView->isVisibleTo(ui()._detailSideView)) << "not toggled while the pane is closed";
    QTest::mouseClick(ui()._dataEditBarSegControl, Qt::LeftButton);

    // A sheet on the main window disables every item.
    QDialog sheet(window->window());
    sheet.setWindowModality(Qt::WindowModal);
    sheet.show();
    expectItems({false, false, false, true}, "a sheet shown");
    sheet.hide();
}
