// The application's one progress sheet: a hint line, a progress bar, a message line and a Cancel
// button over a window while a long operation runs on a worker thread the sheet itself starts.
//
// The worker reports through progress dictionaries and polls for a cancel request; both go to the
// main thread and wait there (Scheduler::performOnMainThreadAndWait), while the main thread runs
// the sheet's modal loop. A pending cancel is confirmed with a question at the worker's next poll;
// the answer reaches the modal delegate's cancel callback on the main thread, so the worker sees
// it when its poll returns. The sheet always ends when the operation returns, also when it throws.
#pragma once

#include "app/core/PLProgressSheet.h"

#include <QDialog>
#include <QString>
#include <QVariantMap>

#include <atomic>
#include <functional>
#include <memory>

class QLabel;
class QProgressBar;
class QPushButton;

class PLProgressWindowController : public PLProgressSheet {
public:
    static constexpr int kHintMaximum = 100;

    // The shared instance, made on first use (main thread); it installs itself as the
    // application's progress sheet.
    static PLProgressWindowController* sharedController();

    // Shows the sheet on `window` (an application-modal window when it is null or hidden), runs
    // `doOperation` on a new thread and returns when the operation has ended. Answers true.
    bool startModalIndicatorForWindow(WindowHandle window, PLProgressModalDelegate* modalDelegate,
                                      std::function<void()> doOperation, DidCancelSelector didCancelSelector) override;
    int endModalIndicator() override;

    void startIndicator(const QVariantMap& info) override;
    void stopIndicator(const QVariantMap& info) override;
    void refreshProgress(const QVariantMap& info) override;

    void checkIsNeedToConfirmCancelOperation() override;
    // The Cancel button.
    void doCancelOperation();

    void setModalDelegate(PLProgressModalDelegate* modalDelegate) override { _modalDelegate = modalDelegate; }
    PLProgressModalDelegate* modalDelegate() const { return _modalDelegate; }
    void setDidCancelSelector(DidCancelSelector selector) { _didCancelSelector = std::move(selector); }
    void setConfirmCancelOperation(bool pending) { _isConfirmCancelOperation = pending; }
    bool isConfirmCancelOperation() const { return _isConfirmCancelOperation; }

    // The sheet's window and its parts (for tests and layout).
    QDialog* window() const { return m_window.get(); }
    QLabel* progressHint() const { return _tfdProgressHint; }
    QProgressBar* progressBar() const { return _pgiProgressBar; }
    QLabel* progressMessage() const { return _tfdProgressMessage; }
    QPushButton* cancelButton() const { return _btnCancel; }
    bool isRunning() const { return m_running; }

    // The percentage a progress dictionary stands for: finished ÷ max × 100, 0 when max is 0 or missing.
    static double percentOf(const QVariantMap& info);

    PLProgressWindowController(const PLProgressWindowController&) = delete;
    PLProgressWindowController& operator=(const PLProgressWindowController&) = delete;
    ~PLProgressWindowController() override;

private:
    PLProgressWindowController();
    void initWindowStatus();
    void setMessage(const QVariantMap& info);

    std::unique_ptr<QDialog> m_window;
    QLabel* _tfdProgressHint = nullptr;
    QProgressBar* _pgiProgressBar = nullptr;
    QLabel* _tfdProgressMessage = nullptr;
    QPushButton* _btnCancel = nullptr;
    PLProgressModalDelegate* _modalDelegate = nullptr;
    DidCancelSelector _didCancelSelector;
    bool _isConfirmCancelOperation = false;

    bool m_running = false;
    std::atomic<bool> m_ended{false};
    class QEventLoop* m_loop = nullptr;
};
