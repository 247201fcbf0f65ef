// A menu item that carries the identifier of what it stands for (a linked application).
#pragma once

#include <QAction>

class PLMenuItem : public QAction {
    Q_OBJECT
public:
    using QAction::QAction;

    QString menuItemID() const { return m_menuItemID; }
    void setMenuItemID(const QString& menuItemID) { m_menuItemID = menuItemID; }

private:
    QString m_menuItemID;
};
