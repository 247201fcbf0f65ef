#include "app/ui/DetailEditorUi.h"

#include "app/core/LocalString.h"
#include "app/ui/views/PLDatePicker.h"
#include "app/ui/views/PLTextBox.h"
#include "app/ui/views/PLTextField.h"

#include <QCalendarWidget>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>

#include <cstring>

namespace {

struct RowLayout {
    const char* titleOutlet; // a button, or a label when `isLabel`
    const char* fieldOutlet;
    const char* titleKey;
    const char* attribute;
    int tag;
    int maxLength;
    bool isLabel;
    bool lineBreaks;
};

// The twelve field rows take the field tags of the image pane; the reading and country rows
// take tags of their own below them.
constexpr RowLayout kRows[] = {
    {"_nameButton", "_nameText", "IDS_FULL_NAME", "full_Name", 21, 64, false, false},
    {"_nameKana", "_nameKanaText", "IDS_FULL_NAME_KANA", "full_Name_Kana", 18, 64, true, false},
    {"_companyNameButton", "_companyNameText", "IDS_COMPANY", "company", 30, 128, false, false},
    {"_companyKana", "_companyKanaText", "IDS_COMPANY_KANA", "company_Kana", 19, 128, true, false},
    {"_departmentButton", "_departmentText", "IDS_DEPARTMENT", "department", 31, 128, false, false},
    {"_jobTitleButton", "_jobTitleText", "IDS_JOB_TITLE", "job_Title", 22, 128, false, false},
    {"_postButton", "_postText", "IDS_ZIP_POSTALCODE", "zip_PostalCode", 25, 40, false, false},
    {"_addressButton", "_addressText", "IDS_ADDRESS", "address", 26, 255, false, true},
    {"_countryText", "_countryTextField", "IDS_COUNTRY", "country", 20, 32, true, false},
    {"_telButton", "_telText", "IDS_TELEPHONE_NUMBER", "telephone_Number", 23, 40, false, false},
    {"_faxButton", "_faxText", "IDS_FAX_NUMBER", "fax_Number", 24, 40, false, false},
    {"_mobileButton", "_mobileText", "IDS_MOBILE_NUMBER", "mobile_Number", 33, 40, false, false},
    {"_mailButton", "_mailText", "IDS_E_MAIL", "e_Mail", 27, 128, false, false},
    {"_webButton", "_webText", "IDS_WEB_PAGE_ADDRESS", "web_Page_Address", 29, 128, false, false},
    {"_memoButton", "_memoText", "IDS_MEMO", "memo", 32, 256, false, true},
};

} // namespace

QWidget* DetailEditorUi::Row::fieldWidget() const
{
    return field ? static_cast<QWidget*>(field) : static_cast<QWidget*>(box);
}

QWidget* DetailEditorUi::Row::titleWidget() const
{
    return button ? static_cast<QWidget*>(button) : static_cast<QWidget*>(label);
}

void DetailEditorUi::build(QWidget* host)
{
    auto* hostLayout = new QVBoxLayout(host);
    hostLayout->setContentsMargins(0, 0, 0, 0);
    _scrollView = new QScrollArea(host);
    _scrollView->setObjectName(QStringLiteral("_exportScrollView"));
    _scrollView->setWidgetResizable(true);
    _scrollView->setFrameShape(QFrame::NoFrame);
    // The fields take the focus; the form scrolls to the one that has it.
    _scrollView->setFocusPolicy(Qt::NoFocus);
    QPalette palette = _scrollView->palette();
    palette.setColor(QPalette::Window, QColor::fromRgbF(0.89f, 0.92f, 0.96f, 1.0f));
    _scrollView->setPalette(palette);
    hostLayout->addWidget(_scrollView);

    _detailCardView = new QWidget;
    _detailCardView->setObjectName(QStringLiteral("_detailCardForm"));
    auto* grid = new QGridLayout(_detailCardView);
    grid->setColumnStretch(1, 1);
    int line = 0;
    for (const RowLayout& layout : kRows) {
        Row row;
        row.attribute = layout.attribute;
        row.tag = layout.tag;
        row.maxLength = layout.maxLength;
        const QString title = getLocalString(QString::fromLatin1(layout.titleKey));
        if (layout.isLabel) {
            row.label = new QLabel(title, _detailCardView);
            row.label->setObjectName(QString::fromLatin1(layout.titleOutlet));
        } else {
            row.button = new QPushButton(title, _detailCardView);
            row.button->setObjectName(QString::fromLatin1(layout.titleOutlet));
            row.button->setProperty("tag", layout.tag);
            // It acts on a box drawn on the card image: Tab goes from field to field.
            row.button->setFocusPolicy(Qt::ClickFocus);
        }
        QWidget* field = nullptr;
        if (layout.lineBreaks) {
            row.box = new PLTextBox(_detailCardView);
            row.box->setTag(layout.tag);
            row.box->setMaxLength(layout.maxLength);
            row.box->setFixedHeight(64);
            field = row.box;
        } else {
            row.field = new PLTextField(_detailCardView);
            row.field->setTag(layout.tag);
            row.field->setMaxLength(layout.maxLength);
            field = row.field;
        }
        field->setObjectName(QString::fromLatin1(layout.fieldOutlet));
        field->setAccessibleName(title);
        grid->addWidget(row.titleWidget(), line, 0, Qt::AlignTop);
        grid->addWidget(field, line, 1);
        ++line;
        rows.append(row);
    }
    _dateText = new QLabel(getLocalString(QStringLiteral("IDS_REGISTER_DATE")), _detailCardView);
    _dateText->setObjectName(QStringLiteral("_dateText"));
    _datePicker = new PLDatePicker(_detailCardView);
    _datePicker->setObjectName(QStringLiteral("_datePicker"));
    _datePicker->setAccessibleName(_dateText->text());
    _hidenDatePicker = new QCalendarWidget(_detailCardView);
    _hidenDatePicker->setObjectName(QStringLiteral("_hidenDatePicker"));
    _hidenDatePicker->setAccessibleName(_dateText->text());
    _hidenDatePicker->hide();
    grid->addWidget(_dateText, line, 0);
    grid->addWidget(_datePicker, line, 1);
    grid->addWidget(_hidenDatePicker, line, 1);
    grid->setRowStretch(line + 1, 1);
    _scrollView->setWidget(_detailCardView);
}

const DetailEditorUi::Row* DetailEditorUi::rowOf(const char* attribute) const
{
    for (const Row& row : rows)
        if (std::strcmp(row.attribute, attribute) == 0)
            return &row;
    return nullptr;
}
