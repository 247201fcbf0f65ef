// The App List page as the user works it: adding and editing an application through its sheet
// (chooser, limits, refusals, link test), the ten-application rule, dragging rows, removing, the
// setting of each kind of row, and what closing stores and the next start reads back.
#include "app/core/LocalString.h"
#include "app/core/PLMessage.h"
#include "app/linkage/PLExtAppController.h"
#include "app/linkage/PLPreferenceExtApp.h"
#include "app/linkage/prefs/PLAppListBtnView.h"
#include "app/linkage/prefs/PLAppListTableView.h"
#include "app/linkage/prefs/PLPreferences.h"
#include "platform/foundation/PlistFile.h"
#include "tests/app/prefs/PrefsEnvironment.h"
#include "tests/support/appkit/ScriptedMessagePresenter.h"
#include "tests/support/appkit/ScriptedPanelService.h"
#include "tests/support/workspace/FakeWorkspace.h"

#include <QAction>
#include <QComboBox>
#include <QDialog>
#include <QDropEvent>
#include <QImage>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QStackedWidget>
#include <QTest>

#include <gtest/gtest.h>

namespace {

using Row = PLPreferenceExtApp::Row;

class AppListPage : public ::testing::Test {
protected:
    QTemporaryDir temp;
    PrefsEnvironment environment{temp};
    FakeWorkspace workspace;
    ScriptedMessagePresenter presenter;
    ScriptedPanelService panels;

    void SetUp() override
    {
        workspace.volume = VolumeInfo{QStringLiteral("ext4"), QStringLiteral("/"), QString(), quint64(1) << 40};
    }

