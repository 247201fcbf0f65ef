// A card's attachments as a user handles them in the main window: files added through the menus'
// open panel or dropped on the list, the overwrite questions, failed copies that keep the old
// file, bad files and bad folders, opening, deleting, renaming from the list's menu, dragging rows
// out, the menus' enabling, and the information window.
#include "app/core/DiskUtilities.h"
#include "app/core/PLMessage.h"
#include "app/core/PLNetDBLockController.h"
#include "app/ui/PLAttachmentController.h"
#include "app/ui/PLAttachmentInfoWindow.h"
#include "platform/workspace/FileManagerProperties.h"
#include "tests/app/ui/ImagePaneFixture.h"
#include "tests/support/appkit/ScriptedPanelService.h"
#include "tests/support/dbtools/FakeFileAttributes.h"
#include "tests/support/workspace/FakeWorkspace.h"
#include "tests/support/workspace/SmallVolume.h"

#include <QAbstractItemModel>
#include <QContextMenuEvent>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVirtualObject>
#include <QDeadlineTimer>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QProcess>
#include <QTest>
#include <QToolButton>

#include <sys/stat.h>

namespace {

constexpr int kYes = kAlertFirstButtonReturn;
constexpr int kNo = kAlertSecondButtonReturn;
constexpr int kCancel = kAlertThirdButtonReturn;
constexpr int kYesToAll = kAlertThirdButtonReturn + 1;
// The buttons of the alert for files that could not be deleted.
constexpr int kContinue = kAlertFirstButtonReturn;
constexpr int kStop = kAlertSecondButtonReturn;
constexpr int kSkip = kAlertThirdButtonReturn;
constexpr int kContinueAll = kAlertThirdButtonReturn + 1;

QStringList errors(std::initializer_list<int> numbers)
{
    QStringList texts;
    for (int number : numbers)
        texts.append(PLMessage::errorText(number));
    return texts;
}

class Attachments : public ImagePaneFixture {
protected:
    ScriptedPanelService panels;
    FakeWorkspace workspace;

    void SetUp() override
    {
        ImagePaneFixture::SetUp();
        addCard(QStringLiteral("A"), {});
        select({QStringLiteral("A")});
    }

    PLAttachmentController* controller() const { return window->attachmentController(); }
    PLTableView* list() const { return window->ui()._attachTableView; }
    QString cardFolder() const { return database + QStringLiteral("/Files/A"); }
    QString attachment(const QString& name) const { return cardFolder() + QLatin1Char('/') + name; }

