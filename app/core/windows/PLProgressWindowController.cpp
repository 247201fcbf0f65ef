#include "app/core/windows/PLProgressWindowController.h"

#include "app/core/LocalString.h"
#include "app/core/PLMessage.h"
#include "platform/appkit/ModalScope.h"
#include "platform/appkit/Scheduler.h"
#include "platform/appkit/dialogs/ModalDialog.h"
#include "platform/foundation/FormatString.h"
#include "platform/foundation/Log.h"

#include <QCloseEvent>
#include <QEventLoop>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include <cmath>
#include <exception>
#include <thread>

namespace {

constexpr const char* kProgressHintKey = "IDS_MSG_ProgressHint";
constexpr const char* kConfirmCancelKey = "IDS_MSG_ConfirmCancelOperation";
constexpr const char* kCancelToolTipKey = "IDS_TOOLTIP_CancelOperationButton";
constexpr int kButtonYes = 2;
constexpr int kButtonNo = 3;

// The sheet's window: it is never closed by the user, only by the end of the operation, so the
// worker can always reach the main thread. Escape and the close box count as the Cancel button.
class ProgressDialog : public QDialog {
public:
    explicit ProgressDialog(std::function<void()> cancel) : m_cancel(std::move(cancel)) {}

    void reject() override
    {
        m_cancel();
    }

protected:
    void closeEvent(QCloseEvent* event) override
    {
        event->ignore();
        m_cancel();
    }

private:
    std::function<void()> m_cancel;
};

bool boolValue(const QVariantMap& info, const char* key)
{
    const QVariant value = info.value(QLatin1String(key));
    return value.typeId() == QMetaType::Bool && value.toBool();
}

// An unsigned count; missing, negative or not a number gives 0.
double countValue(const QVariantMap& info, const char* key)
{
    const QVariant value = info.value(QLatin1String(key));
    switch (value.typeId()) {
    case QMetaType::Int:
    case QMetaType::Long:
    case QMetaType::LongLong:
    case QMetaType::Short:
        return double(std::max<qlonglong>(0, value.toLongLong()));
    case QMetaType::UInt:
    case QMetaType::ULong:
    case QMetaType::ULongLong:
    case QMetaType::UShort:
        return double(value.toULongLong());
    case QMetaType::Double:
    case QMetaType::Float:
        return std::max(0.0, std::trunc(value.toDouble()));
    default:
        return 0;
    }
}

} // namespace

PLProgressWindowController* PLProgressWindowController::sharedController()
{
    static PLProgressWindowController* shared = [] {
        auto* controller = new PLProgressWindowController;
        PLProgressSheet::setShared(controller);
        return controller;
    }();
    return shared;
}

PLProgressWindowController::PLProgressWindowController()
{
    m_window = std::make_unique<ProgressDialog>([this] {
        if (_btnCancel->isEnabled())
            doCancelOperation();
    });
    m_window->setObjectName(QStringLiteral("PLProgressWindow"));
    m_window->setWindowTitle(QStringLiteral("Pelmora"));
    m_window->setWindowFlag(Qt::WindowCloseButtonHint, false);
    auto* layout = new QVBoxLayout(m_window.get());
    _tfdProgressHint = new QLabel(m_window.get());
    _tfdProgressHint->setObjectName(QStringLiteral("_tfdProgressHint"));
    _pgiProgressBar = new QProgressBar(m_window.get());
    _pgiProgressBar->setObjectName(QStringLiteral("_pgiProgressBar"));
    _pgiProgressBar->setTextVisible(false);
    _pgiProgressBar->setMinimumWidth(360);
    _tfdProgressMessage = new QLabel(m_window.get());
    _tfdProgressMessage->setObjectName(QStringLiteral("_tfdProgressMessage"));
    _tfdProgressMessage->setTextFormat(Qt::PlainText);
    _btnCancel = new QPushButton(getLocalString(QStringLiteral("IDS_CANCEL")), m_window.get());
    _btnCancel->setObjectName(QStringLiteral("_btnCancel"));
    _btnCancel->setAutoDefault(false);
    QObject::connect(_btnCancel, &QPushButton::clicked, m_window.get(), [this] { doCancelOperation(); });
    layout->addWidget(_tfdProgressHint);
    layout->addWidget(_pgiProgressBar);
    layout->addWidget(_tfdProgressMessage);
    layout->addWidget(_btnCancel, 0, Qt::AlignRight);
    initWindowStatus();
}

PLProgressWindowController::~PLProgressWindowController() = default;

