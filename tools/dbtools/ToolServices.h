// The blocking user-interface services of the database tools: alerts, questions, the folder
// chooser and help. Controllers reach them only through here, so tests can script the answers.
#pragma once

#include <QString>
#include <QStringList>
#include <QUrl>

class QWidget;

class ToolServices {
public:
    virtual ~ToolServices() = default;

    // A message with one button, modal on `window` when there is one; returns once dismissed.
    virtual void showAlert(QWidget* window, const QString& title, const QString& text) = 0;
    // A question with the buttons in order default, alternate and optional third;
    // answers 1 for the default button, 0 for the alternate and 2 for the third.
    virtual int ask(QWidget* window, const QString& title, const QString& text, const QStringList& buttons) = 0;
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
    void showAlert(QWidget* window, const QString& title, const QString& text) override;
    int ask(QWidget* window, const QString& title, const QString& text, const QStringList& buttons) override;
    QString chooseDatabaseFolder(QWidget* window, const QString& title, const QString& startFolder) override;
    void openHelp(const QUrl& page) override;
};