    // An application of the user's own: a program in the test's folder.
    QString program(const QString& name)
    {
        QDir().mkpath(temp.filePath(QStringLiteral("apps")));
        const QString path = temp.filePath(QStringLiteral("apps/") + name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("#!/bin/sh\n");
        file.setPermissions(QFileDevice::ReadOwner | QFileDevice::ExeOwner);
        return path;
    }
    // The preferences window on its App List page, as the main window opens it at a start.
    static std::unique_ptr<PLPreferences> open()
    {
        if (PLExtAppController* controller = PLExtAppController::sharedController())
            controller->updateExtAppInfoFormList();
        auto preferences = std::make_unique<PLPreferences>();
        preferences->showWindow();
        preferences->window()->findChild<QAction*>(QStringLiteral("Pelmora Preferences Toolbar App List Identifier"))->trigger();
        return preferences;
    }
    // Closing stores the page; the next start reads the linkage preference afresh.
    static std::unique_ptr<PLPreferences> closeAndStartAgain(std::unique_ptr<PLPreferences> preferences)
    {
        preferences->closePreferencesWindow();
        preferences.reset();
        PLExtAppController::resetSharedController();
        return open();
    }
    template <typename T>
    static T* find(QWidget* window, const char* name)
    {
        T* widget = window->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }
    static PLAppListTableView* table(const PLPreferences& p) { return find<PLAppListTableView>(p.window(), "_appTableView"); }
    static QDialog* sheet(const PLPreferences& p) { return find<QDialog>(p.window(), "_wndAppSetting"); }
    static QPushButton* button(const PLPreferences& p, const char* name) { return find<QPushButton>(p.window(), name); }
    static QLineEdit* field(const PLPreferences& p, const char* name) { return find<QLineEdit>(p.window(), name); }
    static QStringList names(const PLPreferences& p)
    {
        QStringList list;
        for (int row = 0; row < table(p)->rowCount(); ++row)
            list.append(table(p)->item(row, 1)->text());
        return list;
    }
    // Typing over the field's whole text, one key a character (any character, as an input method gives it).
    static void typeInto(QLineEdit* field, const QString& text)
    {
        field->selectAll();
        for (const QChar c : text) {
            QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
            QApplication::sendEvent(field, &press);
        }
    }
    static int rowOf(const PLPreferences& p, const QString& name) { return static_cast<int>(names(p).indexOf(name)); }
    static void select(const PLPreferences& p, const QString& name)
    {
        const int row = rowOf(p, name);
        ASSERT_GE(row, 0) << name.toStdString();
        table(p)->setCurrentCell(row, 1);
    }
    // The preferences window with the sheet open to add the program at `path`.
    std::unique_ptr<PLPreferences> openAddSheetFor(const QString& path)
    {
        auto preferences = open();
        button(*preferences, "_btnAddCustomApp")->click();
        field(*preferences, "_txtfieldCustomAppPath")->setText(path);
        return preferences;
    }
    // Add, the application's path typed, the name typed over the proposed one, OK.
    static void add(const PLPreferences& p, const QString& path, const QString& name)
    {
        button(p, "_btnAddCustomApp")->click();
        ASSERT_TRUE(sheet(p)->isVisible());
        field(p, "_txtfieldCustomAppPath")->setText(path);
        typeInto(field(p, "_txtfieldCustomAppName"), name);
        button(p, "_btnAppSettingWndOK")->click();
    }
    // The rows of the linkage preference as written.
    static QList<Row> storedRows()
    {
        PlistValue root;
        if (!readPlistFile(PLPreferenceExtApp::defaultPreferenceFilePath(), root))
            return {};
        QList<Row> rows;
        for (const PlistValue& row : root.value(QStringLiteral("Application List")).toArray())
            rows.append(row.toDictionary());
        return rows;
    }
    static std::optional<Row> storedRow(const QString& name)
    {
        for (const Row& row : storedRows()) {
            if (row.value(extappkey::kName).toString() == name)
                return row;
        }
        return std::nullopt;
    }
};

// The row buttons sit on a strip right under the table that shows the centre image across and
// the end cap at its right edge; the custom-application sheet's buttons sit on a strip of the
// same kind across its foot.
TEST_F(AppListPage, TheButtonsSitOnStripsDrawnWithTheirEndCaps)
{
    auto preferences = open();
    PLPreferences& p = *preferences;
    QApplication::processEvents();
    auto* strip = find<PLAppListBtnView>(p.window(), "_viewButtonBanner");
    ASSERT_NE(strip, nullptr);
    ASSERT_TRUE(strip->isVisible());
    for (const char* name : {"_btnAddCustomApp", "_btnRemoveCustomApp", "_btnAppSetting"})
        EXPECT_EQ(button(p, name)->parentWidget(), strip) << name;
    const QRect tableFrame = table(p)->geometry();
    EXPECT_EQ(strip->geometry().top(), tableFrame.bottom() + 1) << "right under the table";
    EXPECT_EQ(strip->width(), tableFrame.width());

    const auto delivered = [](const char* name) {
        return QImage(Bundle::main().pathForImageResource(QString::fromLatin1(name))).convertToFormat(QImage::Format_ARGB32);
    };
    const QImage centre = delivered("FlatMiddlecap.tiff");
    const QImage cap = delivered("FlatRightcap.tiff");
    ASSERT_FALSE(centre.isNull());
    ASSERT_FALSE(cap.isNull());
    ASSERT_EQ(strip->height(), centre.height());
    const QImage drawn = strip->grab().toImage().convertToFormat(QImage::Format_ARGB32);
    // Left of the cap, past the buttons, the centre image; the cap's own columns at the right edge.
    const int free = strip->width() - cap.width() - 2;
    ASSERT_GT(free, button(p, "_btnAppSetting")->geometry().right());
    QStringList wrong;
    for (int y = 0; y < drawn.height(); ++y) {
        if (drawn.pixel(free, y) != centre.pixel(0, y))
            wrong << QStringLiteral("centre at y %1").arg(y);
        for (int x = 0; x < cap.width(); ++x) {
            if (drawn.pixel(strip->width() - cap.width() + x, y) != cap.pixel(x, y))
                wrong << QStringLiteral("cap at %1,%2").arg(x).arg(y);
        }
    }
    EXPECT_TRUE(wrong.isEmpty()) << wrong.join(QStringLiteral(", ")).toStdString();

    button(p, "_btnAddCustomApp")->click();
    ASSERT_TRUE(sheet(p)->isVisible());
    auto* sheetStrip = find<PLAppWndBtnView>(p.window(), "_viewAppSettingButtonBanner");
    ASSERT_NE(sheetStrip, nullptr);
    EXPECT_TRUE(sheetStrip->isVisible());
    EXPECT_FALSE(sheetStrip->imgCenter().isNull());
    EXPECT_FALSE(sheetStrip->imgRight().isNull());
    EXPECT_EQ(button(p, "_btnAppSettingWndOK")->parentWidget(), sheetStrip);
    EXPECT_EQ(sheetStrip->width(), sheet(p)->width()) << "across the sheet's foot";
}

// A strip draws only once both images are set; a call with one image missing keeps the old pair.
TEST(AppListButtonStrip, DrawsOnlyWithBothImagesAndKeepsThemUntilBothAreGiven)
{
    const auto solid = [](int width, QColor colour) {
        QPixmap pixmap(width, 10);
        pixmap.fill(colour);
        return pixmap;
    };
    PLAppListBtnView strip;
    strip.resize(40, 10);
    const QRgb empty = strip.grab().toImage().pixel(20, 5);
    strip.setImgCenter(solid(4, Qt::red), QPixmap());
    EXPECT_EQ(strip.grab().toImage().pixel(20, 5), empty) << "one image alone draws nothing";
    strip.setImgCenter(solid(4, Qt::red), solid(3, Qt::blue));
    strip.setImgCenter(QPixmap(), solid(3, Qt::green));
    const QImage drawn = strip.grab().toImage();
    EXPECT_EQ(QColor(drawn.pixel(0, 0)), QColor(Qt::red));
    EXPECT_EQ(QColor(drawn.pixel(36, 9)), QColor(Qt::red));
    EXPECT_EQ(QColor(drawn.pixel(37, 0)), QColor(Qt::blue)) << "the cap as wide as its image";
    EXPECT_EQ(QColor(drawn.pixel(39, 9)), QColor(Qt::blue));
}

TEST_F(AppListPage, AnAddedApplicationIsStoredAndShownAtTheNextStart)
{
    const QString viewer = program(QStringLiteral("viewer"));
    auto preferences = open();
    PLPreferences& p = *preferences;
    button(p, "_btnAddCustomApp")->click();
    ASSERT_TRUE(sheet(p)->isVisible());
    EXPECT_TRUE(field(p, "_txtfieldCustomAppPath")->text().isEmpty());
    EXPECT_EQ(field(p, "_txtfieldCustomAppName")->text(), getLocalString(QStringLiteral("IDS_PREFERENCE_CUSTOM_APP_NAME_DEFAULT")));
    EXPECT_EQ(find<QComboBox>(p.window(), "_popbtnExportType")->currentData().toInt(), 2) << "vCard first";
    EXPECT_FALSE(button(p, "_btnAppSettingWndOK")->isEnabled()) << "no application chosen yet";
    EXPECT_FALSE(button(p, "_btnExport")->isEnabled());

    panels.queueOpenAnswer({viewer});
    button(p, "_btnSelectCustomApp")->click();
    ASSERT_EQ(panels.requests().size(), 1);
    EXPECT_EQ(panels.requests().first().window, sheet(p));
    EXPECT_EQ(field(p, "_txtfieldCustomAppPath")->text(), viewer);
    EXPECT_TRUE(button(p, "_btnAppSettingWndOK")->isEnabled());
    EXPECT_TRUE(button(p, "_btnExport")->isEnabled());

    typeInto(field(p, "_txtfieldCustomAppName"), QStringLiteral("  Card Viewer "));
    typeInto(field(p, "_txtfieldAppInstruction"), QStringLiteral("Shows cards"));
    QComboBox* type = find<QComboBox>(p.window(), "_popbtnExportType");
    type->setCurrentIndex(type->findData(1));
    emit type->activated(type->currentIndex());
    button(p, "_btnAppSettingWndOK")->click();
    EXPECT_FALSE(sheet(p)->isVisible());
    ASSERT_EQ(names(p).first(), QStringLiteral("Card Viewer")) << "blanks around the name are dropped; the new row goes on top";
    EXPECT_EQ(table(p)->currentRow(), 0);
    EXPECT_EQ(table(p)->item(0, 0)->checkState(), Qt::Checked);
    EXPECT_TRUE(button(p, "_btnRemoveCustomApp")->isEnabled());

    preferences = closeAndStartAgain(std::move(preferences));
    const std::optional<Row> stored = storedRow(QStringLiteral("Card Viewer"));
    ASSERT_TRUE(stored);
    EXPECT_EQ(stored->value(extappkey::kKind), PlistValue(1));
    EXPECT_EQ(stored->value(extappkey::kLocation), PlistValue(viewer));
    EXPECT_EQ(stored->value(extappkey::kDescription), PlistValue("Shows cards"));
    EXPECT_EQ(stored->value(extappkey::kExportFileType), PlistValue(1));
    EXPECT_EQ(stored->value(extappkey::kIsDisplay), PlistValue(true));
    EXPECT_EQ(storedRows().first().value(extappkey::kName), PlistValue("Card Viewer")) << "the page's order is stored";

    // Edited at the next start through the row's setting: the sheet shows the stored values.
    PLPreferences& again = *preferences;
    ASSERT_EQ(rowOf(again, QStringLiteral("Card Viewer")), 0);
    select(again, QStringLiteral("Card Viewer"));
    ASSERT_TRUE(button(again, "_btnAppSetting")->isEnabled());
    button(again, "_btnAppSetting")->click();
    ASSERT_TRUE(sheet(again)->isVisible());
    EXPECT_EQ(field(again, "_txtfieldCustomAppPath")->text(), viewer);
    EXPECT_EQ(field(again, "_txtfieldAppInstruction")->text(), QStringLiteral("Shows cards"));
    EXPECT_EQ(find<QComboBox>(again.window(), "_popbtnExportType")->currentData().toInt(), 1);
    typeInto(field(again, "_txtfieldCustomAppName"), QStringLiteral("Viewer"));
    button(again, "_btnAppSettingWndOK")->click();
    EXPECT_EQ(names(again).first(), QStringLiteral("Viewer"));
    const qsizetype rowCount = names(again).size();

    preferences = closeAndStartAgain(std::move(preferences));
    EXPECT_EQ(names(*preferences).size(), rowCount) << "editing changed the row, it added none";
    EXPECT_TRUE(storedRow(QStringLiteral("Viewer")));
    EXPECT_FALSE(storedRow(QStringLiteral("Card Viewer")));
}

TEST_F(AppListPage, TheSheetTakesOnlyWhatItCanUse)
{
    const QString viewer = program(QStringLiteral("viewer"));
    auto preferences = openAddSheetFor(viewer);
    PLPreferences& p = *preferences;

    struct Case {
        const char* name;
        QString typed;
        bool okEnabled;
    } const names[] = {
        {"a name", QStringLiteral("Viewer"), true},
        {"only spaces", QStringLiteral("   "), false},
        {"ideographic spaces", QStringLiteral("\u3000 \u3000"), false},
    };
    for (const Case& c : names) {
        SCOPED_TRACE(c.name);
        typeInto(field(p, "_txtfieldCustomAppName"), c.typed);
        EXPECT_EQ(button(p, "_btnAppSettingWndOK")->isEnabled(), c.okEnabled);
    }

    struct Limit {
        const char* outlet;
        int length;
    } const limits[] = {{"_txtfieldCustomAppName", 62}, {"_txtfieldAppInstruction", 256}};
    for (const Limit& limit : limits) {
        SCOPED_TRACE(limit.outlet);
        typeInto(field(p, limit.outlet), QString(limit.length + 5, QLatin1Char('x')));
        EXPECT_EQ(field(p, limit.outlet)->text().size(), limit.length);
    }

    // An application that is gone: message 124 on the sheet, which stays open; so does the link test.
    const QString gone = temp.filePath(QStringLiteral("apps/gone"));
    field(p, "_txtfieldCustomAppPath")->setText(gone);
    EXPECT_FALSE(button(p, "_btnExport")->isEnabled());
    button(p, "_btnAppSettingWndOK")->click();
    ASSERT_EQ(presenter.shown().size(), 1);
    EXPECT_EQ(presenter.shown().last().request.informativeText, PLMessage::errorText(124));
    EXPECT_EQ(presenter.shown().last().request.window, sheet(p));
    EXPECT_TRUE(sheet(p)->isVisible());
    presenter.answerSheets();

    // An application on a network volume: the chooser refuses it with message 129, and so does OK.
    workspace.volume = VolumeInfo{QStringLiteral("nfs"), QStringLiteral("/"), QString(), quint64(1) << 40};
    panels.queueOpenAnswer({viewer});
    button(p, "_btnSelectCustomApp")->click();
    EXPECT_EQ(field(p, "_txtfieldCustomAppPath")->text(), gone) << "a refused choice fills nothing";
    field(p, "_txtfieldCustomAppPath")->setText(viewer);
    button(p, "_btnAppSettingWndOK")->click();
    EXPECT_EQ(presenter.texts(), (QStringList{PLMessage::errorText(124), PLMessage::errorText(129), PLMessage::errorText(129)}));
    EXPECT_TRUE(sheet(p)->isVisible());
    const QStringList before = AppListPage::names(p);

    button(p, "onConfigCustomAppCancel")->click();
    EXPECT_FALSE(sheet(p)->isVisible());
    EXPECT_EQ(AppListPage::names(p), before) << "nothing added";
}

TEST_F(AppListPage, TheLinkTestStartsTheApplicationWithASampleCard)
{
    const QString viewer = program(QStringLiteral("viewer"));
    auto preferences = openAddSheetFor(viewer);
    PLPreferences& p = *preferences;
    button(p, "_btnExport")->click();
    ASSERT_EQ(workspace.launches.size(), 1);
    EXPECT_EQ(workspace.launches.first().first, viewer);
    ASSERT_EQ(workspace.launches.first().second.size(), 1);
    EXPECT_TRUE(workspace.launches.first().second.first().endsWith(QStringLiteral(".vcf")));
    EXPECT_TRUE(presenter.shown().isEmpty());

    workspace.launchSucceeds = false;
    button(p, "_btnExport")->click();
    ASSERT_EQ(presenter.shown().size(), 1) << "the failure is reported";
    EXPECT_EQ(presenter.shown().first().request.window, sheet(p));
    EXPECT_TRUE(sheet(p)->isVisible());
}

TEST_F(AppListPage, TenApplicationsOfTheUsersOwnAreTheMost)
{
    auto preferences = open();
    PLPreferences& p = *preferences;
    for (int i = 0; i < 10; ++i) {
        EXPECT_TRUE(button(p, "_btnAddCustomApp")->isEnabled()) << i;
        add(p, program(QStringLiteral("app%1").arg(i)), QStringLiteral("App %1").arg(i));
    }
    EXPECT_FALSE(button(p, "_btnAddCustomApp")->isEnabled());

    // Removing one (after the question) makes room again.
    select(p, QStringLiteral("App 4"));
    button(p, "_btnRemoveCustomApp")->click();
    ASSERT_EQ(presenter.shown().size(), 1);
    EXPECT_EQ(rowOf(p, QStringLiteral("App 4")), -1);
    EXPECT_TRUE(button(p, "_btnAddCustomApp")->isEnabled());

    // Ten again after the next start: the rule holds for stored rows too.
    add(p, program(QStringLiteral("app10")), QStringLiteral("App 10"));
    preferences = closeAndStartAgain(std::move(preferences));
    EXPECT_EQ(rowOf(*preferences, QStringLiteral("App 4")), -1);
    EXPECT_GE(rowOf(*preferences, QStringLiteral("App 10")), 0);
    EXPECT_FALSE(button(*preferences, "_btnAddCustomApp")->isEnabled());
}

TEST_F(AppListPage, RowsMoveWhereTheyAreDropped)
{
    auto preferences = open();
    PLPreferences& p = *preferences;
    for (const char* name : {"D", "C", "B", "A"})
        add(p, program(QString::fromLatin1(name)), QString::fromLatin1(name));
    const QStringList start = names(p);
    ASSERT_EQ(start.mid(0, 4), (QStringList{"A", "B", "C", "D"}));
    const int count = static_cast<int>(start.size());
    PLAppListTableView* view = table(p);

    // A drop at a point: between rows near a row's edge, on the row in its middle.
    auto dropAt = [&](int from, int gap, bool onRow) {
        p.writeRowsWithIndexes(from);
        QRect rect = view->visualRect(view->model()->index(std::min(gap, count - 1), 1));
        const QPoint point = onRow ? rect.center() : gap < count ? QPoint(rect.center().x(), rect.top() + 1) : QPoint(rect.center().x(), rect.bottom() + 4);
        QMimeData data;
        data.setData(QString::fromLatin1(PLAppListTableView::kRowDragType), QByteArray());
        // As a drag does: it enters the table, moves over it, and is dropped.
        QDragEnterEvent enter(point, Qt::MoveAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(view->viewport(), &enter);
        QDragMoveEvent move(point, Qt::MoveAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(view->viewport(), &move);
        const bool accepted = move.isAccepted();
        QDropEvent drop(QPointF(point), Qt::MoveAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(view->viewport(), &drop);
        EXPECT_EQ(drop.isAccepted(), accepted);
        return accepted;
    };

    struct Case {
        const char* name;
        int from;
        int gap;
        bool onRow;
        bool moved;
        QStringList order;   // the first four rows after the drop
        int selected;
    } const cases[] = {
        {"onto its own gap", 2, 2, false, false, {"A", "B", "C", "D"}, -1},
        {"onto the gap after it", 2, 3, false, false, {"A", "B", "C", "D"}, -1},
        {"onto a row, not between rows", 2, 0, true, false, {"A", "B", "C", "D"}, -1},
        {"to the top", 2, 0, false, true, {"C", "A", "B", "D"}, 0},
        {"down past two rows", 0, 3, false, true, {"A", "B", "C", "D"}, 2},
        {"below the last row", 0, count, false, true, {"B", "C", "D"}, count - 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(dropAt(c.from, c.gap, c.onRow), c.moved);
        EXPECT_EQ(names(p).mid(0, static_cast<int>(c.order.size())), c.order);
        if (c.selected >= 0) {
            EXPECT_EQ(view->currentRow(), c.selected);
        }
    }
    EXPECT_EQ(names(p).last(), QStringLiteral("A"));

    // A drag from elsewhere is refused.
    p.writeRowsWithIndexes(1);
    QMimeData text;
    text.setText(QStringLiteral("A"));
    QDragMoveEvent foreign(view->visualRect(view->model()->index(0, 1)).topLeft() + QPoint(2, 1), Qt::MoveAction, &text, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(view->viewport(), &foreign);
    EXPECT_FALSE(foreign.isAccepted());

    // The order is what closing stores.
    const QStringList shown = names(p);
    preferences = closeAndStartAgain(std::move(preferences));
    EXPECT_EQ(names(*preferences), shown);
}

TEST_F(AppListPage, RemovingAndTheDefaultOrder)
{
    auto preferences = open();
    PLPreferences& p = *preferences;
    add(p, program(QStringLiteral("kept")), QStringLiteral("Kept"));
    add(p, program(QStringLiteral("stored")), QStringLiteral("Stored"));
    preferences = closeAndStartAgain(std::move(preferences));
    PLPreferences& again = *preferences;
    ASSERT_TRUE(storedRow(QStringLiteral("Stored")));

    // "No" keeps the row.
    select(again, QStringLiteral("Stored"));
    presenter.queueAnswer(kAlertSecondButtonReturn);
    button(again, "_btnRemoveCustomApp")->click();
    EXPECT_GE(rowOf(again, QStringLiteral("Stored")), 0);
    // A row added and removed in one opening leaves nothing behind; a stored one leaves the preference.
    add(again, program(QStringLiteral("brief")), QStringLiteral("Brief"));
    for (const char* name : {"Brief", "Stored"}) {
        select(again, QString::fromLatin1(name));
        button(again, "_btnRemoveCustomApp")->click();
    }
    EXPECT_EQ(rowOf(again, QStringLiteral("Brief")), -1);
    EXPECT_EQ(rowOf(again, QStringLiteral("Stored")), -1);
    // The default order shows every row in the menus again.
    table(again)->item(rowOf(again, QStringLiteral("Kept")), 0)->setCheckState(Qt::Unchecked);
    button(again, "_btnDefaultApp")->click();
    EXPECT_EQ(table(again)->currentRow(), 0);
    for (int row = 0; row < table(again)->rowCount(); ++row)
        EXPECT_EQ(table(again)->item(row, 0)->checkState(), Qt::Checked) << row;
    table(again)->item(rowOf(again, QStringLiteral("Kept")), 0)->setCheckState(Qt::Unchecked);

    preferences = closeAndStartAgain(std::move(preferences));
    EXPECT_FALSE(storedRow(QStringLiteral("Stored")));
    EXPECT_FALSE(storedRow(QStringLiteral("Brief")));
    ASSERT_TRUE(storedRow(QStringLiteral("Kept")));
    EXPECT_EQ(storedRow(QStringLiteral("Kept"))->value(extappkey::kIsDisplay), PlistValue(false)) << "the shown-in-menus box is stored";
}

TEST_F(AppListPage, AFailedSaveKeepsThePreferenceAsItWas)
{
    auto preferences = open();
    add(*preferences, program(QStringLiteral("viewer")), QStringLiteral("Viewer"));
    preferences = closeAndStartAgain(std::move(preferences));
    PLPreferences& p = *preferences;
    const QList<Row> before = storedRows();
    const std::optional<Row> viewer = storedRow(QStringLiteral("Viewer"));
    ASSERT_TRUE(viewer);

    // The row leaves the preference behind the page's back: removing it on the page cannot be saved.
    PLExtAppController::sharedController()->preferenceExtAppObject()->removeExtAppInfoByID(viewer->value(extappkey::kID).toString());
    select(p, QStringLiteral("Viewer"));
    button(p, "_btnRemoveCustomApp")->click();
    presenter.clear();
    p.closePreferencesWindow();
    ASSERT_EQ(presenter.shown().size(), 1);
    EXPECT_EQ(presenter.shown().first().request.informativeText, PLMessage::errorText(123));
    EXPECT_EQ(storedRows(), before) << "nothing was written";
    EXPECT_EQ(PLExtAppController::sharedController()->preferenceExtAppObject()->extAppInfoList().size(), before.size() - 1)
        << "the preference object keeps the rows it had";
    EXPECT_GE(rowOf(p, QStringLiteral("Viewer")), 0) << "the page shows the controller's rows again";
}

TEST_F(AppListPage, EachKindOfRowHasItsSetting)
{
    auto preferences = open();
    PLPreferences& p = *preferences;
    QTableWidget* view = table(p);
    int plugin = -1;
    for (int row = 0; row < view->rowCount(); ++row) {
        if (view->item(row, 1)->text() == PLPreferenceExtApp::displayNamePredefApp(kPluginBundleIdentifier))
            plugin = row;
    }
    ASSERT_GE(plugin, 0) << "the upload plug-in's row is listed";
    // The page opens on its first row, here the plug-in's, with that row's setting at hand.
    ASSERT_EQ(plugin, 0);
    EXPECT_TRUE(view->selectionModel()->isRowSelected(0, QModelIndex()));
    EXPECT_TRUE(button(p, "_btnAppSetting")->isEnabled());
    view->setCurrentCell(plugin, 1);
    EXPECT_FALSE(button(p, "_btnRemoveCustomApp")->isEnabled());
    ASSERT_TRUE(button(p, "_btnAppSetting")->isEnabled());
    EXPECT_EQ(button(p, "_btnAppSetting")->text(), getLocalString(QStringLiteral("IDS_PREFERENCES_APP_SETTING_MENU_PRE_DEF")));
    button(p, "_btnAppSetting")->click();
    QDialog* uploadItems = find<QDialog>(p.window(), "_wndSalesforce");
    ASSERT_NE(uploadItems, nullptr);
    EXPECT_TRUE(uploadItems->isVisible());
    uploadItems->close();

    view->clearSelection();
    EXPECT_FALSE(button(p, "_btnAppSetting")->isEnabled());
    EXPECT_FALSE(button(p, "_btnRemoveCustomApp")->isEnabled());
}

} // namespace
