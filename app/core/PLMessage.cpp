#include "app/core/PLMessage.h"

#include "app/core/LocalString.h"
#include "platform/appkit/ApplicationWindow.h"
#include "platform/appkit/MessagePresenter.h"
#include "platform/foundation/Bundle.h"
#include "platform/foundation/FormatString.h"

namespace {

const QString kAlertTitle = QStringLiteral("Pelmora");
const QString kErrorKeyFormat = QStringLiteral("IDS_MSG_ERR_%04d");
const QString kNoResource = QStringLiteral("No Resource");
const QString kUndefinedError = QStringLiteral("Undefined Err:%4d");

const QString kButtonOk = QStringLiteral("IDS_BUTTON_MSG_OK");
const QString kButtonCancel = QStringLiteral("IDS_BUTTON_MSG_CANCEL");
const QString kButtonYes = QStringLiteral("IDS_BUTTON_MSG_YES");
const QString kButtonNo = QStringLiteral("IDS_BUTTON_MSG_NO");
const QString kButtonRetry = QStringLiteral("IDS_BUTTON_MSG_RETRY");
const QString kButtonRead = QStringLiteral("IDS_BUTTON_MSG_READ");
const QString kButtonContinue = QStringLiteral("IDS_BUTTON_MSG_CONTINUE");

constexpr int kDefaultReturn = 1;
constexpr int kAlternateReturn = 0;
constexpr int kOtherReturn = -1;

// The text of a question, or nothing when its key has no (or an empty) text.
std::optional<QString> questionText(const QString& key, const QVariantList& args)
{
    if (key.isEmpty() || !Bundle::main().hasLocalizedString(key))
        return std::nullopt;
    const QString format = getLocalString(key);
    if (format.isEmpty())
        return std::nullopt;
    return formatString(format, args);
}

// The result of a modal alert built with default, alternate and other buttons.
int modalResult(int returnCode)
{
    switch (returnCode) {
    case kAlertFirstButtonReturn: return kDefaultReturn;
    case kAlertSecondButtonReturn: return kAlternateReturn;
    default: return kOtherReturn;
    }
}

WindowHandle sheetWindow(WindowHandle window)
{
    return window ? window : applicationMainWindow();
}

AlertRequest request(WindowHandle window, const QString& text, QStringList buttons, bool question = false)
{
    return AlertRequest{window, kAlertTitle, text, std::move(buttons), question};
}

} // namespace

QString PLMessage::errorText(int errorId, const QVariantList& args)
{
    if (errorId >= 1 && errorId <= 999) {
        const QString key = formatText(kErrorKeyFormat, errorId);
        if (!Bundle::main().hasLocalizedString(key))
            return kNoResource;
        const QString format = getLocalString(key);
        if (!format.isEmpty())
            return formatString(format, args);
    }
    return formatText(kUndefinedError, errorId);
}

QString PLMessage::defaultButtonKey(int code, int knownCodes)
{
    static const QString keys[] = {kButtonOk, kButtonCancel, kButtonYes, kButtonNo, kButtonRetry, kButtonRead, kButtonContinue};
    return (code >= 0 && code <= knownCodes && code <= 6) ? keys[code] : kButtonOk;
}

QString PLMessage::alternateButtonKey(int code, int knownCodes)
{
    static const QString keys[] = {kButtonOk, kButtonCancel, kButtonYes, kButtonNo, kButtonRetry, kButtonCancel, kButtonCancel};
    return (code >= 0 && code <= knownCodes && code <= 6) ? keys[code] : kButtonCancel;
}

int PLMessage::alertDidEnd(int returnCode)
{
    if (returnCode == kAlertFirstButtonReturn)
        return kDefaultReturn;
    if (returnCode == kAlertSecondButtonReturn)
        return kAlternateReturn;
    return returnCode;
}

int PLMessage::errorModal(int errorId, const QVariantList& args)
{
    const int code = MessagePresenter::current().runModal(request(nullptr, errorText(errorId, args), {getLocalString(kButtonOk)}));
    return modalResult(code);
}

int PLMessage::errorSheet(WindowHandle window, int errorId, const QVariantList& args)
{
    WindowHandle target = sheetWindow(window);
    if (!target)
        return errorModal(errorId, args);
    return alertDidEnd(MessagePresenter::current().runModal(request(target, errorText(errorId, args), {})));
}

void PLMessage::errorDelegateSheet(WindowHandle window, DidEndHandler didEnd, int errorId, const QVariantList& args)
{
    MessagePresenter::current().beginSheet(request(sheetWindow(window), errorText(errorId, args), {}),
                                           [didEnd = std::move(didEnd)](int code) {
                                               if (didEnd)
                                                   didEnd(modalResult(code), nullptr);
                                           });
}

int PLMessage::questionModal(const QString& key, int defaultButton, int alternateBtn, const QString& otherBtn, const QVariantList& args)
{
    const auto text = questionText(key, args);
    if (!text)
        return errorModal(kQuestionTextMissing, {});
    QStringList buttons{getLocalString(defaultButtonKey(defaultButton, 6)), getLocalString(alternateButtonKey(alternateBtn, 6))};
    if (!otherBtn.isEmpty())
        buttons.append(otherBtn);
    return modalResult(MessagePresenter::current().runModal(request(nullptr, *text, buttons, true)));
}

int PLMessage::questionSheet(WindowHandle window, const QString& key, int defaultButton, int alternateBtn, const QString& otherBtn,
                             const QVariantList& args)
{
    const auto text = questionText(key, args);
    if (!text)
        return errorSheet(window, kQuestionTextMissing, {});
    WindowHandle target = sheetWindow(window);
    if (!target)
        return questionModal(key, defaultButton, alternateBtn, otherBtn, args);
    const QStringList buttons{getLocalString(defaultButtonKey(defaultButton, 4)), getLocalString(alternateButtonKey(alternateBtn, 4))};
    return alertDidEnd(MessagePresenter::current().runModal(request(target, *text, buttons, true)));
}

int PLMessage::questionDelegateSheet(WindowHandle window, DidEndHandler didEnd, DidEndHandler didDismiss, void* contextInfo,
                                     const QString& key, int defaultButton, int alternateBtn, const QVariantList& args)
{
    const auto text = questionText(key, args);
    if (!text) {
        errorModal(kQuestionTextMissing, {});
        return kDelegateSheetNoText;
    }
    const QStringList buttons{getLocalString(defaultButtonKey(defaultButton, 3)), getLocalString(alternateButtonKey(alternateBtn, 3))};
    MessagePresenter::current().beginSheet(request(sheetWindow(window), *text, buttons, true),
                                           [didEnd = std::move(didEnd), didDismiss = std::move(didDismiss), contextInfo](int code) {
                                               const int result = modalResult(code);
                                               if (didEnd)
                                                   didEnd(result, contextInfo);
                                               if (didDismiss)
                                                   didDismiss(result, contextInfo);
                                           });
    return 0;
}
