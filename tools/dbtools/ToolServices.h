// The blocking user-interface services of the database tools besides alerts (which go through
// the message presenter): the folder chooser and help. Tests replace them with scripted ones.
#pragma once

#include <QString>
#include <QUrl>

class QWidget;

class ToolServices {
public:
    virtual ~ToolServices() = default;

    // A database folder picked by the user starting in `startFolder`; empty when cancelled.
    virtual QString chooseDatabaseFolder(QWidget* window, const QString& title, const QString& startFolder) = 0;
    virtual void openHelp(const QUrl& page) = 0;

    // The services in use: the Qt dialogs unless a test has set others.
    static ToolServices& current();
    static void setCurrent(ToolServices* services);
};

// The real dialogs.
class QtToolServices : public ToolServices {
public:
    QString chooseDatabaseFolder(QWidget* window, const QString& title, const QString& startFolder) override;
    void openHelp(const QUrl& page) override;
};
