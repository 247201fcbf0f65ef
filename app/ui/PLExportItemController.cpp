#include "app/ui/PLExportItemController.h"

#include "app/ui/DetailEditorUi.h"
#include "app/ui/PLImageController.h"
#include "app/ui/logic/PLArrayController.h"
#include "app/ui/logic/PLMatter.h"
#include "app/ui/views/PLDatePicker.h"
#include "app/ui/views/PLTextBox.h"
#include "app/ui/views/PLTextField.h"
#include "platform/foundation/NotificationCenter.h"
#include "platform/store/ManagedObject.h"

#include <QCalendarWidget>
#include <QDateTime>
#include <QLabel>
#include <QLayout>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>

#include <algorithm>

namespace {

const QString kRegisterDate = QStringLiteral("register_Date");

} // namespace

void PLExportItemController::awakeFromNib()
{
    if (!m_form)
        return;
    for (const DetailEditorUi::Row& row : m_form->rows) {
        const int tag = row.tag;
        if (row.button && !row.button->text().isEmpty()) {
            QPushButton* button = row.button;
            connect(button, &QPushButton::clicked, this, [this, button] { recogniseArea(button); });
        }
        if (row.field) {
            connect(row.field, &PLTextField::becameFirstResponder, this, [this, tag] {
                setDatePicker(0);
                showRecogniseArea(tag);
            });
            connect(row.field, &PLTextField::editingFinished, this, [this, tag] { controlTextDidEndEditing(tag); });
        } else {
            connect(row.box, &PLTextBox::becameFirstResponder, this, [this, tag] {
                setDatePicker(0);
                showRecogniseArea(tag);
            });
            connect(row.box, &PLTextBox::editingFinished, this, [this, tag] { controlTextDidEndEditing(tag); });
        }
    }
    connect(m_form->_datePicker, &PLDatePicker::becameFirstResponder, this, [this] { showRecogniseArea(0); });
    connect(m_form->_datePicker, &PLDatePicker::calendarRequested, this, [this] { setDatePicker(1); });
    connect(m_form->_datePicker, &PLDatePicker::editingFinished, this, &PLExportItemController::dateDidEndEditing);
    connect(m_form->_hidenDatePicker, &QCalendarWidget::clicked, this, [this](QDate date) {
        m_form->_datePicker->setDate(date);
        setDatePicker(0);
        dateDidEndEditing();
    });
    setControlEnabled(false);
    setFrameRect(kFormHeight);
}

void PLExportItemController::setControlEnabled(bool enabled)
{
    m_enabled = enabled;
    if (!m_form)
        return;
    if (!enabled) {
        setDatePicker(0);
        // An edit in progress ends first, so that nothing typed is lost.
        QWidget* focus = m_form->_detailCardView->window()->focusWidget();
        if (focus && m_form->_detailCardView->isAncestorOf(focus))
            focus->clearFocus();
    }
    // The reading, country and date labels are drawn black, or gray while the form is disabled.
    auto setLabelEnabled = [enabled](QLabel* label) {
        label->setEnabled(enabled);
        QPalette colours = label->palette();
        for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
            colours.setColor(group, QPalette::WindowText, enabled ? Qt::black : Qt::gray);
        label->setPalette(colours);
    };
    for (const DetailEditorUi::Row& row : m_form->rows) {
        if (row.button && !row.button->text().isEmpty())
            row.button->setEnabled(enabled);
        if (row.label)
            setLabelEnabled(row.label);
        row.fieldWidget()->setEnabled(enabled);
    }
    setLabelEnabled(m_form->_dateText);
    m_form->_datePicker->setEnabled(enabled);
}

