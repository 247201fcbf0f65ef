// The detail editor as a user meets it: typing into a field of the selected card, the edit
// split and saved at once (read back from the store file by a second context), the field's box
// shown on focus, typing limits, enabling by the selection, and the calendar.
#include "app/ui/PLExportItemController.h"
#include "app/ui/views/PLDatePicker.h"
#include "app/ui/views/PLTextBox.h"
#include "app/ui/views/PLTextField.h"
#include "tests/app/ui/ImagePaneFixture.h"

#include <QCalendarWidget>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTableView>
#include <QTest>
#include <QToolButton>

namespace {

class DetailEditor : public ImagePaneFixture {
protected:
    template <typename T>
    T* outlet(const char* name) const
    {
        T* widget = window->window()->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }
    // Types `text` over the field's contents and ends the edit with Return, as a user does.
    static void retype(PLTextField* field, const QString& text)
    {
        field->setFocus();
        field->selectAll();
        QTest::keyClicks(field, text);
        QTest::keyClick(field, Qt::Key_Return);
    }
    // The card as the store file holds it, read by a context of its own.
    QVariant stored(const QString& cardID, const QString& key) const
    {
        const auto reader = ManagedObjectContext::open(CardStore::currentModel(), storeFile());
        const ManagedObjectList cards = reader->executeFetchRequest(
            {QString::fromLatin1(CardStore::kEntityCard), keyEquals(QStringLiteral("cardID"), cardID), {}});
        return cards.isEmpty() ? QVariant() : cards.first()->value(key);
    }
};

} // namespace

TEST_F(DetailEditor, EditedNameIsSplitAndSavedAtOnce)
{
    addCard(QStringLiteral("A"), {{QStringLiteral("company"), QStringLiteral("Acme")}});
    select({QStringLiteral("A")});
    window->window()->activateWindow();
    PLTextField* name = outlet<PLTextField>("_nameText");
    EXPECT_EQ(name->text(), QStringLiteral("A"));
    EXPECT_EQ(outlet<PLTextField>("_companyNameText")->text(), QStringLiteral("Acme"));

    retype(name, QStringLiteral("Anna Lopez"));
    EXPECT_EQ(stored(QStringLiteral("A"), QStringLiteral("full_Name")).toString(), QStringLiteral("Anna Lopez"));
    EXPECT_EQ(stored(QStringLiteral("A"), QStringLiteral("first_Name")).toString(), QStringLiteral("Anna"));
    EXPECT_EQ(stored(QStringLiteral("A"), QStringLiteral("family_Name")).toString(), QStringLiteral("Lopez"));

    // The memo keeps its line breaks; it ends its edit when the focus leaves it.
    PLTextBox* memo = outlet<PLTextBox>("_memoText");
    memo->setFocus();
    QTest::keyClicks(memo, QStringLiteral("first"));
    QTest::keyClick(memo, Qt::Key_Return);
    QTest::keyClicks(memo, QStringLiteral("second"));
    name->setFocus();
    EXPECT_EQ(stored(QStringLiteral("A"), QStringLiteral("memo")).toString(), QStringLiteral("first\nsecond"));
    EXPECT_TRUE(presenter.texts().isEmpty());
}

TEST_F(DetailEditor, FieldsFollowTheSelectionAndTheirLimits)
{
    writeScanner(QStringLiteral("A_N1.pdf"), 1);
    addCard(QStringLiteral("A"), {{QStringLiteral("face_Image_File"), QStringLiteral("A_N1.pdf")},
                                  {QStringLiteral("e_Mail_XY"), QStringLiteral("10/5/40/20")},
                                  {QStringLiteral("memo"), QString(300, QLatin1Char('m'))}});
    addCard(QStringLiteral("B"), {});
    select({QStringLiteral("A"), QStringLiteral("B")});
    PLTextField* tel = outlet<PLTextField>("_telText");
    EXPECT_FALSE(tel->isEnabled());
    EXPECT_FALSE(outlet<QPushButton>("_mailButton")->isEnabled());
    EXPECT_FALSE(outlet<PLDatePicker>("_datePicker")->isEnabled());

    select({QStringLiteral("A")});
    window->window()->activateWindow();
    EXPECT_TRUE(tel->isEnabled());
    // A value stored longer than the field's limit still shows whole.
    EXPECT_EQ(outlet<PLTextBox>("_memoText")->text().size(), 300);
    tel->setFocus();
    QTest::keyClicks(tel, QString(50, QLatin1Char('5')));
    EXPECT_EQ(tel->text().size(), 40);

    // Focusing the e-mail field shows its stored box on the image.
    outlet<PLTextField>("_mailText")->setFocus();
    EXPECT_TRUE(pane->faceImageView()->hasRecognizedBox());
    EXPECT_EQ(pane->faceImageView()->recognizedBox(), QRectF(10, 5, 40, 20));

    // A double click on the date opens the calendar; picking a day closes it and keeps the day.
    PLDatePicker* date = outlet<PLDatePicker>("_datePicker");
    QCalendarWidget* calendar = outlet<QCalendarWidget>("_hidenDatePicker");
    QTest::mouseDClick(date, Qt::LeftButton, Qt::NoModifier, QPoint(date->width() - 5, date->height() / 2));
    EXPECT_FALSE(calendar->isVisible());
    QTest::mouseDClick(date, Qt::LeftButton, Qt::NoModifier, QPoint(5, date->height() / 2));
    EXPECT_TRUE(calendar->isVisible());
    const QDate day(2024, 2, 29);
    calendar->setSelectedDate(day);
    emit calendar->clicked(day);
    EXPECT_FALSE(calendar->isVisible());
    EXPECT_EQ(stored(QStringLiteral("A"), QStringLiteral("register_Date")).toDateTime().toLocalTime().date(), day);
}

