// The services the logic layers reach dialogs through: what a program without windows gets, which
// service answers when a test installs one over the application's, the choice panel of the
// dialog service, and the window handle that names a window without owning it.
#include "platform/appkit/MessagePresenter.h"
#include "platform/appkit/PanelService.h"
#include "platform/appkit/PrintService.h"
#include "platform/appkit/WindowHandle.h"
#include "platform/appkit/dialogs/DialogPanelService.h"
#include "platform/appkit/dialogs/DialogPrintService.h"
#include "platform/appkit/dialogs/DialogServices.h"
#include "platform/appkit/dialogs/ModalDialog.h"
#include "tests/support/appkit/ScriptedMessagePresenter.h"

#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPrintDialog>
#include <QPrinter>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QWidget>
#include <gtest/gtest.h>

#include <memory>

namespace {

// No service installed at all, as in a program without windows; the test's main installs the
// dialogs again afterwards.
class WithoutServices : public ::testing::Test {
protected:
    void SetUp() override
    {
        MessagePresenter::setApplicationPresenter(nullptr);
        PanelService::setApplicationService(nullptr);
        PrintService::setApplicationService(nullptr);
    }
    void TearDown() override { installDialogServices(); }
};

TEST_F(WithoutServices, AlertsAreAnsweredWithTheFirstButtonAndPanelsCancelled)
{
    const AlertRequest alert{{}, QStringLiteral("Pelmora"), QStringLiteral("text"), {QStringLiteral("Yes"), QStringLiteral("No")}};
    EXPECT_EQ(MessagePresenter::current().runModal(alert), kAlertFirstButtonReturn);
    int answered = 0;
    MessagePresenter::current().beginSheet(alert, [&answered](int code) { answered = code; });
    EXPECT_EQ(answered, kAlertFirstButtonReturn) << "a sheet nobody shows is answered before beginSheet returns";

    PanelRequest panel;
    panel.allowedTypes = {QStringLiteral("cxdb")};
    EXPECT_TRUE(PanelService::current().runOpenPanel(panel).isEmpty());
    EXPECT_TRUE(PanelService::current().runSavePanel(panel).isEmpty());
    EXPECT_EQ(PanelService::current().runChoicePanel({}), -1);

    QPageLayout layout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF());
    EXPECT_FALSE(PrintService::current().runPageLayout({}, &layout));
    EXPECT_EQ(layout.orientation(), QPageLayout::Portrait);
    bool drawn = false;
    EXPECT_FALSE(PrintService::current().runPrint({{}, layout, [&drawn](QPrinter&) { return drawn = true; }}));
    EXPECT_FALSE(drawn) << "nothing is printed without a print panel";
}

TEST_F(WithoutServices, AServiceATestInstalledAnswersBeforeTheApplicationsOne)
{
    ScriptedMessagePresenter application;
    MessagePresenter::setCurrent(nullptr);
    MessagePresenter::setApplicationPresenter(&application);
    EXPECT_EQ(&MessagePresenter::current(), &application);
    {
        ScriptedMessagePresenter test; // installs itself with setCurrent while it lives
        EXPECT_EQ(&MessagePresenter::current(), &test);
    }
    EXPECT_EQ(&MessagePresenter::current(), &application) << "setCurrent(nullptr) returns to the application's presenter";
    MessagePresenter::setApplicationPresenter(nullptr);
}

TEST(DialogPanels, AChoicePanelShowsItsTextsAndAnswersTheRowChosenOrMinusOne)
{
    QWidget window;
    window.show();
    DialogPanelService panels;
    const ChoicePanelRequest request{&window,
                                     QStringLiteral("choicePanel"),
                                     QStringLiteral("Title"),
                                     {{QStringLiteral("first"), QStringLiteral("Text 1")}, {QStringLiteral("second"), QStringLiteral("Text 2")}},
                                     {{QStringLiteral("row0"), QStringLiteral("Card")}, {QStringLiteral("row1"), QStringLiteral("Book")}},
                                     1};
    // Answers the panel once it runs: the row to choose, or -1 to cancel.
    auto answer = [&window](int row) {
        QTimer::singleShot(0, &window, [&window, row] {
            auto* panel = window.findChild<QDialog*>(QStringLiteral("choicePanel"));
            ASSERT_NE(panel, nullptr);
            EXPECT_EQ(panel->windowModality(), Qt::WindowModal) << "a sheet of the shown window";
            EXPECT_EQ(panel->windowTitle(), QStringLiteral("Title"));
            EXPECT_EQ(panel->findChild<QLabel*>(QStringLiteral("second"))->text(), QStringLiteral("Text 2"));
            EXPECT_TRUE(panel->findChild<QRadioButton*>(QStringLiteral("row1"))->isChecked()) << "opens on the row chosen before";
            if (row < 0) {
                panel->reject();
                return;
            }
            panel->findChild<QRadioButton*>(QStringLiteral("row%1").arg(row))->click();
            panel->accept();
        });
    };
    answer(0);
    EXPECT_EQ(panels.runChoicePanel(request), 0);
    answer(-1);
    EXPECT_EQ(panels.runChoicePanel(request), -1);
}

TEST(DialogPrint, PagesAreDrawnAtThePrintersOwnResolution)
{
    QWidget window;
    window.show();
    QTemporaryDir temp;
    const QString output = temp.filePath(QStringLiteral("printed.pdf"));
    QTimer::singleShot(0, &window, [&window, output] {
        auto* dialog = window.findChild<QPrintDialog*>();
        ASSERT_NE(dialog, nullptr);
        if (auto* file = dialog->findChild<QLineEdit*>(QStringLiteral("filename")))
            file->setText(output);
        dialog->accept();
    });
    int resolution = 0;
    DialogPrintService printing;
    const PrintRequest request{&window, QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF()),
                               [&resolution](QPrinter& printer) {
                                   resolution = printer.resolution();
                                   return true;
                               }};
    EXPECT_TRUE(printing.runPrint(request));
    // Card scans are made at 300 dpi: a printer that reports less would print them coarser.
    EXPECT_GE(resolution, 300);
}

TEST(WindowHandle, NamesAWindowWithoutOwningIt)
{
    auto window = std::make_unique<QWidget>();
    const QPointer<QWidget> guarded = window.get();
    struct Case {
        const char* name;
        WindowHandle handle;
    };
    const Case cases[] = {{"from a widget", window.get()}, {"from a guarded pointer", guarded}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_TRUE(c.handle);
        EXPECT_EQ(windowWidget(c.handle), window.get());
        EXPECT_EQ(c.handle, WindowHandle(window.get()));
    }
    EXPECT_FALSE(WindowHandle());
    EXPECT_FALSE(WindowHandle(nullptr));
    EXPECT_EQ(windowWidget(QPointer<QObject>(new QObject(window.get()))), nullptr) << "an object that is no widget names no window";

    // A hidden window takes no sheet: dialogs on it are application-modal.
    EXPECT_EQ(sheetWindow(window.get()), nullptr);
    window->show();
    EXPECT_EQ(sheetWindow(window.get()), window.get());

    const WindowHandle kept = window.get();
    window.reset();
    EXPECT_FALSE(kept) << "a handle reads as null once its window is gone";
    EXPECT_EQ(windowWidget(kept), nullptr);
    EXPECT_FALSE(cases[0].handle);
}

} // namespace
