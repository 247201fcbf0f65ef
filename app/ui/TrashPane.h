// The trash pane below the card list: the trash table with its bar (the switch button that shows
// or hides it, the trash icon, the empty-trash button), shown or hidden as the user left it.
#pragma once

#include <QObject>

class PLArrayController;
struct MainWindowUi;

class TrashPane : public QObject {
    Q_OBJECT
public:
    // 1 when the trash is shown, 0 when hidden; kept to the next start.
    static constexpr const char* kShowTrashKey = "Show Trash";

    // `trash` is the trash's array controller, whose content is every card of the open store.
    TrashPane(const MainWindowUi& ui, const PLArrayController& trash, QObject* parent = nullptr);

    bool isShown() const;
    // The switch button: hides a shown trash, shows a hidden one.
    void showTrashTable();
    // Once the panes are laid out: the trash as the user left it (shown at the first start).
    void showTrash();
    // The empty-trash button is off in a database opened read-only.
    void setClearBtnStatus();
    // The trash icon shows while any card of the store is in the trash.
    void showtrashIcon();

signals:
    // The trash was shown or hidden: the card list pane's parts moved.
    void shownChanged();

private:
    void setShown(bool shown);

    const MainWindowUi& m_ui;
    const PLArrayController& m_trash;
};