TEST_F(DetailEditor, LabelsAndDateTurnGrayWhileDisabledAndTheFormScrollsBelowItsHeight)
{
    addCard(QStringLiteral("A"), {});
    addCard(QStringLiteral("B"), {});
    const QColor ownDateColour(10, 80, 160);
    PLDatePicker* date = outlet<PLDatePicker>("_datePicker");
    select({QStringLiteral("A")});
    EXPECT_TRUE(date->text().trimmed().isEmpty()) << "a card without a date shows none";
    QPalette colours = date->palette();
    colours.setColor(QPalette::Text, ownDateColour);
    date->setPalette(colours);

    auto expectColours = [&](const QColor& labels, const QColor& dateText, const char* when) {
        for (const char* label : {"_nameKana", "_companyKana", "_countryText", "_dateText"})
            EXPECT_EQ(outlet<QLabel>(label)->palette().color(QPalette::WindowText), labels) << label << ", " << when;
        EXPECT_EQ(date->palette().color(QPalette::Text), dateText) << when;
    };
    const QStringList both{QStringLiteral("A"), QStringLiteral("B")};
    select(both);
    expectColours(Qt::gray, Qt::gray, "two cards");
    select({QStringLiteral("A")});
    expectColours(Qt::black, ownDateColour, "one card: the date's own colour back");
    select(both);
    window->exportItemController()->setControlEnabled(false);
    select({QStringLiteral("A")});
    expectColours(Qt::black, ownDateColour, "disabled twice, the own colour is still kept");

    // The form keeps 560 points (and the open calendar's height): a lower pane scrolls.
    QWidget* form = outlet<QWidget>("_detailCardForm");
    EXPECT_EQ(form->minimumHeight(), PLExportItemController::kFormHeight);
    window->window()->resize(1200, 420);
    QApplication::processEvents();
    QScrollArea* scroll = outlet<QScrollArea>("_exportScrollView");
    EXPECT_GE(form->height(), 560);
    EXPECT_GT(scroll->verticalScrollBar()->maximum(), 0);
    QTest::mouseDClick(date, Qt::LeftButton, Qt::NoModifier, QPoint(5, date->height() / 2));
    QCalendarWidget* calendar = outlet<QCalendarWidget>("_hidenDatePicker");
    EXPECT_EQ(form->minimumHeight(), 560 + calendar->sizeHint().height());
    window->exportItemController()->setDatePicker(0);
    EXPECT_EQ(form->minimumHeight(), 560);
}

// Tab walks the window as the user reads the form: from the Name field through every field in
// the form's order to the date, then the attachments and the trash, and on round to the card list
// and the Name field again; the date lets Tab through whether the card has a date or none.
TEST_F(DetailEditor, TabWalksTheFieldsInTheFormsOrderThenTheAttachmentsAndTheTrash)
{
    addCard(QStringLiteral("Dated"), {{QStringLiteral("register_Date"), QDateTime(QDate(2024, 5, 6), QTime(9, 0), Qt::UTC)}});
    addCard(QStringLiteral("Undated"), {});
    const MainWindowUi& ui = window->ui();
    QTest::mouseClick(ui._attachSwitchBtn, Qt::LeftButton);
    ASSERT_TRUE(ui._attachTableView->isVisibleTo(window->window()));
    QList<QWidget*> expected;
    for (const DetailEditorUi::Row& row : ui._detailEditor.rows)
        expected.append(row.fieldWidget());
    expected << ui._detailEditor._datePicker << ui._attachSwitchBtn << ui._attachTableView << ui._switchBtn << ui._clearBtn
             << ui._trashTableView;
    const auto name = [](const QWidget* widget) {
        return widget ? (widget->parentWidget()->objectName() + QLatin1Char('/') + widget->objectName()).toStdString()
                      : std::string("none");
    };

    for (const QString& card : {QStringLiteral("Undated"), QStringLiteral("Dated")}) {
        select({card});
        window->window()->activateWindow();
        QWidget* first = expected.first();
        first->setFocus(Qt::MouseFocusReason);
        // One press a step until the Name field has the focus again.
        std::vector<std::string> walked{name(QApplication::focusWidget())};
        for (int press = 0; press < 60; ++press) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            if (QApplication::focusWidget() == first)
                break;
            walked.push_back(name(QApplication::focusWidget()));
        }
        ASSERT_EQ(QApplication::focusWidget(), first) << card.toStdString() << ": Tab never came back, last at " << walked.back();
        std::vector<std::string> wanted;
        for (const QWidget* widget : expected)
            wanted.push_back(name(widget));
        ASSERT_GE(walked.size(), wanted.size()) << card.toStdString();
        EXPECT_EQ(std::vector<std::string>(walked.begin(), walked.begin() + qsizetype(wanted.size())), wanted) << card.toStdString();
        EXPECT_EQ(walked.back(), name(ui._tvList)) << card.toStdString() << ": the card list leads to the Name field";

        // Shift+Tab walks back.
        outlet<QWidget>("_companyNameText")->setFocus(Qt::MouseFocusReason);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
        EXPECT_EQ(name(QApplication::focusWidget()), name(outlet<QWidget>("_nameKanaText"))) << card.toStdString();
    }
}
