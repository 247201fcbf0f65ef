// The detail editor in the side pane: the fields of the selected card. A row's button
// recognises the user's box on the card image into its field (or shows the field's stored box);
// focusing a field shows its box. When an edit ends the value goes into the card and
// "text filed edit change" tells the main window, which splits and saves the edited fields.
#pragma once

#include <QObject>

struct DetailEditorUi;
class PLArrayController;
class PLImageController;
class QAbstractButton;
class QWidget;

inline constexpr const char* kTextEditChangeNotification = "text filed edit change";

class PLExportItemController : public QObject {
    Q_OBJECT
public:
    // The form's height when laid out.
    static constexpr int kFormHeight = 560;

    using QObject::QObject;

    // Outlets.
    void setDetailCardView(QWidget* view) { _detailCardView = view; }
    void setForm(DetailEditorUi* form) { m_form = form; }
    void setImageController(PLImageController* imageController) { _imageController = imageController; }
    void setArrayController(PLArrayController* cards) { m_cards = cards; }
    void awakeFromNib();

    QWidget* detailCardView() const { return _detailCardView; }

    // Enables or disables every row; a field being edited ends its edit first.
    void setControlEnabled(bool enabled);
    bool controlEnabled() const { return m_enabled; }
    // Shows the selected card's values (nothing unless exactly one card is selected).
    void reloadFields();

    void recogniseArea(QAbstractButton* sender);
    // Tag 0 clears the box.
    void showRecogniseArea(int tag);
    // 1 opens the calendar over the date picker; any other value closes it.
    void setDatePicker(int open);
    bool calendarOpen() const;
    // The form is at least `height` high (and the open calendar's height more): a pane lower
    // than that scrolls.
    void setFrameRect(int height);
    void setdetailviewpos();

private:
    // Writes the edited value of the row with `tag` into the card and tells the main window.
    void controlTextDidEndEditing(int tag);
    void dateDidEndEditing();

    QWidget* _detailCardView = nullptr;
    DetailEditorUi* m_form = nullptr;
    PLImageController* _imageController = nullptr;
    PLArrayController* m_cards = nullptr;
    bool m_enabled = false;
    bool m_loading = false;
};
