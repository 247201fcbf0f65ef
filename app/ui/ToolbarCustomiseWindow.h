// The window in which the user arranges the main window's toolbar: the items the toolbar allows
// beside the items it shows, added and removed with buttons or by dragging, put in order, reset to
// the default set, and the display mode. Every change applies to the toolbar at once.
#pragma once

#include <QDialog>
#include <QIcon>
#include <QStringList>

#include <functional>

class QComboBox;
class QListWidget;
class QListWidgetItem;
class QPushButton;

class ToolbarCustomiseWindow : public QDialog {
    Q_OBJECT
public:
    struct ItemLook {
        QString label;
        QIcon image;
    };
    using LookFunction = std::function<ItemLook(const QString& identifier)>;

    ToolbarCustomiseWindow(const QStringList& identifiers, int displayMode, LookFunction look, QWidget* parent);

    QStringList itemIdentifiers() const;
    int displayMode() const;

signals:
    void configurationChanged(const QStringList& identifiers, int displayMode);

private:
    void setItems(const QStringList& identifiers);
    void refreshAvailable();
    QListWidgetItem* newItem(const QString& identifier) const;
    void addSelected();
    void removeSelected();
    void moveSelected(int step);
    void itemsChanged();

    LookFunction m_look;
    QListWidget* m_available = nullptr;
    QListWidget* m_items = nullptr;
    QComboBox* m_displayMode = nullptr;
    bool m_updating = false;
};
