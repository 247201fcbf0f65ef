// Numbered messages: every failure report and every question the application shows.
//
// Failures are numbers 1 to 999 whose text is the localised string of "IDS_MSG_ERR_%04d"; questions
// are localisation keys. Texts are formats: the arguments after the named ones fill them, safely
// (formatString), so a wrong text can never crash the program. All alerts go through the current
// MessagePresenter, so tests script the answers. Main thread only; nothing here throws.
//
// Forms: the modal alert; the waiting sheet (blocks until answered, on the given window, else the
// application's main window, else as the modal alert); the delegate sheet (returns at once and
// reports the answer to a callback).
#pragma once

#include "platform/appkit/WindowHandle.h"
#include "platform/foundation/FormatString.h"

#include <QString>
#include <QVariant>
#include <QVariantList>

#include <functional>

class PLMessage {
public:
    // The end and dismiss handlers of the delegate sheets: 1 for the default button, 0 for the
    // alternate one, with the context given when the sheet began.
    using DidEndHandler = std::function<void(int returnCode, void* contextInfo)>;

    static constexpr int kQuestionTextMissing = 14;   // shown in place of a question without text
    static constexpr int kDelegateSheetNoText = -50;

    template <typename... Args>
    static int ShowPLErrorMessage(int errorId, const Args&... args)
    {
        return errorModal(errorId, formatArguments(args...));
    }
    // 1 when closed with its button.
    template <typename... Args>
    static int ShowPLErrorMessageBySheet(WindowHandle window, int errorId, const Args&... args)
    {
        return errorSheet(window, errorId, formatArguments(args...));
    }
    template <typename... Args>
    static void ShowPLErrorMessageAlertSheet(WindowHandle window, DidEndHandler didEnd, int errorId, const Args&... args)
    {
        errorDelegateSheet(window, std::move(didEnd), errorId, formatArguments(args...));
    }
    // 1 default button, 0 alternate button, -1 the other button (shown when `otherBtn` is not empty).
    template <typename... Args>
    static int ShowPLInfoMessage(const QString& key, int defaultButton, int alternateBtn, const QString& otherBtn, const Args&... args)
    {
        return questionModal(key, defaultButton, alternateBtn, otherBtn, formatArguments(args...));
    }
    // 1 default (first) button, 0 alternate (second) button.
    template <typename... Args>
    static int ShowPLInfoMessageBySheet(WindowHandle window, const QString& key, int defaultButton, int alternateBtn, const QString& otherBtn, const Args&... args)
    {
        return questionSheet(window, key, defaultButton, alternateBtn, otherBtn, formatArguments(args...));
    }
    // 0, or kDelegateSheetNoText when the key has no text (error 14 is then shown modally and
    // neither handler is called). Shows no third button.
    template <typename... Args>
    static int ShowPLInfoMessageAlertSheet(WindowHandle window, DidEndHandler didEnd, DidEndHandler didDismiss, void* contextInfo,
                                           const QString& messageId, int defaultButton, int alternateBtn,
                                           [[maybe_unused]] const QString& otherBtn, const Args&... args)
    {
        return questionDelegateSheet(window, std::move(didEnd), std::move(didDismiss), contextInfo, messageId, defaultButton,
                                     alternateBtn, formatArguments(args...));
    }

    // The end handler of the waiting sheets: 1 for the first button's return code, 0 for the
    // second's, any other code unchanged.
    static int alertDidEnd(int returnCode);

    // The text an error number shows: its localised format filled with `args`, "No Resource"
    // when its key has no text, "Undefined Err:%4d" for 0, a negative number, one above 999 or an empty text.
    static QString errorText(int errorId, const QVariantList& args = {});
    // The localisation keys of the button titles for a button code; `knownCodes` is the highest
    // code the form knows (6 modal question, 4 waiting sheet, 3 delegate sheet).
    static QString defaultButtonKey(int code, int knownCodes);
    static QString alternateButtonKey(int code, int knownCodes);

private:
    static int errorModal(int errorId, const QVariantList& args);
    static int errorSheet(WindowHandle window, int errorId, const QVariantList& args);
    static void errorDelegateSheet(WindowHandle window, DidEndHandler didEnd, int errorId, const QVariantList& args);
    static int questionModal(const QString& key, int defaultButton, int alternateBtn, const QString& otherBtn, const QVariantList& args);
    static int questionSheet(WindowHandle window, const QString& key, int defaultButton, int alternateBtn, const QString& otherBtn,
                             const QVariantList& args);
    static int questionDelegateSheet(WindowHandle window, DidEndHandler didEnd, DidEndHandler didDismiss, void* contextInfo,
                                     const QString& key, int defaultButton, int alternateBtn, const QVariantList& args);
};