    // A file of the user's, outside the database.
    QString source(const QString& name, const QByteArray& content = "new")
    {
        const QString folder = temp.filePath(QStringLiteral("sources"));
        QDir().mkpath(folder);
        const QString path = folder + QLatin1Char('/') + name;
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(content);
        return path;
    }
    // Attachments of card A as the add leaves them, the list read again.
    void attach(const QStringList& names, const QByteArray& content = "old")
    {
        QDir().mkpath(cardFolder());
        for (const QString& name : names) {
            QFile file(attachment(name));
            ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
            file.write(content);
        }
        controller()->attachExistFile();
    }
    static QByteArray contentOf(const QString& path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }
    QStringList listedNames() const
    {
        QStringList names;
        const QAbstractItemModel* model = list()->model();
        for (int row = 0; row < model->rowCount(); ++row)
            names.append(model->index(row, PLTableView::kNameColumn).data().toString());
        return names;
    }
    void showList()
    {
        if (!list()->isVisible())
            QTest::mouseClick(window->ui()._detailSideView->findChild<QToolButton*>(QStringLiteral("_switchBtn")), Qt::LeftButton);
        QApplication::processEvents();
    }
    void selectRows(const QList<int>& rows)
    {
        list()->clearSelection();
        for (int row : rows)
            list()->selectionModel()->select(list()->model()->index(row, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
    }
    // A right click on `row` (-1: below the rows): the list's menu opens with its items enabled.
    QList<QAction*> rightClick(int row)
    {
        const QRect cell = row >= 0 ? list()->visualRect(list()->model()->index(row, 1)) : QRect(0, list()->viewport()->height() - 2, 1, 1);
        QContextMenuEvent event(QContextMenuEvent::Mouse, cell.center(), list()->viewport()->mapToGlobal(cell.center()));
        QCoreApplication::sendEvent(list()->viewport(), &event);
        QMenu* menu = controller()->contextualMenu();
        menu->hide();
        return menu->actions();
    }
    static QList<bool> enabled(const QList<QAction*>& items)
    {
        QList<bool> states;
        for (const QAction* item : items)
            states.append(item->isEnabled());
        return states;
    }
    // Chooses an item of the main menu's attachment menu as the user does: the menu opens first.
    void chooseMenuItem(int item)
    {
        QMenu* menu = controller()->attachmentMenu();
        emit menu->aboutToShow();
        menu->actions().at(item)->trigger();
        // The add goes on once the panel has closed.
        QApplication::processEvents();
    }
    // Drags the files onto the list and drops them; false when the list refused them.
    bool drop(const QStringList& paths)
    {
        QMimeData data;
        QList<QUrl> urls;
        for (const QString& path : paths)
            urls.append(QUrl::fromLocalFile(path));
        data.setUrls(urls);
        const QPointF at(5, 5);
        // The application hands moves and the drop to the widget that took the drag as it entered.
        QDragEnterEvent enter(at.toPoint(), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(list()->viewport(), &enter);
        if (!enter.isAccepted())
            return false;
        QDropEvent dropped(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(list()->viewport(), &dropped);
        return dropped.isAccepted();
    }
};

} // namespace

TEST_F(Attachments, FilesChosenInThePanelAreCopiedIn)
{
    const QString plan = source(QStringLiteral("a plan é 2.pdf"), "plan");
    const QString notes = source(QStringLiteral("notes.txt"), "notes");
    EXPECT_FALSE(list()->isVisible());
    panels.queueOpenAnswer({plan, notes, temp.filePath(QStringLiteral("sources"))});
    chooseMenuItem(PLAttachmentController::kMenuAdd);

    ASSERT_EQ(panels.requests().size(), 1);
    const PanelRequest& request = panels.requests().first();
    EXPECT_EQ(request.title, QStringLiteral("IDS_OPEN_FILE_PANEL_TITLE"));
    EXPECT_TRUE(request.allowsMultipleSelection);
    EXPECT_FALSE(request.chooseDirectories);
    EXPECT_TRUE(presenter.texts().isEmpty()) << presenter.texts().join(QLatin1Char('|')).toStdString();
    EXPECT_EQ(listedNames(), (QStringList{QStringLiteral("a plan é 2.pdf"), QStringLiteral("notes.txt")}))
        << "the folder was left out by the panel";
    EXPECT_EQ(contentOf(attachment(QStringLiteral("a plan é 2.pdf"))), "plan");
    EXPECT_EQ(contentOf(attachment(QStringLiteral("notes.txt"))), "notes");
    EXPECT_EQ(contentOf(plan), "plan") << "the user's file stays where it was";
    EXPECT_TRUE(list()->isVisible()) << "adding shows the attachments";
    EXPECT_TRUE(window->ui()._iconView->isVisible()) << "the attachment badge";
}

TEST_F(Attachments, ReplacingAnAttachmentAsksFirst)
{
    showList();
    const QStringList sources{source(QStringLiteral("a.txt")), source(QStringLiteral("c.txt")), source(QStringLiteral("b.txt"))};
    struct Case {
        const char* when;
        QList<int> answers;
        QByteArray a, b;
        bool cAdded;
        int asked;
    };
    const Case cases[] = {
        {"no, then yes", {kNo, kYes}, "old", "new", true, 2},
        {"yes, then no", {kYes, kNo}, "new", "old", true, 2},
        {"cancel stops the addition", {kCancel}, "old", "old", false, 1},
        {"yes to all asks once", {kYesToAll}, "new", "new", true, 1},
    };
    for (const Case& c : cases) {
        QFile::remove(attachment(QStringLiteral("c.txt")));
        attach({QStringLiteral("a.txt"), QStringLiteral("b.txt")});
        presenter.clear();
        for (int answer : c.answers)
            presenter.queueAnswer(answer);
        panels.queueOpenAnswer(sources);
        const QList<QAction*> items = rightClick(-1);
        ASSERT_TRUE(items[PLAttachmentController::kContextAdd]->isEnabled());
        items[PLAttachmentController::kContextAdd]->trigger();
        QApplication::processEvents();

        EXPECT_EQ(contentOf(attachment(QStringLiteral("a.txt"))), c.a) << c.when;
        EXPECT_EQ(contentOf(attachment(QStringLiteral("b.txt"))), c.b) << c.when;
        EXPECT_EQ(QFile::exists(attachment(QStringLiteral("c.txt"))), c.cAdded) << c.when;
        ASSERT_EQ(presenter.shown().size(), c.asked) << c.when;
        EXPECT_EQ(presenter.shown().first().request.informativeText, QStringLiteral("overwrite a.txt")) << c.when;
        for (const auto& shown : presenter.shown())
            EXPECT_EQ(shown.request.buttons.size(), 4) << c.when << ": several files offer Cancel and Yes to All";
        EXPECT_EQ(listedNames().size(), c.cAdded ? 3 : 2) << c.when;
    }

    // One file alone is asked about with Yes and No only.
    presenter.clear();
    presenter.queueAnswer(kNo);
    panels.queueOpenAnswer({sources.first()});
    chooseMenuItem(PLAttachmentController::kMenuAdd);
    ASSERT_EQ(presenter.shown().size(), 1);
    EXPECT_EQ(presenter.shown().first().request.buttons,
              (QStringList{QStringLiteral("IDS_BUTTON_MSG_YES"), QStringLiteral("IDS_BUTTON_MSG_NO")}));
    EXPECT_EQ(contentOf(attachment(QStringLiteral("a.txt"))), "new") << "left as the last case made it";
}

TEST_F(Attachments, AFailedReplacementKeepsTheOldAttachment)
{
    attach({QStringLiteral("report.pdf")});
    // A source that cannot be read as a file: the copy fails after the user said yes.
    const QString unreadable = temp.filePath(QStringLiteral("sources/report.pdf"));
    QDir().mkpath(unreadable);
    presenter.queueAnswer(kYes);
    controller()->addFile({unreadable});
    EXPECT_EQ(presenter.texts(), (QStringList{QStringLiteral("overwrite report.pdf")} + errors({41})));
    EXPECT_EQ(contentOf(attachment(QStringLiteral("report.pdf"))), "old");
    EXPECT_EQ(QDir(cardFolder()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
              QStringList{QStringLiteral("report.pdf")})
        << "nothing half-copied is left";

    // The attachment of that name cannot be replaced (a folder holding a file stands there).
    QDir().mkpath(attachment(QStringLiteral("data.bin")));
    attach({QStringLiteral("data.bin/inside.txt")});
    presenter.clear();
    presenter.queueAnswer(kYes);
    controller()->addFile({source(QStringLiteral("data.bin"))});
    EXPECT_EQ(presenter.texts(), (QStringList{QStringLiteral("overwrite data.bin")} + errors({31})));
    EXPECT_EQ(contentOf(attachment(QStringLiteral("data.bin/inside.txt"))), "old");
    EXPECT_EQ(listedNames(), (QStringList{QStringLiteral("data.bin"), QStringLiteral("report.pdf")}));
}

TEST_F(Attachments, BadFilesDroppedOnTheList)
{
    showList();
    QFile empty(source(QStringLiteral("empty.txt")));
    ASSERT_TRUE(empty.resize(0));
    struct Case {
        const char* when;
        QStringList dropped;
        QStringList messages;
        QStringList added;
    };
    const Case cases[] = {
        {"a name beginning with a full stop stops the addition",
         {source(QStringLiteral(".hidden")), source(QStringLiteral("after.txt"))},
         errors({65}),
         {}},
        {"a name beginning with two full stops", {source(QStringLiteral("..notes"))}, errors({65}), {}},
        {"a file gone before it is copied", {temp.filePath(QStringLiteral("sources/gone.txt"))}, errors({30}), {}},
        {"a folder among the files adds nothing",
         {source(QStringLiteral("first.txt")), temp.filePath(QStringLiteral("sources"))},
         errors({61}),
         {}},
        {"an empty file", {empty.fileName()}, {}, {QStringLiteral("empty.txt")}},
        {"spaces and letters beyond ASCII", {source(QStringLiteral("Zoë's card — 2.txt"))}, {}, {QStringLiteral("Zoë's card — 2.txt")}},
    };
    for (const Case& c : cases) {
        QDir(cardFolder()).removeRecursively();
        attach({QStringLiteral("keep.txt")});
        presenter.clear();
        EXPECT_TRUE(drop(c.dropped)) << c.when;
        EXPECT_EQ(presenter.texts(), c.messages) << c.when;
        QStringList expected = QStringList{QStringLiteral("keep.txt")} + c.added;
        expected.sort();
        EXPECT_EQ(listedNames(), expected) << c.when;
        EXPECT_EQ(contentOf(attachment(QStringLiteral("keep.txt"))), "old") << c.when;
    }
    EXPECT_EQ(QFileInfo(attachment(QStringLiteral("empty.txt"))).size(), 0);
}

TEST_F(Attachments, BadFoldersAndTooLittleSpace)
{
    const QString file = source(QStringLiteral("scan.pdf"), QByteArray(1000, 'x'));
    struct Case {
        const char* when;
        std::function<void(FakeFileAttributes&)> prepare;
        QStringList messages;
    };
    auto freeBytes = [this](uint64_t bytes) {
        workspace.volume = VolumeInfo{QStringLiteral("ext4"), QStringLiteral("/"), QStringLiteral("/dev/test"), bytes};
    };
    const Case cases[] = {
        {"\"Files\" is a plain file",
         [this](FakeFileAttributes&) {
             ASSERT_TRUE(QDir(database + QStringLiteral("/Files")).removeRecursively());
             QFile files(database + QStringLiteral("/Files"));
             ASSERT_TRUE(files.open(QIODevice::WriteOnly));
         },
         errors({77})},
        {"the card's folder is not writable",
         [this](FakeFileAttributes& attributes) { attributes.set(cardFolder(), FakeFileAttributes::ReadOnly); }, errors({77})},
        {"the database folder is not writable",
         [this](FakeFileAttributes& attributes) { attributes.set(database, FakeFileAttributes::ReadOnly); }, errors({48})},
        {"no room for the file and the reserve", [&](FakeFileAttributes&) { freeBytes(1000 + g_lDiskSize - 1); }, errors({11})},
        {"room for the file and the reserve", [&](FakeFileAttributes&) { freeBytes(1000 + g_lDiskSize); }, {}},
    };
    for (const Case& c : cases) {
        workspace.volume.reset();
        QFile::remove(database + QStringLiteral("/Files"));
        QDir(database + QStringLiteral("/Files")).removeRecursively();
        attach({QStringLiteral("keep.txt")});
        FakeFileAttributes attributes;
        c.prepare(attributes);
        presenter.clear();
        controller()->addFile({file});
        EXPECT_EQ(presenter.texts(), c.messages) << c.when;
        EXPECT_EQ(QFile::exists(attachment(QStringLiteral("scan.pdf"))), c.messages.isEmpty()) << c.when;
    }
    EXPECT_EQ(contentOf(attachment(QStringLiteral("scan.pdf"))), QByteArray(1000, 'x'));
}

TEST_F(Attachments, TwoGigabyteFile)
{
    QFile big(source(QStringLiteral("big image.iso")));
    const qint64 size = qint64(2) << 30;
    ASSERT_TRUE(big.resize(size));
    attach({QStringLiteral("big image.iso")});
    workspace.volume = VolumeInfo{QStringLiteral("ext4"), QStringLiteral("/"), QStringLiteral("/dev/test"), uint64_t(1) << 30};
    presenter.queueAnswer(kYes);
    controller()->addFile({big.fileName()});
    EXPECT_EQ(presenter.texts(), errors({11})) << "its size counts in full, past 32 bits";
    EXPECT_EQ(contentOf(attachment(QStringLiteral("big image.iso"))), "old");

    workspace.volume->freeBytes = uint64_t(100) << 30;
    presenter.clear();
    presenter.queueAnswer(kYes);
    controller()->addFile({big.fileName()});
    EXPECT_EQ(presenter.texts(), QStringList{QStringLiteral("overwrite big image.iso")});
    const QFileInfo copied(attachment(QStringLiteral("big image.iso")));
    EXPECT_EQ(copied.size(), size);
    struct stat st {};
    ASSERT_EQ(::stat(QFile::encodeName(copied.filePath()).constData(), &st), 0);
    EXPECT_LT(qint64(st.st_blocks) * 512, qint64(1) << 20) << "the copy keeps the holes of the sparse file";
}

TEST_F(Attachments, DropLimitAndDrags)
{
    showList();
    QStringList names;
    for (int i = 0; i < 98; ++i)
        names.append(QStringLiteral("file %1.txt").arg(i, 2, 10, QLatin1Char('0')));
    attach(names);
    const QStringList three{source(QStringLiteral("x1.txt")), source(QStringLiteral("x2.txt")), source(QStringLiteral("x3.txt"))};
    EXPECT_TRUE(drop(three));
    EXPECT_EQ(presenter.texts(), errors({62}));
    EXPECT_EQ(listedNames().size(), 98);
    presenter.clear();
    EXPECT_TRUE(drop(three.mid(0, 2)));
    EXPECT_TRUE(presenter.texts().isEmpty());
    EXPECT_EQ(listedNames().size(), 100);
    EXPECT_FALSE(drop({three.last()})) << "a full card takes no drop";

    // Rows dragged out carry the files; a drag that began in the application is never taken back.
    std::unique_ptr<QMimeData> rows(controller()->writeRowsWithIndexes({0, 2, 500}));
    ASSERT_TRUE(rows);
    EXPECT_EQ(rows->urls(),
              (QList<QUrl>{QUrl::fromLocalFile(controller()->filePaths()[0]), QUrl::fromLocalFile(controller()->filePaths()[2])}));
    EXPECT_TRUE(rows->hasFormat(QString::fromLatin1(PLAttachmentController::kAttachmentDataType)));
    EXPECT_EQ(controller()->writeRowsWithIndexes({}), nullptr);
    // With room for one more, only drags from outside the application are taken.
    QFile::remove(controller()->filePaths()[0]);
    controller()->attachExistFile();
    EXPECT_FALSE(controller()->validateDrop(rows.get(), true));
    EXPECT_TRUE(controller()->validateDrop(rows.get(), false));
}

TEST_F(Attachments, OpenedWithADoubleClick)
{
    showList();
    attach({QStringLiteral("a plan é.pdf"), QStringLiteral("b.txt")});
    auto doubleClick = [this](int row) {
        const QRect cell = list()->visualRect(list()->model()->index(row, 0));
        // The system sends the first click of a double click on its own.
        QTest::mouseClick(list()->viewport(), Qt::LeftButton, Qt::NoModifier, cell.center());
        QTest::mouseDClick(list()->viewport(), Qt::LeftButton, Qt::NoModifier, cell.center());
    };
    doubleClick(0);
    EXPECT_EQ(workspace.openedUrls, QList<QUrl>{QUrl::fromLocalFile(attachment(QStringLiteral("a plan é.pdf")))});
    EXPECT_TRUE(presenter.texts().isEmpty());

    workspace.openUrlSucceeds = false;
    doubleClick(1);
    EXPECT_EQ(presenter.texts(), errors({79}));
    QFile::remove(attachment(QStringLiteral("b.txt")));
    presenter.clear();
    doubleClick(1);
    EXPECT_EQ(presenter.texts(), errors({38}));
    EXPECT_EQ(workspace.openedUrls.size(), 2);
}

TEST_F(Attachments, DeletedFromTheListsMenu)
{
    showList();
    attach({QStringLiteral("a.txt"), QStringLiteral("b.txt"), QStringLiteral("c.txt")});
    selectRows({0, 2});
    QList<QAction*> items = rightClick(1);
    EXPECT_EQ(enabled(items), (QList<bool>{true, true, false, false})) << "a click beside two selected rows keeps them";
    presenter.queueAnswer(kNo);
    items[PLAttachmentController::kContextDelete]->trigger();
    EXPECT_EQ(presenter.texts(), QStringList{QStringLiteral("IDS_MSG_IS_DELETEFILE")});
    EXPECT_EQ(listedNames().size(), 3) << "No deletes nothing";

    presenter.clear();
    presenter.queueAnswer(kYes);
    items[PLAttachmentController::kContextDelete]->trigger();
    EXPECT_EQ(listedNames(), QStringList{QStringLiteral("b.txt")});
    EXPECT_FALSE(QFile::exists(attachment(QStringLiteral("a.txt"))));

    // A file that went away meanwhile ends the command; what was deleted before is no longer listed.
    attach({QStringLiteral("d.txt"), QStringLiteral("e.txt")});
    selectRows({0, 1, 2});
    QFile::remove(attachment(QStringLiteral("d.txt")));
    presenter.clear();
    presenter.queueAnswer(kYes);
    rightClick(-1)[PLAttachmentController::kContextDelete]->trigger();
    EXPECT_EQ(presenter.texts(), QStringList{QStringLiteral("IDS_MSG_IS_DELETEFILE")} + errors({38}));
    EXPECT_EQ(listedNames(), (QStringList{QStringLiteral("e.txt")}));
}

TEST_F(Attachments, FilesThatCannotBeDeleted)
{
    showList();
    // A folder holding a file cannot be removed as a file, nor by force.
    attach({QStringLiteral("a.txt")});
    QDir().mkpath(attachment(QStringLiteral("stuck")));
    attach({QStringLiteral("stuck/inside.txt"), QStringLiteral("z.txt")});
    ASSERT_EQ(listedNames(), (QStringList{QStringLiteral("a.txt"), QStringLiteral("stuck"), QStringLiteral("z.txt")}));

    struct Case {
        const char* when;
        QList<int> rows;
        QList<int> answers;
        int buttons;
        QStringList messages; // after the question and the failure alert
        QStringList listed;
    };
    const Case cases[] = {
        {"one row: Stop", {1}, {kYes, kStop}, 2, {}, {QStringLiteral("a.txt"), QStringLiteral("stuck"), QStringLiteral("z.txt")}},
        {"one row: Continue forces it and fails",
         {1},
         {kYes, kContinue},
         2,
         errors({80}),
         {QStringLiteral("a.txt"), QStringLiteral("stuck"), QStringLiteral("z.txt")}},
        {"several rows: Skip", {1, 2}, {kYes, kSkip}, 4, {}, {QStringLiteral("a.txt"), QStringLiteral("stuck")}},
        {"several rows: Continue All", {0, 1}, {kYes, kContinueAll}, 4, errors({80}), {QStringLiteral("stuck")}},
    };
    for (const Case& c : cases) {
        selectRows(c.rows);
        presenter.clear();
        for (int answer : c.answers)
            presenter.queueAnswer(answer);
        controller()->deleteAttachment();
        ASSERT_GE(presenter.shown().size(), 2) << c.when;
        EXPECT_EQ(presenter.shown()[1].request.buttons.size(), c.buttons) << c.when;
        EXPECT_EQ(presenter.texts().mid(2), c.messages) << c.when;
        EXPECT_EQ(listedNames(), c.listed) << c.when;
    }
    EXPECT_TRUE(QFile::exists(attachment(QStringLiteral("stuck/inside.txt"))));
}

TEST_F(Attachments, MenusFollowTheListAndTheWindow)
{
    attach({QStringLiteral("a.txt"), QStringLiteral("b.txt")});
    QMenu* mainMenu = controller()->attachmentMenu();
    auto mainItems = [&] {
        emit mainMenu->aboutToShow();
        return enabled(mainMenu->actions());
    };
    EXPECT_EQ(mainItems(), (QList<bool>{true, false, false})) << "the list hidden: only Add";
    showList();
    EXPECT_EQ(mainItems(), (QList<bool>{true, false, false})) << "no row selected";
    EXPECT_EQ(enabled(rightClick(1)), (QList<bool>{true, true, true, true})) << "a right click selects the row";
    EXPECT_EQ(list()->selectionModel()->selectedRows().size(), 1);
    EXPECT_EQ(mainItems(), (QList<bool>{true, true, true}));
    selectRows({0, 1});
    EXPECT_EQ(mainItems(), (QList<bool>{true, true, false}));

    QDialog sheet(window->window());
    sheet.setWindowModality(Qt::WindowModal);
    sheet.show();
    EXPECT_EQ(enabled(rightClick(0)), (QList<bool>{false, false, false, false})) << "a sheet";
    EXPECT_EQ(mainItems(), (QList<bool>{false, false, false})) << "a sheet";
    sheet.hide();

    const int mode = PLNetDBLockController::dbOpenMode();
    PLNetDBLockController::setDbOpenMode(PLNetDBLockController::kOpenModeReadOnly);
    EXPECT_EQ(enabled(rightClick(0)), (QList<bool>{false, false, false, false})) << "read-only";
    EXPECT_FALSE(drop({source(QStringLiteral("x.txt"))})) << "read-only";
    PLNetDBLockController::setDbOpenMode(mode);

    // Several cards shown: nothing to add to.
    addCard(QStringLiteral("B"), {});
    select({QStringLiteral("A"), QStringLiteral("B")});
    EXPECT_EQ(enabled(rightClick(-1)), (QList<bool>{false, false, false, false}));
    EXPECT_FALSE(drop({source(QStringLiteral("x.txt"))}));
}

TEST_F(Attachments, RenamedFromTheListsMenu)
{
    showList();
    attach({QStringLiteral("a.txt"), QStringLiteral("old name.txt")});
    rightClick(1)[PLAttachmentController::kContextRename]->trigger();
    auto* editor = qobject_cast<QLineEdit*>(list()->indexWidget(list()->model()->index(1, PLTableView::kNameColumn)));
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->selectedText(), QStringLiteral("old name.txt"));
    // Typed over the selected name (key clicks carry ASCII only).
    editor->insert(QStringLiteral("nouveau nom é.txt"));
    QTest::keyClick(editor, Qt::Key_Return);
    QApplication::processEvents();
    EXPECT_EQ(listedNames(), (QStringList{QStringLiteral("a.txt"), QStringLiteral("nouveau nom é.txt")}));
    EXPECT_EQ(contentOf(attachment(QStringLiteral("nouveau nom é.txt"))), "old");
}

namespace {

// A session bus of the test's own, where no file manager runs unless the test plays one.
class PrivateBus {
public:
    PrivateBus()
    {
        QFile config(m_dir.filePath(QStringLiteral("bus.conf")));
        if (!config.open(QIODevice::WriteOnly))
            return;
        // A socket's path holds at most 107 bytes: the bus listens in /tmp, whatever the length of
        // the test's temporary folder.
        config.write("<!DOCTYPE busconfig PUBLIC \"-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN\" "
                     "\"http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd\">\n"
                     "<busconfig><type>session</type><listen>unix:dir=/tmp</listen>"
                     "<auth>EXTERNAL</auth><policy context=\"default\"><allow send_destination=\"*\" eavesdrop=\"true\"/>"
                     "<allow eavesdrop=\"true\"/><allow own=\"*\"/></policy></busconfig>\n");
        config.close();
        m_daemon.start(
            QStringLiteral("dbus-daemon"),
            {QStringLiteral("--config-file=") + config.fileName(), QStringLiteral("--nofork"), QStringLiteral("--print-address=1")});
        // A safety net only: the daemon prints its address as soon as it listens.
        if (m_daemon.waitForReadyRead(30000))
            m_address = QString::fromUtf8(m_daemon.readLine().trimmed());
    }
    ~PrivateBus()
    {
        m_daemon.terminate();
        m_daemon.waitForFinished(30000);
    }
    const QString& address() const { return m_address; }

private:
    QTemporaryDir m_dir;
    QProcess m_daemon;
    QString m_address;
};

// Plays the desktop's file manager on a bus: records the items whose properties it was asked for.
class FakeFileManager : public QDBusVirtualObject {
public:
    QStringList shownItems;

    QString introspect(const QString&) const override { return QString(); }
    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override
    {
        if (message.interface() != QLatin1String(FileManagerProperties::kInterface)
            || message.member() != QLatin1String(FileManagerProperties::kMethod) || message.signature() != QLatin1String("ass"))
            return false;
        shownItems += message.arguments().value(0).toStringList();
        connection.send(message.createReply());
        return true;
    }
};

// Runs the event loop until `done` holds; the time-out is a safety net only.
bool waitUntil(const std::function<bool()>& done)
{
    QDeadlineTimer deadline(30000);
    while (!done() && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 50);
    return done();
}

class AttachmentInfo : public Attachments {
protected:
    PrivateBus bus;

    void SetUp() override
    {
        Attachments::SetUp();
        ASSERT_FALSE(bus.address().isEmpty()) << "dbus-daemon did not start";
        FileManagerProperties::setBusAddress(bus.address());
    }
    void TearDown() override
    {
        FileManagerProperties::setBusAddress(QString());
        Attachments::TearDown();
    }
    PLAttachmentInfoWindow* ourWindow() const { return window->window()->findChild<PLAttachmentInfoWindow*>(); }
};

} // namespace

TEST_F(AttachmentInfo, TheFileManagerShowsTheProperties)
{
    FakeFileManager fileManager;
    QDBusConnection connection = QDBusConnection::connectToBus(bus.address(), QStringLiteral("fake-file-manager"));
    ASSERT_TRUE(connection.registerVirtualObject(QString::fromLatin1(FileManagerProperties::kObjectPath), &fileManager));
    ASSERT_TRUE(connection.registerService(QString::fromLatin1(FileManagerProperties::kService)));

    showList();
    attach({QStringLiteral("a plan é \"1\".pdf")});
    rightClick(0)[PLAttachmentController::kContextInfo]->trigger();
    ASSERT_TRUE(waitUntil([&] { return !fileManager.shownItems.isEmpty(); }));
    EXPECT_EQ(fileManager.shownItems,
              QStringList{QString::fromLatin1(QUrl::fromLocalFile(attachment(QStringLiteral("a plan é \"1\".pdf"))).toEncoded())});
    EXPECT_TRUE(fileManager.shownItems.first().endsWith(QStringLiteral("/a%20plan%20%C3%A9%20%221%22.pdf")));
    QApplication::processEvents();
    EXPECT_EQ(ourWindow(), nullptr) << "no window of our own beside the file manager's";
    EXPECT_TRUE(presenter.texts().isEmpty());

    connection.unregisterObject(QString::fromLatin1(FileManagerProperties::kObjectPath));
    QDBusConnection::disconnectFromBus(QStringLiteral("fake-file-manager"));
}

TEST_F(AttachmentInfo, OurWindowWhenNoFileManagerAnswers)
{
    showList();
    attach({QStringLiteral("notes.txt")});
    struct Case {
        const char* when;
        QString busAddress;
    };
    const Case cases[] = {
        {"no file manager on the bus", bus.address()},
        {"no bus at all", QStringLiteral("unix:path=") + temp.filePath(QStringLiteral("no-bus"))},
    };
    for (const Case& c : cases) {
        FileManagerProperties::setBusAddress(c.busAddress);
        chooseMenuItem(PLAttachmentController::kMenuInfo);
        // The main menu's item applies only with a row selected.
        selectRows({0});
        chooseMenuItem(PLAttachmentController::kMenuInfo);
        ASSERT_TRUE(waitUntil([&] { return ourWindow() != nullptr; })) << c.when;
        PLAttachmentInfoWindow* info = ourWindow();
        EXPECT_EQ(info->value(QStringLiteral("name")), QStringLiteral("notes.txt")) << c.when;
        EXPECT_EQ(info->value(QStringLiteral("size")), QLocale().toString(3)) << c.when;
        EXPECT_EQ(info->value(QStringLiteral("path")), attachment(QStringLiteral("notes.txt"))) << c.when;
        EXPECT_TRUE(info->isVisible()) << c.when;
        EXPECT_FALSE(window->hasAttachedSheet()) << c.when << ": the window leaves the main window's commands alone";
        delete info;
        selectRows({});
    }

    // A file gone from the folder is told as missing, and nothing is asked of anyone.
    selectRows({0});
    QFile::remove(attachment(QStringLiteral("notes.txt")));
    chooseMenuItem(PLAttachmentController::kMenuInfo);
    EXPECT_EQ(presenter.texts(), errors({30}));
    QApplication::processEvents();
    EXPECT_EQ(ourWindow(), nullptr);
}

TEST_F(Attachments, FilesOfAnyKindFromOutside)
{
    showList();
    const QString target = source(QStringLiteral("target.txt"), "the target");
    const QString link = temp.filePath(QStringLiteral("sources/link.txt"));
    ASSERT_TRUE(QFile::link(target, link));
    const QString fifo = temp.filePath(QStringLiteral("sources/pipe"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    struct Case {
        const char* when;
        QString dropped;
        QStringList messages;
        QStringList added;
    };
    const Case cases[] = {
        {"a link: its target's content, as a file of its own", link, {}, {QStringLiteral("link.txt")}},
        // A pipe or a device would block a read or never end: refused without reading.
        {"a pipe", fifo, errors({41}), {}},
        {"a device", QStringLiteral("/dev/zero"), errors({41}), {}},
        {"\"..\" as the name", temp.filePath(QStringLiteral("sources/..")), errors({61}), {}},
        {"a name of 1,000 characters", temp.filePath(QStringLiteral("sources/") + QString(1000, u'n')), errors({30}), {}},
    };
    for (const Case& c : cases) {
        QDir(cardFolder()).removeRecursively();
        attach({QStringLiteral("keep.txt")});
        presenter.clear();
        EXPECT_TRUE(drop({c.dropped})) << c.when;
        EXPECT_EQ(presenter.texts(), c.messages) << c.when;
        EXPECT_EQ(listedNames(), QStringList{QStringLiteral("keep.txt")} + c.added) << c.when;
        for (const QString& name : c.added) {
            EXPECT_FALSE(QFileInfo(attachment(name)).isSymLink()) << c.when;
            EXPECT_EQ(contentOf(attachment(name)), "the target") << c.when;
        }
    }
}

// A received database can hold links where the card's attachment folder or "Files" should be:
// nothing behind them is listed, written or deleted.
TEST_F(Attachments, LinksOutOfTheDatabaseAreNeverFollowed)
{
    const QString outside = temp.filePath(QStringLiteral("outside"));
    QDir().mkpath(outside + QStringLiteral("/A"));
    for (const QString& name : {QStringLiteral("/a.txt"), QStringLiteral("/A/a.txt")}) {
        QFile file(outside + name);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("someone else's");
    }
    const QString file = source(QStringLiteral("scan.pdf"), "scan");
    const QString files = database + QStringLiteral("/Files");
    struct Case {
        const char* when;
        QString link;
        QString target;
    };
    const Case cases[] = {
        {"the card's folder is a link", cardFolder(), outside},
        {"\"Files\" is a link", files, outside},
    };
    for (const Case& c : cases) {
        QFile::remove(files);
        QDir(files).removeRecursively();
        QDir().mkpath(files);
        // Listed while the folder was the card's own; then swapped for the link.
        attach({QStringLiteral("a.txt")});
        showList();
        ASSERT_TRUE(QDir(c.link).removeRecursively());
        ASSERT_TRUE(QFile::link(c.target, c.link));
        selectRows({0});
        presenter.clear();
        presenter.queueAnswer(kYes);
        controller()->deleteAttachment();
        EXPECT_EQ(presenter.texts(), QStringList{QStringLiteral("IDS_MSG_IS_DELETEFILE")} + errors({38})) << c.when;
        EXPECT_TRUE(QFile::exists(outside + QStringLiteral("/a.txt"))) << c.when;
        EXPECT_TRUE(QFile::exists(outside + QStringLiteral("/A/a.txt"))) << c.when;
        EXPECT_TRUE(listedNames().isEmpty()) << c.when << " nothing behind the link is listed";

        presenter.clear();
        controller()->addFile({file});
        EXPECT_EQ(presenter.texts(), errors({77})) << c.when;
        EXPECT_FALSE(QFile::exists(outside + QStringLiteral("/scan.pdf"))) << c.when;
        EXPECT_FALSE(QFile::exists(outside + QStringLiteral("/A/scan.pdf"))) << c.when;
    }
    QFile::remove(files);
}

// A full disk under the card's folder: the copy fails with its message, the attachment it was to
// replace keeps its bytes and no part of the copy is left.
TEST_F(Attachments, AFullDiskFailsTheAddAndKeepsTheOldAttachment)
{
    SmallVolume volume(1, database + QStringLiteral("/Files"));
    SKIP_WITHOUT_VOLUME(volume);
    showList();
    attach({QStringLiteral("keep.txt")});
    volume.fill(64 * 1024);
    // The free-space test looks at the database's own volume, which has room.
    presenter.queueAnswer(kYes);
    controller()->addFile({source(QStringLiteral("keep.txt"), QByteArray(1 << 20, 'n'))});
    EXPECT_EQ(presenter.texts(), QStringList{QStringLiteral("overwrite keep.txt")} + errors({41}));
    EXPECT_EQ(contentOf(attachment(QStringLiteral("keep.txt"))), "old");
    EXPECT_EQ(QDir(cardFolder()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("keep.txt")});
    EXPECT_EQ(listedNames(), QStringList{QStringLiteral("keep.txt")});
}
