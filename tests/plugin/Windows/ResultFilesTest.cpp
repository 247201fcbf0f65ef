// The result window's files: Save asks the save panel where the user's report goes and writes it
// there, under the name typed (its own extension kept); a report that cannot be written is said so;
// the host's file lies in the user's data folder.
#include "plugin/Common/CommonFuc.h"
#include "plugin/Common/DoUploadResult.h"
#include "plugin/Common/ErrorManager.h"
#include "plugin/Common/GlobalData.h"
#include "plugin/Controller/PluginDialog.h"
#include "plugin/Controller/ResultViewController.h"
#include "tests/plugin/Windows/UploadWindowsFixture.h"
#include "tests/support/appkit/ScriptedMessagePresenter.h"
#include "tests/support/appkit/ScriptedPanelService.h"
#include "tests/support/filemodes/FileModeCases.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialogButtonBox>
#include <QTableWidget>

namespace {

class ResultFiles : public ::testing::Test {
protected:
    void SetUp() override
    {
        CommonFuc::setBundleResourcePath(qEnvironmentVariable("PELMORA_SOURCE_DIR") + "/resources/Quendrel");
        UploadResults rows;
        const struct {
            const char* id;
            const char* company;
            const char* name;
            int status;
        } cards[] = {{"101", "Acme", "Ann \"Nan\" Smith", kUploadDone}, {"102", "Beta", "Bo", kUploadSkipped}};
        for (const auto& c : cards) {
            auto row = std::make_shared<DoUploadResult>();
            row->Card = std::make_shared<CardInfo>();
            row->Card->PersonID = c.id;
            row->Card->OrganizationName = c.company;
            row->Card->FullName = c.name;
            row->Status = c.status;
            rows.push_back(row);
        }
        global.setUploadResult(rows);
        auto labels = std::make_shared<DisplayInfo>();
        labels->AccountLabelName = "Account";
        labels->ContactLabelName = "Contact";
        global.setUserDisplayInfo(labels);
        result = std::make_unique<ResultViewController>(global);
        result->ShowResultView();
    }
    void save() { result->_resultView()->findChild<QAbstractButton*>("_SaveButton")->click(); }

