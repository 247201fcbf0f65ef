// The folder chooser of the database tools, the one blocking dialog that is neither an alert
// (those go through the message presenter) nor a sheet of their own. Tests script its answers.
#pragma once

#include <QString>

class QWidget;

class ToolServices {
public:
    virtual ~ToolServices() = default;

    // A database folder picked by the user starting in `startFolder`; empty when cancelled.
    virtual QString chooseDatabaseFolder(QWidget* window, const QString& title, const QString& startFolder) = 0;

    // The services in use: the Qt dialog unless a test has set others.
    static ToolServices& current();
    static void setCurrent(ToolServices* services);
};

// The real dialog.
class QtToolServices : public ToolServices {
public:
    QString chooseDatabaseFolder(QWidget* window, const QString& title, const QString& startFolder) override;
};