void PLProgressWindowController::initWindowStatus()
{
    _tfdProgressHint->clear();
    _pgiProgressBar->setRange(0, kHintMaximum);
    _pgiProgressBar->setValue(0);
    _tfdProgressMessage->clear();
    _btnCancel->setEnabled(false);
    _btnCancel->setToolTip(getLocalString(QLatin1String(kCancelToolTipKey)));
    _btnCancel->setFocus();
}

bool PLProgressWindowController::startModalIndicatorForWindow(WindowHandle handle, PLProgressModalDelegate* modalDelegate,
                                                               std::function<void()> doOperation,
                                                               DidCancelSelector didCancelSelector)
{
    initWindowStatus();
    _modalDelegate = modalDelegate;
    _didCancelSelector = std::move(didCancelSelector);
    _isConfirmCancelOperation = false;

    QWidget* window = windowWidget(handle);
    const bool sheet = window && window->isVisible();
    m_window->setParent(sheet ? window : nullptr, Qt::Dialog);
    m_window->setWindowModality(sheet ? Qt::WindowModal : Qt::ApplicationModal);
    m_ended = false;
    m_running = true;

    ModalScope scope;
    m_window->show();
    std::thread worker([this, operation = std::move(doOperation)] {
        try {
            operation();
        } catch (const std::exception& error) {
            PLNSLog(QStringLiteral("Exception: %@"), QString::fromUtf8(error.what()));
        } catch (...) {
            PLNSLog(QStringLiteral("Exception: %@"), QStringLiteral("unknown"));
        }
        // The operation ends the sheet itself; this covers every way it may have left without.
        // (Once ended, the main thread may already be waiting for this thread: do not call it.)
        if (!m_ended)
            Scheduler::performOnMainThreadAndWait([this] { endModalIndicator(); });
    });
    if (!m_ended) {
        QEventLoop loop;
        m_loop = &loop;
        loop.exec();
        m_loop = nullptr;
    }
    worker.join();

    m_window->hide();
    m_window->setParent(nullptr, Qt::Dialog);
    _modalDelegate = nullptr;
    _didCancelSelector = nullptr;
    _isConfirmCancelOperation = false;
    m_running = false;
    return true;
}

int PLProgressWindowController::endModalIndicator()
{
    m_ended = true;
    if (m_loop)
        m_loop->quit();
    return 0;
}

void PLProgressWindowController::setMessage(const QVariantMap& info)
{
    const QVariant message = info.value(QLatin1String(kProgressInfoMessage));
    _tfdProgressMessage->setText(message.typeId() == QMetaType::QString ? message.toString() : QString());
}

void PLProgressWindowController::startIndicator(const QVariantMap& info)
{
    _tfdProgressHint->clear();
    setMessage(info);
    if (boolValue(info, kProgressInfoIndicatorIsDeterminate)) {
        _pgiProgressBar->setRange(0, kHintMaximum);
        _pgiProgressBar->setValue(0);
    } else {
        // A range of 0..0 is Qt's spinning (busy) indicator.
        _pgiProgressBar->setRange(0, 0);
    }
    _btnCancel->setEnabled(true);
}

void PLProgressWindowController::stopIndicator(const QVariantMap& info)
{
    setMessage(info);
    if (_pgiProgressBar->maximum() == 0)
        _pgiProgressBar->setRange(0, kHintMaximum);
    _btnCancel->setEnabled(false);
}

double PLProgressWindowController::percentOf(const QVariantMap& info)
{
    const double maxCount = countValue(info, kProgressInfoMaxCount);
    if (maxCount == 0)
        return 0;
    return countValue(info, kProgressInfoFinishedCount) / maxCount * 100.0;
}

void PLProgressWindowController::refreshProgress(const QVariantMap& info)
{
    const double percent = percentOf(info);
    _tfdProgressHint->setText(formatText(getLocalString(QLatin1String(kProgressHintKey)), int(percent)));
    if (_pgiProgressBar->maximum() == 0)
        _pgiProgressBar->setRange(0, kHintMaximum);
    _pgiProgressBar->setValue(int(std::min(percent, double(kHintMaximum))));
    setMessage(info);
}

void PLProgressWindowController::doCancelOperation()
{
    _btnCancel->setEnabled(false);
    _isConfirmCancelOperation = true;
}

void PLProgressWindowController::checkIsNeedToConfirmCancelOperation()
{
    if (!_isConfirmCancelOperation)
        return;
    _isConfirmCancelOperation = false;
    const bool confirmed = PLMessage::ShowPLInfoMessage(QLatin1String(kConfirmCancelKey), kButtonYes, kButtonNo, QString()) == 1;
    if (!confirmed) {
        _btnCancel->setEnabled(true);
        _btnCancel->setFocus();
    }
    if (_modalDelegate && _didCancelSelector)
        _didCancelSelector(_modalDelegate, confirmed);
}