    QTemporaryDir temp;
    GlobalData global;
    ScriptedPanelService panels;
    ScriptedMessagePresenter alerts;
    std::unique_ptr<ResultViewController> result;
};

TEST_F(ResultFiles, SaveWritesTheReportWhereThePanelSays)
{
    const QString path = temp.filePath("report.csv");
    panels.queueSaveAnswer(path);
    save();
    ASSERT_EQ(panels.requests().size(), 1);
    const PanelRequest& asked = panels.requests()[0];
    EXPECT_TRUE(asked.name.startsWith("result_") && asked.name.endsWith(".csv")) << asked.name.toStdString();
    EXPECT_EQ(asked.allowedTypes, QStringList{"csv"});
    EXPECT_EQ(asked.window.object(), static_cast<QObject*>(result->_resultView()));
    QFile written(path);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    const QByteArray bytes = written.readAll();
    EXPECT_EQ(QString::fromUtf16(reinterpret_cast<const char16_t*>(bytes.constData() + 2), (bytes.size() - 2) / 2).toStdString(),
              QString("#No,OrganizationName,Name,Result,Detail\r\n"
                      "\"1\",\"Acme\",\"Ann \"\"Nan\"\" Smith\",\"Uploaded\",\"Filed as a new Account with a Contact.\"\r\n"
                      "\"2\",\"Beta\",\"Bo\",\"Not uploaded\",\"\"")
                  .toStdString());
    EXPECT_TRUE(bytes.startsWith("\xFF\xFE"));
    EXPECT_TRUE(alerts.texts().isEmpty()) << alerts.texts().join('\n').toStdString();

    // A cancelled panel writes nothing and says nothing.
    save();
    EXPECT_EQ(panels.requests().size(), 2);
    EXPECT_TRUE(alerts.texts().isEmpty());
}

// The user's report saved over a file of theirs keeps that file's mode; a new one gets what the
// umask leaves of 0666.
TEST_F(ResultFiles, TheReportKeepsTheModeOfTheFileItReplaces)
{
    const QString path = temp.filePath("private.csv");
    for (const FileModeCase& c : kFileModeCases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(prepareFileModeCase(c, path));
        panels.queueSaveAnswer(path);
        {
            const UmaskScope umask(c.umask);
            save();
        }
        EXPECT_GT(QFileInfo(path).size(), 6);
        EXPECT_EQ(fileModeOf(path), int(c.expected));
    }
    EXPECT_TRUE(alerts.texts().isEmpty()) << alerts.texts().join('\n').toStdString();
}

TEST_F(ResultFiles, AReportThatCannotBeWrittenIsSaidSo)
{
    QFile file(temp.filePath("a file"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    panels.queueSaveAnswer(temp.filePath("a file/report.csv"));
    save();
    EXPECT_EQ(alerts.texts().join('\n').toStdString(), "The report could not be saved.");
    EXPECT_FALSE(QFileInfo::exists(temp.filePath("a file/report.csv")));
}

// A card whose records could not all be taken back is never said to have left nothing.
TEST_F(ResultFiles, ACancelledCardWhoseRollbackFailedSaysWhatWasLeft)
{
    auto row = global.UploadResult()[1];
    row->Status = kUploadFailed;
    row->Code = kQDLUploadCancelled;
    result->ShowResultView();
    EXPECT_EQ(result->rows()[1].Detail.toStdString(), "The upload was cancelled before this card was complete; nothing of it was kept.");
    row->RollbackFailed = true;
    result->ShowResultView();
    EXPECT_EQ(result->rows()[1].Detail.toStdString(), "A record made for this card could not be removed from the service again.");
}

// In the window as shown, each row is tall enough for its whole detail wrapped at the column's width
// (the cancel text takes three lines there).
TEST_F(ResultFiles, EveryRowShowsItsWholeDetail)
{
    auto row = global.UploadResult()[1];
    row->Status = kUploadFailed;
    row->Code = kQDLUploadCancelled;
    result->ShowResultView();
    QWidget* window = result->_resultView();
    window->show();
    QApplication::processEvents();
    auto* table = window->findChild<QTableWidget*>("_resultList");
    ASSERT_NE(table, nullptr);
    const int detail = table->columnCount() - 1;
    for (int r = 0; r < table->rowCount(); ++r) {
        const QString text = table->item(r, detail)->text();
        const int needed = table->fontMetrics().boundingRect(QRect(0, 0, table->columnWidth(detail), 10000), Qt::TextWordWrap, text).height();
        EXPECT_GE(table->rowHeight(r), needed) << "row " << r << ": " << text.toStdString();
    }
    window->close();
}

// The report typed into the application's own save panel: a name with an extension of its own keeps
// it, a name without one becomes a CSV file.
TEST(ResultSavePanel, ANameTypedWithItsOwnExtensionKeepsIt)
{
    CommonFuc::setBundleResourcePath(qEnvironmentVariable("PELMORA_SOURCE_DIR") + "/resources/Quendrel");
    const struct {
        const char* typed;
        const char* written;
    } cases[] = {{"report.txt", "report.txt"}, {"report", "report.csv"}, {"Report.CSV", "Report.CSV"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        QTemporaryDir temp;
        GlobalData global;
        auto row = std::make_shared<DoUploadResult>();
        row->Card = std::make_shared<CardInfo>();
        row->Status = kUploadSkipped;
        global.setUploadResult({row});
        ResultViewController result(global);
        result.ShowResultView();
        result._resultView()->show();
        WindowDriver driver;
        driver.then("QFileDialog", [&](QWidget* panel) {
            WindowDriver::type(panel, "fileNameEdit", temp.filePath(c.typed));
            auto* buttons = WindowDriver::child<QDialogButtonBox>(panel, "buttonBox");
            ASSERT_TRUE(buttons);
            buttons->buttons().front()->click();
        });
        result._resultView()->findChild<QAbstractButton*>("_SaveButton")->click();
        result._resultView()->hide();
        EXPECT_TRUE(driver.finished()) << driver.handled().join(',').toStdString();
        EXPECT_EQ(QDir(temp.path()).entryList(QDir::Files).join(',').toStdString(), c.written);
        EXPECT_TRUE(driver.alerts().isEmpty()) << driver.alerts().join('\n').toStdString();
    }
}

TEST_F(ResultFiles, TheHostFileLiesInTheUsersDataFolder)
{
    EXPECT_EQ(ResultViewController::hostResultFile(), qEnvironmentVariable("XDG_DATA_HOME") + "/Pelmora/QuendrelResult.csv");
}

}
