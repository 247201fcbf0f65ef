// What the logic of app/core asks of the application's progress sheet: run an operation on a
// worker thread under the sheet, update the sheet and poll for a cancel. The sheet itself is
// PLProgressWindowController (app/core/windows), installed at start-up with setShared; without
// one, nothing is shown and an operation runs at once on the calling thread.
#pragma once

#include "platform/appkit/WindowHandle.h"

#include <QVariantMap>

#include <functional>

inline constexpr const char* kProgressInfoIndicatorIsDeterminate = "PL_KEY_ProgressInfo_IndicatorIsDeterminate";
inline constexpr const char* kProgressInfoMessage = "PL_KEY_ProgressInfo_Message";
inline constexpr const char* kProgressInfoMaxCount = "PL_KEY_ProgressInfo_MaxCount";
inline constexpr const char* kProgressInfoFinishedCount = "PL_KEY_ProgressInfo_FinishedCount";

// What runs under the sheet and hears the answer to a cancel request.
class PLProgressModalDelegate {
public:
    virtual ~PLProgressModalDelegate() = default;
};

class PLProgressSheet {
public:
    // Called on the modal delegate (main thread) with true when the user confirmed a cancel.
    using DidCancelSelector = std::function<void(PLProgressModalDelegate*, bool confirmed)>;

    virtual ~PLProgressSheet() = default;

    // Shows the sheet on `window` (an application-modal window when it is null or hidden), runs
    // `doOperation` on a new thread and returns when the operation has ended. Answers true.
    virtual bool startModalIndicatorForWindow(WindowHandle window, PLProgressModalDelegate* modalDelegate,
                                              std::function<void()> doOperation, DidCancelSelector didCancelSelector) = 0;
    // Ends the modal run; answers 0. Main thread.
    virtual int endModalIndicator() = 0;

    // Updates of the sheet (main thread); values of the wrong type count as missing.
    virtual void startIndicator(const QVariantMap& info) = 0;
    virtual void stopIndicator(const QVariantMap& info) = 0;
    virtual void refreshProgress(const QVariantMap& info) = 0;

    // The worker's poll (main thread): asks to confirm a pending cancel and reports the answer
    // to the modal delegate.
    virtual void checkIsNeedToConfirmCancelOperation() = 0;
    virtual void setModalDelegate(PLProgressModalDelegate* modalDelegate) = 0;

    // The application's sheet, or null when none was installed.
    static PLProgressSheet* shared();
    static void setShared(PLProgressSheet* sheet);
};
