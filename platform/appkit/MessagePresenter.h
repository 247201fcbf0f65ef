// The one way the application shows an alert, a question or a sheet.
//
// The waiting form (runModal) blocks in a modal run until the user answers; the delegate form
// (beginSheet) returns at once and reports the answer later. A request with a visible window is a
// sheet of that window (window-modal); with no window, or a hidden one, it is an application-modal
// alert, since a sheet on a hidden window would never be seen.
//
// Answers are the platform's button return codes: kAlertFirstButtonReturn for the first (default)
// button, then the second and third. Escape picks the second button when there is one.
//
// The programs with windows install the dialog presenter (platform/appkit/dialogs) at start-up;
// tests replace it with a scripted one (tests/support/appkit) through setCurrent.
#pragma once

#include "platform/appkit/WindowHandle.h"

#include <QString>
#include <QStringList>

#include <functional>

constexpr int kAlertFirstButtonReturn = 1000;
constexpr int kAlertSecondButtonReturn = 1001;
constexpr int kAlertThirdButtonReturn = 1002;

struct AlertRequest {
    WindowHandle window;         // the sheet's window; null: application-modal alert
    QString title;               // window title and main text
    QString informativeText;     // shown as it stands: never read as a format or as markup
    QStringList buttons;         // first is the default; empty: one standard OK button
    bool question = false;       // a question icon; every other alert carries the application's icon
};

class MessagePresenter {
public:
    using Completion = std::function<void(int returnCode)>;

    virtual ~MessagePresenter() = default;

    // Waiting form: shows the alert in a modal run (a ModalScope is open meanwhile) and answers
    // the return code of the button pressed.
    virtual int runModal(const AlertRequest& request) = 0;
    // Delegate form: shows the alert and returns at once; `done` gets the return code when the
    // user answers. The event loop keeps running, delayed calls included.
    virtual void beginSheet(const AlertRequest& request, Completion done) = 0;

    // The presenter in use: the one a test installed, else the application's. A program that
    // installed none shows nothing and gets the first button, with the alert logged.
    static MessagePresenter& current();
    // Installs `presenter` (not owned); null returns to the application's presenter.
    static void setCurrent(MessagePresenter* presenter);
    // The application's presenter (not owned), installed once at start-up.
    static void setApplicationPresenter(MessagePresenter* presenter);
};
