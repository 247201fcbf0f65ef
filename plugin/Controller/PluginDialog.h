// A window of the plug-in whose close box (and Escape) asks its controller instead of closing:
// the controller decides whether the run ends, and closes the window itself.
#pragma once

#include <QDialog>

#include <functional>
#include <utility>

class PluginDialog : public QDialog {
public:
    PluginDialog(QWidget* parent, const char* objectName) : QDialog(parent) { setObjectName(QString::fromLatin1(objectName)); }

    void setCloseHandler(std::function<void()> handler) { m_closeHandler = std::move(handler); }
    // Ends the window's modal run.
    void finish()
    {
        hide();
        QDialog::done(QDialog::Accepted);
    }

    void reject() override
    {
        if (m_closeHandler)
            m_closeHandler();
    }

private:
    std::function<void()> m_closeHandler;
};