void PLExportItemController::reloadFields()
{
    if (!m_form)
        return;
    const ManagedObjectList selected = m_cards ? m_cards->selectedObjects() : ManagedObjectList();
    const ManagedObjectPtr card = selected.size() == 1 ? selected.first() : ManagedObjectPtr();
    m_loading = true;
    for (const DetailEditorUi::Row& row : m_form->rows) {
        const QString value = card ? card->stringValue(QString::fromLatin1(row.attribute)) : QString();
        if (row.field) {
            // A value stored longer than the field's limit still shows whole; the limit is for typing.
            row.field->setMaxLength(std::max(row.maxLength, int(value.size())));
            row.field->setText(value);
            row.field->setCursorPosition(0);
        } else
            row.box->setText(value);
    }
    const QDateTime date = card ? card->value(kRegisterDate).toDateTime() : QDateTime();
    m_form->_datePicker->setDate(date.isValid() ? date.toLocalTime().date() : m_form->_datePicker->minimumDate());
    m_loading = false;
}

void PLExportItemController::controlTextDidEndEditing(int tag)
{
    if (m_loading || !m_enabled || !m_form || !m_cards)
        return;
    const ManagedObjectList selected = m_cards->selectedObjects();
    if (selected.size() != 1)
        return;
    for (const DetailEditorUi::Row& row : m_form->rows) {
        if (row.tag != tag)
            continue;
        // A one-line field's value ends before its first line break of any kind.
        const QString text = row.field ? PLMatter::firstLine(row.field->text()) : row.box->text();
        const QString key = QString::fromLatin1(row.attribute);
        if (selected.first()->stringValue(key) == text)
            return;
        selected.first()->setValue(key, text);
        NotificationCenter::defaultCenter().post(QString::fromLatin1(kTextEditChangeNotification));
        return;
    }
}

void PLExportItemController::dateDidEndEditing()
{
    if (m_loading || !m_enabled || !m_cards)
        return;
    const ManagedObjectList selected = m_cards->selectedObjects();
    if (selected.size() != 1)
        return;
    const QDate date = m_form->_datePicker->date();
    const QDateTime stored = selected.first()->value(kRegisterDate).toDateTime();
    if (stored.isValid() && stored.toLocalTime().date() == date)
        return;
    selected.first()->setValue(kRegisterDate, QDateTime(date, stored.isValid() ? stored.toLocalTime().time() : QTime(0, 0)));
    NotificationCenter::defaultCenter().post(QString::fromLatin1(kTextEditChangeNotification));
}

void PLExportItemController::recogniseArea(QAbstractButton* sender)
{
    const int tag = sender->property("tag").toInt();
    setDatePicker(0);
    for (const DetailEditorUi::Row& row : m_form->rows) {
        if (row.tag != tag)
            continue;
        if (row.field)
            row.field->selectAll();
        else
            row.box->selectAll();
    }
    if (_imageController)
        _imageController->recogniseAreaOrGetArea(tag, 0);
}

void PLExportItemController::showRecogniseArea(int tag)
{
    if (!_imageController)
        return;
    if (tag == 0)
        _imageController->clearBox();
    else
        _imageController->recogniseAreaOrGetArea(tag, 1);
}

void PLExportItemController::setDatePicker(int open)
{
    if (!m_form)
        return;
    const bool calendar = open == 1;
    if (calendar)
        m_form->_hidenDatePicker->setSelectedDate(m_form->_datePicker->date());
    m_form->_datePicker->setVisible(!calendar);
    m_form->_hidenDatePicker->setVisible(calendar);
    setFrameRect(kFormHeight);
    m_form->_detailCardView->update();
}

bool PLExportItemController::calendarOpen() const
{
    return m_form && !m_form->_hidenDatePicker->isHidden();
}

void PLExportItemController::setFrameRect(int height)
{
    if (!m_form)
        return;
    const int calendar = calendarOpen() ? m_form->_hidenDatePicker->sizeHint().height() : 0;
    // The scroll view gives the form its own width and at least its own height: never less than
    // its rows need, so that a lower pane (the attachments shown below) scrolls the form and
    // squeezes no row.
    const QLayout* rows = m_form->_detailCardView->layout();
    const int needed = rows ? rows->minimumSize().height() : 0;
    m_form->_detailCardView->setMinimumHeight(std::max(height + calendar, needed));
}

void PLExportItemController::setdetailviewpos()
{
    if (m_form)
        m_form->_scrollView->verticalScrollBar()->setValue(0);
}
